// The script compiler as the build runs it: the adventure scripts compile as
// they stand, and a source with a fault fails with file:line and writes nothing.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "scriptmaker/script_source.h"
#include "tools/damaged_lines.h"

namespace fs = std::filesystem;

namespace {

const fs::path kTool = fs::current_path().parent_path() / "tools" / "makescripts";
const fs::path kSources = fs::path(__FILE__).parent_path().parent_path().parent_path() / "content" / "scripts";

struct ToolRun {
  int status;
  std::string errors;
  bool wrote;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Compiles the sources (name, text) into a scratch folder with the test
// scripts' names file, and a names file of `names` when given.
ToolRun Compile(const std::vector<std::pair<std::string, std::string>>& sources, const std::string& names = "") {
  const fs::path dir = fs::temp_directory_path() / ("scriptmaker_test_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "in");
  std::string command = kTool.string();
  command += " ";
  command += (dir / "out").string();
  command += " --names ";
  command += (kSources / "Tests" / "Tests.names").string();
  if (!names.empty()) {
    std::ofstream(dir / "in" / "More.names", std::ios::binary) << names;
    command += " --names " + (dir / "in" / "More.names").string();
  }
  for (const auto& [name, text] : sources) {
    std::ofstream(dir / "in" / name, std::ios::binary) << text;
    command += " ";
    command += (dir / "in" / name).string();
  }
  command += " 2>";
  command += (dir / "errors.txt").string();
  const int status = std::system(command.c_str());
  ToolRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir / "errors.txt"), fs::exists(dir / "out")};
  fs::remove_all(dir);
  return run;
}

TEST(ScriptmakerTest, TheTestScriptsCompileAsTheyStand) {
  std::vector<std::pair<std::string, std::string>> sources;
  for (const auto& entry : fs::directory_iterator(kSources / "Tests"))
    if (entry.path().extension() == ".txt") sources.push_back({entry.path().filename().string(), ReadFile(entry.path())});
  ASSERT_FALSE(sources.empty());
  const ToolRun run = Compile(sources);
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_TRUE(run.wrote);
}

// A row with no message compiles: the last value a range allows.
TEST(ScriptmakerTest, FaultsAreReportedByFileAndLineAndNothingIsWritten) {
  using namespace std::string_literals;
  const struct {
    std::string source;
    const char* message;
  } cases[] = {
      {"end\nfrobnicate 1\n", "Bad.txt:2: unknown command 'frobnicate'"},
      {"set_flag 500 1\n", "Bad.txt:1: flag 500 is not one of the 500"},
      {"set_flag ChestOpened\n", "Bad.txt:1: 'set_flag' takes 2 arguments, not 1"},
      {"set_local ChestOpened 1\n", "Bad.txt:1: 'ChestOpened' is not a local"},
      {"goto Nowhere\n", "Bad.txt:1: label Nowhere is not set in this script"},
      {"label A\nlabel A\n", "Bad.txt:2: label A is set twice"},
      {"ask \"Open?\n", "Bad.txt:1: a text is not closed"},
      {"ask \"Q\" \"An answer far too long to fit in its forty bytes\"\n", "Bad.txt:1: an answer is 48 bytes long"},
      {"flag ChestOpened 3\n", "Bad.txt:1: 'ChestOpened' is declared already (" },
      {"give_item \"Arrows\" 2\n", "Bad.txt:1: a number is wanted here"},
      {"if_answer 6\n", "Bad.txt:1: 'if_answer' takes an answer number from 1 to 5"},
      {"op 110\n", "Bad.txt:1: 'op' takes an operation code from 0 to 109"},
      // A control byte where the game cannot show it is refused by its
      // command and shown: a line end in a question is the game's, none in
      // an answer or in a word, and a zero byte nowhere.
      {"ask \"Open\0?\" \"Yes.\"\n"s, "Bad.txt:1: 'ask' holds the control byte \\x00: 'Open\\x00?'\n"},
      {"ask \"Open\\r?\" \"Y\\res.\"\n", "Bad.txt:1: 'ask' holds the control byte \\x0d: 'Y\\x0des.'\n"},
      {"ask \"Open\r?\" \"Yes.\"\n", "Bad.txt:1: 'ask' holds the control byte \\x0d: 'Open\\x0d?'\n"},
      {"if_flag Chest\rOpened 0\nendif\n", "Bad.txt:1: 'if_flag' holds the control byte \\x0d: 'Chest\\x0dOpened'\n"},
      // A text holds what the game's fonts show; the byte after an unknown
      // escape is shown, not sent to the terminal.
      {"ask \"Caf\xe9?\" \"Yes.\"\n", "Bad.txt:1: 'ask' holds the byte \\xe9, which is no UTF-8 text: 'Caf\\xe9?'\n"},
      {"ask \"Open\\\x1b[2J?\" \"Yes.\"\n", "Bad.txt:1: unknown escape '\\\\\\x1b'\n"},
      // A comment holds no whole line of a script, wherever it begins: a line
      // end lost, or damaged into a quote, joins the next line to it.
      {"set_flag ChestOpened 1  # opened.if_flag ChestOpened 1\nendif\n",
       "Bad.txt:1: the comment ends with a line of its own, 'if_flag ChestOpened 1': a line end lost or damaged?\n"},
      {"# The chest\"set_flag ChestOpened 1\n", "Bad.txt:1: the comment ends with a line of its own, 'set_flag ChestOpened 1'"},
      {"# Hello.ask \"Open?\" \"Yes.\" # asked\n",
       "Bad.txt:1: the comment ends with a line of its own, 'ask \\\"Open?\\\" \\\"Yes.\\\" # asked'"},
      {"# The chest.flag Lid 3\n", "Bad.txt:1: the comment ends with a line of its own, 'flag Lid 3'"},
      // Every block an 'if_' opens is closed, and an 'else' or 'endif' stands in one.
      {"if_flag ChestOpened 0\n  set_flag ChestOpened 1\nend\n", "Bad.txt:1: 'if_flag' opens a block that no 'endif' closes\n"},
      {"if_flag ChestOpened 0\n  if_answer 1\n  endif\nend\n", "Bad.txt:1: 'if_flag' opens a block that no 'endif' closes\n"},
      {"op 4 10 0\nend\n", "Bad.txt:1: 'op 4' opens a block that no 'endif' closes\n"},
      {"set_flag ChestOpened 1\nendif\n", "Bad.txt:2: 'endif' closes no block: no 'if_' before it is open\n"},
      {"if_answer 1\nendif_flat\nelse\n", "Bad.txt:3: 'else' stands in no block: no 'if_' before it is open\n"},
      {"if_flag ChestOpened 0\n  if_answer 1\n  else\n  endif\nelse\nendif\n", nullptr},
      {"if_flag ChestOpened 0\nelse\nop 70\nendif\n",
       "Bad.txt:3: 'op 70' is a second 'else' of the block 'if_flag' opens at line 1 (its 'else' at line 2)\n"},
      // A number is one the game takes where the command has a range.
      {"set_square 2 24 999 7 0\n", "Bad.txt:1: 'set_square' takes a square's x from 0 to 59, not 999\n"},
      {"set_square 2 41 9 7 0\n", "Bad.txt:1: 'set_square' takes a map from 0 to 40 or 99, not 41\n"},
      {"set_square 8 99 9 7 0\n", "Bad.txt:1: 'set_square' takes a map layer from 0 to 7, not 8\n"},
      {"play_sound 4294967295\n", "Bad.txt:1: 'play_sound' takes a sound effect from 0 to 57, not 4294967295\n"},
      {"follow -2\n", "Bad.txt:1: 'follow' takes a creature or -1 (none) from -1 to 2099, not -2\n"},
      {"give_item 5000 1\n", "Bad.txt:1: 'give_item' takes an item code from 1 to 4999 or 5001 to 6999, not 5000\n"},
      {"give_item Arrows 0\n", "Bad.txt:1: 'give_item' takes a quantity from 1 to 2147483647, not 0\n"},
      {"give_item_to Arrows Innkeeper 4294967295\n",
       "Bad.txt:1: 'give_item_to' takes a quantity from 1 to 2147483647, not 4294967295\n"},
      {"create_creature 3 4 5 100 1 0 61 0 0 0 0 0 0 0 0\n", "Bad.txt:1: 'create_creature' takes extra levels 60 at most, not 61\n"},
      {"add_condition Innkeeper 684 0 0\n", "Bad.txt:1: 'add_condition' takes a condition from 1 to 683, not 684\n"},
      {"journal 200 \"Done.\" 0\n", "Bad.txt:1: 'journal' takes a journal entry from 0 to 199, not 200\n"},
      {"const Far 2100\nset_present Far 1\n", "Bad.txt:2: 'set_present' takes a creature from 0 to 2099, not 'Far' (2100)\n"},
      // Every number is one of 32 bits, signed, as the game reads it.
      {"gold 2147483647\ngold -2147483648\nop 32 -2147483648 1\nconst Most 2147483647\n", nullptr},
      {"gold 2147483648\n", "Bad.txt:1: 'gold' takes a number from -2147483648 to 2147483647, not 2147483648\n"},
      {"op 32 -2147483649 1\n", "Bad.txt:1: 'op' takes a number from -2147483648 to 2147483647, not -2147483649\n"},
      {"const Rich 2147483648\n", "Bad.txt:1: 'const' takes a number from -2147483648 to 2147483647, not 2147483648\n"},
      {"create_creature 3 4 5 100 1 0 -2147483649 0 0 0 0 0 0 0 0\n",
       "Bad.txt:1: 'create_creature' takes a number from -2147483648 to 2147483647, not -2147483649\n"},
      // A behaviour's index by its table, and an achievement the game grants.
      {"set_behaviour 5 0 18 1\nset_behaviour 5 1 6 1\nachievement 0\nachievement 94\nachievement 116\n", nullptr},
      {"set_behaviour 5 0 19 1\n", "Bad.txt:1: 'set_behaviour' takes a percentage's index from 0 to 18, not 19\n"},
      {"set_behaviour 5 1 7 1\n", "Bad.txt:1: 'set_behaviour' takes a reaction word's index from 0 to 6, not 7\n"},
      {"set_behaviour 5 2 0 1\n",
       "Bad.txt:1: 'set_behaviour' takes a behaviour table (0 the percentages, 1 the reaction words) from 0 to 1, not 2\n"},
      {"achievement 117\n", "Bad.txt:1: 'achievement' takes an achievement number 0, 3, 5, 12 to 14, 18 to 21, 25, "
                             "29, 30, 33 to 36, 40 to 42, 46, 50, 54 to 56, 60 to 62, 66, 67, 71, 72, 76, 80, "
                             "82, 84, 88 to 90, 94 or 103 to 116, not 117\n"},
  };
  for (const auto& c : cases) {
    const ToolRun run = Compile({{"Good.txt", "end\n"}, {"Bad.txt", c.source}});
    if (!c.message) {
      EXPECT_EQ(run.status, 0) << c.source << "\n" << run.errors;
      continue;
    }
    EXPECT_EQ(run.status, 1) << c.source;
    EXPECT_NE(run.errors.find(c.message), std::string::npos) << c.source << "\n" << run.errors;
    EXPECT_NE(run.errors.find("makescripts: 1 fault,"), std::string::npos) << run.errors;
    EXPECT_FALSE(run.wrote) << c.source;
  }
  const ToolRun misnamed = Compile({{"..x.txt", "end\n"}});
  EXPECT_EQ(misnamed.status, 1);
}

// Every line is compiled for its own faults, whatever another line held: a
// line refused is one message, and the faults between lines (a name or label
// it may have given) are not reported besides, nor those of the scripts when
// a line of a names file is refused.
TEST(ScriptmakerTest, EveryFaultIsReportedOnceAndARefusedLineCountsAsGiven) {
  using namespace std::string_literals;
  const struct {
    std::string source, names;
    std::vector<std::string> messages;
  } cases[] = {
      {"ask \"Open\0?\" \"Yes.\"\nif_flag Ch\0estOpened 0\nendif\nask \"Caf\xe9?\" \"Yes.\"\n"s, "",
       {"Bad.txt:1: 'ask' holds the control byte", "Bad.txt:2: 'if_flag' holds the control byte",
        "Bad.txt:4: 'ask' holds the byte \\xe9"}},
      {"la\0bel Far\ngoto Far\nask \"Caf\xe9?\" \"Yes.\"\n"s, "",
       {"Bad.txt:1: 'la\\x00bel' holds the control byte", "Bad.txt:3: 'ask' holds the byte \\xe9"}},
      {"flag Chest\0y 12\nset_flag Chesty 1\nset_flag Nowhere 1\n"s, "",
       {"Bad.txt:1: 'flag' holds the control byte"}},
      {"label 1abc\ngoto 1abc\ngoto Nowhere\n", "",
       {"Bad.txt:1: '1abc' cannot name a label", "Bad.txt:2: '1abc' cannot name a label"}},
      {"set_flag Gone 1\nfrobnicate 1\n", "flag Go\x01ne 12\n",
       {"More.names:1: 'flag' holds the control byte", "Bad.txt:2: unknown command 'frobnicate'"}},
      // A declaration's word is itself alone: one with a byte the game cannot
      // show is refused, and the uses of what it may declare are not.
      {"set_flag HermitMet 1\nfrobnicate 1\n", "fl\xe9" "ag HermitMet 31\n",
       {"More.names:1: 'fl\\xe9ag' holds the byte \\xe9, which is no UTF-8 text", "Bad.txt:2: unknown command 'frobnicate'"}},
      {"loc\xe9l Foo 3\nset_local Foo 1\ncons\xe9 K 3\nset_flag K 1\n", "",
       {"Bad.txt:1: 'loc\\xe9l' holds the byte \\xe9", "Bad.txt:3: 'cons\\xe9' holds the byte \\xe9"}},
      // A name declared and never used, one byte from a name used and
      // declared nowhere (a letter of either lost, put in or changed), is one
      // fault at the declaration; two bytes from it, each use is a fault.
      {"set_flag Gone 1\nif_flag Gone 0\nendif\n", "flag Gon 12\n",
       {"More.names:1: 'Gon' is declared and never used, and 'Gone', one byte from it, is used and declared nowhere"}},
      {"set_flag Gone 1\n", "flag Gome 12\n", {"More.names:1: 'Gome' is declared and never used"}},
      {"flag Opend 12\nset_flag Opened 1\n", "",
       {"Bad.txt:1: 'Opend' is declared and never used, and 'Opened', one byte from it, is used and declared nowhere"}},
      {"set_flag Gone 1\nset_flag Gone 0\n", "flag Go 12\n",
       {"Bad.txt:1: 'Gone' is neither a number nor a declared name", "Bad.txt:2: 'Gone' is neither"}},
  };
  for (const auto& c : cases) {
    const ToolRun run = Compile({{"Good.txt", "end\n"}, {"Bad.txt", c.source}}, c.names);
    EXPECT_EQ(run.status, 1) << c.source;
    EXPECT_EQ(static_cast<size_t>(std::count(run.errors.begin(), run.errors.end(), '\n')), c.messages.size() + 1)
        << run.errors;
    for (const std::string& m : c.messages) EXPECT_NE(run.errors.find(m), std::string::npos) << m << "\n" << run.errors;
    EXPECT_FALSE(run.wrote) << c.source;
  }
}

// One damaged byte anywhere in a good script or names file holding every
// kind of line is one fault, one message at its line: the uses of a name or
// label a refused line may have given are not refused besides. A byte of a
// comment, and a raw carriage return inside a question or a journal text
// (which write their line ends \r), is refused as any other.
TEST(ScriptmakerTest, OneDamagedByteAnywhereIsOneMessageAtItsLine) {
  const std::string script =
      "# The chest and its keeper.\nflag Opened 12\nlocal Visits 3\nconst Keeper 410\ncentre_on Keeper\n"
      "if_flag Opened 0\n  ask \"Open the chest?\" \"Yes.\" \"No.\"\n  if_answer 1\n    set_flag Opened 1\n"
      "    journal 3 \"We opened it.\" 7\n    goto Done  # goto Done when it is open\n  endif\nelse\n  set_local Visits 1\n  add_to_flag Gone 1\n"
      "  give_item Far 1\nendif\nop 21 4\ngoto 5\nlabel 5\nlabel Done\nend\n";
  const std::string names = "flag Gone 20\nconst Far 5001\n";
  // The faults of the script compiled with the names file, in the tool's order.
  auto faults = [](const std::string& scriptText, const std::string& namesText) {
    std::vector<std::string> errors;
    ScriptNames shared;
    ReadScriptNames("Chest.names", namesText, &shared, &errors);
    const ScriptSourceResult result = CompileScriptSource("Chest.txt", scriptText, shared);
    errors.insert(errors.end(), result.errors.begin(), result.errors.end());
    return errors;
  };
  ASSERT_TRUE(faults(script, names).empty());
  for (const auto& [file, good] : {std::pair{"Chest.txt", script}, std::pair{"Chest.names", names}}) {
    for (const DamagedLine& d : DamagedBytes(good)) {
      const std::vector<std::string> errors = file == std::string("Chest.txt") ? faults(d.text, names) : faults(script, d.text);
      std::string all;
      for (const std::string& e : errors) all += e + "\n";
      ASSERT_EQ(errors.size(), 1u) << file << " " << d.what << "\n" << all;
      const std::string place = std::string(file) + ":" + std::to_string(d.line) + ": ";
      EXPECT_EQ(errors[0].rfind(place, 0), 0u) << d.what << "\n" << all;
      EXPECT_EQ(errors[0].find_first_of("\r\n"), std::string::npos) << d.what;  // one printable line
    }
  }
}

}  // namespace
