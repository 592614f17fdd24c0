// The sheet tool run on copies of the graphics sources: faulty frame maps
// are refused with their file and line, a failed run writes nothing, and a
// good run writes every sheet and its contact sheet.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "engine/sheet_table.h"
#include "platform/image.h"
#include "sheetmaker/sources.h"
#include "tools/damaged_lines.h"

namespace fs = std::filesystem;

namespace {

const fs::path kTool = fs::current_path().parent_path() / "tools" / "make_sheets";
const fs::path kContent = fs::path(__FILE__).parent_path().parent_path().parent_path() / "content";

struct ToolRun {
  int status;
  std::string errors;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A copy of content/graphics (and the world map it reads) with `extra`
// appended to one of its files, or the first `from` in it replaced by `to`;
// the tool run on it.
ToolRun RunTool(const std::string& file, const std::string& extra, const fs::path& out, const std::string& from = "",
                const std::string& to = "") {
  const fs::path root = fs::temp_directory_path() / ("sheetmaker_test_" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "maps" / "FullVersion");
  fs::copy(kContent / "graphics", root / "graphics");
  fs::copy(kContent / "maps" / "FullVersion" / "WorldMap.txt", root / "maps" / "FullVersion" / "WorldMap.txt");
  if (!from.empty()) {
    std::string text = ReadFile(root / "graphics" / file);
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    std::ofstream(root / "graphics" / file, std::ios::binary) << text;
  } else if (!file.empty()) {
    std::ofstream(root / "graphics" / file, std::ios::app) << "\n" << extra << "\n";
  }
  fs::create_directories(out / "sheets");
  fs::create_directories(out / "contact");
  const std::string errors = (root / "errors.txt").string();
  const std::string command = kTool.string() + " " + (root / "graphics").string() + " " + (out / "sheets").string() + " " +
                              (out / "contact").string() + " 2> " + errors;
  const int raw = std::system(command.c_str());
  std::ifstream in(errors);
  std::stringstream s;
  s << in.rdbuf();
  fs::remove_all(root);
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, s.str()};
}

// A text written as a new file where the file stood: a file emptied to be
// written again first waits for the disk to take its last text, which a
// damaged source written again thousands of times would wait on each time.
void WriteAnew(const fs::path& path, const std::string& text) {
  fs::remove(path);
  std::ofstream(path, std::ios::binary) << text;
}

int Lines(const fs::path& path) {
  std::ifstream in(path);
  std::string line;
  int n = 0;
  while (std::getline(in, line)) ++n;
  return n;
}

}  // namespace

// A faulty line appended to the frame maps, and what the tool says of it.
struct FrameMapFault {
  const char* name;
  std::string extra, message;
};
void PrintTo(const FrameMapFault& fault, std::ostream* os) { *os << fault.name; }

class FaultyFrameMap : public ::testing::TestWithParam<FrameMapFault> {};

// Each run draws every sheet: a case a run.
TEST_P(FaultyFrameMap, IsRefusedWithFileAndLine) {
  const fs::path out = fs::temp_directory_path() / ("sheetmaker_test_out_" + std::to_string(::getpid()));
  // The faulty line is the file's last: after its own lines come a blank
  // line and the "sheet N" line.
  const std::string at = "terrain.txt:" + std::to_string(Lines(kContent / "graphics" / "terrain.txt") + 3) + ": ";
  const ToolRun run = RunTool("terrain.txt", GetParam().extra, out);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find(at), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find(GetParam().message), std::string::npos) << run.errors;
  fs::remove_all(out);
}

INSTANTIATE_TEST_SUITE_P(
    SheetMaker, FaultyFrameMap,
    ::testing::Values(
        // A ground frame that another line draws already, named by its place.
        FrameMapFault{"also_drawn", "sheet 0\n  1 ground lush", "/terrain.txt:8\n"},
        // A frame past the end of its sheet (sheet 1 holds 49).
        FrameMapFault{"beyond_its_sheet", "sheet 1\n  49 wall stone", "frame 49 lies beyond sheet 1"},
        // A painter or a word no painter knows.
        FrameMapFault{"no_painter", "sheet 21\n  50 paint grass", "no painter \"paint\""},
        FrameMapFault{"no_ground", "sheet 21\n  50 ground moon-dust", "no ground \"moon-dust\""},
        // A control byte is refused and shown, not read as a blank.
        FrameMapFault{"carriage_return", "sheet 21\n  50 ground gr\rass", "'50' holds the control byte \\x0d: 'gr\\x0dass'\n"},
        FrameMapFault{"zero_byte", std::string("sheet 21\n  50 ground gr\0ass", 27), "'50' holds the control byte \\x00: 'gr\\x00ass'\n"},
        // A value of a word is one the painter knows, not drawn as another.
        FrameMapFault{"unknown_value", "sheet 21\n  50 item gem cut=banana", "cut= is round, long, square, pearl or eye, not \"banana\"\n"},
        // An option the painter never reads (a slip of the pen) is refused.
        FrameMapFault{"unknown_option", "sheet 21\n  50 item gem cutt=round", "painter item takes no \"cutt=\"\n"}),
    [](const ::testing::TestParamInfo<FrameMapFault>& info) { return std::string(info.param.name); });

// Every fault of the sources is reported, once and printably: a second on a
// later line is not lost behind the first, and a pixel-art row's stray bytes
// are shown as \xNN.
TEST(SheetMaker, EveryFaultIsReportedOnceAndShown) {
  const fs::path out = fs::temp_directory_path() / ("sheetmaker_test_faults_" + std::to_string(::getpid()));
  const int last = Lines(kContent / "graphics" / "terrain.txt");
  const ToolRun twice = RunTool("terrain.txt", "sheet 21\n  50 ground moon-dust\n  51 ground sun-dust", out);
  EXPECT_EQ(twice.status, 1);
  for (int line : {last + 3, last + 4})
    EXPECT_NE(twice.errors.find("terrain.txt:" + std::to_string(line) + ": no ground"), std::string::npos) << twice.errors;
  const ToolRun row = RunTool("interface.txt", "sheet 13\nframe 999\n.\xe9.\n", out);
  EXPECT_EQ(row.status, 1);
  EXPECT_NE(row.errors.find(": '.\\xe9.' holds the byte \\xe9, which is no UTF-8 text\n"), std::string::npos) << row.errors;
  EXPECT_NE(row.errors.find("\nmake_sheets: 1 fault, nothing written\n"), std::string::npos) << row.errors;
  // A sheet missing from the list, and an art sheet no line draws on, are
  // faults of the list's lines.
  const struct {
    const char* file;
    std::string from, to, message;
  } between[] = {
      {"sheets.txt", "\n40 ", "\n#40 ", "sheets.txt:61: sheet 40 is missing before sheet 41\n"},
      {"sheets.txt", "\n53    256x256   border ", "\n53    256x256   art    ",
       "sheets.txt:73: sheet 53 is of the art style, and no frame map or pixel art draws on it\n"},
  };
  for (const auto& c : between) {
    const ToolRun run = RunTool(c.file, "", out, c.from, c.to);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find(c.message), std::string::npos) << c.message << "\n" << run.errors;
    EXPECT_NE(run.errors.find("\nmake_sheets: 1 fault, nothing written\n"), std::string::npos) << run.errors;
  }
  fs::remove_all(out);
}

// A heading line refused for one bad byte is one fault: it counts as what it
// may be (its sheet, palette, frame or block begun or ended), so that the
// lines after it are not each refused besides; a recipe's name holds what the
// fonts show, and a name given twice is one fault, not one a sheet. A failed
// run leaves the output folders as they were, though it fails only as it
// draws.
TEST(SheetMaker, AHeadingLineRefusedIsOneFaultAndNothingIsWritten) {
  using namespace std::string_literals;
  const fs::path out = fs::temp_directory_path() / ("sheetmaker_test_heading_" + std::to_string(::getpid()));
  const struct {
    const char* file;
    std::string from, to, message;
  } cases[] = {
      {"interface.txt", "\nsheet 13", "\nsh\0eet 13"s, "'sh\\x00eet' holds the control byte \\x00"},
      {"interface.txt", "\npalette", "\npa\xe9lette", "'pa\\xe9lette' holds the byte \\xe9, which is no UTF-8 text"},
      {"interface.txt", "\nend", "\ne\x01nd", "'e\\x01nd' holds the control byte \\x01"},
      {"interface.txt", "\nframe 1 ", "\nfr\0ame 1 "s, "'fr\\x00ame' holds the control byte \\x00"},
      {"terrain.txt", "\nsheet 0", "\nsh\x01" "eet 0", "'sh\\x01eet' holds the control byte \\x01"},
      {"figures.txt", "recipe wizard ", "recipe wiz\xe9rd ",
       "'recipe' holds the byte \\xe9, which is no UTF-8 text: 'wiz\\xe9rd'"},
      {"figures.txt", "recipe wizard ", "recipe wiz[rd ", "'recipe' holds the byte [, which the game cannot show: 'wiz[rd'"},
      {"figures.txt", "\nrecipe commoner ", "\nrecipe wizard humanoid\nrecipe commoner ", "recipe \"wizard\" given twice"},
      {"font_large.txt", "\ncolours", "\ncol\x01ours", "'col\\x01ours' holds the control byte \\x01"},
      // A comment's line end damaged, lost or turned into a byte a comment
      // may hold: the line joined to it is the comment's fault, and counts
      // as refused (a sheet's, whose lines would draw on the sheet before;
      // a frame line, a recipe, a palette's ramp, a sheet of the list, a
      // font's colours, a pixel-art palette letter, its end, a frame's first
      // row).
      {"terrain.txt", "frames 56-71.\n", "frames 56-71.\x01",
       "the comment holds the control byte \\x01: '# Sheet 21: ground codes 44-59 are frames 56-71.\\x01'"},
      {"terrain.txt", "frames 56-71.\n", "frames 56-71.",
       "the comment ends with a line of its own, 'sheet 21': a line end lost or damaged?"},
      {"terrain.txt", "# with flowers\n", "# with flowers\"",
       "the comment ends with a line of its own, '3      ground earth': a line end lost or damaged?"},
      {"figures.txt", "creation screen.\n", "creation screen.\\",
       "the comment ends with a line of its own, 'recipe knight     humanoid armour=plate helm=open right=sword "
       "left=kite tabard=$cloth shieldcolour=$cloth emblem=fire.2 legs=steel': a line end lost or damaged?"},
      {"palette.txt", "# ramp    colours\n", "# ramp    colours",
       "the comment ends with a line of its own, 'ink       0E0C14': a line end lost or damaged?"},
      {"sheets.txt", "(cursors.txt)\n", "(cursors.txt)",
       "the comment ends with a line of its own, '1     256x256   art         0   # walls and doors (34x34 frames)': "
       "a line end lost or damaged?"},
      {"font_large.txt", "# draws it untinted.\n", "# draws it untinted.",
       "the comment ends with a line of its own, 'colours o=grey.3 #=grey.5 +=ink.0': a line end lost or damaged?"},
      {"interface.txt", "# outline\n", "# outline",
       "the comment ends with a line of its own, 's FF232A3A   # slate (box insides)': a line end lost or damaged?"},
      {"interface.txt", "# wall grey\n", "# wall grey",
       "the comment ends with a line of its own, 'end': a line end lost or damaged?"},
      {"interface.txt", "top-left panel\n", "top-left panel",
       "the comment ends with a line of its own, 'sssstsss': a line end lost or damaged?"},
      {"cursors.txt", "script picture\n", "script picture",
       "the comment ends with a line of its own, '........': a line end lost or damaged?"},
      // A line end turned into the comment mark: the line after it is the
      // comment's fault; a sheet or frame line written out of use before its
      // lines, and a palette letter damaged into another, are one fault at
      // their line, not one at each line after them.
      {"effects.txt", "glow soft\n  ", "glow soft#  ", "the comment ends with a line of its own, '2        glow circle': a line end lost or damaged?"},
      {"effects.txt", "\nsheet 33", "\n#heet 33",
       "'sheet 33' is written out of use here, and the lines after it would be drawn on the sheet before it: a line end or a byte damaged?"},
      {"interface.txt", "\n\nframe 1 ", "\n#frame 1 ",
       "'frame 1' is written out of use here, and the lines after it would be read in the block before it: a line end or a byte damaged?"},
      {"interface.txt", "\n  k FF0E1018", "\n  q FF0E1018",
       "no row draws 'q', and 'k', which the palette lacks, is drawn (189 lines from line 40): the letter meant?"},
      // A word too many: a palette letter's description, a line joined to a sheet's.
      {"interface.txt", "  k FF0E1018   # outline", "  k FF0E1018   outline",
       "palette lines are a letter or digit and an 8-digit AARRGGBB colour"},
      {"terrain.txt", "\nsheet 0\n", "\nsheet 0\t  1 ground grass\n", "bad sheet number"},
      // A recipe's words are refused at its own line, once, not at each of
      // the lines drawing with it: a misspelt key, a word without its '=',
      // a misspelt value.
      {"figures.txt", "knight     humanoid armour=plate", "knight     humanoid aqrmour=plate", "no figure word \"aqrmour\""},
      {"figures.txt", "knight     humanoid armour=plate", "knight     humanoid armourplate",
       "a recipe's words after its builder are key=value, not \"armourplate\""},
      {"figures.txt", "wizard     humanoid robe=yes", "wizard     humanoid robe=yess", "robe= is no or yes, not \"yess\""},
      {"figures.txt", "helm=open right=sword", "helm=open right=", "right= has no value"},
      {"figures.txt", "recipe knight ", "recipe knigt ", "recipe \"knigt\" draws no figure"},
      // Found as the sheets are drawn: the sheets drawn before it are not written.
      {"terrain.txt", "\nsheet 21\n", "\nsheet 21\n  50 ground moon-dust\n", "no ground \"moon-dust\""},
  };
  for (const auto& c : cases) {
    fs::remove_all(out);
    fs::create_directories(out / "sheets");
    std::ofstream(out / "sheets" / "0.dat", std::ios::binary) << "a sheet of an earlier build";
    const std::string source = ReadFile(kContent / "graphics" / c.file);
    const size_t at = source.find(c.from);
    const int line = 1 + static_cast<int>(std::count(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(at), '\n')) +
                     (c.from[0] == '\n' ? 1 : 0) + (c.to.find("moon") != std::string::npos ? 1 : 0);
    const ToolRun run = RunTool(c.file, "", out, c.from, c.to);
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_NE(run.errors.find(std::string(c.file) + ":" + std::to_string(line) + ": " + c.message + "\n"), std::string::npos)
        << c.message << "\n" << run.errors;
    EXPECT_NE(run.errors.find("\nmake_sheets: 1 fault, nothing written\n"), std::string::npos) << run.errors;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out)) files += entry.is_regular_file();
    EXPECT_EQ(files, 1) << c.message;
    EXPECT_TRUE(ReadFile(out / "sheets" / "0.dat") == "a sheet of an earlier build") << c.message;
  }
  fs::remove_all(out);
}

// One damaged byte anywhere in a good source of any kind, a comment too, is
// one message at its line: a line refused for it counts as what its first
// word may be, itself or before its damaged blank ("sheet\x0121"
// opens a sheet of no number, "grey\xe9202020" gives the ramp grey, a
// palette letter or a frame what it may be), so that no later line is
// refused for the want of it; a painter's word is refused as it is read.
TEST(SheetMaker, OneDamagedByteAnywhereInAnySourceIsOneMessage) {
  const fs::path dir = fs::temp_directory_path() / ("sheetmaker_test_bytes_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string glyph = "#......# #......#\n";
  const std::string row = "oo######\n";
  // The sheet list, its art sheets that the test's sources do not draw on
  // drawn as panels.
  std::string sheets;
  std::istringstream list(ReadFile(kContent / "graphics" / "sheets.txt"));
  for (std::string line; std::getline(list, line);) {
    const size_t art = line.find(" art ");
    const std::string slot = line.substr(0, line.find(' '));
    if (art != std::string::npos && slot != "0" && slot != "13" && slot != "23" && slot != "32") line.replace(art, 5, " panel ");
    sheets += line + "\n";
  }
  const std::map<std::string, std::string> good = {
      {"palette.txt", ReadFile(kContent / "graphics" / "palette.txt")},
      {"sheets.txt", sheets},
      {"font_large.txt", "# The large font.\nchars A \\xA3\n" + glyph + glyph + glyph + glyph + glyph + glyph + glyph +
                             glyph + "\ncolours o=ink.0 #=grey.3\nchars $\n" + row + row + row + row + row + row + row + row},
      {"font_small.txt", "chars a\n#.#..\n#.#..\n#.#..\n#.#..\n#.#..\n.....\n"},
      {"interface.txt",
       "# The test's pixel art.\nsheet 13\npalette\n  k FF0E1018   # outline\n  w FFFFFFFF\nend\n\n"
       "frame 0  # a box\nkkkk\nkwwk\nkkkk\n\nframe 1 = flipx 0  # mirrored\nframe 2 = recolour 0 w=k # dark\n"},
      {"cursors.txt", "# No cursors.\n"},
      {"terrain.txt", "# The test's frame maps.\nsheet 0\n  1      ground grass      # a field\n  2-5    ground lush variant=2 # lusher\n"},
      {"figures.txt", "recipe guard humanoid cloth=$coat helm=open\nsheet 23\n  0-11   figure guard coat=red\n"},
      {"effects.txt", "sheet 32\n  6-19   flame torch yellow\n"},
      {"icons.txt", ""},
      {"pictures.txt", ""},
  };
  auto write = [&](const std::string& file, const std::string& text) { WriteAnew(dir / file, text); };
  auto faults = [&] {
    SourceFaults<SourceError> kept;
    ReadSheetSources(dir.string(), &kept);
    try {
      kept.Throw();
    } catch (const SourceError& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  for (const auto& [file, text] : good) write(file, text);
  ASSERT_EQ(faults(), "");
  for (const auto& [file, text] : good) {
    for (const DamagedLine& d : DamagedBytes(text)) {
      if (file == "sheets.txt" && d.line != 1 && d.line != 19) continue;  // a comment and a sheet: every kind
      write(file, d.text);
      const std::string found = faults();
      EXPECT_EQ(found.rfind((dir / file).string() + ":" + std::to_string(d.line) + ": ", 0), 0u)
          << file << " " << d.what << "\n" << found;
      EXPECT_EQ(found.find('\n'), std::string::npos) << file << " " << d.what << "\n" << found;
    }
    write(file, text);
  }
  fs::remove_all(dir);
}

// A source a sweep damages, and its lines (a comment, a blank, each kind of
// heading, setting, row and painter, a comment before each kind of line).
struct SweptSource {
  const char* file;
  std::vector<int> lines;
  bool font;
};
void PrintTo(const SweptSource& source, std::ostream* os) { *os << source.file; }
std::string SweptSourceName(const ::testing::TestParamInfo<SweptSource>& info) {
  const std::string name = info.param.file;
  return name.substr(0, name.find('.'));
}

class SheetSweep : public ::testing::TestWithParam<SweptSource> {};

// A sweep of damaged bytes over every kind of line of the real sources
// (tools/damaged_lines.h), a source a case: a run reads and draws as the
// good sources did or fails with one message at the damaged line; a
// comment's line end lost or turned into a byte a comment may hold, which
// joins the next line to it, is refused at the comment's line too, or is
// harmless. The good sources are read once, and each run reads the damaged
// one again as the tool reads it.
// The damages are made of the source's text; `taken` counts the runs that
// read or draw otherwise with no fault.
void SweepSheetSource(const SweptSource& source, const std::function<std::vector<DamagedLine>(const std::string&)>& damages,
                      size_t* taken = nullptr) {
  const fs::path root = fs::temp_directory_path() / ("sheetmaker_test_sweep_" + std::to_string(::getpid()));
  const fs::path dir = root / "graphics";
  fs::remove_all(root);
  fs::create_directories(root / "maps" / "FullVersion");
  fs::copy(kContent / "graphics", dir);
  fs::copy(kContent / "maps" / "FullVersion" / "WorldMap.txt", root / "maps" / "FullVersion" / "WorldMap.txt");
  // The sources read whole, or the good ones with `file` read again.
  const SheetSources* goodSources = nullptr;
  auto read = [&](std::string* faults, const char* file = nullptr) {
    SourceFaults<SourceError> kept;
    SheetSources src;
    if (goodSources) {
      src = *goodSources;
      ReadSheetSourceAgain(file, &src, &kept);
    } else {
      src = ReadSheetSources(dir.string(), &kept);
    }
    try {
      kept.Throw();
    } catch (const SourceError& e) {
      *faults = e.what();
    }
    return src;
  };
  std::string none;
  const SheetSources good = read(&none);
  ASSERT_EQ(none, "");
  goodSources = &good;
  const Palette goodPalette = Pal();
  ReadPictureSources(good.large, dir.string());
  std::map<int, std::vector<uint32_t>> goodPictures;  // drawn as they are needed
  // The sheets whose frame maps the sources may draw otherwise (none when
  // they read as the good ones), with a recipe that differs every sheet of
  // a figure drawn with it.
  auto touched = [&](const SheetSources& src) {
    std::set<int> sheets;
    auto same = [](const FrameLine& a, const FrameLine& b) {
      return a.sheet == b.sheet && a.first == b.first && a.last == b.last && a.painter == b.painter && a.args == b.args;
    };
    if (std::equal(src.frames.begin(), src.frames.end(), good.frames.begin(), good.frames.end(), same)) return sheets;
    std::set<std::string> recipes;
    for (const auto& [lines, others] : {std::pair{&src.frames, &good.frames}, std::pair{&good.frames, &src.frames}})
      for (const FrameLine& line : *lines)
        if (std::none_of(others->begin(), others->end(), [&](const FrameLine& o) { return same(line, o); })) {
          if (line.sheet < 0) recipes.insert(line.args[0]);
          else sheets.insert(line.sheet);
        }
    for (const FrameLine& line : src.frames) {
      const auto plain = std::find_if(line.args.begin(), line.args.end(), [](const std::string& a) { return a.find('=') == std::string::npos; });
      if (line.painter == "figure" && plain != line.args.end() && recipes.count(*plain)) sheets.insert(line.sheet);
    }
    return sheets;
  };
  // Whether the rest reads otherwise, which no drawing refuses (a texture's
  // seed, a palette, a font) but the pixel art's frames.
  auto otherwise = [&](const SheetSources& src) {
    auto art = [](const std::vector<PixelArt>& a, const std::vector<PixelArt>& b) {
      return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                        [](const PixelArt& x, const PixelArt& y) { return x.sheet == y.sheet && x.palette == y.palette && x.frames == y.frames; });
    };
    auto line = [](const SheetLine& a, const SheetLine& b) {
      return a.slot == b.slot && a.width == b.width && a.height == b.height && a.number == b.number && a.style == b.style;
    };
    return !art(src.interface, good.interface) || !art(src.cursors, good.cursors) ||
           !std::equal(src.sheets.begin(), src.sheets.end(), good.sheets.begin(), good.sheets.end(), line) ||
           src.large.glyphs != good.large.glyphs || src.large.colours != good.large.colours ||
           src.small.glyphs != good.small.glyphs || Pal().ramps != goodPalette.ramps;
  };
  const std::string text = ReadFile(dir / source.file);
  const std::string place = (dir / source.file).string();
  const SweepRun drawnAsGood{true, "drawn as the good sources", {}};
  for (const DamagedLine& d : damages(text)) {
    WriteAnew(dir / source.file, d.text);
    std::string faults;
    const SheetSources src = read(&faults, source.file);
    bool same = faults.empty() && !otherwise(src);
    if (faults.empty() && same) {
      for (const int sheet : touched(src)) {
        const SheetLine& line = good.sheets[static_cast<size_t>(sheet)];
        try {
          const Canvas drawn = DrawSheetPicture(src.sheets[static_cast<size_t>(sheet)], src);
          SetPalette(goodPalette);
          if (!goodPictures.count(sheet)) goodPictures.emplace(sheet, DrawSheetPicture(line, good).Pixels());
          same = drawn.Pixels() == goodPictures.at(sheet);
        } catch (const SourceError& e) {
          faults = e.what();
        }
        if (!faults.empty() || !same) break;
      }
    }
    SetPalette(goodPalette);
    SweepRun run{faults.empty(), faults.empty() && same ? drawnAsGood.output : "", {}};
    std::istringstream lines(faults);
    for (std::string line; std::getline(lines, line);) run.messages.push_back(line);
    const std::string fault = SweepFault(place, text, d, drawnAsGood, run, {false, true});
    if (taken) *taken += run.ok && !fault.empty();
    EXPECT_EQ(fault, "");
  }
  fs::remove_all(root);
}

TEST_P(SheetSweep, ADamagedByteReadsAsTheGoodSourcesOrIsRefusedAtItsLine) {
  const SweptSource& source = GetParam();
  auto frameMark = [](const std::string& line) { return line.find('#'); };
  auto fontMark = [](const std::string& line) { return line == "#" || line.rfind("# ", 0) == 0 ? 0 : std::string::npos; };
  SweepSheetSource(source, [&](const std::string& text) {
    return SweptBytes(text, source.lines, source.font ? CommentMark(fontMark) : CommentMark(frameMark));
  });
}

// Every line end of a source turned into the comment mark: the line after
// it, when it holds words, is lost in no run (`taken`).
class SheetLineEnds : public ::testing::TestWithParam<SweptSource> {};
TEST_P(SheetLineEnds, ALineEndTurnedIntoACommentMarkLosesNoLine) {
  size_t taken = 0;
  SweepSheetSource(GetParam(), [](const std::string& text) { return MarkedLineEnds(text); }, &taken);
  EXPECT_EQ(taken, 0u);
}

INSTANTIATE_TEST_SUITE_P(SheetMaker, SheetSweep,
                         ::testing::Values(SweptSource{"palette.txt", {1, 6, 8}, false}, SweptSource{"sheets.txt", {20}, false},
                                           SweptSource{"font_large.txt", {6, 8, 9, 10, 21, 22, 133}, true},
                                           SweptSource{"interface.txt", {7, 8, 9, 26, 28, 29, 30, 150}, false},
                                           SweptSource{"terrain.txt", {7, 9}, false}, SweptSource{"figures.txt", {13, 14, 22, 52}, false},
                                           SweptSource{"effects.txt", {106}, false}, SweptSource{"icons.txt", {9}, false},
                                           SweptSource{"pictures.txt", {6, 8}, false}),
                         SweptSourceName);

INSTANTIATE_TEST_SUITE_P(SheetMaker, SheetLineEnds,
                         ::testing::Values(SweptSource{"palette.txt", {}, false}, SweptSource{"sheets.txt", {}, false},
                                           SweptSource{"font_large.txt", {}, true}, SweptSource{"font_small.txt", {}, true},
                                           SweptSource{"interface.txt", {}, false}, SweptSource{"cursors.txt", {}, false},
                                           SweptSource{"terrain.txt", {}, false}, SweptSource{"figures.txt", {}, false},
                                           SweptSource{"effects.txt", {}, false}, SweptSource{"icons.txt", {}, false},
                                           SweptSource{"pictures.txt", {}, false}),
                         SweptSourceName);

// A font whose only "chars" line is refused lacks no glyph besides. A
// colour of a font that the palette lacks is found beside a fault of
// another line, and a folder that cannot be written is one fault, not one a
// sheet.
TEST(SheetMaker, ARefusedFontLineAndAnUnwritableFolderAreOneFaultEach) {
  const fs::path out = fs::temp_directory_path() / ("sheetmaker_test_damage_" + std::to_string(::getpid()));
  const std::string small = ReadFile(kContent / "graphics" / "font_small.txt");
  const std::string glyph = "#....\n#....\n#....\n#....\n#....\n#....\n";
  EXPECT_NE(RunTool("font_small.txt", "", out, small, "ch\x01rs a\n" + glyph).errors.find("\nmake_sheets: 1 fault,"),
            std::string::npos);
  const std::string large = ReadFile(kContent / "graphics" / "font_large.txt");
  std::string coloured = large;
  coloured.replace(coloured.find("=grey.3"), 7, "=grey.9");
  const ToolRun colour = RunTool("font_large.txt", "", out, large, coloured + "ch\x01rs ~\n" + glyph);
  EXPECT_NE(colour.errors.find("font_large.txt:22: no colour \"grey.9\""), std::string::npos) << colour.errors;
  EXPECT_NE(colour.errors.find("\nmake_sheets: 2 faults,"), std::string::npos) << colour.errors;
  // Every sheet struck by a folder that cannot be made.
  fs::create_directories(out);
  std::ofstream(out / "file") << "not a folder";
  const std::string errors = (out / "errors.txt").string();
  const int status = std::system((kTool.string() + " " + (kContent / "graphics").string() + " " + (out / "file" / "sheets").string() +
                                  " 2>" + errors).c_str());
  EXPECT_NE(status, 0);
  EXPECT_EQ(Lines(errors), 2) << ReadFile(errors);
  fs::remove_all(out);
}

TEST(SheetMaker, EverySheetAndItsContactSheetAreWritten) {
  const fs::path out = fs::temp_directory_path() / ("sheetmaker_test_good_" + std::to_string(::getpid()));
  const ToolRun run = RunTool("", "", out);
  ASSERT_EQ(run.status, 0) << run.errors;
  for (int s = 0; s < 66; ++s) {
    int w = 0, h = 0, cw = 0, ch = 0;
    std::vector<uint32_t> px, contact;
    ASSERT_TRUE(platform::LoadPng((out / "sheets" / (std::to_string(s) + ".dat")).c_str(), &w, &h, &px)) << s;
    ASSERT_TRUE(platform::LoadPng((out / "contact" / (std::to_string(s) + ".png")).c_str(), &cw, &ch, &contact)) << s;
    // Twice the sheet's frames, with a margin for the numbers and the
    // closing rule.
    const SheetFormat f = SheetFormatFor(s);
    EXPECT_EQ(cw, 2 * (w / f.frameWidth * f.frameWidth) + 29) << s;
    EXPECT_EQ(ch, 2 * (h / f.frameHeight * f.frameHeight) + 29) << s;
  }
  fs::remove_all(out);
}
