// Dialogue boxes: a script's question with one to five answers, optionally
// with a portrait and a music track, the encounter choice and the
// full-screen picture. A box command fills the state below and runs the
// modal loop until the player has chosen; the script then goes on.
#pragma once
#include <cstdint>

#include "adventure/script_file.h"
#include "state/script_state.h"  // ChosenAnswer and the picture flag ScriptPictureShown

constexpr int kDialogueTextSize = 1000;
constexpr int kAnswerCount = 5;
constexpr int kAnswerTextSize = 40;
constexpr int32_t kDialogueMusicTrack = 10;
constexpr int32_t kEncounterMusicTrack = 4;

extern char DialogueText[kDialogueTextSize];
extern char AnswerTexts[kAnswerCount][kAnswerTextSize];
extern int32_t DialoguePortrait;  // -1 none
extern int32_t DialogueMusic;

// The box commands: 11 to 15, 90 and 100 (a question), 59 (the encounter
// choice), 98 (the full-screen picture). Each returns the node the script
// goes on with, or null when the program is closing.
ScriptCommand* DialogueCommand(ScriptCommand* node);

// Puts the current character's name in place of every '~' of DialogueText.
void ExpandSpeakerName();
// The modal loop of a box (implemented by the game shell, whose frame steps
// it runs): the speaker's name put in, then window messages, input, the map's
// mouse and keys, and the game screen with the box (or the full-screen
// picture) a frame at a time until ChosenAnswer is set. Returns next, or null
// when the program is closing: the window's close request (the loop then
// leaves the quit message for the main loop, which ends the program), the
// keys asking to quit, or a failing game screen.
ScriptCommand* RunDialogueLoop(ScriptCommand* next);

// Answers put in line for the next boxes, in order: a box takes the first at
// once, without its loop (script tests run boxes without a window).
constexpr int kQueuedDialogueAnswers = 8;
extern int32_t QueuedDialogueAnswers[kQueuedDialogueAnswers];
extern int QueuedDialogueAnswerCount;
// Takes the first queued answer into ChosenAnswer (the picture flag cleared);
// false when none is queued.
bool TakeQueuedDialogueAnswer();
// Called at the start of every pass of the loop when set: the headless
// harness plays the input a test queued for the box through it.
extern void (*DialoguePassHook)();
// Called when a question or the encounter choice has its answer
// (ChosenAnswer), its texts still in place, when set: a watcher of which
// answers are chosen.
extern void (*DialogueAnsweredObserver)();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetDialogueState();
