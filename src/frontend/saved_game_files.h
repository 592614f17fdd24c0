// The files of a saved-game folder that the front end owns, as file images:
// building each from the running game and reading each back, checked against
// its size. The readers never touch the running game; they fill a record the
// caller puts in place once every file of the folder has been read.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "adventure/quest_journal.h"
#include "map/map_record.h"
#include "state/game_flags.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"

// "Details.dat": gold, hit-die rolls, the world-map square, the weather, the
// party's recent spells, the options, the save date, the play time and what
// the save list shows.
constexpr size_t kDetailsBytes = 804;
struct SavedGameDetails {
  uint32_t gold = 0;
  int32_t hitDieRolls[kHitDieRollCount] = {};
  int32_t worldX = 0, worldY = 0;
  int32_t timeOfDay = 0;
  int32_t rainCounter = 0;
  uint8_t rainFlag = 0;
  int32_t rainTimeLeft = 0;
  RecentSpellPair recentSpells[4][kRecentSpells] = {};
  int32_t volumes[3] = {};      // option words 4 to 6
  int32_t firstRun[15] = {};    // option words 11 to 25
  int32_t day = 0, month = 0, hour = 0, minute = 0;
  int32_t playHours = 0, playMinutes = 0;
  char mapName[50] = {};
  int32_t averageLevel = 0;
  int32_t secondRun[9] = {};    // option words 26 to 34
  int32_t setOutAbilityRule = 1;  // option word 9
  int32_t scrollScribeCount = 1;  // option word 10
  int32_t scoreBonus = 0;
};
void EncodeDetails(const SavedGameDetails& d, uint8_t out[kDetailsBytes]);
// Reads the first 804 bytes; what a shorter file ends before is 0, but the
// last three words keep their defaults (1, 1 and 0).
void DecodeDetails(const uint8_t* bytes, size_t size, SavedGameDetails* d);

// The play time's hours stop at this bound (over a century of play), so that
// the clock never wraps.
constexpr int32_t kLargestPlayHours = 1000000;
// Whether the details' values lie where the game relies on them: the time of
// day within its day, the world-map square on the world map, the rain's
// flag and picture, hit-die rolls no die exceeds, the play time's hours up to
// their bound and its minutes 0 to 59, and the option words as the settings
// file holds them (`OptionWordFits`).
bool DetailsValuesFit(const SavedGameDetails& d);

// "Journal.dat": entries 0 to k, k the last entry that holds anything (a
// length, a text, a state or a value; 0 when none does). Each entry: text
// length n (at most kJournalTextLimit), n bytes of text padded with zeros,
// state, value.
void EncodeJournal(const std::vector<JournalEntry>& journal, std::vector<uint8_t>* out);
// Fills *journal with its 200 fresh entries and then the file's entries in
// order, each with the file's length and its text up to the first zero, at
// most 200. The reading stops at an entry cut short or whose length is
// negative or above 9,999: the entries before it are kept, it and those
// after it stay fresh. True when the whole file was read into entries.
bool DecodeJournal(const uint8_t* bytes, size_t size, std::vector<JournalEntry>* journal);
// The most bytes 200 entries can hold: a longer journal file is read up to it.
constexpr size_t kLargestJournalBytes = kJournalEntryCount * (12 + kJournalTextLimit);

// "GameFlags.dat" (2,000 bytes) and "MapMemory.dat" (590,400 bytes): the
// words in order. "Achievements.dat": the first 100 bytes are the progress,
// a shorter file leaving the rest 0.
constexpr size_t kGameFlagsBytes = kGameFlagCount * 4;
constexpr size_t kMapMemoryBytes = static_cast<size_t>(kStoredMapCount) * kMapSquares * 4;
bool DecodeGameFlags(const uint8_t* bytes, size_t size, uint32_t flags[kGameFlagCount]);
bool DecodeMapMemory(const uint8_t* bytes, size_t size, uint32_t memory[kStoredMapCount][kMapSquares]);
void DecodeAchievements(const uint8_t* bytes, size_t size, uint8_t progress[kAchievementProgressSize]);
