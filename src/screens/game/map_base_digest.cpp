#include "screens/game/map_base_digest.h"

#include <algorithm>

#include "combat/actions/action_executor.h"
#include "engine/frame.h"
#include "engine/settings.h"
#include "map/area_shapes.h"
#include "screens/game/action_menu.h"
#include "screens/game/action_state.h"
#include "screens/game/fallen_members.h"
#include "screens/game/frame_words.h"
#include "screens/game/map_mouse_words.h"
#include "screens/game/shared_routines.h"
#include "screens/game/view_squares.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/threat_grids.h"

namespace {

// How far from the view a floor patch's top-left square may lie.
constexpr int kPatchReach = 19;

// The floor codes the squares below the creatures draw (the animated floors,
// flames and lights are drawn over the creatures, and step on their own).
uint32_t BaseFloorCode(uint32_t floor) {
  const bool drawn = (floor >= 200 && floor <= 283) || (floor >= 1000 && floor <= 1039) || floor == 2015 ||
                     floor == 2016 || (floor >= 3000 && floor <= 3999);
  return drawn ? floor : 0;
}

struct Digest {
  uint64_t h = 0x9E3779B97F4A7C15ull;
  void Add(uint64_t word) {
    h ^= word + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    h *= 0xBF58476D1CE4E5B9ull;
  }
};

// Four digests taking the words of a square in turn, one word each, so that
// their multiplications overlap; folded into one at the end.
struct FourDigests {
  Digest lanes[4] = {{0x9E3779B97F4A7C15ull}, {0x632BE59BD9B4E019ull}, {0x85EBCA77C2B2AE63ull}, {0xC2B2AE3D27D4EB4Full}};
  void Add(uint64_t a, uint64_t b, uint64_t c, uint64_t d) {
    lanes[0].Add(a);
    lanes[1].Add(b);
    lanes[2].Add(c);
    lanes[3].Add(d);
  }
  uint64_t Folded() const {
    Digest d;
    for (const Digest& lane : lanes) d.Add(lane.h);
    return d.h;
  }
};

}  // namespace

bool AreaMarksShown() {
  const bool areaMode = ScreenMode == 11 || (ScreenMode >= 13 && ScreenMode <= 16);
  return (InCombat == 1 || SpellInProgress != -1) && areaMode && CursorTargetValid == 1;
}

bool BoxOverBattle() { return InCombat == 1 && ScreenMode == kModeResting; }

bool MoveRangeShown() {
  const CombatActionState& a = CombatAction;
  // Out of combat nobody threatens a square: the marks left from the last
  // battle are not shown (while a spell is aimed after it, say).
  if (InCombat != 1 || BoxOverBattle()) return false;
  if (a.playerControlled != 1 || MoveRangeAllowed != 1 || OptionWords[kOptionDisplayThreatAreas] != 1) return false;
  // The squares threatened on the fighter's way, as its own path search
  // marked them: not a shot's line of fire (nor another fighter's marks)
  // once the hover that drew it is gone.
  const bool free = (a.movementClosed == 0 || a.fiveFootStepLeft == 1) && PlaybackCreature == -1 && a.movesLeft > 0 &&
                    PathPreviewShown == 0 && ScreenMode < 10 && ArrowGridMover == CurrentFighter();
  return free || ScreenMode == 10 || MoveRangeForced == 1;
}

bool LineOfFireShown() { return MoveRangeShown() && ArrowGridMover == -1; }

bool MoveArrowsShown() {
  // The arrows are those of the path of the order under the cursor, of the
  // five-foot step's squares, or of the move under way; the arrows of an
  // earlier hover (or of another fighter's search) are not, and an action
  // that moves nobody (a reload, the inventory, with the attacks of
  // opportunity it draws) shows none.
  const bool own = PathArrowsShown == 1 || PendingPanelAction == kActFiveFootStep || KeypadStepActive == 1 ||
                   IsMoveAction(CombatAction.actionCode);
  return InCombat == 1 && CombatAction.playerControlled == 1 && OptionWords[kOptionDisplayColouredArrows] != 0 &&
         CameraMoving == 0 && own && !BoxOverBattle();
}

uint64_t MapBaseDigest(int rows, int cols, uint32_t tint) {
  Digest d;
  const bool area = AreaMarksShown(), range = MoveRangeShown(), arrows = MoveArrowsShown();
  const uint32_t modes = (InCombat == 1 ? 1u : 0u) | (SpellInProgress != -1 ? 2u : 0u) | (area ? 4u : 0u) |
                         (range ? 8u : 0u) | (arrows ? 16u : 0u) | (PathPreviewShown ? 32u : 0u) |
                         (ArrowGridMover == kArrowGridStepMarks ? 64u : 0u);
  for (uint64_t word : {static_cast<uint64_t>(rows), static_cast<uint64_t>(cols), static_cast<uint64_t>(tint),
                        static_cast<uint64_t>(static_cast<uint32_t>(FirstVisibleX)),
                        static_cast<uint64_t>(static_cast<uint32_t>(FirstVisibleY)),
                        static_cast<uint64_t>(static_cast<uint32_t>(SquareOffsetX)),
                        static_cast<uint64_t>(static_cast<uint32_t>(SquareOffsetY)),
                        static_cast<uint64_t>(static_cast<uint32_t>(CurrentMapNumber)),
                        static_cast<uint64_t>(static_cast<uint32_t>(CurrentMap.width)),
                        static_cast<uint64_t>(static_cast<uint32_t>(CurrentMap.height)), static_cast<uint64_t>(modes)})
    d.Add(word);
  const uint32_t* explored = ExploredGrid();
  bool features = false, animatedFloor = false;
  const int x0 = std::max(0, FirstVisibleX - kPatchReach), x1 = std::min(CurrentMap.width - 1, FirstVisibleX + cols + 1);
  const int y0 = std::max(0, FirstVisibleY - kPatchReach), y1 = std::min(CurrentMap.height - 1, FirstVisibleY + rows + 1);
  FourDigests squares;
  Digest reach;
  for (int x = x0; x <= x1; ++x)
    for (int y = y0; y <= y1; ++y) {
      const int i = SquareIndex(x, y);
      const uint32_t floor = BaseFloorCode(static_cast<uint32_t>(CurrentMap.layers[kLayerFloor][i]));
      // Beyond the view and the square round it only a floor patch reaches
      // in, by its code, from its top-left square up and left.
      if (x < FirstVisibleX - 1 || y < FirstVisibleY - 1) {
        reach.Add(floor);
        continue;
      }
      const uint32_t wall = static_cast<uint32_t>(CurrentMap.layers[kLayerWalls][i]);
      features |= wall >= 86 && wall <= 89;
      animatedFloor |= floor >= 1000 && floor <= 1039;
      const SquareEffectCell& cell = MagicAreaGrid[i];
      squares.Add((static_cast<uint64_t>(wall) << 32) | floor,
                  (static_cast<uint64_t>(static_cast<uint32_t>(CurrentMap.layers[kLayerGround][i])) << 32) |
                      (explored ? explored[i] : 0u),
                  (static_cast<uint64_t>(static_cast<uint32_t>(CurrentMap.layers[kLayerObjects0][i])) << 32) |
                      static_cast<uint32_t>(CurrentMap.layers[kLayerObjects1][i]),
                  (static_cast<uint64_t>(static_cast<uint32_t>(CurrentMap.layers[kLayerObjects2][i])) << 32) |
                      static_cast<uint32_t>(CurrentMap.layers[kLayerObjects3][i]));
      const uint64_t areaWord = (static_cast<uint64_t>(cell.kind) << 40) |
                                (static_cast<uint64_t>(cell.roundsLeft == 1000) << 32) | FogGrid[i];
      const uint64_t arrowWord = arrows || range ? static_cast<uint32_t>(ArrowGrid[i]) | 0x100000000ull : 0u;
      squares.Add(areaWord, arrowWord, area ? AreaMask[i] | 0x100000000ull : 0u, 0u);
    }
  d.Add(squares.Folded());
  d.Add(reach.h);
  for (const uint64_t word : LyingMembersWords()) d.Add(word);
  // The arrows and a line of fire keep off the panels over the map.
  if (arrows || LineOfFireShown()) d.Add(CombatPanelsWord());
  if (features) d.Add(0x100000000ull | FeatureFrame);
  if (animatedFloor) d.Add(0x200000000ull | LayerTick10);
  return d.h;
}
