#include "screens/game/square_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "combat/resolution/area_targets.h"
#include "combat/resolution/combat_sequencer.h"
#include "engine/graphics.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "engine/frame.h"
#include "platform/render.h"
#include "rules/adjacency.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/game/creature_figures.h"
#include "screens/game/frame_words.h"
#include "screens/game/map_base_digest.h"
#include "screens/game/map_view.h"
#include "screens/game/object_list.h"
#include "screens/game/overlay_rules.h"
#include "screens/game/shared_routines.h"
#include "screens/game/view_squares.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/map_view_state.h"
#include "state/casting_services.h"
#include "state/queued_actions.h"
#include "state/threat_grids.h"

namespace {

// Which large objects and floor patches have been drawn this frame.
uint8_t LargeDrawn[kMapSquares];

constexpr uint32_t kWhite = 0xFFFFFFFFu;

uint32_t WithAlpha(uint32_t colour, int alpha) {
  if (alpha < 0) alpha = 0;
  if (alpha > 255) alpha = 255;
  return (static_cast<uint32_t>(alpha) << 24) | (colour & 0x00FFFFFFu);
}

int WallCode(int x, int y) { return ViewInside(x, y) ? CurrentMap.At(kLayerWalls, x, y) : 0; }

// A stone wall whose square holds floor code 2017 is drawn with a low iron
// door in its south face (a keep's postern), one whose square holds 2018
// with a wooden door as wide as the square (a hall's doors, which a script
// of the square before them goes through); to the map's rules each is the
// wall alone.
constexpr int kStoneWall = 46, kFloorPostern = 2017, kPosternFrame = 17, kFloorWallDoor = 2018, kWallDoorFrame = 18;

// The walls and features drawn square by square (the large objects, the
// doors and the animated features have passes of their own): the walls that
// block sight from the large marks, the features of the ground sheet and the
// objects sheet.
void DrawWallFeature(const ViewSquare& v, int code, uint32_t tint) {
  if (code == kStoneWall && CurrentMap.layers[kLayerFloor][v.index] == kFloorPostern)
    DrawMapFrame(kSheetLargeMarks, kPosternFrame, v.sx - 10, v.sy - 10, tint);
  else if (code == kStoneWall && CurrentMap.layers[kLayerFloor][v.index] == kFloorWallDoor)
    DrawMapFrame(kSheetLargeMarks, kWallDoorFrame, v.sx - 10, v.sy - 10, tint);
  else if (code >= 46 && code <= 55)
    DrawMapFrame(kSheetLargeMarks, code - 45, v.sx - 10, v.sy - 10, tint);
  else if ((code >= 73 && code <= 81) || (code >= 90 && code <= 99))
    DrawMapFrame(kSheetGround, code, v.sx, v.sy, tint);
  else if (code >= 100 && code <= 199 && code != 106)
    DrawMapFrame(kSheetObjects, code, v.sx, v.sy, tint);
}

// Doors: a door along x (82, 84) has its second half in the square whose
// left neighbour holds the same code, a door along y (83, 85) in the square
// below its first half.
struct DoorFrames {
  int code, first;
  bool alongX;
};
constexpr DoorFrames kDoors[] = {{84, 28, true}, {85, 30, false}, {82, 36, true}, {83, 38, false}};

const DoorFrames* DoorOf(int code) {
  for (const DoorFrames& d : kDoors)
    if (d.code == code) return &d;
  return nullptr;
}

// The square holding the other half of the door at (x, y).
bool OtherDoorHalf(const DoorFrames& d, int x, int y, int* ox, int* oy, bool* second) {
  const int bx = d.alongX ? x - 1 : x, by = d.alongX ? y : y - 1;
  if (WallCode(bx, by) == d.code) {
    *ox = bx;
    *oy = by;
    *second = true;
    return true;
  }
  const int ax = d.alongX ? x + 1 : x, ay = d.alongX ? y : y + 1;
  *second = false;
  if (WallCode(ax, ay) == d.code) {
    *ox = ax;
    *oy = ay;
    return true;
  }
  return false;
}

// The top-left square of a patch of equal codes in a layer: up while the
// code holds, then left while it holds.
void PatchOrigin(int layer, int x, int y, int* ox, int* oy) {
  const int code = CurrentMap.At(layer, x, y);
  while (y > 0 && ViewInside(x, y - 1) && CurrentMap.At(layer, x, y - 1) == code) --y;
  while (x > 0 && ViewInside(x - 1, y) && CurrentMap.At(layer, x - 1, y) == code) --x;
  *ox = x;
  *oy = y;
}

// The squares a patch spans from its origin: how many squares down the
// diagonal hold its code (2 to 19); 0 when the next square does not.
int PatchSize(int layer, int ox, int oy) {
  const int code = CurrentMap.At(layer, ox, oy);
  int n = 1;
  while (n < 19 && ViewInside(ox + n, oy + n) && CurrentMap.At(layer, ox + n, oy + n) == code) ++n;
  return n >= 2 ? n : 0;
}

void MarkPatchDrawn(int ox, int oy, int n) {
  for (int x = ox; x < ox + n && x < kMapSide; ++x)
    for (int y = oy; y < oy + n && y < kMapSide; ++y) LargeDrawn[SquareIndex(x, y)] = 1;
}

// The screen position of a map square in the current view.
int ScreenXOf(int x) { return 24 * (x - FirstVisibleX) - SquareOffsetX; }
int ScreenYOf(int y) { return 24 * (y - FirstVisibleY) - SquareOffsetY; }

void DrawFloorPatch(const ViewSquare& v, int code, uint32_t tint) {
  if (LargeDrawn[v.index]) return;
  int ox = 0, oy = 0;
  PatchOrigin(kLayerFloor, v.x, v.y, &ox, &oy);
  const int n = PatchSize(kLayerFloor, ox, oy);
  if (n == 0) return;
  MarkPatchDrawn(ox, oy, n);
  // Three pairs of frames: the patch and the patch's edge over it.
  const int pair = (code - 3000) % 3;
  const float scale = static_cast<float>(n);
  DrawMapFrame(kSheetFloorFeatures, 40 + 2 * pair, ScreenXOf(ox), ScreenYOf(oy), tint, scale, scale);
  DrawMapFrame(kSheetFloorFeatures, 41 + 2 * pair, ScreenXOf(ox), ScreenYOf(oy), tint, scale, scale);
}

void DrawDoor(const ViewSquare& v, const DoorFrames& d, uint32_t tint) {
  int ox = 0, oy = 0;
  bool second = false;
  OtherDoorHalf(d, v.x, v.y, &ox, &oy, &second);
  DrawMapFrame(kSheetLargeMarks, d.first + (second ? 1 : 0), v.sx - 11, v.sy - 11, tint);
}

uint32_t RingColour(int mark) {
  switch (mark) {
    case 1: return 0xFF3232u;
    case 2: return 0xFFFF64u;
    case 3: return 0x32FF32u;
    case 4: return 0x3232FFu;
    case 5: return 0xFF64FFu;
    default: return 0xFFFFFFu;
  }
}

}  // namespace

int DrawMapFrame(int sheet, int frame, int x, int y, uint32_t colour, float scaleX, float scaleY, float rotation) {
  return DrawSheetFrame(sheet, frame, x, y, colour, scaleX, scaleY, rotation, 1, 0, 0, 0, 0, 1, 0, 0);
}

int DrawMapMark(int sheet, int frame, int x, int y, uint32_t colour) {
  int width = 0, height = 0;
  if (!SheetFrameRect(sheet, frame, nullptr, nullptr, &width, &height) || ViewBoxOnCombatPanels(x, y, width, height))
    return 0;
  const DrawLayerScope mark(DrawLayer::kMark);
  return DrawMapFrame(sheet, frame, x, y, colour);
}

void BeginAdditive() { SetBlendMode(platform::kBlendSrcAlpha, platform::kBlendOne); }
void EndAdditive() { SetBlendMode(platform::kBlendSrcAlpha, platform::kBlendInvSrcAlpha); }

uint32_t GlowColour(int colourCode) {
  switch (colourCode) {
    case 1: return 0xFFCED270u;
    case 2: return 0xFFF1B134u;
    case 3: return 0xFF9157FDu;
    case 4: return 0xFF2DD1ABu;
    case 5: return 0xFFBE8EDDu;
    case 6: return 0xAABE8EDDu;
    default: return kWhite;
  }
}

void DrawLightGlow(int alpha, int colourCode, int x, int y, float scale) {
  uint32_t colour = GlowColour(colourCode);
  if (alpha < 255) colour = WithAlpha(colour, alpha);
  BeginAdditive();
  DrawMapFrame(kSheetGlow, 1, x, y, colour, scale, scale);
  EndAdditive();
}

void DrawItemMarker(int x, int y, int sx, int sy) {
  if (!ViewInside(x, y) || CurrentMap.At(kLayerWalls, x, y) != 0) return;
  // In a battle a creature standing on the things hides them (the bag lay
  // on its figure and under the chance over it).
  if (InCombat == 1 && CreatureAtSquare(x, y, -1) != -1) return;
  // Anything the square's list can name and the party take: a crafted item
  // (the weapons and armour fallen foes leave), a base item, gold or a pile.
  if (DescribeObject(CurrentMap.At(kLayerObjects0, x, y)).kind == ShownObject::kUnknown) return;
  bool treasure = false;
  for (int level = 0; level < 4; ++level) {
    const int code = CurrentMap.At(kLayerObjects0 + level, x, y);
    if (code >= 5000 && code <= 9999 && code - 5000 < kItemRows && ItemTable[code - 5000].baseType == 6) treasure = true;
  }
  DrawMapMark(kSheetFloor, treasure ? 99 : 89, sx, sy);
}

namespace {

// The arrows-sheet frame that shows a square's arrow code (0 none): the code
// itself, whichever path it marks (a walk, a step or a move and then an
// attack, a charge), so that the arrows and crossed blades of a square
// friends or foes threaten show its corners (frames of their own). The
// squares of the five-foot step hold their step marks, shown by the step
// arrow of each mark's direction.
int ArrowFrame(int32_t code) {
  if (code == -1 || code == 100 || code == 200) return 0;
  if (ArrowGridMover == kArrowGridStepMarks) {
    const int direction = StepMarkDirection(code);
    return direction == -1 ? 0 : kFirstStepArrow - 1 + direction;
  }
  return code > 0 ? code : 0;
}

}  // namespace

void DrawMoveArrow(int x, int y, int sx, int sy) {
  if (!MoveArrowsShown() || x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) return;
  const int frame = ArrowFrame(ArrowGrid[SquareIndex(x, y)]);
  // An arrow is left out where its ink would lie on a panel over the map,
  // not its clear margin: that reached the side panel from the squares
  // below it, and a charge's line showed no arrow nor crossed blades there.
  int left = 0, top = 0, right = 0, bottom = 0;
  if (frame <= 0 || !SheetFrameInkBox(kSheetArrows, frame, &left, &top, &right, &bottom) || right <= left ||
      ViewBoxOnCombatPanels(sx - 5 + left, sy - 5 + top, right - left, bottom - top))
    return;
  const DrawLayerScope mark(DrawLayer::kMark);
  DrawMapFrame(kSheetArrows, frame, sx - 5, sy - 5);
}

bool GroundMarksMeet(int left, int top, int right, int bottom) {
  const bool arrows = MoveArrowsShown(), line = LineOfFireShown();
  if (!arrows && !line) return false;
  // The squares whose arrows (34 by 34 from 5 pixels up and left) may reach the box.
  const int x0 = FirstVisibleX + (left + SquareOffsetX - 29) / 24 - 1, x1 = FirstVisibleX + (right + SquareOffsetX + 5) / 24;
  const int y0 = FirstVisibleY + (top + SquareOffsetY - 29) / 24 - 1, y1 = FirstVisibleY + (bottom + SquareOffsetY + 5) / 24;
  for (int x = std::max(0, x0); x <= x1 && x < kMapSide; ++x)
    for (int y = std::max(0, y0); y <= y1 && y < kMapSide; ++y) {
      if (!SquareExplored(x, y) || DarkInCombat(SquareIndex(x, y))) continue;
      const int32_t code = ArrowGrid[SquareIndex(x, y)];
      const int sx = 24 * (x - FirstVisibleX) - SquareOffsetX, sy = 24 * (y - FirstVisibleY) - SquareOffsetY;
      const auto meets = [&](int l, int t, int r, int b) { return l < right && left < r && t < bottom && top < b; };
      if (line && (code / 100 == 1 || code / 100 == 2) && meets(sx, sy, sx + 24, sy + 24)) return true;
      if (!arrows) continue;
      const int frame = ArrowFrame(code);
      int l = 0, t = 0, r = 0, b = 0;
      if (frame > 0 && SheetFrameInkBox(kSheetArrows, frame, &l, &t, &r, &b) && r > l &&
          meets(sx - 5 + l, sy - 5 + t, sx - 5 + r, sy - 5 + b))
        return true;
    }
  return false;
}

void DrawCreatureMarker(int creature) {
  if (!IsValidCreature(creature) || !FigureDrawn(creature)) return;
  const int mark = CreatureMarkWords[creature];
  if (mark == 0) return;
  const CreatureRecord& c = Creatures[creature];
  const int countdown = HighlightTimer > AreaMarkTimer ? HighlightTimer : AreaMarkTimer;
  const int alpha = countdown < 51 ? countdown * 5 : 255;
  const int size = c.displayWords[kDisplayFigureSize];
  const int left = size < 4 ? 8 : size == 4 ? 19 : 35;
  const int up = size < 4 ? 8 : size == 4 ? 15 : 24;
  const int width = c.figureSize[0].current + 2 * left;
  const int height = c.figureSize[1].current + 2 * up;
  DrawMapFrame(kSheetGlow, 2, ScreenPosX[creature] + 3 - left, ScreenPosY[creature] + 3 - up,
               WithAlpha(RingColour(mark), alpha), width / 128.0f, height / 128.0f);
}

namespace {

constexpr float kPi = 3.14159265f;

// A colour at a share of its own alpha (alpha 0 to 255).
uint32_t Faded(uint32_t colour, int alpha) { return WithAlpha(colour, (alpha < 0 ? 0 : alpha) * static_cast<int>(colour >> 24) / 255); }

// A frame of sheet 32 drawn `diameter` pixels across round (cx, cy), turned
// by the rotation, its light added to the picture.
void DrawGlowFrame(int frame, float cx, float cy, float diameter, uint32_t colour, int alpha, float rotation = 0.0f) {
  if (diameter < 1.0f || alpha <= 0) return;
  const float scale = diameter / 128.0f;
  BeginAdditive();
  DrawMapFrame(kSheetGlow, frame, static_cast<int>(std::lround(cx - diameter / 2)),
               static_cast<int>(std::lround(cy - diameter / 2)), Faded(colour, alpha), scale, scale, rotation);
  EndAdditive();
}

// The same frame tinting what lies below it in its colour first, then
// lighting it: added light alone turns every colour pale on bright ground
// (fire yellow on grass, and a dark colour shows nothing).
void DrawTintedGlowFrame(int frame, float cx, float cy, float diameter, uint32_t colour, int alpha, float rotation = 0.0f) {
  if (diameter < 1.0f || alpha <= 0) return;
  const float scale = diameter / 128.0f;
  DrawMapFrame(kSheetGlow, frame, static_cast<int>(std::lround(cx - diameter / 2)),
               static_cast<int>(std::lround(cy - diameter / 2)), Faded(colour, alpha), scale, scale, rotation);
  DrawGlowFrame(frame, cx, cy, diameter, colour, alpha / 3, rotation);
}

float Clamped(float t) { return t < 0.0f ? 0.0f : t > 1.0f ? 1.0f : t; }

}  // namespace

void DrawEffectFlash(int frame, int x, int y, int variant) {
  static constexpr uint32_t kFlashColours[11] = {0xFFFFFFFFu, 0xFFFFF0A0u, 0xFFA0E0FFu, 0xFFFFA060u, 0xFFB0FFB0u,
                                                 0xFFE0A0FFu, 0xFFFF6060u, 0xFF80FFFFu, 0xFFFFFF60u, 0xFFC0C0C0u,
                                                 0xFFFFC0E0u};
  if (variant < 1 || variant > 10) {
    if (DebugMode) LogMessage("DEBUG - refused flash variant %i\r", variant);
    return;
  }
  // A soft glow of one to three layers swelling with the frame (0 to 7) and fading.
  const int layers = 1 + variant % 3;
  const float grow = 0.25f + 0.75f * static_cast<float>(frame < 0 ? 0 : frame) / 7.0f;
  const int alpha = 255 - 25 * (frame < 0 ? 0 : frame);
  BeginAdditive();
  for (int layer = 0; layer < layers; ++layer) {
    const float scale = 48.0f / 128.0f * grow * (1.0f - 0.25f * static_cast<float>(layer));
    const int offset = static_cast<int>(24 - 64 * scale);
    DrawMapFrame(kSheetGlow, 1, x + offset, y + offset, WithAlpha(kFlashColours[variant], alpha), scale, scale);
  }
  EndAdditive();
}

void DrawEffectSparks(int frame, int x, int y, int colourCode) {
  if (colourCode < 1 || colourCode > 8) {
    if (DebugMode) LogMessage("DEBUG - refused spark colour %i\r", colourCode);
    return;
  }
  const float scale = 48.0f / 128.0f;
  const int alpha = 255 - 20 * (frame < 0 ? 0 : frame);
  BeginAdditive();
  DrawMapFrame(kSheetGlow, 3, x, y, WithAlpha(GlowColour(colourCode), alpha), scale, scale, PhaseAngle);
  EndAdditive();
}

uint32_t SpellColour(int colourCode) {
  static constexpr uint32_t kColours[11] = {
      0xFFFFFFFFu,  // white
      0xFFFFC850u,  // holy: gold
      0xFFFF641Eu,  // fire: orange red
      0xFF9157FDu,  // force: violet
      0xFFB4E632u,  // acid: sour green
      0xFFD08CFFu,  // mind: lilac
      0xFFE6D2FFu,  // the turning: pale lilac
      0xFFF0F08Cu,  // lightning: pale yellow
      0xFFB4145Au,  // negative energy: crimson
      0xFF6ED2FFu,  // cold: ice blue
      0xFF50F08Cu,  // life: bright green
  };
  return colourCode >= 0 && colourCode <= 10 ? kColours[colourCode] : kWhite;
}

void DrawCastingMark(int kind, float progress, int cx, int cy, int size, uint32_t colour) {
  const float p = Clamped(progress), fade = std::sin(kPi * p);
  const float d = static_cast<float>(size);
  switch (kind) {
    case 2:  // a flash swelling over the target with a white heart
      DrawTintedGlowFrame(1, cx, cy, d * (1.0f + 1.2f * p), colour, static_cast<int>(255 * (1 - p * p)));
      DrawGlowFrame(1, cx, cy, d * (0.5f + 0.4f * p), kWhite, static_cast<int>(220 * (1 - p)));
      break;
    case 3:  // sparks turning over the target
      DrawTintedGlowFrame(1, cx, cy, d * 1.1f, colour, static_cast<int>(200 * fade));
      DrawGlowFrame(3, cx, cy, d * (1.3f + 0.8f * p), colour, static_cast<int>(255 * fade), 3 * PhaseAngle);
      DrawGlowFrame(3, cx, cy, d * 0.8f, kWhite, static_cast<int>(160 * fade), -2 * PhaseAngle);
      break;
    case 4:  // a ring closing on the target
      DrawTintedGlowFrame(1, cx, cy, d * 1.2f, colour, static_cast<int>(200 * fade));
      DrawTintedGlowFrame(2, cx, cy, d * (2.4f - 1.5f * p), colour, static_cast<int>(255 * fade));
      break;
    case 5:  // a glow on the target and a ring rising from it
      DrawTintedGlowFrame(1, cx, cy, d * 1.4f, colour, static_cast<int>(220 * fade));
      DrawTintedGlowFrame(2, cx, cy, d * (0.5f + 1.3f * p), colour, static_cast<int>(255 * (1 - p)));
      break;
    default:
      break;
  }
}

int EventAnimationFrame(int n) {
  if (n <= 0) return 0;
  const int perEvent = FramesPerEvent > 0 ? FramesPerEvent : 1;
  const int frame = n - PlaybackFramesLeft * n / perEvent;
  return frame > n - 1 ? n - 1 : frame;
}

void DrawCastingGlyph(int kind, float progress, int cx, int cy, uint32_t colour) {
  const float p = Clamped(progress), fade = std::sin(kPi * p);
  const int alpha = static_cast<int>(240 * fade);
  const float rotation = 3 * PhaseAngle + 0.7f * static_cast<float>(cx + cy);
  switch (kind) {
    case 6:  // a ring swelling on every square
      DrawTintedGlowFrame(1, cx, cy, 32, colour, alpha / 2);
      DrawTintedGlowFrame(2, cx, cy, 24 * (0.5f + 0.9f * p), colour, alpha);
      break;
    case 7:  // a glow swelling over every square
      DrawTintedGlowFrame(1, cx, cy, 24 * (1.4f + 1.0f * p), colour, alpha);
      DrawGlowFrame(1, cx, cy, 24 * 0.5f, kWhite, alpha / 4);
      break;
    case 8:  // a cone's sparks
    case 9:  // a line's sparks
      DrawTintedGlowFrame(1, cx, cy, 30, colour, alpha / 2);
      DrawGlowFrame(3, cx, cy, 24 * (0.9f + 0.8f * p), colour, alpha, rotation);
      break;
    case 11:  // a glyph turning on the squares
      DrawTintedGlowFrame(2, cx, cy, 22, colour, alpha);
      DrawGlowFrame(3, cx, cy, 22, colour, alpha, PhaseAngle);
      break;
    default:
      if (DebugMode) LogMessage("DEBUG - refused glyph kind %i\r", kind);
      break;
  }
}

namespace {

// The screen position of a map pixel.
int ScreenX(int pixelX) { return pixelX - 24 * FirstVisibleX - SquareOffsetX; }
int ScreenY(int pixelY) { return pixelY - 24 * FirstVisibleY - SquareOffsetY; }

// The burst of the spell being cast: a glow and a ring the size of its area
// ((area x 2 / 5) x 24 pixels across, twice that widened) round the caster
// (a spell centred on the caster) or the aimed square, swelling and fading
// as the animation goes on (progress 0 to 1).
void DrawSpellBurst(float progress) {
  const int spell = SpellInProgress;
  if (progress < 0 || spell < 0 || spell >= kSpellRows || !IsValidCreature(SpellCaster)) return;
  const SpellRecord& s = SpellTable[spell];
  const int graphic = s.animationColour;
  if (graphic < 1 || graphic > 10) {
    if (DebugMode) LogMessage("DEBUG - refused burst graphic %i\r", graphic);
    return;
  }
  int size = s.areaSize * 2 / 5 * 24;
  if (PendingMetamagic == 3) size *= 2;
  int cx = 0, cy = 0;
  if (s.target == 2) {
    const CreatureRecord& c = Creatures[SpellCaster];
    cx = c.pixelX + 12 * c.footprintWidth.current;
    cy = c.pixelY + 12 * c.footprintHeight.current;
  } else {
    const int x = CastingUse.aimX >= 0 ? CastingUse.aimX : MapCursorX, y = CastingUse.aimY >= 0 ? CastingUse.aimY : MapCursorY;
    cx = 24 * x + 12;
    cy = 24 * y + 12;
  }
  const float p = Clamped(progress);
  const float sx = static_cast<float>(ScreenX(cx)), sy = static_cast<float>(ScreenY(cy));
  const int alpha = static_cast<int>(255 * std::sin(kPi * (0.15f + 0.85f * p)));
  const uint32_t colour = SpellColour(graphic);
  DrawTintedGlowFrame(1, sx, sy, size * (0.5f + 0.9f * p), colour, alpha);
  DrawTintedGlowFrame(1, sx, sy, size * (0.3f + 0.5f * p), colour, alpha);
  DrawGlowFrame(1, sx, sy, size * 0.3f, kWhite, static_cast<int>(alpha * (1 - p) / 2));
  DrawTintedGlowFrame(2, sx, sy, size * (0.3f + 0.75f * p), colour, static_cast<int>(255 * (1 - p)));
}

// The beam from the caster to the aimed square: three streaks of sheet 65
// along the line, each turned a little off it and chosen again every fourth
// frame, and a yellow flash on the square.
struct BeamSegment {
  int frame;
  float jitter;
};
BeamSegment Beam[3];  // chosen again as each beam begins (no end needed)

void DrawBeam(int counter) {
  if (!IsValidCreature(SpellCaster)) return;
  const int tx = MissileState.targetX >= 0 ? MissileState.targetX : MapCursorX;
  const int ty = MissileState.targetY >= 0 ? MissileState.targetY : MapCursorY;
  const GridSquare from = NearestFootprintSquare(SpellCaster, tx, ty);
  if (counter <= 0) StrictScrollTo(-1, from.x + (tx - from.x) / 2, from.y + (ty - from.y) / 2);
  constexpr int kBeamSpeed = 4;
  if (counter <= 0 || counter % kBeamSpeed == 0)
    for (BeamSegment& b : Beam) {
      b.frame = static_cast<int>(RandomUpTo(3));
      b.jitter = (static_cast<float>(RandomUpTo(30)) - 15.0f) * 0.004f;
    }
  const float sx = 24.0f * from.x + 12, sy = 24.0f * from.y + 12, ex = 24.0f * tx + 12, ey = 24.0f * ty + 12;
  const float dx = ex - sx, dy = ey - sy;
  const float length = std::sqrt(dx * dx + dy * dy);
  const float angle = std::atan2(dx, -dy) - 3.14159265f / 2;
  constexpr float kAlong[3] = {1.2f, 0.95f, 0.7f};
  BeginAdditive();
  for (int i = 0; i < 3; ++i) {
    // Each streak centred on the line's middle, as long as the line times its share.
    const float along = length / 256.0f * kAlong[i], across = 0.5f;
    const int x = ScreenX(static_cast<int>((sx + ex) / 2 - 128 * along));
    const int y = ScreenY(static_cast<int>((sy + ey) / 2 - 24 * across));
    DrawMapFrame(kSheetBeam, Beam[i].frame, x, y, kWhite, along, across, angle + Beam[i].jitter);
  }
  EndAdditive();
  DrawEffectFlash(counter / 9 % 7, ScreenX(24 * tx) - 12, ScreenY(24 * ty) - 8, 8);
}

}  // namespace

void DrawCastingWholeArea(int kind, float progress) {
  if (kind == 10) DrawSpellBurst(progress);
  if (kind == 12) DrawBeam(CastingUse.frameCounter);
}

bool RowHasTallFloor(int row, int cols) {
  const int y = FirstVisibleY + row;
  if (y < 0 || y >= kMapSide) return false;
  for (int c = 0; c <= cols; ++c) {
    const int x = FirstVisibleX + c;
    if (x < 0 || x >= kMapSide) continue;
    const int index = SquareIndex(x, y);
    if (!SquareExplored(index) || DarkInCombat(index)) continue;
    const int floor = CurrentMap.layers[kLayerFloor][index];
    if (floor == 123 || floor == 124) return true;
  }
  return false;
}

namespace {

// The tall floor features drawn again in front of a creature. A feature's
// square whose pixels nothing has covered since it was last drawn looks the
// same when drawn again (when its frames have no partly transparent texel),
// so only the squares a figure or a feature drawn again has covered are.
// All four are laid afresh every frame (no end needed).
uint8_t TallCovered[kMapSquares];
bool RedrawingInFront = false;
bool SkipUncovered = false;

bool BinaryFrames(int slot) {
  if (!SheetBank.owner || slot >= SheetBank.count || !SheetBank.records[slot].texture) return false;
  return SheetBank.records[slot].texture->BinaryAlpha();
}

bool TallSquare(int x, int y) {
  if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) return false;
  const int index = SquareIndex(x, y);
  if (!SquareExplored(index) || DarkInCombat(index)) return false;
  const int floor = CurrentMap.layers[kLayerFloor][index];
  return floor == 123 || floor == 124;
}

// The squares drawn after this one that its drawing reaches.
void CoverLaterNeighbours(int x, int y) {
  const int later[4][2] = {{x + 1, y}, {x - 1, y + 1}, {x, y + 1}, {x + 1, y + 1}};
  for (const auto& n : later)
    if (n[0] >= 0 && n[1] >= 0 && n[0] < kMapSide && n[1] < kMapSide) TallCovered[SquareIndex(n[0], n[1])] = 1;
}

}  // namespace

// The tall features in view and the screen rectangle of everything drawn
// for each (the feature, the item mark, the arrow).
struct TallRect {
  int index, left, top, right, bottom;
};
std::vector<TallRect> TallRects;

void BeginTallFeatures(int rows, int cols) {
  std::memset(TallCovered, 0, sizeof TallCovered);
  SkipUncovered = BinaryFrames(kSheetFloor) && (!MoveArrowsShown() || BinaryFrames(kSheetArrows));
  TallRects.clear();
  for (int r = 0; r <= rows; ++r)
    for (int c = 0; c <= cols; ++c) {
      const int x = FirstVisibleX + c, y = FirstVisibleY + r;
      if (!TallSquare(x, y)) continue;
      const int sx = 24 * c - SquareOffsetX, sy = 24 * r - SquareOffsetY;
      TallRects.push_back({SquareIndex(x, y), sx - 5, sy - 13, sx + 29, sy + 29});
    }
}

void CoverTallFeatures(int left, int top, int right, int bottom) {
  for (const TallRect& t : TallRects)
    if (t.left < right && t.right > left && t.top < bottom && t.bottom > top) TallCovered[t.index] = 1;
}

void DrawTallFeaturesInFront(int firstRow, int rows, int cols, uint32_t tint) {
  RedrawingInFront = true;
  for (int row = firstRow; row <= rows; ++row) DrawSquareObjects(row, cols, tint);
  RedrawingInFront = false;
}

void DrawSquareObjects(int row, int cols, uint32_t tint) {
  const int y = FirstVisibleY + row;
  if (y < 0 || y >= kMapSide) return;
  for (int c = 0; c <= cols; ++c) {
    const int x = FirstVisibleX + c;
    if (!TallSquare(x, y)) continue;
    const int index = SquareIndex(x, y);
    if (RedrawingInFront && SkipUncovered) {
      if (!TallCovered[index]) continue;
      CoverLaterNeighbours(x, y);
    }
    TallCovered[index] = 0;
    const int floor = CurrentMap.layers[kLayerFloor][index];
    const int sx = 24 * c - SquareOffsetX, sy = 24 * row - SquareOffsetY;
    DrawMapFrame(kSheetFloor, floor == 123 ? 22 : 23, sx - 5, sy - 13, tint);
    // The bag lies on the ground: drawn again in front of a creature it lay
    // on the figure ("a loot bag over a knight's head").
    if (CurrentMap.layers[kLayerObjects0][index] != 0 && !RedrawingInFront) DrawItemMarker(x, y, sx, sy);
    DrawMoveArrow(x, y, sx, sy);
  }
}

void DrawObjectWallLayers(int rows, int cols, uint32_t tint) {
  ForEachViewSquare(rows, cols, [&](const ViewSquare& v) {
    const bool seen = SquareExplored(v.index) && !DarkInCombat(v.index);
    const int wall = CurrentMap.layers[kLayerWalls][v.index];
    const DoorFrames* door = DoorOf(wall);
    if (!seen) {
      // A door half out of sight is drawn with the half that has been seen.
      int ox = 0, oy = 0;
      bool second = false;
      if (door && !DarkInCombat(v.index) && OtherDoorHalf(*door, v.x, v.y, &ox, &oy, &second) &&
          SquareExplored(ox, oy))
        DrawDoor(v, *door, tint);
      return;
    }
    const int floor = CurrentMap.layers[kLayerFloor][v.index];
    if (floor >= 3000 && floor <= 3999) DrawFloorPatch(v, floor, tint);
    if (floor >= 1000 && floor <= 1039) {
      const int group = (floor - 1000) / 10, phase = (floor - 1000) % 10;
      DrawMapFrame(kSheetFloorFeatures, 10 * group + (phase + LayerTick10) % 10, v.sx, v.sy, tint);
    }
    if (floor == 2015 || floor == 2016) DrawMapFrame(kSheetObjects, floor - 1969, v.sx, v.sy, tint);  // frames 46, 47
    if (door)
      DrawDoor(v, *door, tint);
    else
      DrawWallFeature(v, wall, tint);
  });
}

void DrawSquareShading(int rows, int cols) {
  ForEachSeenSquare(rows, cols, [&](const ViewSquare& v) {
    const uint32_t shade = FogGrid[v.index];
    if (shade > 1) DrawMapFrame(kSheetShade, static_cast<int>(shade) + 49, v.sx, v.sy);
  });
}

uint8_t FireAreaSeen = 0;
uint8_t FireAreaNear = 0;

void DrawSquareOverlays(int rows, int cols, uint32_t tint, int layerFlag) {
  (void)tint;
  const bool jitter = ScreenMode == kModeExploring || ScreenMode == kModeResting;
  ForEachSeenSquare(rows, cols, [&](const ViewSquare& v) {
    const SquareEffectCell& cell = MagicAreaGrid[v.index];
    if (layerFlag == 1) {
      switch (cell.kind) {
        case kEffectEntangle: DrawMapFrame(kSheetAreaMarks, 24, v.sx - 12, v.sy - 12, 0xC8FFFFFFu, 2, 2); break;
        case kEffectWeb: DrawMapFrame(kSheetAreaMarks, 24, v.sx - 12, v.sy - 12, 0xDCFFFFFFu, 2, 2); break;
        case kEffectSilence: DrawMapFrame(kSheetAreaMarks, 25, v.sx - 5, v.sy - 5, 0xD2FFFFFFu, 34 / 24.0f, 34 / 24.0f); break;
        case kEffectFire:
          if (cell.roundsLeft != 1000) DrawMapFrame(kSheetAreaMarks, 26, v.sx - 5, v.sy - 5, kWhite, 34 / 24.0f, 34 / 24.0f);
          break;
        default: break;
      }
      return;
    }
    // Above the creatures: the glows of silence and fire.
    if (cell.kind == kEffectSilence || (cell.kind == kEffectFire && cell.roundsLeft != 1000)) {
      int jx = 0, jy = 0;
      if (jitter) {
        jx = static_cast<int>(RandomUpTo(1));
        jy = static_cast<int>(RandomUpTo(1));
      }
      DrawLightGlow(255, cell.kind == kEffectSilence ? 4 : 2, v.sx - 7 + jx, v.sy - 7 + jy, 0.3f);
      if (cell.kind == kEffectFire) {
        FireAreaSeen = 1;
        if (std::abs(v.x - FocusSquareX) <= 2 && std::abs(v.y - FocusSquareY) <= 2) FireAreaNear = 1;
      }
    }
  });
}

void ClearLargeObjectMarks() { std::memset(LargeDrawn, 0, sizeof LargeDrawn); }
bool LargeObjectDrawn(int index) { return LargeDrawn[index] != 0; }
void MarkLargeObjectDrawn(int index) { LargeDrawn[index] = 1; }

void ResetSquareDrawingState() {
  ClearLargeObjectMarks();
  FireAreaSeen = 0;
  FireAreaNear = 0;
}
