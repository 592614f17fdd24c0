#include "screens/game/fallen_members.h"

#include <cstdio>
#include <numbers>

#include "engine/frame.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/positions.h"
#include "screens/game/creature_figures.h"
#include "screens/game/figure_table.h"
#include "screens/game/frame_words.h"
#include "screens/game/shared_routines.h"
#include "screens/game/view_squares.h"
#include "state/camera.h"
#include "state/map_view_state.h"

static_assert(kFallenPlaceCount == kPartySize, "a place for each party member");

namespace {

// Whether the member was seen standing on the map by the last frame: only a
// fall seen from there lays its place (a member already down when the party
// came to the map, or when the game was taken up, lies nowhere in view).
bool SeenStanding[kPartySize] = {};
// Whether the member was drawn lying this frame.
bool DrawnLying[kPartySize] = {};

// The member's state, most lasting first, in the conditions' own words.
const char* FallenState(int member) {
  for (const uint32_t id : {kCondDead, kCondPetrified, kCondUnconscious})
    if (FindCondition(member, id) >= 0) return ConditionName(id);
  return ConditionName(kCondUnconscious);  // down to 0 hit points, its list too full to say so
}

bool IsDown(int member) {
  return Creatures[member].hitPoints <= 0 || FindCondition(member, kCondDead) >= 0 ||
         FindCondition(member, kCondPetrified) >= 0 || FindCondition(member, kCondUnconscious) >= 0;
}

// The member's place, laid when it is seen going down and taken up when it
// stands again.
void UpdatePlace(int member) {
  const CreatureRecord& c = Creatures[member];
  FallenPlace& place = FallenPlaces[member];
  if (c.present == 1 || !IsDown(member)) {
    place = FallenPlace{};
    SeenStanding[member] = c.present == 1;
    return;
  }
  if (SeenStanding[member]) place = FallenPlace{c.squareX, c.squareY};
  SeenStanding[member] = false;
}

// The member's own figure facing the viewer, turned on its side and dimmed,
// centred on the square where it lies.
void DrawLying(int member, int rows, int cols) {
  const FallenPlace& place = FallenPlaces[member];
  const int column = place.x - FirstVisibleX, row = place.y - FirstVisibleY;
  if (place.x == -1 || column < 0 || column > cols || row < 0 || row > rows || !ViewInside(place.x, place.y)) return;
  const int index = SquareIndex(place.x, place.y);
  if (!SquareExplored(index) || DarkInCombat(index)) return;
  const CreatureRecord& c = Creatures[member];
  int sheet = 0, frame = 0, frameWidth = 0, frameHeight = 0;
  if (!FigureSheetFrame(c.figure, kFaceDown, 0, &sheet, &frame) ||
      !SizeClassFrame(c.displayWords[kDisplayFigureSize], &frameWidth, &frameHeight))
    return;
  const int w = c.figureSize[0].current, h = c.figureSize[1].current;
  const int x = kSquarePixels * column - SquareOffsetX + (kSquarePixels * c.footprintWidth.current - w) / 2;
  const int y = kSquarePixels * row - SquareOffsetY + (kSquarePixels * c.footprintHeight.current - h) / 2;
  DrawMapFrame(sheet, frame, x, y, FigureColour(true, 255), static_cast<float>(w) / static_cast<float>(frameWidth),
               static_cast<float>(h) / static_cast<float>(frameHeight), std::numbers::pi_v<float> / 2);
  DrawnLying[member] = true;
}

// The hint beside the pointer names the member lying under it while the
// player looks over the map and nothing else has a word there.
void NameUnderPointer() {
  if (ScreenMode != kModeExploring || CursorHint[0] != '\0' || MouseOnGamePanels()) return;
  const int px = PointerMapX(), py = PointerMapY();
  if (px < 0 || py < 0 || FigureSlotAt(px, py) != -1) return;
  const int member = FallenMemberOn(px / kSquarePixels, py / kSquarePixels);
  if (member == -1) return;
  std::snprintf(CursorHint, sizeof CursorHint, "%.15s (%s)", Creatures[member].name, FallenState(member));
}

}  // namespace

void DrawFallenMembers(int rows, int cols) {
  for (int member = 0; member < kPartySize; ++member) {
    DrawnLying[member] = false;
    UpdatePlace(member);
    DrawLying(member, rows, cols);
  }
  NameUnderPointer();
}

int FallenMemberOn(int x, int y) {
  for (int member = kPartySize - 1; member >= 0; --member)
    if (DrawnLying[member] && FallenPlaces[member].x == x && FallenPlaces[member].y == y) return member;
  return -1;
}

void ResetFallenMembersState() {
  for (int member = 0; member < kPartySize; ++member) SeenStanding[member] = DrawnLying[member] = false;
}
