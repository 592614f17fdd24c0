// The map tool's source reader. The input's first line is "world" for the
// world map's code ranges, anything else for a local map. A map it accepts
// must read back as a map the game can index.
#include <vector>

#include "fuzz/fuzz_target.h"
#include "map/map_record.h"
#include "mapmaker/map_source.h"

GH_FUZZ_TARGET(mapmaker) {
  std::string text = InputText(data, size);
  const bool world = TakeFirstLine(&text) == "world";
  static MapRecord compiled, reread;
  const MapSourceResult result = CompileMapSource("Map7.txt", text, world, &compiled);
  if (!result.ok) return;
  std::vector<uint8_t> image(kMapRecordBytes);
  WriteMapImage(compiled, image.data());
  ReadMapImage(image.data(), &reread);
  if (!MapExtentValid(reread) || reread.width < 1 || reread.height < 1)
    FuzzFault("an accepted map has an extent the game cannot use");
}
