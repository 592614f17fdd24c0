#include "map/map_record.h"

#include <cstdio>
#include <cstring>

#include "engine/main_window.h"
#include "engine/reset_words.h"
#include "state/game_progress.h"
#include "platform/files.h"
#include "platform/system.h"

MapRecord CurrentMap;
MapRecord StoredMaps[kStoredMapCount];
MapRecord WorldMap;
int32_t CurrentMapNumber = 0;

namespace {

// The whole set of maps of a slot is read here first and only copied into
// StoredMaps once every file has been read, so a bad file in the middle never
// leaves half a slot in memory.
MapRecord StagingMaps[kStoredMapCount];
uint8_t FileImage[kMapRecordBytes];

}  // namespace

MapFileResult ReadMapFile(const char* path, MapRecord* out) {
  FILE* f = platform::OpenGameFile(path, "rb");
  if (!f) {
    std::memset(out, 0, sizeof *out);
    return kMapFileMissing;
  }
  // Only the record's own bytes are looked at; anything past them is ignored.
  const size_t got = std::fread(FileImage, 1, kMapRecordBytes, f);
  std::fclose(f);
  if (got < kMapRecordBytes) return kMapFileShort;
  ReadMapImage(FileImage, out);
  if (!MapExtentValid(*out)) return kMapFileBadExtent;
  return kMapFileRead;
}

void StreamMapImage(const uint8_t* bytes, MapRecord* out) {
  ReadMapHeader(bytes, out);
  platform::StreamBytes(out->layers, bytes + kMapHeaderBytes, sizeof out->layers);
}

bool WriteMapFile(const char* path, const MapRecord& map) {
  WriteMapImage(map, FileImage);
  return platform::WriteGameFileAtomically(path, FileImage, kMapRecordBytes);
}

int LoadAllMaps(int slot) {
  char path[260];
  for (int n = 0; n < kStoredMapCount; ++n) {
    std::snprintf(path, sizeof path, "SaveGame\\%s\\%i\\Maps\\Map%i.dat", AdventureFolder, slot, n);
    const MapFileResult r = ReadMapFile(path, &StagingMaps[n]);
    // A missing file is an empty map; a short file or one whose extent
    // would run past the grids is unreadable and the slot is not taken.
    if (r == kMapFileShort || r == kMapFileBadExtent) return 0;
  }
  std::memcpy(StoredMaps, StagingMaps, sizeof StoredMaps);
  return 1;
}

int LoadWorldMap(int slot) {
  if (IntroductoryAdventureFlag == 1) return 1;
  char path[260];
  std::snprintf(path, sizeof path, "SaveGame\\%s\\%i\\Maps\\WorldMap.dat", AdventureFolder, slot);
  const MapFileResult r = ReadMapFile(path, &StagingMaps[0]);
  if (r == kMapFileMissing) {
    ShowError(1, "Could not open world map.");
    return 0;
  }
  if (r != kMapFileRead) {
    ShowError(1, "Could not read world map.");
    return 0;
  }
  std::memcpy(&WorldMap, &StagingMaps[0], sizeof WorldMap);
  return 1;
}

void ResetMapRecordState() {
  ResetWords(CurrentMap);
  ResetWords(StoredMaps);
  ResetWords(WorldMap);
  CurrentMapNumber = 0;
}
