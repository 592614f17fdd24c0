// Frame maps: the readable lists (terrain.txt, figures.txt, ...) that say
// which painter draws which frames of which sheet, with its arguments.
//
//   sheet 0
//     1       ground grass          # frame 1: the ground painter, "grass"
//     57-60   large oak             # frames 57 to 60 drawn as one picture
//
// A painter draws its frames from the arguments alone; the same line always
// gives the same pixels.
#pragma once
#include <climits>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "art.h"
#include "palette.h"

// One line of a frame map being drawn.
struct Paint {
  Canvas& canvas;
  const FrameGrid& grid;
  int first, last;                // the frames of the line
  std::vector<std::string> args;  // the words after the painter's name
  std::string where;              // file:line, for messages
  // The recipes of the maps: `recipe NAME words...` lines, by name.
  const std::map<std::string, std::vector<std::string>>* recipes = nullptr;
  // The option names the painter has asked for (shared by its copies): a
  // key=value it never asks for is a word it does not know.
  std::set<std::string>* asked = nullptr;
  // The plain words (by their place among them) the painter has asked for:
  // a word it never asks for is one it does not know.
  std::set<size_t>* askedWords = nullptr;

  int Count() const { return last - first + 1; }
  int W() const { return grid.frameWidth; }
  int H() const { return grid.frameHeight; }
  // The i-th plain word (not key=value), or def.
  std::string Arg(size_t i, const std::string& def = "") const;
  // The i-th plain word, one of `values` (the first when not given), or the
  // line is refused: "the kind is torch or fire, not "forch"".
  std::string Word(size_t i, const std::string& what, std::initializer_list<const char*> values) const;
  // The value of key=value, or def when the line has no key=; a key= with
  // no value is refused ("alpha= has no value"), never taken as def.
  std::string Opt(const std::string& key, const std::string& def = "") const;
  // Numbers read whole ("3x" is none), or the line is refused; a whole
  // number outside [low, high] too ("alpha= is 0 to 255, not 300").
  int OptInt(const std::string& key, int def, int low, int high) const;
  float OptFloat(const std::string& key, float def) const;
  // The i-th plain word as a whole number within [low, high] (`what` names
  // it: "a fog code is 1 to 99, not 100"), or def when there is none.
  int ArgInt(size_t i, int def, const std::string& what, int low, int high) const;
  // The value of key=value, one of `values` (the first when not given), or
  // the line is refused.
  std::string Choice(const std::string& key, std::initializer_list<const char*> values) const;
  // A stable seed of the line (its painter's words and the frame).
  uint32_t Seed(int frame) const;
  // Puts a composed picture on a frame (cleared first), at an offset.
  void Put(int frame, const Layer& l, int dx = 0, int dy = 0) const;
  // Cuts a picture into the line's frames in order, row by row: a picture of
  // cols x rows frames.
  void PutTiled(const Layer& l, int cols) const;
  [[noreturn]] void Fail(const std::string& message) const;
};

using Painter = std::function<void(const Paint&)>;

struct FrameLine {
  int sheet, first, last;
  std::string painter;
  std::vector<std::string> args;
  std::string where;
};
// Reads a frame map; refuses bad lines with file:line. A line
// `recipe NAME words...` (anywhere) names a list of words that painters can
// start from; it is kept as a line of sheet -1.
std::vector<FrameLine> ReadFrameMap(const std::string& path);
// Refuses a recipe at its own line, once: a name given twice, a recipe
// whose words the figure painter refuses (figure_recipe.h; its values only
// when asked, not beside a palette with a refused line), and, when asked,
// one no line draws with (not beside a refused frame-map line).
void CheckRecipes(const std::vector<FrameLine>& lines, bool values = true, bool uses = true);

// Draws every line of the maps that belongs to the sheet. A frame drawn by
// two lines, a frame past the sheet and an unknown painter are refused.
void DrawFrameMap(Canvas& c, const FrameGrid& g, int sheet, const std::vector<FrameLine>& lines,
                  std::map<int, std::string>* owners);

// The painters, by name; each painter file adds its own.
using PainterMap = std::map<std::string, Painter>;
const PainterMap& Painters();
void AddGroundPainters(PainterMap& m);
void AddWallPainters(PainterMap& m);
void AddDecorPainters(PainterMap& m);
void AddObjectPainters(PainterMap& m);
void AddFigurePainters(PainterMap& m);
void AddEffectPainters(PainterMap& m);
void AddIconPainters(PainterMap& m);
void AddPicturePainters(PainterMap& m);
// What the pictures are drawn from: the large font (the titles), and the
// world map's source (content/maps/FullVersion/WorldMap.txt, beside the
// graphics folder), read as the map tool reads it and refused with its
// faults.
void ReadPictureSources(const Font& large, const std::string& contentDir);
