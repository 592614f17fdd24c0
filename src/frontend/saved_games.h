// Saved games: numbered folders "SaveGame\<adventure>\<slot>" that hold the
// whole state of an adventure in progress. Slot 0 of each adventure holds its
// prepared start and is only read; the player's games use slots 1, 2, 3, ...
// with no gaps.
//
// A save is written into a new folder beside the slot and only then put in
// the slot's place, so a save that fails leaves the slot's previous game as it
// was. A load reads and checks every file of the slot before it changes
// anything, so a missing or damaged file leaves the running game as it was.
#pragma once
#include <cstddef>
#include <cstdint>

#include "frontend/saved_game_files.h"

// Result codes of the three operations; 0 is success.
enum SavedGameResult : int {
  kSaveOk = 0,
  kLoadCharactersFailed = 20,
  kLoadWeaponsFailed = 21,
  kLoadMapsFailed = 22,
  kLoadWorldMapFailed = 23,
  kLoadMapMemoryFailed = 24,
  kLoadGameFlagsFailed = 25,
  kLoadDetailsFailed = 26,
  kSaveCharactersFailed = 30,
  kSaveWeaponsFailed = 31,
  kSaveMapsFailed = 32,
  kSaveWorldMapFailed = 33,
  kSaveMapMemoryFailed = 34,
  kSaveGameFlagsFailed = 35,
  kSaveDetailsFailed = 36,
  kSavePlaceFailed = 37,
  kSaveJournalFailed = 38,
  kSaveAchievementsFailed = 39,
  kDeleteCharactersFailed = 40,
  kDeleteWeaponsFailed = 41,
  kDeleteMapsFailed = 42,
  kDeleteWorldMapFailed = 43,
  kDeleteMapMemoryFailed = 44,
  kDeleteGameFlagsFailed = 45,
  kDeleteDetailsFailed = 46,
  kDeleteJournalFailed = 47,
  kDeleteNoGame = 48,
};
// The message the save and load screen shows for a result code; nullptr for
// 0 and for codes that are not results.
const char* SavedGameMessage(int code);

// The first slot from 1 upward whose "Details.dat" cannot be opened; with
// dense slots the number of saved games + 1.
int FindFreeSaveSlot();
// After slot d of c saved games was deleted: the slots above d move down by
// one, and the save list's highest scroll offset drops by one. True.
bool CloseSaveSlotGap(int deleted, int count);

// Writes the running game into the slot (1 and up): 0, or 30 to 39; on a
// failure the slot keeps the game it held. A game the load would refuse is
// checked as the load checks it before anything is written, and refused with
// the code of the first file the load would refuse (the crafted items before
// the characters, as the load reads them).
int WriteSavedGame(int slot);
// Replaces the running game by the slot's: 0, or 20 to 26; on a failure the
// running game is unchanged. The journal and the achievements never refuse a
// slot.
int LoadSavedGame(int slot);
// Reads and checks every file of the slot as a load does, without changing
// the running game: 0, or the code the load would fail with.
int CheckSavedGame(int slot);
// Removes the slot's files and folder: 0, or 40 to 47; 48 (and nothing
// removed) when the slot holds no game, neither characters nor details.
int DeleteSavedGame(int slot);

// No combat, pending action, cast, drag or queued event is left: the combat
// cycle, the sequencer and the item screens back to idle, the magic areas
// cleared, nothing kept for a turn (ForgetWordsOfTurns). True.
bool ResetTransientState();
// The action executor's per-fighter table, the area preview, the combat
// events and their queue cleared; every area target free. True.
bool ClearGameStateArrays();

// The play-time clock: the play time at the last load or new game and the
// moment of it (local time, in 100-nanosecond units).
struct PlayTimeClock {
  int32_t baseHours = 0;
  int32_t baseMinutes = 0;
  int64_t since = 0;
};
extern PlayTimeClock PlayTime;
// A new game: play time 0 from now.
void StartPlayTimeClock();
// The details of the save being written (and of the last one written).
extern SavedGameDetails SaveDetails;
// Fills the save date and the play time of SaveDetails. True.
bool UpdatePlayTime();
