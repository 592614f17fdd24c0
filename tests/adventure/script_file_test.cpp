// Compiled script files: a sound file is read whole and runs, anything
// damaged is refused whole and runs nothing, missing arguments read as 0 or
// "", and the runner's own rules (a null path, an empty list, the locals kept
// from run to run, the clean-up after a run).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "adventure/script_fixture.h"
#include "adventure/world_commands.h"
#include "engine/input.h"
#include "state/game_flags.h"
#include "state/inventory_state.h"

namespace {

using namespace scriptfixture;

std::vector<uint8_t> Words(std::initializer_list<uint32_t> words) {
  std::vector<uint8_t> bytes;
  for (uint32_t w : words)
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(w >> (8 * i)));
  return bytes;
}

class ScriptFile : public ScriptTest {};

TEST_F(ScriptFile, ACompiledScriptRunsFromItsSquareFile) {
  // The chest of the test scripts: gold, arrows and a journal entry once; on
  // the second visit it declines the event.
  MakeBaseItem(1, 1, "Arrows");
  EXPECT_EQ(RunScriptFile("Scripts\\Tests\\Map5_1.mls"), 1);
  EXPECT_EQ(GameFlags[10], 1u);
  EXPECT_EQ(PartyGold, 100u);
  EXPECT_EQ(Creatures[0].carried[0].code, 5001u);
  EXPECT_EQ(Creatures[0].carried[0].count, 20);
  EXPECT_EQ(EventConsumed, 1);
  EXPECT_EQ(GameScript.head, nullptr) << "a run from a file frees its list";
  EXPECT_EQ(RunScriptFile("Scripts\\Tests\\Map5_1.mls"), 1);
  EXPECT_EQ(PartyGold, 100u);
  EXPECT_EQ(EventConsumed, 0) << "the opened chest declines the event";
}

TEST_F(ScriptFile, AMissingOrEmptyScriptRunsNothing) {
  EXPECT_EQ(RunScriptFile("Scripts\\Tests\\NoSuchScript.mls"), 0);
  EXPECT_EQ(EventConsumed, 1);
  const std::vector<uint8_t> empty = Words({0});
  ASSERT_EQ(ParseScriptBytes(empty.data(), empty.size(), &GameScript.head, &GameScript.commandCount),
            kScriptLoaded);
  EXPECT_EQ(GameScript.head, nullptr);
  EXPECT_EQ(RunScriptFile(nullptr), 0);
}

TEST_F(ScriptFile, DamagedFilesAreRefusedWholeAndRunNothing) {
  // set_flag 3 7, then one damage each: the flag must stay 0.
  const std::vector<uint8_t> sound = Words({1, 6, 2, 0, 3, 0, 7});
  std::vector<std::vector<uint8_t>> damaged = {
      Words({}),                                  // no count at all
      Words({2, 6, 2, 0, 3, 0, 7}),               // a second command promised
      Words({1, 6, 3, 0, 3, 0, 7}),               // a third argument promised
      Words({1, 6, 2, 0, 3, 1, 40}),              // a text longer than the file
      Words({0xFFFFFFFF, 6, 2, 0, 3, 0, 7}),      // a count of four billion
      Words({1, 6, 0x7FFFFFFF, 0, 3, 0, 7}),      // an argument count past the end
  };
  damaged.push_back(sound);
  damaged.back().pop_back();                      // cut inside the last word
  for (size_t i = 0; i < damaged.size(); ++i) {
    ScriptCommand* head = nullptr;
    uint32_t count = 99;
    const int faults = ScriptDebugLineCount;
    EXPECT_EQ(ParseScriptBytes(damaged[i].data(), damaged[i].size(), &head, &count), kScriptDamaged) << i;
    EXPECT_EQ(head, nullptr) << i;
    EXPECT_EQ(count, 0u) << i;
    EXPECT_GT(ScriptDebugLineCount, faults) << i;
  }
  // Bytes after the last command are not read: the command runs.
  std::vector<uint8_t> longer = sound;
  longer.insert(longer.end(), {1, 2, 3, 4, 5});
  ASSERT_EQ(ParseScriptBytes(longer.data(), longer.size(), &GameScript.head, &GameScript.commandCount), kScriptLoaded);
  EXPECT_EQ(RunScriptFile(nullptr), 1);
  EXPECT_EQ(GameFlags[3], 7u);
}

TEST_F(ScriptFile, TextsAlwaysEndAndMissingArgumentsReadAsNothing) {
  // A journal text written without its zero byte, and a command with fewer
  // arguments than it reads.
  std::vector<uint8_t> bytes = Words({2, 95, 4, 0, 1, 1, 5});
  for (char c : std::string("Quest")) bytes.push_back(static_cast<uint8_t>(c));
  const std::vector<uint8_t> rest = Words({0, 0, 0, 9, 6, 1, 0, 12});
  bytes.insert(bytes.end(), rest.begin(), rest.end());
  ASSERT_EQ(ParseScriptBytes(bytes.data(), bytes.size(), &GameScript.head, &GameScript.commandCount), kScriptLoaded);
  const ScriptCommand* journal = GameScript.head;
  EXPECT_STREQ(ArgumentText(journal, 1), "Quest");
  EXPECT_STREQ(ArgumentText(journal, 0), "") << "an integer has no text";
  EXPECT_STREQ(ArgumentText(journal, 7), "");
  EXPECT_EQ(ArgumentValue(journal->next, 1), 0) << "set_flag 12 has no value: 0";
  GameFlags[12] = 5;
  EXPECT_EQ(RunScriptFile(nullptr), 1);
  EXPECT_EQ(GameFlags[12], 0u);
}

TEST_F(ScriptFile, LocalsOutliveRunsAndANullPathRunsTheLoadedListAgain) {
  Load("if_local 4 0\n  set_local 4 1\n  gold 10\nelse\n  set_local 4 2\nendif\n");
  EXPECT_EQ(RunScriptFile(nullptr), 1);
  ASSERT_NE(GameScript.head, nullptr) << "a null path neither reloads nor frees";
  EXPECT_EQ(RunScriptFile(nullptr), 1);
  EXPECT_EQ(ScriptLocals[4], 2u);
  EXPECT_EQ(PartyGold, 10u);
  ResetGameState();  // a new game, or a game loaded, keeps the locals
  EXPECT_EQ(ScriptLocals[4], 2u);
}

TEST_F(ScriptFile, ARunCleansUpAfterItself) {
  PointerDevice.x = 0;
  PointerDevice.y = 229;
  RunSource("highlight 2 7\n");
  EXPECT_EQ(CreatureHighlight[7], 0) << "the highlights end with the run";
  EXPECT_EQ(PointerDevice.x, 1);
  EXPECT_EQ(PointerDevice.y, 228);
  PointerDevice.x = 309;
  RunSource("decline\n");
  EXPECT_EQ(PointerDevice.x, 309) << "a declined event leaves the cursor and the walk alone";
}

}  // namespace
