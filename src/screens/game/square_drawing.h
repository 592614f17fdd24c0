// What the map view draws on and over single squares and creatures: glows,
// item and move markers, the selection ring, effect flashes and sparks, the
// casting preview's glyphs, the objects and walls of the squares, the fog at
// the edge of what the party has explored, and the magic areas. Positions are
// screen pixels of the view.
#pragma once
#include <cstdint>

// The sheets the map view draws from.
enum MapSheet : int {
  kSheetGround = 0,
  kSheetLargeMarks = 1,  // walls, doors and the debug marks (34 x 34)
  kSheetFlames = 2,      // flames and missiles (18 x 18)
  kSheetFloor = 4,       // floor tiles and rain
  kSheetFloorFeatures = 8,  // animated floor 1000-1039, floor patches 3000-3005, braziers, objects
  kSheetAreaFloor = 7,   // magic areas and floors 900-917 (64 x 38)
  kSheetShade = 12,      // fog at the edge of the explored squares; large walls
  kSheetAreaMarks = 21,  // range marks and magic areas
  kSheetFeatures = 30,   // features; the animated ones from frame 84
  kSheetGlow = 32,       // glows and rings (128 x 128)
  kSheetObjects = 8,     // objects on squares: wall codes 100-199 are frames 100-199
  kSheetArrows = 48,     // the path arrows (34 x 34)
  kSheetBeam = 65,       // beam segments
};
// The five-foot step's arrows of the arrows sheet: this frame points north,
// the next seven on clockwise.
constexpr int kFirstStepArrow = 25;

// The glow colours by code (1 to 6, any other white).
uint32_t GlowColour(int colourCode);
// A soft glow of sheet 32 frame 1, drawn additively; an alpha below 255
// replaces the colour's own.
void DrawLightGlow(int alpha, int colourCode, int x, int y, float scale);

// The marker of a square whose object stack holds an item (out of combat).
void DrawItemMarker(int x, int y, int sx, int sy);
// In combat, the path arrow of the square for the player's fighter.
void DrawMoveArrow(int x, int y, int sx, int sy);
// Whether a box of the view's pixels (right and bottom excluded) meets the
// drawn texels of a path arrow or a square of the line of fire shown.
bool GroundMarksMeet(int left, int top, int right, int bottom);
// The selection ring under a creature whose mark is set.
void DrawCreatureMarker(int creature);

// An effect frame (1 to n) drawn additively: a flash in one of ten variants,
// sparks turning with the phase angle in a glow colour (1 to 8).
void DrawEffectFlash(int frame, int x, int y, int variant);
void DrawEffectSparks(int frame, int x, int y, int colourCode);
// The frame of an event's effect of n frames: n - frames left x n / frames per
// event, at most n - 1.
int EventAnimationFrame(int n);

// The colours of spell animations by a spell's colour word: 0 white, 1 holy
// gold, 2 fire, 3 force violet, 4 acid green, 5 mind lilac, 6 the turning's
// pale lilac, 7 lightning, 8 negative energy crimson, 9 cold, 10 life; any
// other white.
uint32_t SpellColour(int colourCode);
// The animation of a spell being cast, its progress going from 0 to 1: the
// mark of a target animation kind (2 a flash, 3 sparks, 4 a ring closing, 5
// a glow and a rising ring) round a creature's middle (cx, cy), `size` pixels
// being its figure's width; the glyph of an area kind (6 rings, 7 glows, 8
// and 9 sparks, 11 turning glyphs) round the middle of one square of the
// area; and the whole-area drawing of kind 10 (the burst of the spell, the
// size of its area) and 12 (a beam from the caster to the aimed square).
void DrawCastingMark(int kind, float progress, int cx, int cy, int size, uint32_t colour);
void DrawCastingGlyph(int kind, float progress, int cx, int cy, uint32_t colour);
void DrawCastingWholeArea(int kind, float progress);

// Whether a view row holds floor code 123 or 124 on an explored square within
// the view (and, in combat, not under darkness); RowHasTallCover is the same.
bool RowHasTallFloor(int row, int cols);
inline bool RowHasTallCover(int row, int cols) { return RowHasTallFloor(row, cols); }
// The tall floor features of one view row with the item and move markers of
// their squares: drawn again after the creatures above them, so they stand in front.
void DrawSquareObjects(int row, int cols, uint32_t tint);

// The tall features drawn again in front of the creatures: the covers are
// forgotten once every row has been drawn (BeginTallFeatures); what a
// creature's drawing covers on the screen is noted (CoverTallFeatures); the
// rows from firstRow down are drawn again (DrawTallFeaturesInFront).
void BeginTallFeatures(int rows, int cols);
void CoverTallFeatures(int left, int top, int right, int bottom);
void DrawTallFeaturesInFront(int firstRow, int rows, int cols, uint32_t tint);

// The object and wall layers of the visible squares: floor patches, walls,
// doors and features.
void DrawObjectWallLayers(int rows, int cols, uint32_t tint);
// The fog over the edge of the explored squares.
void DrawSquareShading(int rows, int cols);
// The magic areas on the squares: below the creatures (layerFlag 1) webs,
// entangling growth, silence and fire; above them (0) nothing further.
void DrawSquareOverlays(int rows, int cols, uint32_t tint, int layerFlag);

// Fire areas (kind 6) drawn this frame, and one of them near the focus square.
extern uint8_t FireAreaSeen;
extern uint8_t FireAreaNear;

// Which squares of large objects and floor patches have been drawn this frame.
void ClearLargeObjectMarks();
bool LargeObjectDrawn(int index);
void MarkLargeObjectDrawn(int index);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetSquareDrawingState();
