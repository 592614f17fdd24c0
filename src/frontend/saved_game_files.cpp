#include "frontend/saved_game_files.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "engine/settings.h"
#include "map/map_record.h"

// The word files are the game's own little-endian words in order.
static_assert(std::endian::native == std::endian::little);

namespace {

void PutWord(uint8_t* out, size_t at, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
  out[at + 2] = static_cast<uint8_t>(v >> 16);
  out[at + 3] = static_cast<uint8_t>(v >> 24);
}

int32_t GetWord(const uint8_t* in, size_t at) {
  return static_cast<int32_t>(static_cast<uint32_t>(in[at]) | static_cast<uint32_t>(in[at + 1]) << 8 |
                              static_cast<uint32_t>(in[at + 2]) << 16 | static_cast<uint32_t>(in[at + 3]) << 24);
}

// Where the details' fields lie.
constexpr size_t kAtHitDieRolls = 4;
constexpr size_t kAtWorldX = 324;
constexpr size_t kAtTimeOfDay = 332;
constexpr size_t kAtRainCounter = 336;
constexpr size_t kAtRainFlag = 340;
constexpr size_t kAtRainTimeLeft = 344;
constexpr size_t kAtRecentSpells = 348;
constexpr size_t kAtVolumes = 604;
constexpr size_t kAtFirstRun = 616;
constexpr size_t kAtDate = 676;
constexpr size_t kAtPlayTime = 692;
constexpr size_t kAtMapName = 700;
constexpr size_t kAtAverageLevel = 752;
constexpr size_t kAtSecondRun = 756;
constexpr size_t kAtSetOutRule = 792;
constexpr size_t kAtScrollScribe = 796;
constexpr size_t kAtScoreBonus = 800;
static_assert(kAtHitDieRolls + 4 * kHitDieRollCount == kAtWorldX);
static_assert(kAtRecentSpells + sizeof(RecentSpellPair) * 4 * kRecentSpells == kAtVolumes);
static_assert(kAtMapName + 50 + 2 == kAtAverageLevel);
static_assert(kAtSecondRun + 9 * 4 == kAtSetOutRule);
static_assert(kAtScoreBonus + 4 == kDetailsBytes);

// The words of a run of the details, in and out.
void PutWords(uint8_t* out, size_t at, const int32_t* words, int count) {
  for (int i = 0; i < count; ++i) PutWord(out, at + 4 * i, words[i]);
}
void GetWords(const uint8_t* in, size_t at, int32_t* words, int count) {
  for (int i = 0; i < count; ++i) words[i] = GetWord(in, at + 4 * i);
}

constexpr int kJournalEntryBytes = 12;  // length, state and value around the text

// The entry's text as the file holds it: the first `length` bytes, zeros
// after the text's end.
void PutJournalText(const JournalEntry& e, uint32_t length, std::vector<uint8_t>* out) {
  const size_t kept = std::min<size_t>(e.text.size(), length);
  out->insert(out->end(), e.text.begin(), e.text.begin() + static_cast<std::ptrdiff_t>(kept));
  out->insert(out->end(), length - kept, 0);
}

// The entry's text from the file: up to the first zero. The length stays the
// file's, so that a padded entry is written again as it was read.
void SetJournalText(JournalEntry* e, const uint8_t* text, uint32_t length) {
  size_t n = 0;
  while (n < length && text[n] != 0) ++n;
  e->text.assign(reinterpret_cast<const char*>(text), n);
  e->length = length;
}

// An entry that holds nothing: no length, no text, state and value 0.
bool EmptyEntry(const JournalEntry& e) { return e.length == 0 && e.text.empty() && e.state == 0 && e.value == 0; }

}  // namespace

void EncodeDetails(const SavedGameDetails& d, uint8_t out[kDetailsBytes]) {
  std::memset(out, 0, kDetailsBytes);
  PutWord(out, 0, static_cast<int32_t>(d.gold));
  PutWords(out, kAtHitDieRolls, d.hitDieRolls, kHitDieRollCount);
  PutWord(out, kAtWorldX, d.worldX);
  PutWord(out, kAtWorldX + 4, d.worldY);
  PutWord(out, kAtTimeOfDay, d.timeOfDay);
  PutWord(out, kAtRainCounter, d.rainCounter);
  out[kAtRainFlag] = d.rainFlag;
  PutWord(out, kAtRainTimeLeft, d.rainTimeLeft);
  for (int m = 0; m < 4; ++m)
    for (int s = 0; s < kRecentSpells; ++s) {
      const size_t at = kAtRecentSpells + 8 * (m * kRecentSpells + s);
      PutWord(out, at, d.recentSpells[m][s].spell);
      PutWord(out, at + 4, d.recentSpells[m][s].metamagic);
    }
  PutWords(out, kAtVolumes, d.volumes, 3);
  PutWords(out, kAtFirstRun, d.firstRun, 15);
  const int32_t date[4] = {d.day, d.month, d.hour, d.minute};
  PutWords(out, kAtDate, date, 4);
  PutWord(out, kAtPlayTime, d.playHours);
  PutWord(out, kAtPlayTime + 4, d.playMinutes);
  const size_t name = strnlen(d.mapName, sizeof d.mapName - 1);
  std::memcpy(out + kAtMapName, d.mapName, name);
  PutWord(out, kAtAverageLevel, d.averageLevel);
  PutWords(out, kAtSecondRun, d.secondRun, 9);
  PutWord(out, kAtSetOutRule, d.setOutAbilityRule);
  PutWord(out, kAtScrollScribe, d.scrollScribeCount);
  PutWord(out, kAtScoreBonus, d.scoreBonus);
}

void DecodeDetails(const uint8_t* bytes, size_t size, SavedGameDetails* d) {
  size = std::min(size, kDetailsBytes);
  uint8_t in[kDetailsBytes] = {};
  if (size > 0) std::memcpy(in, bytes, size);
  *d = SavedGameDetails{};
  d->gold = static_cast<uint32_t>(GetWord(in, 0));
  GetWords(in, kAtHitDieRolls, d->hitDieRolls, kHitDieRollCount);
  d->worldX = GetWord(in, kAtWorldX);
  d->worldY = GetWord(in, kAtWorldX + 4);
  d->timeOfDay = GetWord(in, kAtTimeOfDay);
  d->rainCounter = GetWord(in, kAtRainCounter);
  d->rainFlag = in[kAtRainFlag];
  d->rainTimeLeft = GetWord(in, kAtRainTimeLeft);
  for (int m = 0; m < 4; ++m)
    for (int s = 0; s < kRecentSpells; ++s) {
      const size_t at = kAtRecentSpells + 8 * (m * kRecentSpells + s);
      d->recentSpells[m][s] = {GetWord(in, at), GetWord(in, at + 4)};
    }
  GetWords(in, kAtVolumes, d->volumes, 3);
  GetWords(in, kAtFirstRun, d->firstRun, 15);
  d->day = GetWord(in, kAtDate);
  d->month = GetWord(in, kAtDate + 4);
  d->hour = GetWord(in, kAtDate + 8);
  d->minute = GetWord(in, kAtDate + 12);
  d->playHours = GetWord(in, kAtPlayTime);
  d->playMinutes = GetWord(in, kAtPlayTime + 4);
  std::memcpy(d->mapName, in + kAtMapName, sizeof d->mapName - 1);
  d->averageLevel = GetWord(in, kAtAverageLevel);
  GetWords(in, kAtSecondRun, d->secondRun, 9);
  // The last three words came later; a file that ends before one keeps its default.
  if (size >= kAtSetOutRule + 4) d->setOutAbilityRule = GetWord(in, kAtSetOutRule);
  if (size >= kAtScrollScribe + 4) d->scrollScribeCount = GetWord(in, kAtScrollScribe);
  if (size >= kAtScoreBonus + 4) d->scoreBonus = GetWord(in, kAtScoreBonus);
}

bool DetailsValuesFit(const SavedGameDetails& d) {
  constexpr int32_t kMinutesPerDay = 1440;
  constexpr int32_t kLargestDieRoll = 20;
  constexpr int32_t kFirstRainPicture = 84, kLastRainPicture = 88;
  if (d.timeOfDay < 0 || d.timeOfDay >= kMinutesPerDay) return false;
  if (d.worldX < 0 || d.worldX >= kMapSide || d.worldY < 0 || d.worldY >= kMapSide) return false;
  if (d.rainFlag > 1 || (d.rainCounter != 0 && (d.rainCounter < kFirstRainPicture || d.rainCounter > kLastRainPicture)))
    return false;
  for (int32_t roll : d.hitDieRolls)
    if (roll < 0 || roll > kLargestDieRoll) return false;
  if (d.playHours < 0 || d.playHours > kLargestPlayHours || d.playMinutes < 0 || d.playMinutes > 59) return false;
  // The option words follow the settings file's rule.
  for (int i = 0; i < 3; ++i)
    if (!OptionWordFits(kOptionSoundVolume + i, d.volumes[i])) return false;
  for (int i = 0; i < 15; ++i)
    if (!OptionWordFits(kOptionDisplayThreatAreas + i, d.firstRun[i])) return false;
  for (int i = 0; i < 9; ++i)
    if (!OptionWordFits(kOptionAutomaticEndOfTurn + i, d.secondRun[i])) return false;
  return OptionWordFits(kOptionSetOutAbilityRule, d.setOutAbilityRule) &&
         OptionWordFits(kOptionScrollScribeCount, d.scrollScribeCount);
}

void EncodeJournal(const std::vector<JournalEntry>& journal, std::vector<uint8_t>* out) {
  out->clear();
  // Every entry that holds something is kept, a text whose state went back
  // to 0 as well as a started one.
  int last = 0;
  for (int i = 0; i < static_cast<int>(journal.size()) && i < kJournalEntryCount; ++i)
    if (!EmptyEntry(journal[i])) last = i;
  const JournalEntry empty{};
  for (int i = 0; i <= last; ++i) {
    const JournalEntry& e = i < static_cast<int>(journal.size()) ? journal[i] : empty;
    const uint32_t length = std::min(e.length, kJournalTextLimit);
    uint8_t word[4];
    PutWord(word, 0, static_cast<int32_t>(length));
    out->insert(out->end(), word, word + 4);
    PutJournalText(e, length, out);
    PutWord(word, 0, static_cast<int32_t>(e.state));
    out->insert(out->end(), word, word + 4);
    PutWord(word, 0, static_cast<int32_t>(e.value));
    out->insert(out->end(), word, word + 4);
  }
}

bool DecodeJournal(const uint8_t* bytes, size_t size, std::vector<JournalEntry>* journal) {
  journal->assign(kJournalEntryCount, JournalEntry{});
  size_t at = 0;
  for (int i = 0; at < size; ++i) {
    // What lies past the last entry, or from a damaged one on, is not read.
    if (i == kJournalEntryCount || size - at < kJournalEntryBytes) return false;
    const auto length = static_cast<uint32_t>(GetWord(bytes, at));
    if (length > kJournalTextLimit) return false;
    if (size - at - kJournalEntryBytes < length) return false;
    JournalEntry& e = (*journal)[i];
    SetJournalText(&e, bytes + at + 4, length);
    e.state = static_cast<uint32_t>(GetWord(bytes, at + 4 + length));
    e.value = static_cast<uint32_t>(GetWord(bytes, at + 8 + length));
    at += kJournalEntryBytes + length;
  }
  return true;
}

bool DecodeGameFlags(const uint8_t* bytes, size_t size, uint32_t flags[kGameFlagCount]) {
  if (size != kGameFlagsBytes) return false;
  std::memcpy(flags, bytes, kGameFlagsBytes);
  return true;
}

bool DecodeMapMemory(const uint8_t* bytes, size_t size, uint32_t memory[kStoredMapCount][kMapSquares]) {
  if (size != kMapMemoryBytes) return false;
  std::memcpy(memory, bytes, kMapMemoryBytes);
  return true;
}

void DecodeAchievements(const uint8_t* bytes, size_t size, uint8_t progress[kAchievementProgressSize]) {
  std::memset(progress, 0, kAchievementProgressSize);
  if (size > 0) std::memcpy(progress, bytes, std::min<size_t>(size, kAchievementProgressSize));
}
