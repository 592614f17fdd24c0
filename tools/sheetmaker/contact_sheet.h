// The contact sheet of a drawn sheet: twice its size, frames ruled apart and
// numbered (row starts on the left, column offsets on top, and each frame's
// own number where it fits).
#pragma once
#include "art.h"

Canvas ContactSheet(const Canvas& sheet, const FrameGrid& g, const Font& small);
