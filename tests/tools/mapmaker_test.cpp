// The map compiler as the build runs it: a faulty source is refused with
// file and line, each fault once and every message printable, and nothing
// is written.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "map/map_record.h"
#include "tools/damaged_lines.h"

namespace {

// The compiler refuses faulty sources, naming the file and line.
TEST(MapCompiler, RefusesFaultySources) {
  using namespace std::string_literals;
  const struct {
    const char* what;
    std::string source;
    const char* message;
    bool alone = false;  // the only fault reported
  } cases[] = {
      {"width 61", "name: x\nwidth: 61\nheight: 2\n", "'width' is 61, outside 1 to 60"},
      {"short row", "name: x\nwidth: 3\nheight: 2\nlayer walls\n...\n..\nend\n", "is 2 squares wide"},
      {"missing row", "name: x\nwidth: 3\nheight: 2\nlayer walls\n...\nend\n", "has 1 rows"},
      {"code out of range", "name: x\nwidth: 1\nheight: 1\nlayer walls\nkey # 10000\n#\nend\n", "outside -1 to 9999"},
      {"unkeyed character", "name: x\nwidth: 1\nheight: 1\nlayer walls\nQ\nend\n", "'Q' at x 0 has no key"},
      {"square outside", "name: x\nwidth: 2\nheight: 2\nsquare events 2 0 5\n", "is outside the map's 2 x 2"},
      // A field the header lacks is said where the header ends: at its first
      // layer or square, or at the file's last line.
      {"no height", "name: x\nwidth: 2\n", "Map9.txt:2: the header has no 'height'\n", true},
      {"no name", "width: 2\nheight: 1\n# walls\nlayer walls\n..\nend\n", "Map9.txt:4: the header has no 'name'\n", true},
      {"a width after the layers", "name: x\nheight: 1\nlayer walls\n..\nend\nlayer floor\n..\nend\nwidth: 2\n",
       "Map9.txt:9: 'width' must come before the layers\n", true},
      // A key or a square is given once.
      {"a key given twice", "name: x\nwidth: 2\nheight: 1\nlayer walls\nkey # 46\nkey # 47\n##\nend\n",
       "Map9.txt:6: key '#' is given twice in layer 'walls'\n", true},
      {"a square set twice", "name: x\nwidth: 2\nheight: 1\nsquare events 1 0 3\nsquare events 1 0 4\n",
       "Map9.txt:5: square (1, 0) of layer 'events' is set twice\n", true},
      // A value is given, within what the game reads.
      {"an empty name", "name:\nwidth: 1\nheight: 1\n", "Map9.txt:1: 'name' has no value\n", true},
      // A text or name that took the next line in (its line end lost or
      // turned into a blank or the comment mark), a number not the file's,
      // and a layer's heading written out of use before its lines.
      {"a text holding a field", "name: x\ntext: A yard.number: 9\nwidth: 1\nheight: 1\n",
       "Map9.txt:2: the text ends with a line of its own, 'number: 9': a line end lost or damaged?\n", true},
      {"a name holding a text", "name: Yard #text: A yard.\nwidth: 1\nheight: 1\n",
       "Map9.txt:1: the name ends with a line of its own, 'text: A yard.': a line end lost or damaged?\n", true},
      {"a commented-out line and the next", "# text: An old text.text: A yard.\nname: x\nwidth: 1\nheight: 1\n",
       "Map9.txt:1: the comment ends with a line of its own, 'text: A yard.': a line end lost or damaged?\n", true},
      {"another map's number", "name: x\nnumber: 5\nwidth: 1\nheight: 1\n", "Map9.txt:2: 'number' is 5, but Map9.txt is map 9\n", true},
      {"a layer written out of use", "name: x\nwidth: 1\nheight: 1\n#layer walls\nkey # 46\n#\nend\n",
       "Map9.txt:4: 'layer walls' is written out of use here, and the lines after it would be read in the block before it: "
       "a line end or a byte damaged?\n", true},
      {"a music track past the last", "name: x\nwidth: 1\nheight: 1\nmusic: 18\n", "Map9.txt:4: 'music' is 18, outside 0 to 17\n", true},
      {"a local map square past the grid", "name: x\nwidth: 1\nheight: 1\nlocal map y: 60\n",
       "Map9.txt:4: 'local map y' is 60, outside 0 to 59\n", true},
      {"a spell flag of 2", "name: x\nwidth: 1\nheight: 1\nspell flag: 2\n", "Map9.txt:4: 'spell flag' is 2, outside 0 to 1\n", true},
      {"a height without a number", "name: x\nwidth: 1\nheight: x\n", "Map9.txt:3: 'height' needs a whole number from 1 to 60, not 'x'\n",
       true},
      {"a square without a number", "name: x\nwidth: 1\nheight: 1\nsquare walls 0 0 x\n",
       "Map9.txt:4: 'square' needs whole numbers: X and Y 0 to 59, CODE -1 to 9999 for layer 'walls'\n", true},
      {"long name", "name: The Hall of the Kings\nwidth: 1\nheight: 1\n", "longer than the 14 characters"},
      {"a well drawn as bones", "name: x\nwidth: 1\nheight: 1\nlayer walls\nkey W 75\nW\nend\n", "a well is 113"},
      {"a well set as bones", "name: x\nwidth: 1\nheight: 1\nsquare walls 0 0 75\n", "a well is 113"},
      // A control byte is refused once, by its field, and shown.
      {"a zero byte in the name", "name: The Lo\0wer\nwidth: 1\nheight: 1\n"s,
       "Map9.txt:1: 'name' holds the control byte \\x00: 'The Lo\\x00wer'\n", true},
      {"a carriage return in a row", "name: x\nwidth: 2\nheight: 1\nlayer walls\n.\r.\nend\n",
       "Map9.txt:5: '.\\x0d.' holds the control byte \\x0d\n", true},
      {"a control byte in a row of walls", "name: x\nwidth: 2\nheight: 1\nlayer walls\nkey # 46\n#\x01\nend\n",
       "Map9.txt:6: '#\\x01' holds the control byte \\x01\n", true},
      // A name holds what the game's fonts show: 0xE9 has no glyph.
      {"a byte without a glyph in the name", "name: Caf\xe9\nwidth: 1\nheight: 1\n",
       "Map9.txt:1: 'name' holds the byte \\xe9, which is no UTF-8 text: 'Caf\\xe9'\n", true},
      // A number is read whole: a zero byte and junk after it are no width,
      // and its layers are not reported as coming before it.
      {"a zero byte in a number", "name: x\nwidth: 2\0junk\nheight: 1\nlayer walls\n..\nend\n"s,
       "Map9.txt:2: 'width' holds the control byte \\x00: '2\\x00junk'\n", true},
      // A refused key is one fault: the squares drawn with it are not each
      // reported as having no key.
      {"a control byte in a key", "name: x\nwidth: 3\nheight: 2\nlayer walls\nkey # 4\x01" "6\n#.#\n###\nend\n",
       "Map9.txt:5: 'key' holds the control byte \\x01: '4\\x016'\n", true},
      // A layer's heading or end refused for a bad byte is one all the same:
      // its rows are not each refused as header lines, nor the lines after
      // its end as rows.
      {"a control byte in a layer's heading", "name: x\nwidth: 2\nheight: 1\nla\x01yer walls\n..\nend\n",
       "Map9.txt:4: 'la\\x01yer' holds the control byte \\x01\n", true},
      {"a control byte in a layer's end", "name: x\nwidth: 2\nheight: 1\nlayer walls\n..\ne\x01nd\nlayer floor\n..\nend\n",
       "Map9.txt:6: 'e\\x01nd' holds the control byte \\x01\n", true},
      {"a key without a number", "name: x\nwidth: 2\nheight: 1\nlayer walls\nkey # 4x\n##\nend\n",
       "Map9.txt:5: key '#' needs a whole-number code from -1 to 9999 for layer 'walls', not '4x'\n", true},
      // A word too many is refused at its line, as is a tab where a key's
      // blank stood or in a number.
      {"a word too many in a square", "name: x\nwidth: 2\nheight: 1\nsquare objects0 1 0 23 99 junk\n",
       "Map9.txt:4: expected 'square LAYER X Y CODE'\n", true},
      {"a tab inside a square's code", "name: x\nwidth: 2\nheight: 1\nsquare objects0 1 0 2\t3\n",
       "Map9.txt:4: expected 'square LAYER X Y CODE'\n", true},
      {"a word too many in a key", "name: x\nwidth: 2\nheight: 1\nlayer walls\nkey g 1 junk\ngg\nend\n",
       "Map9.txt:5: expected 'key C CODE' with one character C\n", true},
      {"a tab as a key's character", "name: x\nwidth: 2\nheight: 1\nlayer walls\nkey \t 1\ngg\nend\n",
       "Map9.txt:5: expected 'key C CODE' with one character C\n", true},
      // A character without a key names the key no row draws, whose
      // character may be the one meant (a backslash in place of 'g'); a
      // layer's end damaged is a row of the layer, not the next heading.
      {"a key no row draws", "name: x\nwidth: 2\nheight: 1\nlayer walls\nkey \\ 1\ngg\nend\n",
       "Map9.txt:6: character 'g' at x 0 has no key in layer 'walls' (key '\\\\', line 5, draws no square)\n", true},
      {"an end damaged", "name: x\nwidth: 3\nheight: 1\nlayer walls\n...\nnd\nlayer floor\n...\nend\n",
       "Map9.txt:6: row 1 of layer 'walls' is 2 squares wide, the map's width is 3\n", true},
      // A width all rows disagree with is the width's fault, not each row's
      // nor each square's set beyond it (inside the rows' width); a last
      // row joined to its layer's 'end' is that row's fault, not the next
      // line's.
      {"a width no row has", "name: x\nwidth: 3\nheight: 2\nlayer walls\n..\n..\nend\n",
       "Map9.txt:2: 'width' is 3, but every row of the layers is 2 squares wide\n", true},
      {"a width whose digit is lost", "name: x\nwidth: 1\nheight: 2\nlayer walls\n......\n......\nend\nsquare events 4 0 1\n"
       "square events 5 1 1\n",
       "Map9.txt:2: 'width' is 1, but every row of the layers is 6 squares wide\n", true},
      {"a last row joined to the end", "name: x\nwidth: 2\nheight: 2\nlayer walls\n..\n..\"end\n\n# Events.\nsquare events 0 0 1\n",
       "Map9.txt:6: row 1 of layer 'walls' is 6 squares wide, the map's width is 2\n", true},
  };
  const std::string dir = "mapmaker-test-" + std::to_string(getpid());
  std::filesystem::create_directories(dir);
  for (const auto& c : cases) {
    { std::ofstream(dir + "/Map9.txt", std::ios::binary) << c.source; }
    const std::string cmd = "../tools/makemaps " + dir + "/out " + dir + "/Map9.txt 2>" + dir + "/errors.txt";
    EXPECT_NE(std::system(cmd.c_str()), 0) << c.what;
    std::ifstream in(dir + "/errors.txt");
    const std::string errors((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(errors.find("Map9.txt:"), std::string::npos) << c.what << ": " << errors;
    EXPECT_NE(errors.find(c.message), std::string::npos) << c.what << ": " << errors;
    if (c.alone) {
      EXPECT_NE(errors.find("makemaps: 1 fault,"), std::string::npos) << c.what << ": " << errors;
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "/out/Map9.dat")) << c.what;
  }
  // A tab is a blank between words, also after 'key' and before a colon.
  { std::ofstream(dir + "/Map9.txt") << "name\t: ok\nwidth: 2\nheight: 1\nlayer walls\nkey\t# 46\n#.\nend\n"; }
  EXPECT_EQ(std::system(("../tools/makemaps " + dir + "/out " + dir + "/Map9.txt").c_str()), 0);
  static MapRecord m;
  EXPECT_EQ(ReadMapFile((dir + "/out/Map9.dat").c_str(), &m), kMapFileRead);
  EXPECT_EQ(m.At(kLayerWalls, 0, 0), 46);
  EXPECT_EQ(m.At(kLayerWalls, 1, 0), 0);
  EXPECT_EQ(m.scriptMapNumber, 9);  // a map that gives no number is known by its file's
  std::filesystem::remove_all(dir);
}

// One damaged byte anywhere in a good map is one message at its line: a
// refused line counts as what its words may be (a key still keys its
// character, or the first character the rows lack a key for when the
// character is the damaged byte; a heading whose blank is damaged begins its
// layer; a field whose colon is damaged is given), and a carriage return
// inside a line is a byte of it, not a blank.
TEST(MapCompiler, OneDamagedByteInAnyLineIsOneMessage) {
  // The lines of a real map cut small, one of each kind.
  const std::string good =
      "# The Thornwood road, cut small: the track east\n"
      "# through the forest and the overturned cart.\n"
      "name: Thornwood Road\n"
      "text: An old cart road under pines\n"
      "text: and oaks.\n"
      "number: 9\nwidth: 6\nheight: 3\nmusic: 2\nrain: 1\nlocal map: 1\nmost groups: 2\n"
      "\n"
      "layer ground\nkey f 48\nkey . 1\nff..ff\n......\nff..ff\nend\n"
      "layer walls\nkey P 64\nkey ^ 74\nkey W 3003\nP..^.W\n......\n.P..P^\nend\n"
      "square events 0 1 1\n"
      "square objects0 5 2 10025\n";
  const std::string dir = "mapmaker-damage-" + std::to_string(getpid());
  const std::vector<DamagedLine> damaged = DamagedBytes(good);
  // One run checks them all, each damaged source in a folder of its own.
  std::string cmd = "../tools/makemaps --check";
  for (size_t i = 0; i <= damaged.size(); ++i) {
    const std::string folder = dir + "/" + std::to_string(i);
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/Map9.txt", std::ios::binary) << (i < damaged.size() ? damaged[i].text : good);
    cmd += " " + folder + "/Map9.txt";
  }
  EXPECT_NE(std::system((cmd + " 2>" + dir + "/errors.txt").c_str()), 0);
  std::map<std::string, std::vector<std::string>> messages;  // by the folder of the source
  std::ifstream in(dir + "/errors.txt");
  std::string summary;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(dir + "/", 0) != 0) summary += line + "\n";
    else messages[line.substr(0, line.find('/', dir.size() + 1))].push_back(line);
  }
  for (size_t i = 0; i < damaged.size(); ++i) {
    const std::vector<std::string>& said = messages[dir + "/" + std::to_string(i)];
    EXPECT_EQ(said.size(), 1u) << damaged[i].what << ": " << (said.empty() ? "" : said[0]);
    if (said.size() == 1) {
      EXPECT_EQ(said[0].rfind(dir + "/" + std::to_string(i) + "/Map9.txt:" + std::to_string(damaged[i].line) + ": ", 0), 0u)
          << damaged[i].what << ": " << said[0];
    }
  }
  EXPECT_EQ(messages.count(dir + "/" + std::to_string(damaged.size())), 0u);  // the good source
  EXPECT_EQ(summary, "makemaps: " + std::to_string(damaged.size()) + " faults, nothing written\n");
  std::filesystem::remove_all(dir);
}

}  // namespace
