// The interpreter's control flow: flat and nested blocks, jumps, the ends of
// a run, and the guards that keep a script from running away with the game.
#include <gtest/gtest.h>

#include <vector>

#include "adventure/dialogue.h"
#include "adventure/script_commands.h"
#include "adventure/script_fixture.h"
#include "adventure/scripts.h"
#include "state/game_flags.h"

namespace {

using namespace scriptfixture;

class ControlFlow : public ScriptTest {};

TEST_F(ControlFlow, FlatBlocksSwitchAndEndWhereverTheyStand) {
  // IF false, a command, flat ELSE, a command, flat ENDIF, a command.
  RunSource("if_flag 1 5\n set_flag 2 1\nelse_flat\n set_flag 3 1\nendif_flat\nset_flag 4 1\n");
  EXPECT_EQ(GameFlags[2], 0u);
  EXPECT_EQ(GameFlags[3], 1u);
  EXPECT_EQ(GameFlags[4], 1u);
  // A flat ENDIF inside a skipped nested IF ends the skipping at once.
  RunSource("if_flag 1 5\n if_flag 1 0\n  set_flag 5 1\n endif_flat\n set_flag 6 1\nendif\nset_flag 7 1\n");
  EXPECT_EQ(GameFlags[5], 0u);
  EXPECT_EQ(GameFlags[6], 1u);
  EXPECT_EQ(GameFlags[7], 1u);
}

TEST_F(ControlFlow, NestedBlocksAreMatchedByCounting) {
  // A skipped block holding a nested IF ... ENDIF: the inner ENDIF does not
  // end the outer skip, the outer one does; its ELSE runs.
  RunSource("if_flag 1 5\n"
      " if_flag 1 0\n  set_flag 2 1\n else\n  set_flag 3 1\n endif\n"
      " set_flag 4 1\n"
      "else\n set_flag 5 1\nendif\n"
      "set_flag 6 1\n");
  EXPECT_EQ(GameFlags[2] + GameFlags[3] + GameFlags[4], 0u);
  EXPECT_EQ(GameFlags[5], 1u);
  EXPECT_EQ(GameFlags[6], 1u);
  // Three levels, each test holding, each ELSE skipped.
  RunSource("if_flag 9 0\n if_flag 9 0\n  if_flag 9 0\n   set_flag 10 1\n  else\n   set_flag 11 1\n  endif\n"
      " else\n  set_flag 12 1\n endif\n set_flag 13 1\nelse\n set_flag 14 1\nendif\n");
  EXPECT_EQ(GameFlags[10], 1u);
  EXPECT_EQ(GameFlags[13], 1u);
  EXPECT_EQ(GameFlags[11] + GameFlags[12] + GameFlags[14], 0u);
}

TEST_F(ControlFlow, JumpsGoToTheFirstLabelAndAMissingOneEndsTheRun) {
  RunSource("goto 3\nset_flag 1 1\nlabel 3\nset_flag 2 1\nop 7 3\nset_flag 3 1\n");
  EXPECT_EQ(GameFlags[1], 0u);
  EXPECT_EQ(GameFlags[2], 1u);
  EXPECT_EQ(GameFlags[3], 1u);
  // A jump inside a running block leaves it; a loop counts a flag up.
  RunSource("label Again\nif_flag 8 3\n goto Done\nendif\nadd_to_flag 8 1\ngoto Again\nlabel Done\nset_flag 4 1\n");
  EXPECT_EQ(GameFlags[8], 3u);
  EXPECT_EQ(GameFlags[4], 1u);
  // Named labels never take a number written as a label, before or after them.
  RunSource("goto Start\nset_flag 20 1\nlabel Start\nset_flag 21 1\ngoto 100000\nset_flag 22 1\n"
      "label 100000\nset_flag 23 1\n");
  EXPECT_EQ(GameFlags[20] + GameFlags[22], 0u);
  EXPECT_EQ(GameFlags[21] + GameFlags[23], 2u);
  // A label that is not there (written as the raw jump) ends the run.
  RunSource("op 8 77\nset_flag 5 1\n");
  EXPECT_EQ(GameFlags[5], 0u);
}

TEST_F(ControlFlow, FlagArithmeticAndTheEndsOfARun) {
  GameFlags[20] = 10;
  RunSource("add_to_flag 20 5\nsubtract_from_flag 20 2\nop 109 2 20 100\n");
  EXPECT_EQ(GameFlags[20], 13u) << "mode 2 changes nothing";
  // A code above 109 and command 0 end the run.
  Load("set_flag 21 1\nend\nset_flag 22 1\n");
  GameScript.head->next->op = 200;
  RunScriptFile(nullptr);
  EXPECT_EQ(GameFlags[21], 1u);
  EXPECT_EQ(GameFlags[22], 0u);
  // 53 declines the event for a member who is not the current character.
  EventMember = 2;
  RunSource("only_event_member\nset_flag 23 1\n");
  EXPECT_EQ(EventConsumed, 0);
  EXPECT_EQ(GameFlags[23], 0u);
}

TEST_F(ControlFlow, AnswersBranchAndTheBoxTextsAreBounded) {
  Answer({2, 1});
  RunSource("ask \"~, and ~ again.\" \"One\" \"Two\"\n"
      "if_answer 2\n set_flag 1 1\nendif\n"
      "ask_with_music 3 \"Well?\" 0 \"Yes\"\n"
      "if_answer 1\n set_flag 2 1\nendif\n");
  EXPECT_EQ(GameFlags[1], 1u);
  EXPECT_EQ(GameFlags[2], 1u);
  EXPECT_EQ(DialogueMusic, kDialogueMusicTrack) << "music 0 plays track 10";
  EXPECT_EQ(DialoguePortrait, 3);
  // The name shows for each '~'.
  std::snprintf(DialogueText, sizeof DialogueText, "~ and ~.");
  ExpandSpeakerName();
  EXPECT_STREQ(DialogueText, "Member0 and Member0.");
  // A text longer than its buffer (written raw, past the compiler's check) is cut.
  Load("ask \"Q\" \"A\"\n");
  ScriptArgument& answer = GameScript.head->arguments[1];
  delete[] answer.text;
  answer.value = 101;
  answer.text = new char[102];
  std::memset(answer.text, 'x', 101);
  answer.text[101] = '\0';
  RunScriptFile(nullptr);
  EXPECT_EQ(std::strlen(AnswerTexts[0]), static_cast<size_t>(kAnswerTextSize - 1));
}

TEST_F(ControlFlow, DeepNestingAndEndlessLoopsCannotTakeTheGameDown) {
  // 300,000 open conditionals nest without using the stack for each.
  const int depth = 300000;
  FreeScript();
  std::vector<ScriptCommand*> nodes;
  for (int i = 0; i < depth + 1; ++i) {
    ScriptCommand* n = new ScriptCommand{};
    n->op = i < depth ? 51 : 6;  // if_not_in_combat ..., then set_flag 30 1
    if (i == depth) {
      n->argumentCount = 2;
      n->arguments = new ScriptArgument[2]{{0, 30, nullptr}, {0, 1, nullptr}};
    }
    if (!nodes.empty()) nodes.back()->next = n;
    nodes.push_back(n);
  }
  GameScript.head = nodes.front();
  GameScript.commandCount = static_cast<uint32_t>(nodes.size());
  EXPECT_EQ(RunScriptFile(nullptr), 1);
  EXPECT_EQ(GameFlags[30], 1u);
  // Loops that would end by themselves only long after their bounds stop at
  // them, at the same command every time: 1,000 commands without a box (the
  // loop is three commands a turn), then 20 boxes answered at once.
  ScriptCommandLimit = 1000;
  RunSource("label 1\nadd_to_flag 31 1\nif_flag 31 5000\n end\nendif\ngoto 1\n");
  ScriptCommandLimit = kScriptCommandLimit;
  EXPECT_EQ(GameFlags[31], 333u);
  ScriptBoxLimit = 20;
  RunSource("label 1\nadd_to_flag 32 1\nask \"Again?\" \"Yes\"\nif_flag 32 5000\n end\nendif\ngoto 1\n");
  ScriptBoxLimit = kScriptBoxLimit;
  EXPECT_EQ(GameFlags[32], 20u);
}

}  // namespace
