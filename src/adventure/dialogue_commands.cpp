#include <cstdio>
#include <cstring>

#include "adventure/dialogue.h"
#include "adventure/item_commands.h"
#include "adventure/script_faults.h"
#include "adventure/world_commands.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/reset_words.h"
#include "rules/creature_record.h"
#include "state/encounters.h"

char DialogueText[kDialogueTextSize] = {};
char AnswerTexts[kAnswerCount][kAnswerTextSize] = {};
int32_t DialoguePortrait = -1;
int32_t DialogueMusic = kDialogueMusicTrack;
int32_t QueuedDialogueAnswers[kQueuedDialogueAnswers] = {};
int QueuedDialogueAnswerCount = 0;
void (*DialoguePassHook)() = nullptr;
void (*DialogueAnsweredObserver)() = nullptr;

namespace {

// Copies a text into a buffer, cut to it (with its zero byte).
void CopyCut(char* out, size_t size, const char* text) {
  std::memset(out, 0, size);
  const size_t length = strnlen(text, size);
  if (length >= size) ScriptDebugLine("dialogue: a text is cut to %zu bytes", size - 1);
  std::memcpy(out, text, length < size ? length : size - 1);
}

void ClearBox() {
  std::memset(DialogueText, 0, sizeof DialogueText);
  std::memset(AnswerTexts, 0, sizeof AnswerTexts);
}

// The question at text position `text` and the answers from `firstAnswer`.
void FillBox(const ScriptCommand* node, int text, int firstAnswer, int answers) {
  ClearBox();
  CopyCut(DialogueText, sizeof DialogueText, ArgumentText(node, text));
  for (int a = 0; a < answers; ++a) CopyCut(AnswerTexts[a], kAnswerTextSize, ArgumentText(node, firstAnswer + a));
}

void EncounterChoice() {
  ClearBox();
  DialoguePortrait = -1;
  DialogueMusic = kEncounterMusicTrack;
  for (int i = 0; i < EncounterCounter && kFirstEncounterCreature + i < kCreatureCount; ++i)
    CreatureHighlight[kFirstEncounterCreature + i] = 1;
  HighlightFade = kHighlightFrames;
  if (DebugMode == 1) LogMessage("(Cycle 4).\r");
  CopyCut(DialogueText, sizeof DialogueText, EncounterText);
  CopyCut(AnswerTexts[0], kAnswerTextSize, "Start combat.");
  CopyCut(AnswerTexts[1], kAnswerTextSize, "Run away.");
}

}  // namespace

ScriptCommand* DialogueCommand(ScriptCommand* node) {
  const uint32_t op = node->op;
  ChosenAnswer = -1;
  ScreenMode = kModeResting;
  switch (op) {
    case 11: case 12: case 13: case 14: case 15:
      FillBox(node, 0, 1, static_cast<int>(op) - 10);
      DialoguePortrait = -1;
      DialogueMusic = kDialogueMusicTrack;
      break;
    case 90:
      FillBox(node, 1, 2, kAnswerCount);
      DialoguePortrait = ArgumentValue(node, 0);
      DialogueMusic = kDialogueMusicTrack;
      break;
    case 100:
      FillBox(node, 1, 3, kAnswerCount);
      DialoguePortrait = ArgumentValue(node, 0);
      DialogueMusic = ArgumentValue(node, 2) == 0 ? kDialogueMusicTrack : ArgumentValue(node, 2);
      break;
    case 59:
      EncounterChoice();
      break;
    case 98:
      ScriptPictureShown = 1;
      break;
    default:
      return node->next;
  }
  PauseScriptBudget();
  ScriptCommand* next = RunDialogueLoop(node->next);
  ResumeScriptBudget();
  if (op != 98 && ChosenAnswer > 0 && DialogueAnsweredObserver != nullptr) DialogueAnsweredObserver();
  return next;
}

void ExpandSpeakerName() {
  const CreatureRecord& speaker = Creatures[CurrentCharacter()];
  const size_t nameLength = strnlen(speaker.name, sizeof speaker.name);
  char result[kDialogueTextSize] = {};
  size_t used = 0;
  auto append = [&](const char* text, size_t length) {
    const size_t room = sizeof result - 1 - used;
    if (length > room) length = room;
    std::memcpy(result + used, text, length);
    used += length;
  };
  const size_t textLength = strnlen(DialogueText, sizeof DialogueText);
  size_t from = 0;
  for (size_t i = 0; i < textLength; ++i) {
    if (DialogueText[i] != '~') continue;
    append(DialogueText + from, i - from);
    append(speaker.name, nameLength);
    from = i + 1;
  }
  append(DialogueText + from, textLength - from);
  std::memset(DialogueText, 0, sizeof DialogueText);
  std::memcpy(DialogueText, result, used);
}

bool TakeQueuedDialogueAnswer() {
  if (QueuedDialogueAnswerCount <= 0) return false;
  ChosenAnswer = QueuedDialogueAnswers[0];
  for (int i = 1; i < QueuedDialogueAnswerCount; ++i) QueuedDialogueAnswers[i - 1] = QueuedDialogueAnswers[i];
  --QueuedDialogueAnswerCount;
  ScriptPictureShown = 0;
  return true;
}

void ResetDialogueState() {
  ResetWords(DialogueText);
  ResetWords(AnswerTexts);
  DialoguePortrait = -1;
  DialogueMusic = kDialogueMusicTrack;
}
