// The figure table: which sprite-sheet frame shows a creature, by its figure
// number, facing and animation state, and the frame size of each size class.
#pragma once
#include <array>
#include <cstdint>

constexpr int kFigureCount = 230;

// How a figure's frames are laid out: 4 twelve frames (four facings, three
// states), 2 eight frames (two facings, four states), 1 one frame, 0 none.
struct FigureRow {
  int8_t kind;
  int8_t sheet;
  int8_t framesPerFigure;
  int16_t base;
};
extern const std::array<FigureRow, kFigureCount> FigureTable;

// The sheet and frame of a figure in a facing (1 to 8) and animation state.
// False, and nothing written, for a figure outside the table or of kind 0;
// a facing or an animation state outside its table gives the standing pose
// (pose 0) instead.
bool FigureSheetFrame(int figure, int facing, int state, int* sheet, int* frame);

// The frame size (width, height in pixels) of a size class 1 to 8; false for
// any other class (0 is not drawn).
bool SizeClassFrame(int sizeClass, int* width, int* height);
