#include "screens/game/map_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/special_attacks.h"
#include "combat/turns/computer_decision.h"
#include "combat/turns/valuation_grid.h"
#include "engine/frame.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "engine/static_layers.h"
#include "engine/text.h"
#include "map/area_shapes.h"
#include "map/rain_shelter.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/game/creature_figures.h"
#include "screens/game/debug_tools.h"
#include "screens/game/fallen_members.h"
#include "screens/game/frame_words.h"
#include "screens/game/map_base_digest.h"
#include "screens/game/map_mouse_words.h"
#include "screens/game/square_drawing.h"
#include "screens/game/view_squares.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/game_screen_words.h"
#include "state/map_view_state.h"
#include "state/threat_grids.h"

uint8_t WallCodeOverlay = 0;
uint8_t ShowValuationGrid = 0;
int32_t TorchJitterX = 0, TorchJitterY = 0;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kRangeMark = 0x46FFFFFFu;

bool StoredCodesStep() { return ScreenMode == kModeExploring || ScreenMode == kModeResting; }

bool NearFocus(int x, int y) { return std::abs(x - FocusSquareX) <= 2 && std::abs(y - FocusSquareY) <= 2; }

void RaiseSource(AmbientSource source, int x, int y) {
  AmbientSourceFlags[source].seen = 1;
  if (NearFocus(x, y)) AmbientSourceFlags[source].nearby = 1;
}

int32_t& FloorAt(int index) { return CurrentMap.layers[kLayerFloor][index]; }

}  // namespace

namespace {

// Whether the squares below the creatures were copied from the kept
// picture this frame, or are being drawn to be kept, and the kept picture's
// key: both set every frame (no end needed).
enum class BaseLayer { kDrawn, kCopied, kKeeping };
BaseLayer Base = BaseLayer::kDrawn;
StaticLayerKey BaseKey{StaticLayer::kMapViewBase, {0, 0, 0}};

// The animated wall features in view sound whether or not they are drawn now.
void RaiseFeatureSources(int rows, int cols) {
  ForEachSeenSquare(rows, cols, [&](const ViewSquare& v) {
    const int wall = CurrentMap.layers[kLayerWalls][v.index];
    if (wall >= 86 && wall <= 89) RaiseSource(kAmbientFeatures, v.x, v.y);
  });
}

void BeginBaseLayer(int rows, int cols, uint32_t tint) {
  const uint64_t digest = MapBaseDigest(rows, cols, tint);
  BaseKey.arguments[0] = static_cast<uint32_t>(digest);
  BaseKey.arguments[1] = static_cast<uint32_t>(digest >> 32);
  BaseKey.arguments[2] = static_cast<uint32_t>(rows | cols << 8);
  switch (BeginStaticLayer(BaseKey)) {
    case StaticLayerStart::kCopied: Base = BaseLayer::kCopied; break;
    case StaticLayerStart::kDrawAndKeep: Base = BaseLayer::kKeeping; break;
    case StaticLayerStart::kDrawOnly: break;
  }
}

}  // namespace

// Ground, animated features and floor tiles, then the objects and walls and
// the fallen members lying on the ground.
void DrawGroundPass(int rows, int cols, uint32_t tint) {
  // A layer begun and never ended (its last pass was not run) is given up.
  if (Base == BaseLayer::kKeeping) ForgetStaticLayers();
  Base = BaseLayer::kDrawn;
  LayFallenMembers(rows, cols);
  if (MapHidden) return;
  ClearLargeObjectMarks();
  FireAreaSeen = FireAreaNear = 0;
  RaiseFeatureSources(rows, cols);
  BeginBaseLayer(rows, cols, tint);
  if (Base == BaseLayer::kCopied) return;
  ForEachSeenSquare(rows, cols, [&](const ViewSquare& v) {
    const int ground = CurrentMap.layers[kLayerGround][v.index];
    if (ground >= 1 && ground <= 43)
      DrawMapFrame(kSheetGround, ground, v.sx, v.sy, tint);
    else if (ground >= 44 && ground <= 59)
      DrawMapFrame(kSheetAreaMarks, ground + 12, v.sx, v.sy, tint);
    else if (ground >= 60 && ground <= 65)
      DrawMapFrame(kSheetGround, ground - 10, v.sx, v.sy, tint);
    const int wall = CurrentMap.layers[kLayerWalls][v.index];
    if (wall >= 86 && wall <= 89) DrawMapFrame(kSheetFeatures, 84 + FeatureFrame, v.sx, v.sy, tint);
    const int floor = FloorAt(v.index);
    if (floor >= 200 && floor <= 283) DrawMapFrame(kSheetFloor, floor - 200, v.sx, v.sy, tint);
  });
  DrawObjectWallLayers(rows, cols, tint);
  DrawLyingMembers();
}

namespace {

// The area of the pending spell and the squares the acting fighter's foes threaten.
void DrawRangeMarks(int rows, int cols) {
  const bool area = AreaMarksShown(), range = MoveRangeShown();
  if (!area && !range) return;
  const bool lineOfFire = LineOfFireShown();
  ForEachSeenSquare(rows, cols, [&](const ViewSquare& v) {
    if (area && AreaMask[v.index])
      DrawMapFrame(kSheetAreaMarks, 34, v.sx, v.sy, kRangeMark);
    if (!range) return;
    const int32_t code = ArrowGrid[v.index];
    if (code == -1) return;
    const int32_t band = code / 100;
    const int frame = band == 1 ? 35 : band == 2 ? 34 : -1;
    if (frame == -1) return;
    // A line of fire is a mark of the order under the pointer, left out on
    // the panels over the map as the arrows are; the threatened squares
    // tint the ground.
    if (lineOfFire)
      DrawMapMark(kSheetAreaMarks, frame, v.sx, v.sy, kRangeMark);
    else
      DrawMapFrame(kSheetAreaMarks, frame, v.sx, v.sy, kRangeMark);
  });
}

// The area-display kind of the use being cast (-1 none).
int CastingDisplayKind() {
  const int spell = SpellInProgress;
  if (spell >= 0 && spell < kSpellRows) return SpellTable[spell].animationKind;
  if (spell == kSpellTurnUndead) return 6;
  if (spell == kSpellSpecialAttack && IsValidCreature(SpellCaster)) {
    // A special attack has no burst of a spell row: its kind 10 (a line of
    // lightning) shows as sparks along the line.
    const int kind = SpecialAttackOf(SpecialAttackKindOf(SpellCaster)).animation;
    return kind == 10 ? 9 : kind == 8 || kind == 7 || kind == 6 || kind == 9 ? kind : -1;
  }
  return -1;
}

uint32_t CastingColour() {
  const int spell = SpellInProgress;
  int code = 1;
  if (spell >= 0 && spell < kSpellRows) code = SpellTable[spell].animationColour;
  else if (spell == kSpellTurnUndead) code = 6;
  else if (spell == kSpellSpecialAttack && IsValidCreature(SpellCaster)) {
    // A breath of fire or lightning without a colour of its own shows its element's.
    const SpecialAttackKind& k = SpecialAttackOf(SpecialAttackKindOf(SpellCaster));
    code = k.colour != 0 ? k.colour : k.effectCode == 3 ? 2 : k.effectCode == 6 ? 7 : 0;
  }
  return SpellColour(code);
}

// Where an area animation spreads from, in map pixels: the caster's middle
// for a burst round the caster, a rectangle, a cone, a line, a turning and a
// special attack; the aimed square's middle for the others.
void CastingOrigin(int* x, int* y) {
  const int spell = SpellInProgress;
  const int target = spell >= 0 && spell < kSpellRows ? SpellTable[spell].target : -1;
  const bool fromCaster = spell == kSpellTurnUndead || spell == kSpellSpecialAttack || target == kAimCentered ||
                          target == kAimRectangle || target == kAimCone || target == kAimLine;
  if (fromCaster && IsValidCreature(SpellCaster)) {
    const CreatureRecord& c = Creatures[SpellCaster];
    *x = c.pixelX + 12 * c.footprintWidth.current;
    *y = c.pixelY + 12 * c.footprintHeight.current;
    return;
  }
  *x = 24 * (CastingUse.aimX >= 0 ? CastingUse.aimX : MapCursorX) + 12;
  *y = 24 * (CastingUse.aimY >= 0 ? CastingUse.aimY : MapCursorY) + 12;
}

// The nearest and the farthest an area square lies from the origin, in pixels.
void AreaReach(int ox, int oy, float* nearest, float* farthest) {
  *nearest = 1e9f;
  *farthest = 0.0f;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      if (!AreaMask[SquareIndex(x, y)]) continue;
      const float d = std::hypot(24.0f * x + 12 - ox, 24.0f * y + 12 - oy);
      *nearest = std::min(*nearest, d);
      *farthest = std::max(*farthest, d);
    }
}

bool CastingPreviewShown() { return ScreenMode == kModeCastAnnounce && CastingUse.areaAnimating != 0; }

// An animated floor code steps within its run of 18 codes, each square on its own phase.
void StepAnimatedFloor(int32_t& code, int first, int step) {
  code += step;
  if (code > first + 17) code = first;
  if (code < first) code = first + 17;
}

void DrawAnimatedFloor(const ViewSquare& v, uint32_t tint, bool areaStepped) {
  int32_t& code = FloorAt(v.index);
  const bool stepping = StoredCodesStep();
  if (code >= 600 && code <= 617) {
    DrawMapFrame(3, code - 600, v.sx - 20, v.sy - 10, tint);
    if (stepping && FloorTick == 0) StepAnimatedFloor(code, 600, 1);
  } else if (code >= 700 && code <= 717) {
    DrawMapFrame(5, code - 700, v.sx - 20, v.sy - 10, tint);
    if (stepping && FloorTick == 0) StepAnimatedFloor(code, 700, 1);
  } else if (code >= 800 && code <= 817) {
    DrawMapFrame(6, code - 800, v.sx - 20, v.sy - 10, tint);
    if (stepping && FloorTick == 0) StepAnimatedFloor(code, 800, -1);
  } else if (code >= 900 && code <= 917) {
    DrawMapFrame(kSheetAreaFloor, code - 900, v.sx - 20, v.sy - 10, tint);
    RaiseSource(kAmbientAreas, v.x, v.y);
    if (stepping && areaStepped) StepAnimatedFloor(code, 900, 1);
  }
}

void DrawRain(const ViewSquare& v) {
  if (RainFrame == 0 || RainShelterGrid[v.index] <= 1) return;
  constexpr uint32_t kRain = 0x50FFFFFFu;
  const bool lastColumn = v.x == CurrentMap.width - 1, lastRow = v.y == CurrentMap.height - 1;
  DrawMapFrame(kSheetFloor, RainFrame, v.sx - 10, v.sy - 10, kRain);
  if (lastColumn) DrawMapFrame(kSheetFloor, RainFrame, v.sx + 14, v.sy - 10, kRain);
  if (lastRow) DrawMapFrame(kSheetFloor, RainFrame, v.sx - 10, v.sy + 14, kRain);
  if (lastColumn && lastRow) DrawMapFrame(kSheetFloor, RainFrame, v.sx + 14, v.sy + 14, kRain);
}

void DrawWallCodeMark(const ViewSquare& v) {
  const int wall = CurrentMap.layers[kLayerWalls][v.index];
  if (WallCodeOverlay == 0 || wall <= 0) return;
  if (wall >= 46 && wall <= 55)
    DrawMapFrame(kSheetLargeMarks, 0, v.sx - 10, v.sy - 10);
  else if (wall == 82 || wall == 84)
    DrawMapFrame(kSheetLargeMarks, 16, v.sx - 11, v.sy - 11);
  else if (wall == 83 || wall == 85)
    DrawMapFrame(kSheetLargeMarks, 15, v.sx - 11, v.sy - 11);
  else
    DrawMapFrame(kSheetGround, 0, v.sx, v.sy);
}

// Magic areas, animated floors, the casting preview, rain and the wall marks.
// The glyphs of an area animation spread from the origin over the area: a
// square's own animation starts later the farther it lies from it.
void DrawAreaPass(int rows, int cols, uint32_t tint) {
  const bool areaStepped = AreaFrameStepped != 0;
  const bool preview = CastingPreviewShown();
  const int kind = preview ? CastingDisplayKind() : -1;
  const bool glyphs = kind == 6 || kind == 7 || kind == 8 || kind == 9 || kind == 11;
  const uint32_t colour = preview ? CastingColour() : kWhite;
  const int frames = preview ? UseAnimationFrames() : 0;
  const float progress = frames > 0 ? static_cast<float>(CastingUse.frameCounter) / static_cast<float>(frames) : 1.0f;
  int ox = 0, oy = 0;
  if (glyphs) CastingOrigin(&ox, &oy);
  float nearest = 0, farthest = 0;
  if (glyphs) AreaReach(ox, oy, &nearest, &farthest);
  // The share of the animation the spreading takes: none over an area of
  // squares all as far from the origin.
  const float spread = farthest - nearest >= 12.0f ? 0.6f : 0.0f;
  ForEachSeenSquare(rows, cols, [&](const ViewSquare& v) {
    if (InCombat == 1 && MagicAreaGrid[v.index].kind == kEffectInsectPlague) {
      DrawMapFrame(kSheetAreaFloor, AreaFrame - 900, v.sx - 20, v.sy - 10);
      RaiseSource(kAmbientAreas, v.x, v.y);
    }
    DrawAnimatedFloor(v, tint, areaStepped);
    if (glyphs && AreaMask[v.index]) {
      const float distance = spread > 0 ? (std::hypot(24.0f * v.x + 12 - ox, 24.0f * v.y + 12 - oy) - nearest) /
                                              (farthest - nearest) : 0.0f;
      const float own = progress * (1 + spread) - spread * distance;
      DrawCastingGlyph(kind, own, v.sx + 12, v.sy + 12, colour);
    }
    DrawRain(v);
    DrawWallCodeMark(v);
  });
  if (kind == 10 || kind == 12) DrawCastingWholeArea(kind, progress);
}

// The computer's valuation grid written on the squares, for the debug view.
void DrawValuationOverlay(int rows, int cols) {
  if (DebugMode == 0 || ShowValuationGrid == 0) return;
  const int fighter = CurrentFighter();
  const CreatureRecord* f = IsValidCreature(fighter) ? &Creatures[fighter] : nullptr;
  ForEachViewSquare(rows, cols, [&](const ViewSquare& v) {
    const int32_t value = ValuationGrid[v.index];
    char text[16];
    std::snprintf(text, sizeof text, "%i", value);
    int style = value > 0 ? 0 : 5;
    if (f && v.x == f->destinationX && v.y == f->destinationY)
      style = 2;
    else if (v.x == ChosenSquare.x && v.y == ChosenSquare.y)
      style = 1;
    else if (f && v.x == f->squareX && v.y == f->squareY)
      style = 3;
    else if (value == -100) {
      std::snprintf(text, sizeof text, "X");
      style = 4;
    }
    DrawString(text, style, v.sx + 8, v.sy + 8, kWhite, 0);
  });
}

void NewJitter() {
  if (!StoredCodesStep()) return;
  TorchJitterX = static_cast<int32_t>(RandomUpTo(1));
  TorchJitterY = static_cast<int32_t>(RandomUpTo(1));
}

// A flame's floor code steps within its group of 14.
void StepFlame(int32_t& code, int groupFirst) {
  if (!StoredCodesStep() || FlameTick != 0) return;
  if (++code > groupFirst + 13) code = groupFirst;
}

// Whether the square belongs to a large glowing object: a neighbour holds
// the same floor code.
bool InLargeGlow(const ViewSquare& v, int code) {
  const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
  for (int k = 0; k < 4; ++k) {
    const int x = v.x + dx[k], y = v.y + dy[k];
    if (ViewInside(x, y) && CurrentMap.At(kLayerFloor, x, y) == code) return true;
  }
  return false;
}

void DrawLargeGlow(const ViewSquare& v) {
  if (LargeObjectDrawn(v.index)) return;
  int ox = v.x, oy = v.y;
  const int code = FloorAt(v.index);
  while (oy > 0 && CurrentMap.At(kLayerFloor, ox, oy - 1) == code) --oy;
  while (ox > 0 && CurrentMap.At(kLayerFloor, ox - 1, oy) == code) --ox;
  int n = 1;
  while (n < 19 && ViewInside(ox + n, oy + n) && CurrentMap.At(kLayerFloor, ox + n, oy + n) == code) ++n;
  if (n < 2) return;
  for (int x = ox; x < ox + n; ++x)
    for (int y = oy; y < oy + n; ++y) MarkLargeObjectDrawn(SquareIndex(x, y));
  const int sx = 24 * (ox - FirstVisibleX) - SquareOffsetX, sy = 24 * (oy - FirstVisibleY) - SquareOffsetY;
  DrawLightGlow(200, code - 3999, sx, sy, static_cast<float>(n * 24) / 128.0f);
}

void DrawLightSources(int rows, int cols) {
  ForEachSeenSquare(rows, cols, [&](const ViewSquare& v) {
    int32_t& floor = FloorAt(v.index);
    const int wall = CurrentMap.layers[kLayerWalls][v.index];
    if (wall < 90 && floor < 306) return;
    if (floor >= 4000 && floor <= 4999) {
      if (InLargeGlow(v, floor)) {
        DrawLargeGlow(v);
      } else if (floor <= 4014) {
        const int colour = 1 + (floor - 4000) % 5;
        if (floor <= 4004)
          DrawLightGlow(255, colour, v.sx, v.sy, 0.1875f);
        else if (floor <= 4009)
          DrawLightGlow(255, colour, v.sx - 29, v.sy - 16, 0.5f);
        else
          DrawLightGlow(255, colour, v.sx - 16, v.sy - 29, 0.5f);
        TorchJitterX = TorchJitterY = 0;
      }
    }
    if (wall == 90) {
      if (floor < 320 || floor > 333) floor = 320;
      StepFlame(floor, 320);
      NewJitter();
      DrawLightGlow(125, 2, v.sx - 51 + TorchJitterX, v.sy - 51 + TorchJitterY, 1.0f);
      DrawMapFrame(kSheetFlames, floor - 300, v.sx - 2, v.sy - 1);
      RaiseSource(kAmbientFlames, v.x, v.y);
      RaiseSource(kAmbientCampfire, v.x, v.y);
      CampfireSquareX = v.x;
      CampfireSquareY = v.y;
    }
    if (wall == 90) return;  // the campfire's codes are not torches
    if (floor == 2015 || floor == 2016) {
      NewJitter();
      const int offset = floor == 2015 ? 11 : 12;
      DrawLightGlow(170, 2, v.sx - offset + TorchJitterX, v.sy - offset + TorchJitterY, 0.3f);
      RaiseSource(kAmbientFlames, v.x, v.y);
    }
    if (floor >= 306 && floor <= 375) {
      const int group = (floor - 306) / 14;
      StepFlame(floor, 306 + 14 * group);
      if (v.y == CurrentMap.height - 1 || SquareExplored(v.x, v.y + 1)) {
        NewJitter();
        DrawLightGlow(255, 1 + group, v.sx - 29 + TorchJitterX, v.sy - 16 + TorchJitterY, 0.5f);
        DrawMapFrame(kSheetFlames, floor - 300, v.sx - 10, v.sy + 3);
        RaiseSource(kAmbientFlames, v.x, v.y);
      }
    } else if (floor >= 406 && floor <= 475) {
      const int group = (floor - 406) / 14;
      StepFlame(floor, 406 + 14 * group);
      if (v.x == CurrentMap.width - 1 || SquareExplored(v.x + 1, v.y)) {
        NewJitter();
        DrawLightGlow(255, 1 + group, v.sx - 16 + TorchJitterX, v.sy - 29 + TorchJitterY, 0.5f);
        DrawMapFrame(kSheetFlames, floor - 400, v.sx + 3, v.sy - 9);
        RaiseSource(kAmbientFlames, v.x, v.y);
      }
    }
  });
}

// The quarters of the objects two squares wide and high, drawn from the
// square of their lower right quarter: that one below the creatures, the
// other three above them.
struct LargeObject {
  int code, sheet, lowerRight, lowerLeft, upperRight, upperLeft;
};
constexpr LargeObject kLargeObjects[] = {{60, 0, 60, 59, 58, 57},      {64, 0, 64, 63, 62, 61},
                                         {68, 0, 68, 67, 66, 65},      {72, 0, 72, 71, 70, 69},
                                         {106, 12, 43, 42, 41, 40},    {3003, 0, 49, 48, 47, 46}};

const LargeObject* LargeObjectOf(int wall) {
  for (const LargeObject& o : kLargeObjects)
    if (o.code == wall) return &o;
  return nullptr;
}

}  // namespace

void DrawCombatOverlays(int rows, int cols, uint32_t tint) {
  if (MapHidden || Base == BaseLayer::kCopied) return;
  // Only in combat or while a spell waits for its target.
  if (InCombat != 1 && SpellInProgress == -1) return;
  DrawRangeMarks(rows, cols);
  DrawSquareShading(rows, cols);
  DrawSquareOverlays(rows, cols, tint, 1);
}

void DrawWallTops(int rows, int cols, uint32_t tint) {
  const BaseLayer base = Base;
  Base = BaseLayer::kDrawn;
  if (base == BaseLayer::kCopied) return;
  const bool pending = InCombat == 1 || SpellInProgress != -1;
  ForEachViewSquare(rows, cols, [&](const ViewSquare& v) {
    if (!SquareExplored(v.index)) return;
    if (pending) DrawMoveArrow(v.x, v.y, v.sx, v.sy);
    if (InCombat != 1) DrawItemMarker(v.x, v.y, v.sx, v.sy);
    if (DarkInCombat(v.index)) return;
    if (const LargeObject* o = LargeObjectOf(CurrentMap.layers[kLayerWalls][v.index]))
      DrawMapFrame(o->sheet, o->lowerRight, v.sx - 3, v.sy - 6, tint);
  });
  if (base == BaseLayer::kKeeping) EndStaticLayer(BaseKey);
}

void DrawUpperPasses(int rows, int cols, uint32_t tint) {
  if (MapHidden) return;
  ForEachSeenSquare(rows, cols, [&](const ViewSquare& v) {
    const LargeObject* o = LargeObjectOf(CurrentMap.layers[kLayerWalls][v.index]);
    if (!o) return;
    DrawMapFrame(o->sheet, o->lowerLeft, v.sx - 27, v.sy - 6, tint);
    DrawMapFrame(o->sheet, o->upperRight, v.sx - 3, v.sy - 30, tint);
    DrawMapFrame(o->sheet, o->upperLeft, v.sx - 27, v.sy - 30, tint);
  });
  DrawSquareOverlays(rows, cols, tint, 0);
  DrawAreaPass(rows, cols, tint);
  DrawValuationOverlay(rows, cols);
  DrawLightSources(rows, cols);
}

void ResetMapViewState() {
  WallCodeOverlay = 0;
  ShowValuationGrid = 0;
  TorchJitterX = TorchJitterY = 0;
  ResetSquareDrawingState();
  ResetCreatureFiguresState();
  ResetDebugToolsState();
}
