// The map record: one local map or the world map, in memory and on disk. A map
// file is the raw 115,744-byte image of one record: the 544-byte header and
// eight layers of 60 x 60 square codes, square (x, y) at index x * 60 + y.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kMapSide = 60;
constexpr int kMapSquares = kMapSide * kMapSide;  // 3,600
constexpr int kMapLayers = 8;
constexpr int kStoredMapCount = 41;               // local maps 0 to 40
constexpr size_t kMapHeaderBytes = 544;
constexpr size_t kMapLayerBytes = kMapSquares * 4;  // 14,400
constexpr size_t kMapRecordBytes = kMapHeaderBytes + kMapLayers * kMapLayerBytes;  // 115,744

// The layers of a map.
enum MapLayer : int {
  kLayerGround = 0,   // world map: 3 and 6 block travel
  kLayerFloor = 1,    // floor and floor features
  kLayerWalls = 2,    // walls, doors and features: any code above 0 blocks movement
  kLayerEvents = 3,   // square events; world map: encounter region 1-20
  kLayerObjects0 = 4, // object stack, levels 0 to 3
  kLayerObjects1 = 5,
  kLayerObjects2 = 6,
  kLayerObjects3 = 7,
};

inline constexpr int SquareIndex(int x, int y) { return x * kMapSide + y; }

// The most monster groups a map may place on entry; a file's group counts
// are held to 0 to this.
constexpr int32_t kMostMonsterGroups = 99;

// The characters of a local map's name that the local map page shows; the
// maps' names keep within it.
constexpr size_t kLocalMapNameCells = 14;

struct MapRecord {
  char name[50];
  char text[402];
  int32_t scriptMapNumber;   // 452: the number scripts know the map by
  int32_t height;            // 456: extent along y, 1 to 60 (0 for an empty map)
  int32_t width;             // 460: extent along x
  int32_t musicTrack;        // 464: background music, 0 none
  int32_t reserved468;       // 468: written back as loaded
  int32_t encounterTable;    // 472: region of the groups placed on entry
  int32_t rain;              // 476: 1 = it rains on the map
  int32_t lit;               // 480: 0 = 30-foot sight sees only 4 squares
  int32_t alarm;             // 484
  int32_t cleared;           // 488
  int32_t mostGroups;        // 492: 0 to kMostMonsterGroups
  int32_t fewestGroups;      // 496: 0 to kMostMonsterGroups
  int32_t mapKind;           // 500: 2 = cleared once only the party is present
  int32_t reserved504[6];    // 504: written back as loaded
  int32_t localMapX;         // 528: stored position of the local-map view
  int32_t localMapY;         // 532
  int32_t localMapAvailable; // 536
  int32_t spellFlag;         // 540
  int32_t layers[kMapLayers][kMapSquares];  // 544

  int32_t& At(int layer, int x, int y) { return layers[layer][SquareIndex(x, y)]; }
  int32_t At(int layer, int x, int y) const { return layers[layer][SquareIndex(x, y)]; }
  // Inside the map's width and height (squares beyond exist in the layers but count as outside).
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// The file image has the same offsets as the record; the field-by-field
// reader and writer below do not rely on that, but the checks keep the two in step.
static_assert(offsetof(MapRecord, scriptMapNumber) == 452);
static_assert(offsetof(MapRecord, height) == 456);
static_assert(offsetof(MapRecord, width) == 460);
static_assert(offsetof(MapRecord, encounterTable) == 472);
static_assert(offsetof(MapRecord, lit) == 480);
static_assert(offsetof(MapRecord, mapKind) == 500);
static_assert(offsetof(MapRecord, reserved504) == 504);
static_assert(offsetof(MapRecord, localMapX) == 528);
static_assert(offsetof(MapRecord, spellFlag) == 540);
static_assert(offsetof(MapRecord, layers) == kMapHeaderBytes);
static_assert(sizeof(MapRecord) == kMapRecordBytes);

// The three places records live.
extern MapRecord CurrentMap;                      // the map all grids and drawing read
extern MapRecord StoredMaps[kStoredMapCount];     // by map number; the current one's slot is stale
extern MapRecord WorldMap;                        // main adventure only
extern int32_t CurrentMapNumber;                  // 0 to 40

// Converts between a record and its 115,744-byte file image (little-endian).
void ReadMapImage(const uint8_t* bytes, MapRecord* out);
// The texts and words before the layers alone.
void ReadMapHeader(const uint8_t* bytes, MapRecord* out);
// As ReadMapImage, the layers stored past the processor's caches (for many
// maps filled at once, of which the game reads one soon).
void StreamMapImage(const uint8_t* bytes, MapRecord* out);
void WriteMapImage(const MapRecord& map, uint8_t* bytes);
// True when the header's width and height can index the 60 x 60 layers (0 to 60 each).
bool MapExtentValid(const MapRecord& map);

// Reading one map file into *out. kMapFileMissing leaves *out zeroed.
enum MapFileResult { kMapFileRead = 0, kMapFileMissing = 1, kMapFileShort = 2, kMapFileBadExtent = 3 };
MapFileResult ReadMapFile(const char* path, MapRecord* out);
// Writes the record whole to a file (through a temporary file); true on success.
bool WriteMapFile(const char* path, const MapRecord& map);

// Loads the 41 stored maps of a saved-game slot; 1 on success, 0 when a file
// is short or unreadable (the stored maps are then left as they were).
int LoadAllMaps(int slot);
// Loads the world map of a slot (main adventure only); fatal error and 0 on failure.
int LoadWorldMap(int slot);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetMapRecordState();
