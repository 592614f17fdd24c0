// The source tree's dependencies run one way: a file under src/ includes
// headers of its own layer and of the layers below it, never above.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The layers, lowest first, by the first folder under src/. Folders of one
// layer may include each other. Files directly in src/ (the program's entry)
// stand above every layer.
struct LayerRow {
  const char* folder;
  int layer;
};
constexpr LayerRow kLayerTable[] = {
    {"platform", 0},                                                      // SDL and the operating system
    {"engine", 1},                                                        // drawing, text, sound, input, pages, settings
    {"state", 2},                                                         // the words several subsystems share
    {"rules", 3},    {"map", 3},       {"creatures", 3},                  // the model
    {"combat", 4},                                                        // resolution, actions, turns
    {"screens", 5},  {"adventure", 5}, {"frontend", 5}, {"party", 5},     // screens and game flow
    {"shell", 6},                                                         // loop, frame, start-up, dispatch
};
constexpr int kAboveAll = 100;
constexpr int kUnknown = -1;

int LayerOfFolder(const std::string& folder) {
  for (const LayerRow& row : kLayerTable)
    if (folder == row.folder) return row.layer;
  return kUnknown;
}

// The layer of a path relative to src/ ("rules/conditions.h").
int LayerOfPath(const std::string& path) {
  const size_t slash = path.find('/');
  if (slash == std::string::npos) return kAboveAll;
  return LayerOfFolder(path.substr(0, slash));
}

struct IncludeFault {
  std::string file;
  int line;
  std::string message;
};

// The quoted header of an #include line, "" for any other line.
std::string QuotedInclude(const std::string& line) {
  size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos || line[i] != '#') return "";
  i = line.find_first_not_of(" \t", i + 1);
  if (i == std::string::npos || line.compare(i, 7, "include") != 0) return "";
  const size_t open = line.find('"', i + 7);
  if (open == std::string::npos || line.find_first_not_of(" \t", i + 7) != open) return "";
  const size_t close = line.find('"', open + 1);
  return close == std::string::npos ? "" : line.substr(open + 1, close - open - 1);
}

// Every include of the file's text (file relative to src/) that reaches a
// higher layer or a folder the table does not know.
std::vector<IncludeFault> CheckIncludes(const std::string& file, const std::string& text) {
  std::vector<IncludeFault> faults;
  const int own = LayerOfPath(file);
  if (own == kUnknown) {
    faults.push_back({file, 0, "its folder is not in the layer table"});
    return faults;
  }
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    const std::string header = QuotedInclude(line);
    if (header.empty() || header.find('/') == std::string::npos) continue;  // a header beside the file
    const int target = LayerOfPath(header);
    if (target == kUnknown)
      faults.push_back({file, number, "includes \"" + header + "\" from a folder not in the layer table"});
    else if (target > own)
      faults.push_back({file, number,
                        "includes \"" + header + "\" of layer " + std::to_string(target) + " from layer " +
                            std::to_string(own)});
  }
  return faults;
}

std::string Describe(const std::vector<IncludeFault>& faults) {
  std::string out;
  for (const IncludeFault& f : faults) out += f.file + ":" + std::to_string(f.line) + ": " + f.message + "\n";
  return out;
}

std::filesystem::path SourceRoot() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "src";
}

}  // namespace

TEST(IncludeLayers, NoFileUnderSrcIncludesAHigherLayer) {
  const std::filesystem::path root = SourceRoot();
  ASSERT_TRUE(std::filesystem::is_directory(root)) << root;
  std::vector<IncludeFault> faults;
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string relative = std::filesystem::relative(entry.path(), root).generic_string();
    for (IncludeFault& f : CheckIncludes(relative, text.str())) faults.push_back(std::move(f));
    ++files;
  }
  EXPECT_GT(files, 100);
  EXPECT_TRUE(faults.empty()) << Describe(faults);
}

TEST(IncludeLayers, TheCheckNamesFileAndLineOfAnUpwardInclude) {
  const std::string text =
      "// The text kit.\n"
      "#include \"engine/text.h\"\n"
      "#include \"screens/game/game_screen.h\"\n"
      "  #  include \"shell/frame.h\"  // and a second one\n";
  const std::vector<IncludeFault> faults = CheckIncludes("engine/text.cpp", text);
  ASSERT_EQ(faults.size(), 2u) << Describe(faults);
  EXPECT_EQ(faults[0].file, "engine/text.cpp");
  EXPECT_EQ(faults[0].line, 3);
  EXPECT_NE(faults[0].message.find("screens/game/game_screen.h"), std::string::npos);
  EXPECT_EQ(faults[1].line, 4);
}

TEST(IncludeLayers, SameLayerLowerLayersAndNeighbouringHeadersPass) {
  const std::string text =
      "#include \"map/map_record.h\"\n"         // the model's other folder
      "#include \"state/turn_order.h\"\n"       // below
      "#include \"platform/files.h\"\n"         // the lowest
      "#include \"rules_fixture.h\"\n"          // beside the file
      "#include <vector>\n"
      "// #include \"shell/frame.h\" is only a comment\n";
  EXPECT_TRUE(CheckIncludes("rules/armour_class.cpp", text).empty());
  EXPECT_TRUE(CheckIncludes("screens/character/a.cpp", "#include \"screens/game/b.h\"\n").empty());
  EXPECT_TRUE(CheckIncludes("main.cpp", "#include \"shell/application.h\"\n").empty());
}

TEST(IncludeLayers, AFolderOutsideTheTableIsReported) {
  EXPECT_EQ(CheckIncludes("newfolder/a.cpp", "").size(), 1u);
  const std::vector<IncludeFault> faults = CheckIncludes("rules/a.cpp", "\n#include \"gadgets/b.h\"\n");
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].line, 2);
}
