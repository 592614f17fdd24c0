// The game screen's map-view words that the rules and the map read: the
// action bar's mode, the tint, the selected fighter, the flying missile, the
// side code of an action's sprite frames and the attack lines' scroll. The
// game screen writes them. (The view origin is the camera's, in state/camera.h.)
#pragma once
#include <cstdint>

// The side panel's page: 0 none (events are being shown), 1 the initiative
// list, 2 the action list; the ready-action mode word of the turn, which
// SetReadyMode turns back into the page the player prefers. SidePanelMode is
// the same word under the panels' name.
extern int32_t ActionBarMode;
inline int32_t& SidePanelMode = ActionBarMode;
// The tint the picture fades toward (255 each on maps without rain).
extern uint32_t TintTarget[3];

// The fighter slot selected on the game screen.
extern int32_t SelectedFighterSlot;

// The missile or ray in flight.
struct MissileStateWords {
  int32_t pixelX, pixelY;
  double velocityX, velocityY;
  int32_t targetX, targetY;  // square
  int32_t aimX, aimY;        // pixel the flight heads for
  uint8_t inFlight;          // 1 while the missile flies (the map view draws it)
  uint8_t flightBytes[2];    // cleared when a flight is set up
  int32_t steps;             // frames flown
  int32_t originX, originY;  // the starting point of the line
  int32_t frame;             // sprite frame of sheet 2: 76-83 by direction, 84-115 spell missiles
};
extern MissileStateWords MissileState;

// -1 none, else 76 to 83: the side an action's sprite frames are drawn from.
extern int32_t SideCode;

// The first profile entry shown in the character record's attack lines.
extern int32_t AttackLinesScroll;

// The map view's words that attack resolution and the end of an action use:
// the hit-chance mode word (set before asking for a chance, 0 after a real
// attack), the charge preview (a charge is being aimed), the reachable-cursor
// flag (a path leads from the acting fighter to the square under the mouse),
// the suppress byte (the map view ignores the mouse), the computer-turn
// display byte (the side panel stays as it is during a computer's turn), the
// map cursor square and the two flags of the combat-rolls display.
extern int32_t HitChanceMode;
extern uint8_t ChargePreview;
extern uint8_t ReachableCursor;
extern uint8_t MapInputSuppressed;
extern uint8_t ComputerTurnDisplay;
extern int32_t MapCursorX, MapCursorY;
extern uint8_t RollDisplayFlags[2];

// Implemented by the game screen: opens the door of a square (wall codes 82
// and 83), and shows a click result (a code of its texts) in a 20 by 20
// pixel box round the mouse.
void ToggleDoorSquare(int x, int y);
void ShowClickResultAtMouse(int32_t code);
// Implemented by the game screen: the pusher is turned toward the target,
// and the squares the target's footprint would take one step further along
// the pusher's facing are inside the map, open and free of other creatures
// (a blocked diagonal step refuses); the push test of a bull rush.
bool IsFacingSquareFree(int pusher, int target);

// Where each party member lies that has fallen on the map the party is on:
// the square it stood on as the map view saw it go down (x -1: it lies
// nowhere). The map view lays the places and draws the fallen on them; the
// party's arrival on a map (but not a rest where it stands) takes them all
// up, and a game taken up lays them again on the fallen members' own squares.
constexpr int kFallenPlaceCount = 4;  // one for each party member
struct FallenPlace {
  int32_t x = -1, y = -1;
};
extern FallenPlace FallenPlaces[kFallenPlaceCount];
void ForgetFallenPlaces();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetMapViewWords();
