#include "screens/game/missile_flight.h"

#include <cmath>

#include "combat/actions/action_executor.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/combat_sequencer.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "map/square_grids.h"
#include "platform/system.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "screens/game/frame_words.h"
#include "screens/game/square_drawing.h"
#include "screens/game/view_squares.h"
#include "state/casting_services.h"
#include "state/current_cast.h"
#include "state/map_view_state.h"

namespace {

// A guard of the slope that tripped: with the debug flag on it beeps, is
// logged and opens the combat rolls so that the line shows.
void GuardTripped(int number) {
  if (!DebugMode) return;
  platform::Beep();
  LogMessage("DEBUG - division by zero #%i\r", number);
  CombatRollsPanelShown = 1;
}

// The centre of the creature's figure box that missiles aim at.
void CreatureAim(int creature, int32_t* x, int32_t* y) {
  const CreatureRecord& c = Creatures[creature];
  const int w = c.figureSize[0].current, h = c.figureSize[1].current;
  const int left = c.pixelX + (kSquarePixels * c.footprintWidth.current - w) / 2 + 2;
  const int top = c.pixelY + (kSquarePixels * c.footprintHeight.current - h) / 2 + 2;
  *x = left + (w - 4) / 2;
  *y = top + (h - 4) / 2;
}

// The creature a spell aimed at a creature flies to.
int AimedCreature(int caster, int x, int y) {
  const int listed = AreaTargetList[0];
  if (IsValidCreature(listed) && listed != caster) return listed;
  return CreatureAtSquare(x, y, caster);
}

// The velocity along the line from s to the aim: exact on the straight
// lines, by the line's slope otherwise. Any slope that cannot be taken (the
// start on the map's left edge, a line without slope) flies straight along
// the line instead, so that every flight arrives.
void SetVelocity(int32_t sx, int32_t sy, int32_t ax, int32_t ay) {
  MissileStateWords& m = MissileState;
  const double dx = ax - sx, dy = ay - sy;
  const double v = MapHidden ? 24 : MissilePixelsPerFrame;
  if (dx == 0 && dy == 0) {
    m.velocityX = m.velocityY = 0;  // already at the aim: it arrives at once
    return;
  }
  if (dx == 0) {
    m.velocityX = 0;
    m.velocityY = dy > 0 ? v : -v;
    return;
  }
  if (dy == 0) {
    m.velocityX = dx > 0 ? v : -v;
    m.velocityY = 0;
    return;
  }
  bool degenerate = false;
  // The line y = m x + b through the start and the aim (b truncated).
  int64_t b = 0;
  if (sx == ax) {
    GuardTripped(1);
    degenerate = true;
  } else {
    b = (static_cast<int64_t>(ay) * sx - static_cast<int64_t>(ax) * sy) / (sx - ax);
  }
  double slope = 0;
  if (m.originX == 0) {
    GuardTripped(2);
    degenerate = true;
  } else {
    slope = static_cast<double>(m.originY - b) / m.originX;
  }
  if (slope * slope + 1 == 0) {
    GuardTripped(3);
    degenerate = true;
  }
  if (slope * slope == 0) {
    GuardTripped(4);
    degenerate = true;
  }
  if (degenerate) {
    const double length = std::sqrt(dx * dx + dy * dy);
    m.velocityX = v * dx / length;
    m.velocityY = v * dy / length;
    return;
  }
  m.velocityX = v / std::sqrt(slope * slope + 1);
  if (dx < 0) m.velocityX = -m.velocityX;
  m.velocityY = v / std::sqrt(1 / (slope * slope) + 1);
  if (dy < 0) m.velocityY = -m.velocityY;
}

}  // namespace

void MissileFrame(int caster, int targetX, int targetY) {
  if (!IsValidCreature(caster)) return;
  MissileStateWords& m = MissileState;
  const CreatureRecord& c = Creatures[caster];
  m.targetX = targetX;
  m.targetY = targetY;
  const int32_t sx = c.pixelX + c.figureSize[0].current / 2, sy = c.pixelY + c.figureSize[1].current / 2;
  m.pixelX = sx;
  m.pixelY = sy;
  m.inFlight = 1;
  m.flightBytes[0] = m.flightBytes[1] = 0;

  const int spell = CurrentSpell;
  const bool spellRow = spell >= 0 && spell < kSpellRows;
  const int target = spellRow && SpellTable[spell].target == 3 ? AimedCreature(caster, targetX, targetY) : -1;
  if (IsValidCreature(target)) {
    MissileReachedCreature(target);
    CreatureAim(target, &m.aimX, &m.aimY);
  } else {
    MissileReachedSquare();
    m.aimX = kSquarePixels * targetX + kSquarePixels / 2;
    m.aimY = kSquarePixels * targetY + kSquarePixels / 2;
  }

  m.steps = 0;
  m.originX = sx;
  m.originY = sy;
  SetVelocity(sx, sy, m.aimX, m.aimY);

  FaceTowardsSquare(caster, targetX, targetY);
  if (DebugMode)
    LogMessage("ArrowFrame:%i  SquareTargetedX:%i  SquareTargetedY:%i  CasterPosX:%i CasterPosY:%i\r", SideCode,
               targetX, targetY, c.squareX, c.squareY);
  m.frame = SideCode >= 76 && SideCode <= 83 ? SideCode : 76;
  if (spellRow) {
    const int kind = SpellTable[spell].missile;
    if (kind >= 2 && kind <= 5) m.frame += 8 * (kind - 1);
  }
}

bool MissileFrame() {
  MissileFrame(SpellCaster, MapCursorX, MapCursorY);
  return true;
}

void DrawMissileSprite() {
  MissileStateWords& m = MissileState;
  // A flight set up for an aim that never flew, or left behind by a use that
  // ended, is not drawn.
  if (m.inFlight && ShotFlight.flying != 1 && CastingUse.missileFlying != 1) m.inFlight = 0;
  if (!m.inFlight) return;
  const int sx = m.pixelX - 24 * FirstVisibleX - SquareOffsetX;
  const int sy = m.pixelY - 24 * FirstVisibleY - SquareOffsetY;
  const int width = ViewWidth(), height = ViewHeight();
  if (sx < 0 || sx > width || sy < 0 || sy > height) return;
  if (m.frame >= 84 && m.frame <= 115) {
    static constexpr int kGlowColours[4] = {2, 4, 3, 5};
    DrawLightGlow(255, kGlowColours[(m.frame - 84) / 8], sx - 59, sy - 66, 1.0f);
    DrawMapFrame(kSheetFlames, m.frame, sx - 4, sy - 10);
  } else {
    DrawMapFrame(kSheetFlames, m.frame, sx - 4, sy - 4);
  }
}
