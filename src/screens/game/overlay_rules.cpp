#include "screens/game/overlay_rules.h"

#include <cstring>

#include "combat/turns/decision_services.h"
#include "map/fighter_tests.h"
#include "map/map_record.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"

uint8_t AnyStepFlag = 0;  // cleared by each caller before the overlay is built (no end needed)

namespace {

// The conditions that may be shown, highest first.
constexpr int kMainList[] = {111, 92, 109, 84, 86, 85, 89, 106, 83, 112, 82, 118, 96, 94, 88, 95, 110,
                             148, 87, 158, 157, 93, 90, 91, 97, 105, 98, 99, 100, 101, 102, 104, 103, 107};
constexpr int kSecondTier[] = {113, 145, 146, 152, 154, 167, 156};
constexpr int kThirdTier[] = {114, 115, 151, 150, 149};

// The one-square steps in the order the overlay tries them: the move of the
// footprint and the step mark of the square it reaches.
struct StepMark {
  int dx, dy;
  int32_t mark;
};
constexpr StepMark kStepMarks[8] = {{0, -1, 28}, {-1, 0, 27}, {1, 0, 25},  {0, 1, 26},
                                    {-1, -1, 32}, {-1, 1, 31}, {1, -1, 29}, {1, 1, 30}};

// The place of an id in a list, -1 when it is not there.
template <size_t N>
int Rank(const int (&list)[N], int id) {
  for (size_t i = 0; i < N; ++i)
    if (list[i] == id) return static_cast<int>(i);
  return -1;
}

}  // namespace

int PickShownEffect(int creature) {
  if (!IsValidCreature(creature)) return -1;
  int pick = -1, pickRank = 0;
  bool pickMain = false;
  int third = -1, thirdRank = 0;
  for (const ConditionEntry& e : Creatures[creature].conditions) {
    if (e.duration <= 0) continue;
    const int id = static_cast<int>(e.id);
    const int main = Rank(kMainList, id);
    if (main != -1) {
      if (!pickMain || main < pickRank) {
        pick = id;
        pickRank = main;
        pickMain = true;
      }
      continue;
    }
    const int second = Rank(kSecondTier, id);
    if (second != -1) {
      if (pick == -1 || (!pickMain && second < pickRank)) {
        pick = id;
        pickRank = second;
      }
      continue;
    }
    const int last = Rank(kThirdTier, id);
    if (last != -1 && (third == -1 || last < thirdRank)) {
      third = id;
      thirdRank = last;
    }
  }
  return pick != -1 ? pick : third;
}

bool BuildReachOverlay(int32_t* grid, int creature) {
  if (grid) std::memset(grid, 0, sizeof(int32_t) * kMapSquares);
  if (!IsValidCreature(creature)) return true;
  const CreatureRecord& c = Creatures[creature];
  const int x = c.squareX, y = c.squareY, w = c.footprintWidth.current, h = c.footprintHeight.current;
  for (const StepMark& s : kStepMarks) {
    // The square beside the footprint in the step's direction.
    const int mx = s.dx < 0 ? x - 1 : s.dx > 0 ? x + w : x;
    const int my = s.dy < 0 ? y - 1 : s.dy > 0 ? y + h : y;
    if (mx < 0 || my < 0 || mx >= kMapSide || my >= kMapSide) continue;
    if (!FootprintFitsAt(x + s.dx, y + s.dy, creature, 0)) continue;
    // A diagonal step passes between the two squares beside its corner.
    if (s.dx != 0 && s.dy != 0 && IsDiagonalStepBlocked(creature, mx, y + (s.dy < 0 ? 0 : h - 1), x + (s.dx < 0 ? 0 : w - 1), my))
      continue;
    if (grid) grid[SquareIndex(mx, my)] = s.mark;
    AnyStepFlag = 1;
  }
  return true;
}

int StepMarkDirection(int32_t mark) {
  for (const StepMark& s : kStepMarks)
    if (s.mark == mark) return Direction8(0, 0, s.dx, s.dy);
  return -1;
}

bool HasReachableSquare(int creature) {
  AnyStepFlag = 0;
  BuildReachOverlay(nullptr, creature);
  return AnyStepFlag != 0;
}
