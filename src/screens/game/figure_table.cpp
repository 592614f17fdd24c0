#include "screens/game/figure_table.h"

namespace {

// One run of equal rows of the table.
struct FigureRun {
  int first, last;
  FigureRow row;
};

constexpr FigureRun kRuns[] = {
    {0, 0, {0, 0, 0, 0}},          {1, 8, {4, 9, 12, -11}},        {9, 16, {4, 10, 12, -107}},
    {17, 24, {4, 11, 12, -203}},   {25, 36, {2, 14, 8, -199}},     {37, 37, {1, 14, 0, 97}},
    {38, 45, {4, 15, 12, -455}},   {46, 57, {2, 16, 8, -367}},     {58, 63, {2, 0, 8, -463}},
    {64, 65, {4, 0, 12, -704}},    {66, 73, {4, 18, 12, -791}},    {74, 81, {4, 19, 12, -887}},
    {82, 89, {4, 20, 12, -983}},   {90, 97, {4, 21, 12, -1079}},   {98, 105, {4, 22, 12, -1175}},
    {106, 107, {2, 23, 8, -847}},  {108, 115, {2, 0, 8, -864}},    {116, 116, {2, 0, 0, 0}},
    {117, 118, {2, 0, 8, -936}},   {119, 119, {2, 14, 0, 0}},      {120, 121, {4, 0, 12, -1439}},
    {122, 123, {4, 0, 12, -1463}}, {124, 126, {2, 0, 8, -991}},    {127, 129, {2, 0, 8, -1015}},
    {130, 131, {2, 0, 8, -1039}},  {132, 132, {2, 17, 0, 0}},      {133, 134, {2, 0, 8, -1064}},
    {135, 136, {2, 0, 8, -1080}},  {137, 138, {2, 0, 8, -1096}},   {139, 139, {2, 0, 0, 0}},
    {140, 147, {4, 22, 12, -1679}}, {148, 155, {4, 25, 12, -1775}}, {156, 163, {4, 24, 12, -1871}},
    {164, 171, {4, 23, 12, -1968}}, {172, 179, {4, 26, 12, -2064}}, {180, 187, {4, 27, 12, -2160}},
    {188, 195, {4, 29, 12, -2256}}, {196, 200, {4, 30, 12, -2352}}, {201, 202, {4, 28, 12, -2412}},
    {203, 204, {4, 34, 12, -2436}}, {205, 206, {4, 30, 12, -2400}}, {207, 208, {4, 35, 12, -2484}},
    {209, 210, {4, 36, 12, -2508}}, {211, 212, {4, 37, 12, -2532}}, {213, 213, {4, 38, 12, -2556}},
    {214, 214, {4, 39, 12, -2556}}, {215, 215, {4, 40, 12, -2556}}, {216, 216, {4, 42, 12, -2556}},
    {217, 217, {4, 43, 12, -2556}}, {218, 219, {4, 45, 12, -2616}}, {220, 221, {4, 46, 12, -2640}},
    {222, 222, {4, 47, 12, -2664}}, {223, 224, {4, 15, 12, -2676}}, {225, 226, {4, 16, 12, -2700}},
    // People of the main adventure's story, on sheet 9 from frame 100.
    {227, 229, {4, 9, 12, -2624}},
};

constexpr std::array<FigureRow, kFigureCount> BuildFigureTable() {
  std::array<FigureRow, kFigureCount> rows{};
  for (const FigureRun& run : kRuns)
    for (int f = run.first; f <= run.last; ++f) rows[f] = run.row;
  return rows;
}

// Twelve-frame figures: the column by facing and the row by state.
constexpr int kFacing12[9] = {0, 3, 0, 0, 0, 1, 2, 2, 2};
constexpr int kState12[4] = {0, 1, 0, 2};
// Eight-frame figures: the half by facing and the frame by state.
constexpr int kFacing8[9] = {0, 0, 0, 0, 0, 1, 1, 1, 1};
constexpr int kState8[5] = {0, 1, 0, 2, 3};

// The figures whose frames lie on consecutive sheets, nine to a sheet.
constexpr int kSplitFirst = 213, kSplitLast = 217;

}  // namespace

constexpr std::array<FigureRow, kFigureCount> FigureTable = BuildFigureTable();

bool FigureSheetFrame(int figure, int facing, int state, int* sheet, int* frame) {
  if (figure < 0 || figure >= kFigureCount) return false;
  const FigureRow& row = FigureTable[figure];
  if (row.kind == 0) return false;
  const bool knownFacing = facing >= 1 && facing <= 8;
  int pose = 0;
  if (row.kind == 4 && knownFacing && state >= 0 && state < 4) pose = kFacing12[facing] + 4 * kState12[state];
  if (row.kind == 2 && knownFacing && state >= 0 && state < 5) pose = 4 * kFacing8[facing] + kState8[state];
  int s = row.sheet, f = 0;
  if (figure >= kSplitFirst && figure <= kSplitLast) {
    constexpr int kOffsets[] = {0, 3, 6, 0, 3};
    f = pose + kOffsets[figure - kSplitFirst];
    if (f > 8) {
      f -= 9;
      ++s;
    }
  } else {
    f = row.framesPerFigure * figure + row.base + pose;
  }
  if (f < 0) return false;
  *sheet = s;
  *frame = f;
  return true;
}

bool SizeClassFrame(int sizeClass, int* width, int* height) {
  static constexpr int kSizes[9][2] = {{0, 0},   {24, 24}, {32, 24}, {40, 24}, {32, 32},
                                       {48, 48}, {64, 32}, {96, 32}, {72, 72}};
  if (sizeClass < 1 || sizeClass > 8) return false;
  *width = kSizes[sizeClass][0];
  *height = kSizes[sizeClass][1];
  return true;
}
