#include "adventure/script_commands.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "adventure/dialogue.h"
#include "adventure/item_commands.h"
#include "adventure/quest_journal.h"
#include "adventure/script_achievements.h"
#include "adventure/script_faults.h"
#include "adventure/scripts.h"
#include "adventure/world_commands.h"
#include "combat/actions/start_of_combat.h"
#include "engine/frame.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "map/creature_paths.h"
#include "map/party_vision.h"
#include "rules/formation.h"
#include "state/casting_services.h"
#include "state/game_flags.h"
#include "state/game_screen_words.h"
#include "state/script_state.h"
#include "state/turn_order.h"

int32_t& ScriptTalker = ScriptSpeaker;

namespace {

constexpr uint32_t kConditionalOps[] = {3,  4,  16, 17, 18, 19, 20, 33, 38, 42, 51, 58, 62,
                                        74, 75, 76, 78, 79, 80, 81, 83, 84, 89, 97, 99, 105};

int32_t A(const ScriptCommand* node, int i) { return ArgumentValue(node, i); }

bool CheckLocal(int32_t index, const char* what) { return ScriptIndexFits(index, kScriptLocalCount, what, "local"); }
bool CheckFlag(int32_t index, const char* what) { return ScriptIndexFits(index, kGameFlagCount, what, "flag"); }

int RollTwoDice() { return static_cast<int>(RandomUpTo(5) + RandomUpTo(5)) + 2; }

// The first two-dice roll beats the second; ties are rolled again.
bool FirstRollBeatsSecond() {
  for (;;) {
    const int first = RollTwoDice();
    const int second = RollTwoDice();
    if (first != second) return first > second;
  }
}

// The test of a conditional command.
bool TestHolds(const ScriptCommand* node) {
  switch (node->op) {
    case 3: return CheckLocal(A(node, 0), "local test") && ScriptLocals[A(node, 0)] == static_cast<uint32_t>(A(node, 1));
    case 4: return CheckFlag(A(node, 0), "flag test") && GameFlags[A(node, 0)] == static_cast<uint32_t>(A(node, 1));
    case 16: case 17: case 18: case 19: case 20: return ChosenAnswer == static_cast<int32_t>(node->op) - 15;
    case 33: return PartyLevelOrGoldTest(A(node, 0), A(node, 1), A(node, 2));
    case 38: return CountPartyItems(A(node, 1), A(node, 2)) >= A(node, 0);
    case 42: return CreatureIsAlarmed(A(node, 0));
    case 51: return InCombat == 0;
    case 58: return FirstRollBeatsSecond();
    case 62: return CreaturePresenceTest(A(node, 0), A(node, 1));
    case 74: return GroupSeesParty(A(node, 0));
    case 75: return MapAlarmIsSet(A(node, 0));
    case 76: return ScriptValueAtLeast(A(node, 0), A(node, 1));
    case 78: return ScriptTalker != -1 && ScriptValueAtLeast(ScriptTalker, A(node, 0));
    case 79: return CountCarriedItems(A(node, 0), A(node, 2), A(node, 3)) >= A(node, 1);
    case 80:
      // Nobody talks: nothing is carried.
      return ScriptTalker != -1 && CountCarriedItems(ScriptTalker, A(node, 1), A(node, 2)) >= A(node, 0);
    case 81: return CreatureRangePresent(A(node, 0), A(node, 1), A(node, 2));
    case 83: return CreatureStandsOn(A(node, 0), A(node, 1), A(node, 2), A(node, 3));
    case 84: return static_cast<int32_t>(RandomUpTo(99)) + 1 > A(node, 0);
    case 89: return MainHandIsCraftedWeapon();
    case 97: return JournalEntryHasState(A(node, 0), static_cast<uint32_t>(A(node, 1)));
    case 99: return CreatureSeesParty(A(node, 0));
    case 105: return OptionWords[kOptionRunningAwayCanFail] == 1;
    default: return false;
  }
}

// The labels of the loaded list by number, each with the node after it, the
// first of a number from the head first: made once per list, so that a jump
// costs the same wherever its label stands.
struct LabelIndex {
  const ScriptCommand* head = nullptr;
  uint32_t listsFreed = 0;
  std::vector<std::pair<int32_t, ScriptCommand*>> after;
};

const LabelIndex& LabelsOfLoadedList() {
  static LabelIndex index;
  if (index.head == GameScript.head && index.listsFreed == GameScript.listsFreed) return index;
  index.head = GameScript.head;
  index.listsFreed = GameScript.listsFreed;
  index.after.clear();
  for (ScriptCommand* n = GameScript.head; n; n = n->next)
    if (n->op == kOpLabel) index.after.emplace_back(A(n, 0), n->next);
  std::stable_sort(index.after.begin(), index.after.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return index;
}

// The node after the first label of the number, from the head; null when there is none.
ScriptCommand* JumpTo(int32_t label) {
  const auto& labels = LabelsOfLoadedList().after;
  const auto found = std::lower_bound(labels.begin(), labels.end(), label,
                                      [](const auto& entry, int32_t wanted) { return entry.first < wanted; });
  if (found != labels.end() && found->first == label) return found->second;
  ScriptDebugLine("goto: label %i is not in the script", label);
  return nullptr;
}

// Every command but the conditionals and GOTO.
ScriptCommand* RunCommand(ScriptCommand* node) {
  ScriptCommand* next = node->next;
  const int32_t a0 = A(node, 0), a1 = A(node, 1), a2 = A(node, 2), a3 = A(node, 3), a4 = A(node, 4);
  switch (node->op) {
    case 0:
      ClearCreatureHighlights();
      return nullptr;
    case 1: case 2: case 7: case 34: case 35: case 70: case 71: return next;
    case 5:
      if (CheckLocal(a0, "set local")) ScriptLocals[a0] = static_cast<uint32_t>(a1);
      return next;
    case 6:
      if (CheckFlag(a0, "set flag")) GameFlags[a0] = static_cast<uint32_t>(a1);
      return next;
    case 9: GiveItemToCharacter(a1, a2, static_cast<uint32_t>(a0)); return next;
    case 10: GiveItemToParty(static_cast<uint32_t>(a0), a1); return next;
    case 11: case 12: case 13: case 14: case 15: case 59: case 90: case 98: case 100: return DialogueCommand(node);
    case 21: PlayScriptSound(a0); return next;
    case 22: SetAllegiance(a0, a0, a1); return next;
    case 23: SetPresence(a0, a1); return next;
    case 24: ExploringScriptFlag = 1; return next;
    case 25: AllEnemiesAlert = 1; return next;
    case 26: PartySurprisedFlag = 1; return next;
    case 27: MakeDistracted(a0); return next;
    case 28: WakeAndAlarm(a0); return next;
    case 29: AlarmAllEnemies(); return next;
    case 30: ClearMapSquare(a0, a1, a2); return next;
    case 31: RemoveEventNumber(a0, a1); return next;
    case 32: GiveExperienceOrGold(a0, a1); return next;
    case 36: ScriptScrollTo(a0); return next;
    case 37: HighlightCreature(a1, a0, "(Cycle 3)."); return next;
    case 39: TakePartyItems(a0, a1, a2); return next;
    case 40: SetCreatureTagNumber(a0, a1); return next;
    case 41: TakeCreatureItems(a0, static_cast<uint32_t>(a1), a2); return next;
    case 43: SetEventNumber(a0, a1, a2, a3); return next;
    case 44: MarkMapKnown(a0, a1, a2, a3, a4, true); return next;
    case 45: SetFormation(a0, a1, a2, a3, a4); return next;
    case 46: SetDeathScript(a0, a1); return next;
    case 47: SendCreatureWalking(a0, a1, a2); return next;
    case 48: SetMovementWord(a0, a1); return next;
    case 49: SetTacticWord(a0, a1); return next;
    case 50: SetSquareCode(a0, a1, a2, a3, a4); return next;
    case 52: EndOfIntroPending = 1; return next;
    case 53:
      if (EventMember == -1 || EventMember == CurrentCharacter()) return next;
      EventConsumed = 0;
      return nullptr;
    case 54: OpenTrade(a0); return nullptr;
    case 55: SetCreatureFacingTo(a0, a1); return next;
    case 56: PlaceCreature(a0, a1, a2, a3); return next;
    case 57: ForcedCombat = 1; return next;
    case 60: ScreenMode = kModeLocalMap; return nullptr;
    case 61: FaceEntryFacing(); return next;
    case 63: ChangeCondition(a0, a1, a2, a3, a4, A(node, 5)); return next;
    case 64: SetSightRange(a0, a1); return next;
    case 65: CentreViewOnCreature(a0); return next;
    case 66:
      if (a0 <= a1) SetAllegiance(a0, a1, a2);
      return next;
    case 67: SetMapHeaderFlag(a0, a1, a2); return next;
    case 68: {
      int32_t a[15];
      for (int i = 0; i < 15; ++i) a[i] = A(node, i);
      CreateScriptCreature(a);
      return next;
    }
    case 69: EventConsumed = 0; return nullptr;
    case 72: LowerPanelHidden = 1; return next;
    case 73:
      if (ScriptIndexFits(a0, kCreatureCount, "scroll", "creature")) StrictScrollTo(a0, -1, -1);
      return next;
    case 77: HighlightTalker(a0); return next;
    case 82: SetMapAlarm(a0, a1); return next;
    case 85: MarkMapKnown(a0, a1, a2, a3, a4, false); return next;
    case 86: RestoreAndRefill(a0); return next;
    case 87: EndTheGame(); return nullptr;
    case 88: ImproveMainHandWeapon(); return next;
    case 91: FinishPartyMoves(); return next;
    case 92:
      if (ScriptIndexFits(a0, kCreatureCount, "reset path", "creature")) ResetCreaturePath(a0);
      return next;
    case 93: SwitchScriptMusic(a0); return next;
    case 94: NoSurpriseFlag = 1; return next;
    case 95: WriteJournalText(a0, ArgumentText(node, 1), a2, static_cast<uint32_t>(a3)); return next;
    case 96: SetJournalState(a0, static_cast<uint32_t>(a1)); return next;
    case 101: ForgetMusicPosition(a0); return next;
    case 102: ChangePartyHitPoints(a0, a1); return next;
    case 103: SetGoalWords(a0, a1, a2, a3); return next;
    case 104: SetBehaviourWord(a0, a1, a2, a3); return next;
    case 106: SaveToNewSlot(); return next;
    case 107: SaveWithPartyAt(a0, a1, a2, a3); return next;
    case 108: UnlockAchievement(a0); return next;
    case 109:
      if (!CheckFlag(a1, "add to flag")) return next;
      if (a0 == 0) GameFlags[a1] += static_cast<uint32_t>(a2);
      else if (a0 == 1) GameFlags[a1] -= static_cast<uint32_t>(a2);
      return next;
    default:
      // Codes above 109 end the run.
      return nullptr;
  }
}

}  // namespace

bool IsConditionalOp(uint32_t op) {
  for (uint32_t c : kConditionalOps)
    if (c == op) return true;
  return false;
}

ScriptCommand* ExecuteCommand(ScriptCommand* node) {
  if (!node) return nullptr;
  if (!ScriptBudgetLeft()) return nullptr;
  if (node->op == kOpGoto) return JumpTo(A(node, 0));
  if (IsConditionalOp(node->op)) return SkipOrRunBlock(node->next, TestHolds(node) ? 0 : 1);
  return RunCommand(node);
}

// The conditionals met while running would each call this again for their
// own block; the calls are kept as a count of open blocks instead of being
// nested on the stack, so that no script runs the stack out. Every open block
// but the innermost is running, and a block that ends hands its caller the
// command to run next, so the count is all that the calls would keep.
ScriptCommand* SkipOrRunBlock(ScriptCommand* node, int skip) {
  uint64_t openBlocks = 1;
  bool skipping = skip != 0;
  ScriptCommand* result = nullptr;
  for (;;) {
    if (!node) return nullptr;
    uint32_t depth = BlockDepth;
    bool blockEnded = false;
    while (!blockEnded) {
      const uint32_t op = node->op;
      if (op == kOpElse) {
        depth = 0;
        BlockDepth = 0;
        skipping = !skipping;
      } else if (op == kOpEndIf) {
        BlockDepth = 0;
        result = node->next;
        blockEnded = true;
        break;
      }
      if (skipping) {
        if (IsConditionalOp(op)) BlockDepth = ++depth;
        if (op == kOpNestedEndIf) {
          if (depth == 0) {
            result = node->next;
            blockEnded = true;
            break;
          }
          BlockDepth = --depth;
        }
        if (op == kOpNestedElse && depth == 0) {
          result = node->next;
          blockEnded = true;
          break;
        }
        node = node->next;
        if (!node) return nullptr;
        continue;
      }
      // Running.
      if (op == kOpNestedElse) skipping = true;
      if (op == kOpGoto) {
        BlockDepth = 0;
        result = ExecuteCommand(node);
        blockEnded = true;
        break;
      }
      if (IsConditionalOp(op)) {
        // The conditional's own block opens inside this one.
        if (!ScriptBudgetLeft()) return nullptr;
        skipping = !TestHolds(node);
        ++openBlocks;
      } else {
        node = ExecuteCommand(node);
        if (!node) return nullptr;
        // A conditional's block reads the depth afresh at its start.
        depth = BlockDepth;
        continue;
      }
      node = node->next;
      if (!node) return nullptr;
      depth = BlockDepth;
    }
    // This block has ended: its caller runs on from the command it handed back.
    if (--openBlocks == 0) return result;
    node = result;
    skipping = false;
  }
}

ScriptCommand* cGameScript::Execute(ScriptCommand* node) { return ExecuteCommand(node); }
