#include "screens/game/fallen_members.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

#include "combat/resolution/combat_sequencer.h"
#include "engine/frame.h"
#include "engine/sprite_sheets.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/positions.h"
#include "screens/game/action_state.h"
#include "screens/game/creature_figures.h"
#include "screens/game/figure_table.h"
#include "screens/game/frame_words.h"
#include "screens/game/map_input.h"
#include "screens/game/shared_routines.h"
#include "screens/game/view_squares.h"
#include "state/camera.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"

static_assert(kFallenPlaceCount == kPartySize, "a place for each party member");

namespace {

// Whether the member was seen standing on the map by the last frame: only a
// fall seen from there lays its place (a member already down when the party
// came to the map lies nowhere in view; one down in a game taken up lies
// where the game kept it).
bool SeenStanding[kPartySize] = {};

// How a member lying in view is drawn this frame (drawn: false when it is
// not), and the creature standing on its square (-1 none).
struct Lying {
  bool drawn = false;
  int sheet = 0, frame = 0, x = 0, y = 0;
  float scaleX = 1, scaleY = 1;
  uint32_t colour = 0;
  int standing = -1;
};
Lying Bodies[kPartySize];

// The pixels kept clear round a body inside its square: touching the
// square's edge it read as lying under the neighbour's feet.
constexpr int kBodyMargin = 2;

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
  // A place laid already stays: a member whose place in the party changed
  // (another took the lead) lies where it fell.
  if (SeenStanding[member] && place.x == -1) place = FallenPlace{c.squareX, c.squareY};
  SeenStanding[member] = false;
}

// A creature of the map standing on the square, -1 none.
int StandingOn(int x, int y) {
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (IsValidCreature(id) && Creatures[id].present == 1 && FootprintCovers(id, x, y)) return id;
  }
  return -1;
}

// The member's own figure facing the viewer, turned on its side (its head
// to the east) and dimmed: its drawn texels fitted inside its footprint on
// the square where it lies, a margin clear of the neighbours' squares, and
// centred there; with a creature standing on the square, across the bottom
// of the square instead, at that creature's feet.
Lying LyingOnItsSquare(int member, int rows, int cols) {
  const FallenPlace& place = FallenPlaces[member];
  const int column = place.x - FirstVisibleX, row = place.y - FirstVisibleY;
  if (place.x == -1 || column < 0 || column > cols || row < 0 || row > rows || !ViewInside(place.x, place.y)) return {};
  const int index = SquareIndex(place.x, place.y);
  if (!SquareExplored(index) || DarkInCombat(index)) return {};
  const CreatureRecord& c = Creatures[member];
  Lying body;
  int classWidth = 0, classHeight = 0, frameWidth = 0, frameHeight = 0, left = 0, top = 0, right = 0, bottom = 0;
  if (!FigureSheetFrame(c.figure, kFaceDown, 0, &body.sheet, &body.frame) ||
      !SizeClassFrame(c.displayWords[kDisplayFigureSize], &classWidth, &classHeight) ||
      !SheetFrameRect(body.sheet, body.frame, nullptr, nullptr, &frameWidth, &frameHeight) ||
      !SheetFrameInkBox(body.sheet, body.frame, &left, &top, &right, &bottom) || right <= left)
    return {};
  // The figure's scale standing; on its side its height lies across the square.
  const float standX = static_cast<float>(c.figureSize[0].current) / static_cast<float>(classWidth);
  const float standY = static_cast<float>(c.figureSize[1].current) / static_cast<float>(classHeight);
  const int squaresX = std::max(1, static_cast<int>(c.footprintWidth.current));
  const int squaresY = std::max(1, static_cast<int>(c.footprintHeight.current));
  const float roomX = static_cast<float>(kSquarePixels * squaresX - 2 * kBodyMargin);
  const float roomY = static_cast<float>(kSquarePixels * squaresY - 2 * kBodyMargin);
  const float fit = std::min({1.0f, roomX / (static_cast<float>(bottom - top) * standY),
                              roomY / (static_cast<float>(right - left) * standX)});
  body.scaleX = standX * fit;
  body.scaleY = standY * fit;
  // Turned a quarter about the frame's middle (w/2, h/2), a point (u, v) of
  // the drawn frame goes to (w/2 + h/2 - v, h/2 - w/2 + u): the ink's middle
  // onto the footprint's.
  const float w = static_cast<float>(frameWidth) * body.scaleX, h = static_cast<float>(frameHeight) * body.scaleY;
  const float inkU = static_cast<float>(left + right) / 2 * body.scaleX, inkV = static_cast<float>(top + bottom) / 2 * body.scaleY;
  const float middleX = static_cast<float>(kSquarePixels * column - SquareOffsetX + kSquarePixels * squaresX / 2);
  float middleY = static_cast<float>(kSquarePixels * row - SquareOffsetY + kSquarePixels * squaresY / 2);
  body.standing = StandingOn(place.x, place.y);
  if (body.standing != -1) {
    // Lying across the figure's ink, the body is as high as its ink is wide.
    const float high = static_cast<float>(right - left) * body.scaleX;
    middleY = static_cast<float>(kSquarePixels * (row + squaresY) - SquareOffsetY - kBodyMargin) - high / 2;
  }
  body.x = static_cast<int>(std::lround(middleX - (w / 2 + h / 2 - inkV)));
  body.y = static_cast<int>(std::lround(middleY - (h / 2 - w / 2 + inkU)));
  body.colour = FigureColour(true, 255);
  body.drawn = true;
  return body;
}

// The member's name with its state, as the hint gives it.
void WriteFallenName(int member) {
  std::snprintf(CursorHint, sizeof CursorHint, "%.15s (%s)", Creatures[member].name, FallenState(member));
}

// The member lying on the square under the pointer on the map, -1 none
// (the pointer on a panel, or off the map).
int FallenMemberUnderPointer() {
  if (MouseOnGamePanels()) return -1;
  const int px = PointerMapX(), py = PointerMapY();
  if (px < 0 || py < 0) return -1;
  return FallenMemberOn(px / kSquarePixels, py / kSquarePixels);
}

// The hint beside the pointer names the member lying under it while the
// player looks over the map and nothing else has a word there. A figure
// hovered over it (screen mode 3) speaks for the square alone, by its box
// or its cursor, as a click there is that figure's; a blow's chance at a
// figure keeps the hint.
void NameUnderPointer() {
  if (ScreenMode != kModeExploring || CursorHint[0] != '\0') return;
  const int member = FallenMemberUnderPointer();
  if (member == -1 || (CursorChance != -1 && FigureSlotAt(PointerMapX(), PointerMapY()) != -1)) return;
  WriteFallenName(member);
}

}  // namespace

void LayFallenMembers(int rows, int cols) {
  for (int member = 0; member < kPartySize; ++member) {
    UpdatePlace(member);
    Bodies[member] = LyingOnItsSquare(member, rows, cols);
  }
  NameUnderPointer();
}

namespace {

void DrawBody(const Lying& body) {
  DrawMapFrame(body.sheet, body.frame, body.x, body.y, body.colour, body.scaleX, body.scaleY,
               std::numbers::pi_v<float> / 2);
}

}  // namespace

void DrawLyingMembers() {
  for (const Lying& body : Bodies)
    if (body.drawn) DrawBody(body);
}

void DrawLyingMembersAtFeetOf(int creature) {
  for (const Lying& body : Bodies)
    if (body.drawn && body.standing == creature) DrawBody(body);
}

std::array<uint64_t, kPartySize * kLyingWordsPerMember> LyingMembersWords() {
  std::array<uint64_t, kPartySize * kLyingWordsPerMember> words{};
  for (int member = 0; member < kPartySize; ++member) {
    const Lying& body = Bodies[member];
    if (!body.drawn) continue;
    uint32_t sx = 0, sy = 0;
    std::memcpy(&sx, &body.scaleX, sizeof sx);
    std::memcpy(&sy, &body.scaleY, sizeof sy);
    uint64_t* w = &words[static_cast<size_t>(member * kLyingWordsPerMember)];
    w[0] = 1;
    w[1] = static_cast<uint64_t>(static_cast<uint32_t>(body.sheet)) << 32 | static_cast<uint32_t>(body.frame);
    w[2] = static_cast<uint64_t>(static_cast<uint32_t>(body.x)) << 32 | static_cast<uint32_t>(body.y);
    w[3] = static_cast<uint64_t>(sx) << 32 | sy;
    w[4] = body.colour;
  }
  return words;
}

bool NameWhomTheAimReaches() {
  if (ScreenMode != kModeAimCreature || CursorHint[0] != '\0') return false;
  const int member = FallenMemberUnderPointer();
  if (member == -1) return false;
  const int reached = CreatureTheAimReaches(PointerMapX() / kSquarePixels, PointerMapY() / kSquarePixels);
  if (reached == member)
    WriteFallenName(member);
  else if (IsValidCreature(reached))
    std::snprintf(CursorHint, sizeof CursorHint, "%.15s", Creatures[reached].name);
  return CursorHint[0] != '\0';
}

int FallenMemberOn(int x, int y) {
  for (int member = kPartySize - 1; member >= 0; --member)
    if (Bodies[member].drawn && FallenPlaces[member].x == x && FallenPlaces[member].y == y) return member;
  return -1;
}

void ResetFallenMembersState() {
  for (int member = 0; member < kPartySize; ++member) {
    SeenStanding[member] = false;
    Bodies[member] = Lying{};
  }
}
