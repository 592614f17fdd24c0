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
// The modal loop of a box: runs until ChosenAnswer is set; returns next, or
// null when the program is closing.
ScriptCommand* RunDialogueLoop(ScriptCommand* next);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetDialogueState();
