// What the fighters on the current map see: a 13 x 13 window of sight rings
// around each square a viewer stands on, with precomputed shadows behind each
// sight-blocking square; the party's explored squares and the fog drawn at
// their edges; what computer-controlled fighters remember.
#pragma once
#include <cstdint>

#include "map/map_record.h"

constexpr int kSightWindow = 13;  // offsets -6 to +6 around the viewer
constexpr int kSightBlockers = 128;
constexpr int kShadowBaseSets = 29;

// The sight ring of each offset, [dx + 6][dy + 6].
extern const uint8_t SightTemplate[kSightWindow][kSightWindow];

struct SightOffset {
  int8_t dx, dy;
};
// The offsets tested for blockers, ring by ring from the viewer outward.
extern SightOffset SightBlockerOrder[kSightBlockers];

// The window mask of the last MarkSightTemplate, [dx + 6][dy + 6]:
// 1 seen, 2 hidden, 3 a seen blocker, 5 beyond the sight radius.
extern uint8_t SightMask[kSightWindow][kSightWindow];

// The party's explored squares per map number: 0 unexplored, 1 explored.
extern uint32_t MapMemory[kStoredMapCount][kMapSquares];
// Fog edge codes of the current map for drawing (see BuildMapVisibility).
extern uint32_t FogGrid[kMapSquares];
// Set on map entry, when a door opens and by combat events: every present fighter's sight is renewed.
extern uint8_t VisionRefreshFlag;
// The exploring code's script flag and the vision update's party-alert flag,
// read by the start of combat (the battle's opening clears the first).
extern uint8_t ExploringScriptFlag;
extern uint8_t PartyAlertFlag;

// Remembered kinds in a computer-controlled fighter's grid.
enum RememberedKind : int32_t {
  kRememberedNever = 0,
  kRememberedFloor = 1,
  kRememberedFeature = 2,
  kRememberedDoor = 3,
  kRememberedWall74 = 4,
  kRememberedWall73 = 5,
};

// Start-up: builds the four mirrored copies of the shadow sets and the blocker order.
void InitSightRayTables();
// Renews the sight of the fighters that need it; returns 1.
int UpdatePartyVision();
// When set, called just before (true) and just after (false) each
// UpdatePartyVision; a headless run measures the sight's share with it.
extern void (*SightUpdateObserver)(bool before);
// The sight radius in squares the fighter slot's creature gets on the current map.
int SightRadiusOfSlot(int slot);
void ComputeFighterSight(int slot, int radius);
// In combat the sight update passes over the computer fighters whose sight
// cannot have changed since it last computed it (the same square, footprint,
// radius, groups, map and sight-blocking squares), trusting that nothing
// else wrote their seen and remembered grids meanwhile. Whatever rewrites or
// moves those grids wholesale (the fighter table's rebuild, a map switch)
// calls this, and every fighter is computed afresh at the next update.
void ForgetKeptSight();
void MarkSightTemplate(int slot, int radius);
// Fills FogGrid from the current map's explored squares: 1 unexplored (or
// darkness in combat), 0 clear, 11-47 the fog edge pieces (walls 46-55 keep theirs).
void BuildMapVisibility();
// The fog edge piece of an explored square from which of its neighbours count
// as explored (north is y - 1): 0 when all eight do.
uint32_t FogEdgeCode(bool n, bool e, bool s, bool w, bool ne, bool se, bool sw, bool nw);
// Recounts the unexplored squares of a fighter slot (party: the party's count in slot 0).
void CountFighterSquares(int slot);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetPartyVisionState();
