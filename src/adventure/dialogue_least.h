// The answers the least dialogue loop gives the next boxes, in order (for
// tests, until the boxes are answered on the game screen).
#pragma once
#include <cstdint>

constexpr int kQueuedDialogueAnswers = 8;
extern int32_t QueuedDialogueAnswers[kQueuedDialogueAnswers];
extern int QueuedDialogueAnswerCount;
