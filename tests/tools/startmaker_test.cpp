// The prepared-start builder as the build runs it: the introductory
// adventure's start loads as the main menu reads it, creatures beyond the
// party come out of the creature generation with what the source gives
// them, and a faulty source fails with file:line and writes nothing.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/creature_roster.h"
#include "map/map_record.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "startmaker/start_builder.h"
#include "startmaker/start_source.h"
#include "tools/damaged_lines.h"

namespace fs = std::filesystem;

namespace {

const fs::path kTool = fs::current_path().parent_path() / "tools" / "makestart";
const fs::path kContent = fs::path(__FILE__).parent_path().parent_path().parent_path() / "content";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct ToolRun {
  int status;
  std::string errors;
  std::string roster, crafted;  // the files written, empty when none
};

// A party of four that builds, for sources that add to it.
const char kParty[] =
    "creature 0\n name \"Una\"\n party Knight\n abilities 16 12 14 10 10 10\n place 21 5 5\n"
    "creature 1\n name \"Dov\"\n party Cleric\n abilities 12 10 14 10 16 10\n spell \"Bless\"\n place 21 5 6\n"
    "creature 2\n name \"Tre\"\n party Wizard\n abilities 10 12 12 16 10 10\n spell \"Sleep\"\n feat \"SCRIBE SCROLL\"\n"
    " place 21 6 6\n"
    "creature 3\n name \"Quin\"\n party Knight\n gender female\n abilities 12 16 12 10 10 10\n"
    " wear Ranged \"Shortbow\"\n ammunition \"Arrows\" 20\n place 21 4 6\n";

ToolRun Build(const std::vector<std::pair<std::string, std::string>>& sources) {
  const fs::path dir = fs::temp_directory_path() / ("startmaker_test_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "in");
  std::string command = kTool.string() + " " + (dir / "out").string() + " " + (kContent / "tables").string();
  for (const auto& [name, text] : sources) {
    std::ofstream(dir / "in" / name, std::ios::binary) << text;
    command += " ";
    command += (dir / "in" / name).string();
  }
  command += " 2>";
  command += (dir / "errors.txt").string();
  const int status = std::system(command.c_str());
  ToolRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir / "errors.txt"),
              ReadFile(dir / "out" / "SaveChar.cml"), ReadFile(dir / "out" / "SaveWeapon.wml")};
  fs::remove_all(dir);
  return run;
}

std::vector<CreatureRecord> Decode(const std::string& roster, int* count) {
  std::vector<CreatureRecord> table(kCreatureCount);
  *count = DecodeCreatureRoster(reinterpret_cast<const uint8_t*>(roster.data()), roster.size(), table.data());
  return table;
}

const CraftedWeaponRecord& Row(const std::string& crafted, uint32_t code) {
  static CraftedWeaponRecord row;
  DecodeCraftedRow(reinterpret_cast<const uint8_t*>(crafted.data()) + code * kCraftedRowBytes, &row);
  return row;
}

TEST(StartmakerTest, TheIntroductoryStartLoadsAsTheMainMenuReadsIt) {
  ASSERT_EQ(LoadCreatureRoster("SaveGame\\DemoVersion\\0\\SaveChar.cml"), 1);
  ASSERT_EQ(LoadCraftedWeapons("SaveGame\\DemoVersion\\0\\SaveWeapon.wml"), 1);
  const int classes[4] = {kClassKnight, kClassCleric, kClassWizard, kClassKnight};
  for (int m = 0; m < kPartySize; ++m) {
    const CreatureRecord& c = Creatures[m];
    EXPECT_NE(c.name[0], '\0') << m;
    EXPECT_EQ(c.creatureClass, classes[m]) << m;
    EXPECT_EQ(c.allegiance, kAllegianceParty) << m;
    EXPECT_EQ(c.map, 21) << m;
    EXPECT_EQ(c.level, 1) << m;
    EXPECT_GT(c.hitPoints, 0) << m;
    EXPECT_EQ(c.hitPoints, c.maxHitPoints) << m;
    EXPECT_EQ(c.present, 1) << m;
    // Every item it wears is a crafted row of its own, in the party's rows.
    const uint32_t hand = c.equipment[kSlotRightHand - 1];
    EXPECT_TRUE(hand >= 1 && hand <= 120) << m;
    EXPECT_NE(CraftedWeapons[hand].name[0], '\0') << m;
  }
  EXPECT_STREQ(CraftedWeapons[Creatures[0].equipment[kSlotRightHand - 1]].name, "Longsword");
  EXPECT_GT(Creatures[1].spellsLeft[0], 0);
  EXPECT_GT(Creatures[2].spellsLeft[0], 0);
  // Four members stand on four squares.
  for (int a = 0; a < kPartySize; ++a)
    for (int b = a + 1; b < kPartySize; ++b)
      EXPECT_FALSE(Creatures[a].squareX == Creatures[b].squareX && Creatures[a].squareY == Creatures[b].squareY);
}

// The table sources compiled and put in place, as the tool does before it
// reads a start's sources.
const StartTables& InstallTables() {
  static std::vector<std::string> faults;
  static const std::optional<StartTables> tables = InstallStartTables((kContent / "tables").string(), &faults);
  EXPECT_TRUE(tables) << faults[0];
  return *tables;
}

// The two files a build of the sources makes in this process, as the tool
// makes them: the roster, then the crafted table.
std::string BuiltHere(const std::vector<std::pair<std::string, std::string>>& sources) {
  const StartTables& tables = InstallTables();
  StartSource source;
  for (const auto& [name, text] : sources) ReadStartSource(name, text, &source);
  CheckStartSource(&source);
  BuildStart(tables, source, kStartSeed, &source.errors);
  std::vector<uint8_t> roster, crafted;
  PackStartFiles(&roster, &crafted);
  EXPECT_TRUE(source.errors.empty()) << source.errors[0];
  return std::string(roster.begin(), roster.end()) + std::string(crafted.begin(), crafted.end());
}

TEST(StartmakerTest, GeneratedCreaturesTakeWhatTheSourceGivesAndABuildRepeats) {
  const std::string others =
      "creature 4\n name \"Gr\\x75b\"\n kind ORC\n side talker\n tag \"Grub\"\n place 22 3 4 5\n"
      " carry \"Iron Key\"\n carry \"Scroll of Bless\" 2\n"
      "creature 5\n name \"Wolf\"\n kind wolf\n death 3\n absent\n place 22 8 8\n"
      "item 130\n copy \"Light Hammer\" +1\n name \"Smith's Hammer\"\n"
      "creature 6\n name \"Smith\"\n kind HUMAN\n class Commoner\n side ally\n wear RightHand \"Smith's Hammer\"\n"
      " alignment \"Lawful Neutral\"\n feat \"TOUGHNESS\"\n feat \"TOUGHNESS\"\n place 22 1 1\n";
  const ToolRun run = Build({{"Party.txt", kParty}, {"Others.txt", others}});
  ASSERT_EQ(run.status, 0) << run.errors;
  int count = 0;
  const std::vector<CreatureRecord> t = Decode(run.roster, &count);
  ASSERT_EQ(count, 7);
  EXPECT_EQ(t[4].kind, 69);
  EXPECT_EQ(t[4].allegiance, kAllegianceTalker);
  EXPECT_STREQ(t[4].name, "Grub");  // written with an escape
  EXPECT_STREQ(t[4].tag, "Grub");
  EXPECT_EQ(t[4].facing, 5);
  EXPECT_EQ(t[4].map, 22);
  EXPECT_EQ(t[4].pixelX, 3 * 24);
  // The given items in place of the treasure drawn.
  EXPECT_EQ(t[4].carried[0].code, kFirstBaseItemCode + 523);
  EXPECT_EQ(t[4].carried[1].count, 2);
  EXPECT_EQ(t[4].carried[2].code, 0u);
  EXPECT_EQ(t[5].allegiance, kAllegianceEnemy);
  EXPECT_EQ(t[5].present, 0);
  EXPECT_EQ(t[5].scriptWords[kScriptWordDeathScript], 3);
  EXPECT_EQ(t[6].allegiance, kAllegianceAllyOther);
  // A feat is a flag held once, also one the class grants; Toughness counts
  // each time it is given.
  EXPECT_EQ(t[2].feats[kFeatScribeScroll], 1);
  EXPECT_GE(t[6].feats[kFeatToughness], 2);
  EXPECT_STREQ(AlignmentNames[t[6].alignment], "Lawful Neutral");
  EXPECT_EQ(t[6].equipment[kSlotRightHand - 1], 130u);
  const CraftedWeaponRecord& hammer = Row(run.crafted, 130);
  EXPECT_STREQ(hammer.name, "Smith's Hammer");
  EXPECT_EQ(hammer.enhancement, 1);
  // The party's bow is a copy in the party's first rows, its arrows beside it.
  const uint32_t bow = t[3].equipment[kSlotRanged - 1];
  EXPECT_TRUE(bow >= 1 && bow <= 120);
  EXPECT_STREQ(Row(run.crafted, bow).name, "Shortbow");
  EXPECT_EQ(t[3].ammunition.count, 20);

  const ToolRun again = Build({{"Party.txt", kParty}, {"Others.txt", others}});
  EXPECT_TRUE(again.roster == run.roster && again.crafted == run.crafted);
  // So does a build after another in one process: each starts from the
  // crafted table as installed.
  for (int build = 0; build < 2; ++build)
    EXPECT_TRUE(BuiltHere({{"Party.txt", kParty}, {"Others.txt", others}}) == run.roster + run.crafted) << build;

  // The tool checks what it writes as the game's load does: a creature or a
  // crafted row the load would refuse is a fault.
  const std::vector<uint8_t> roster(run.roster.begin(), run.roster.end());
  std::vector<uint8_t> crafted(run.crafted.begin(), run.crafted.end());
  std::vector<std::string> faults;
  CheckStartFiles(roster, crafted, &faults);
  EXPECT_TRUE(faults.empty());
  ASSERT_EQ(DecodeCreatureRoster(roster.data(), roster.size(), Creatures), 7);
  Creatures[5].squareX = kMapSide;
  std::vector<uint8_t> unfit;
  PackCreatureRoster(&unfit);
  const int32_t noSpell = kSpellRows;
  std::memcpy(&crafted[130 * kCraftedRowBytes + offsetof(CraftedWeaponRecord, spell)], &noSpell, 4);
  CheckStartFiles(unfit, crafted, &faults);
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_EQ(faults[0], "SaveChar.cml: creature 5 holds a value out of range: the game would refuse the start");
  EXPECT_EQ(faults[1], "SaveWeapon.wml: crafted row 130 holds a value out of range: the game would refuse the start");
}

// A faulty source fails the run with its message at its file and line (the
// only message where `alone`), and nothing is written: one tool run a case.
struct RefusedStart {
  std::string source;  // "Bad.txt", after a good party's source
  const char* message;
  bool alone = false;
};

// A case is listed by the message it expects.
void PrintTo(const RefusedStart& c, std::ostream* out) { *out << c.message; }

class StartmakerFaults : public ::testing::TestWithParam<RefusedStart> {};

TEST_P(StartmakerFaults, AreReportedByFileAndLineAndNothingIsWritten) {
  const RefusedStart& c = GetParam();
  const ToolRun run = Build({{"Party.txt", kParty}, {"Bad.txt", c.source}});
  EXPECT_EQ(run.status, 1) << c.source;
  EXPECT_NE(run.errors.find(c.message), std::string::npos) << c.source << "\n" << run.errors;
  if (c.alone) {
    EXPECT_NE(run.errors.find("makestart: 1 fault,"), std::string::npos) << run.errors;
  }
  EXPECT_TRUE(run.roster.empty() && run.crafted.empty()) << c.source;
}

using namespace std::string_literals;
const RefusedStart kRefusedStarts[] = {
    {"creature 4\n name \"X\"\n kind ORC\n place 22 1 1\n carry \"Moonbeam\"\n", "Bad.txt:5: no item is named 'Moonbeam'"},
    {"creature 4\n name \"X\"\n kind DRAGONISH\n", "Bad.txt:3: no creature kind with a template is named 'DRAGONISH'"},
    {"creature 5\n name \"X\"\n kind ORC\n place 22 1 1\n", "Bad.txt:1: creature 5 leaves a gap: the next id is 4"},
    {"creature 4\n name \"X\"\n kind ORC\n place 22 1 1\n feat \"FLYING\"\n", "Bad.txt:5: no feat is named 'FLYING'"},
    {"creature 4\n name \"X\"\n kind ORC\n", "Bad.txt:1: creature 4 has no place"},
    {"creature 4\n name \"X\"\n party Knight\n", "Bad.txt:1: only creatures 0 to 3 are party members"},
    {"creature 4\n name \"X\" \n kind ORC\n place 22 60 1\n", "Bad.txt:4: 'place' needs a number from 0 to 59, not '60'"},
    {"creature 4\n name \"X\n", "Bad.txt:2: a text is not closed"},
    {"creature 4\n name \"X\\q\"\n kind ORC\n place 22 1 1\n", "Bad.txt:2: unknown escape '\\\\q'\n", true},
    {" name \"X\"\n", "Bad.txt:1: 'name' outside a creature or item block"},
    // An alignment goes by its name, and a name fits the 15 characters
    // the record, the log and the initiative list show.
    {"creature 4\n name \"X\"\n kind ORC\n alignment 3\n", "Bad.txt:4: no alignment is named '3'"},
    {"creature 4\n name \"Red Banner Cutthroat\"\n", "Bad.txt:2: the text is longer than 15 bytes"},
    {"creature 0\n name \"Again\"\n party Wizard\n abilities 9 9 9 9 9 9\n place 21 1 1\n",
     "Bad.txt:1: creature 0 is given twice"},
    // A control byte in a name or a word is refused by its field and shown,
    // once: the lines of a block it refuses are not reported besides.
    {"creature 4\n name \"Hadd\0a\"\n kind ORC\n place 22 1 1\n"s,
     "Bad.txt:2: 'name' holds the control byte \\x00: 'Hadd\\x00a'\n", true},
    {"creature 4\r5\n name \"X\"\n kind ORC\n place 22 1 1\n", "Bad.txt:1: 'creature' holds the control byte \\x0d: '4\\x0d5'\n",
     true},
    // A name holds what the game's fonts show, and a number is read whole:
    // digits with a zero byte and junk after them are none.
    {"creature 4\n name \"Caf\xe9\"\n kind ORC\n place 22 1 1\n",
     "Bad.txt:2: 'name' holds the byte \\xe9, which is no UTF-8 text: 'Caf\\xe9'\n", true},
    {"creature 4\n name \"X\"\n kind ORC\n place 22 1 1\n hp \"12\0junk\"\n"s,
     "Bad.txt:5: 'hp' holds the control byte \\x00: '12\\x00junk'\n", true},
    // A description writes its line ends as \r, and an item takes no word
    // it does not expect.
    {"creature 4\n name \"X\"\n text \"The\rreeve.\"\n kind ORC\n place 22 1 1\n",
     "Bad.txt:3: 'text' holds the control byte \\x0d: 'The\\x0dreeve.'\n", true},
    {"creature 4\n name \"X\"\n kind ORC\n place 22 1 1\n carry \"Longsword\" junk\n",
     "Bad.txt:5: an enhancement is written +1 to +5, not 'junk'\n", true},
    // A field is given once in its block: a second copy, name, slot, feat or
    // ammunition is refused at its line.
    {"item 130\n copy \"Longsword\" +1\n copy \"Warhammer\"\n", "Bad.txt:3: 'copy' is given twice\n", true},
    {"creature 4\n name \"X\"\n kind ORC\n place 22 1 1\n name \"Y\"\n", "Bad.txt:5: 'name' is given twice\n", true},
    {"creature 4\n name \"X\"\n kind ORC\n place 22 1 1\n wear RightHand \"Club\"\n wear RightHand \"Dagger\"\n",
     "Bad.txt:6: the slot 'RightHand' is given twice\n", true},
    {"creature 4\n name \"X\"\n kind ORC\n place 22 1 1\n feat \"CLEAVE\"\n feat \"Cleave\"\n",
     "Bad.txt:6: the feat 'Cleave' is given twice\n", true},
    {"creature 4\n name \"X\"\n kind ORC\n place 22 1 1\n ammunition \"Arrows\" 5\n ammunition \"Crossbow Bolts\" 5\n",
     "Bad.txt:6: 'ammunition' is given twice\n", true},
    // An empty text, a figure past the figure table, a sign on a count and a
    // doubled sign on an enhancement are refused with what they take.
    {"creature 4\n name \"X\"\n tag \"\"\n kind ORC\n place 22 1 1\n", "Bad.txt:3: 'tag' needs a text of 1 to 19 bytes, not ''\n",
     true},
    {"item 130\n copy \"Longsword\"\n name \"\"\n", "Bad.txt:3: 'name' needs a text of 1 to 49 bytes, not ''\n", true},
    {"creature 4\n name \"X\"\n kind ORC\n figure 230\n place 22 1 1\n", "Bad.txt:4: 'figure' needs a number from 1 to 229, not '230'\n",
     true},
    {"creature 4\n name \"X\"\n kind ORC\n place 22 1 1\n carry \"Arrows\" +2\n",
     "Bad.txt:5: '+2': only a prepared crafted row takes an enhancement\n", true},
    {"creature 4\n name \"X\"\n kind ORC\n place 22 1 1\n carry \"Longsword\" ++1\n",
     "Bad.txt:5: an enhancement is written +1 to +5, not '++1'\n", true},
};
INSTANTIATE_TEST_SUITE_P(Sources, StartmakerFaults, ::testing::ValuesIn(kRefusedStarts));

TEST(StartmakerTest, AStartWithoutItsPartyOrWithASourceNotReadFails) {
  const ToolRun noParty = Build({{"Bad.txt", "creature 4\n name \"X\"\n kind ORC\n place 22 1 1\n"}});
  EXPECT_EQ(noParty.status, 1);
  EXPECT_NE(noParty.errors.find("the party member 0 is missing"), std::string::npos) << noParty.errors;
  // A source that cannot be read fails the run, also before sound ones (its
  // folder is not made, so the file is not there).
  const ToolRun unread = Build({{"absent/Gone.txt", ""}, {"Party.txt", kParty}});
  EXPECT_EQ(unread.status, 1);
  EXPECT_NE(unread.errors.find("Gone.txt: cannot be read"), std::string::npos) << unread.errors;
}

// The faults of one source read and checked as the tool reads them.
std::vector<std::string> ReadFaults(const std::string& text) {
  StartSource source;
  ReadStartSource("People.txt", text, &source);
  if (source.errors.empty()) CheckStartSource(&source);
  return source.errors;
}

// One damaged byte anywhere in a good source holding every kind of line is
// one fault, one message at its line: after a refused line the lines up to
// the next creature or item line are passed over, and the checks between
// creatures are not made. A byte of a comment, and a raw carriage return
// inside a description (which writes its line ends \r), is refused as any
// other.
TEST(StartmakerTest, OneDamagedByteAnywhereIsOneMessageAtItsLine) {
  InstallTables();
  const std::string good = std::string(kParty) +
      "# The reeve, and the blade she keeps\n"
      "creature 4\n name \"Hadda\"\n text \"The reeve.\"\n kind HUMAN\n class Noble\n levels 1\n boost\n"
      " metamagic 1\n casting pure\n defensive\n weapons \"Longsword\" - -\n race Mul\n gender female\n colour 2\n"
      " abilities 10 10 10 10 10 10\n hp 12\n alignment \"Lawful Good\"\n figure 199\n sight 15\n rating 2\n"
      " experience 300\n side talker\n absent\n death 3\n group 4\n leader 4\n feat \"CLEAVE\"\n tag \"Reeve\"\n"
      " wear RightHand \"Reeve Blade\"\n ammunition \"Arrows\" 20\n carry \"Scroll of Bless\" 2\n place 21 15 10 5\n"
      "item 130\n copy \"Longsword\" +1\n name \"Reeve Blade\"\n text \"Her own.\"\n";
  ASSERT_TRUE(ReadFaults(good).empty());
  const std::vector<DamagedLine> damaged = DamagedBytes(good);
  for (const DamagedLine& d : damaged) {
    const std::vector<std::string> faults = ReadFaults(d.text);
    std::string all;
    for (const std::string& f : faults) all += f + "\n";
    ASSERT_EQ(faults.size(), 1u) << d.what << "\n" << all;
    EXPECT_EQ(faults[0].rfind("People.txt:" + std::to_string(d.line) + ": ", 0), 0u) << d.what << "\n" << all;
    EXPECT_EQ(faults[0].find_first_of("\r\n"), std::string::npos) << d.what;  // one printable line
  }
  // As the tool runs: one message line and the summary, also for a damaged
  // block heading (the fields of its block are passed over).
  const std::pair<std::string, std::string> headings[] = {{"\ncreature 4\n", std::string("\ncreature\0" "4\n", 12)},
                                                          {"\nitem 130\n", "\nitem\xe9" "130\n"}};
  for (const auto& [written, damagedHeading] : headings) {
    std::string text = good;
    const size_t at = text.find(written);
    text.replace(at, written.size(), damagedHeading);
    const ToolRun run = Build({{"People.txt", text}});
    const std::string line = std::to_string(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n') + 2);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 2) << run.errors;
    EXPECT_NE(run.errors.find("People.txt:" + line + ": "), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("\nmakestart: 1 fault, nothing written\n"), std::string::npos) << run.errors;
  }
  EXPECT_GT(damaged.size(), 1000u);
}

}  // namespace
