// A least version of the modal loop of dialogue boxes, standing until the
// boxes are drawn and answered on the game screen: the box is answered at
// once, with the answer a test put in line, else the first.
#include "adventure/dialogue.h"
#include "adventure/dialogue_least.h"

int32_t QueuedDialogueAnswers[kQueuedDialogueAnswers] = {};
int QueuedDialogueAnswerCount = 0;

ScriptCommand* RunDialogueLoop(ScriptCommand* next) {
  ExpandSpeakerName();
  if (QueuedDialogueAnswerCount > 0) {
    ChosenAnswer = QueuedDialogueAnswers[0];
    for (int i = 1; i < QueuedDialogueAnswerCount; ++i) QueuedDialogueAnswers[i - 1] = QueuedDialogueAnswers[i];
    --QueuedDialogueAnswerCount;
  } else {
    ChosenAnswer = 1;
  }
  ScriptPictureShown = 0;
  return next;
}
