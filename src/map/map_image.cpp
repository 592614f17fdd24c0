// The file image of a map record: the header field by field, the layers whole; little-endian.
#include <bit>
#include <cstring>

#include "map/map_record.h"

// The layers are runs of little-endian words, copied whole.
static_assert(std::endian::native == std::endian::little);
static_assert(sizeof MapRecord::layers == kMapLayers * kMapLayerBytes);

namespace {

int32_t GetWord(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

void PutWord(uint8_t* p, int32_t value) {
  const uint32_t v = static_cast<uint32_t>(value);
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

// The header words in file order, from offset 452 to 540.
template <typename Record, typename Fn>
void ForEachHeaderWord(Record& m, Fn fn) {
  fn(452, m.scriptMapNumber);
  fn(456, m.height);
  fn(460, m.width);
  fn(464, m.musicTrack);
  fn(468, m.reserved468);
  fn(472, m.encounterTable);
  fn(476, m.rain);
  fn(480, m.lit);
  fn(484, m.alarm);
  fn(488, m.cleared);
  fn(492, m.mostGroups);
  fn(496, m.fewestGroups);
  fn(500, m.mapKind);
  for (int i = 0; i < 6; ++i) fn(504 + 4 * i, m.reserved504[i]);
  fn(528, m.localMapX);
  fn(532, m.localMapY);
  fn(536, m.localMapAvailable);
  fn(540, m.spellFlag);
}

}  // namespace

void ReadMapHeader(const uint8_t* bytes, MapRecord* out) {
  std::memcpy(out->name, bytes, sizeof out->name);
  std::memcpy(out->text, bytes + 50, sizeof out->text);
  ForEachHeaderWord(*out, [&](size_t offset, int32_t& field) { field = GetWord(bytes + offset); });
}

void ReadMapImage(const uint8_t* bytes, MapRecord* out) {
  ReadMapHeader(bytes, out);
  std::memcpy(out->layers, bytes + kMapHeaderBytes, sizeof out->layers);
}

void WriteMapImage(const MapRecord& map, uint8_t* bytes) {
  std::memcpy(bytes, map.name, sizeof map.name);
  std::memcpy(bytes + 50, map.text, sizeof map.text);
  ForEachHeaderWord(map, [&](size_t offset, const int32_t& field) { PutWord(bytes + offset, field); });
  std::memcpy(bytes + kMapHeaderBytes, map.layers, sizeof map.layers);
}

bool MapExtentValid(const MapRecord& map) {
  return map.width >= 0 && map.width <= kMapSide && map.height >= 0 && map.height <= kMapSide;
}
