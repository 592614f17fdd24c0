#include "frontend/creature_roster.h"

#include <algorithm>
#include <bit>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "map/map_record.h"
#include "map/map_view.h"
#include "platform/files.h"
#include "rules/conditions.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"

// The stored records are runs of the creature record's own little-endian words.
static_assert(std::endian::native == std::endian::little);

uint8_t PartyRecordBuffer[kStoredPartyRecordBytes];
uint8_t CreatureRecordBuffer[kStoredCreatureRecordBytes];

namespace {

// The ranges of the values a stored creature may hold. The largest creatures
// cover six by six squares; levels, abilities and hit points stay far below
// what would overflow when the recomputation multiplies and adds them.
constexpr int32_t kLargestFootprint = 6;
constexpr int32_t kLargestSize = 8;
constexpr int32_t kLargestFacing = 8;
constexpr int32_t kLargestSpeed = 1000;
constexpr int32_t kLargestLevel = 100;
constexpr int32_t kLargestAbility = 100;
constexpr int32_t kLargestHitPoints = 1000000;
constexpr uint32_t kLargestItemCode = kFirstBaseItemCode + kItemRows - 1;
constexpr int32_t kLargestAttacksInARow = 20;
constexpr int32_t kLargestDice = 100;

// A run of words copied as it stands: its place in the stored record and in
// the creature record, and its length in bytes.
struct WordRun {
  size_t stored, record, bytes;
};

// The stored fields before the conditions, the same in both forms. The base
// halves of value pairs are single words here; the protections follow apart.
constexpr WordRun kLeadingRuns[] = {
    {452, offsetof(CreatureRecord, kind), 36},  // kind through the hit dice
    {488, offsetof(CreatureRecord, hitPoints), 4},
    {492, offsetof(CreatureRecord, creatureClass), 4},
    {496, offsetof(CreatureRecord, level), 4},
    {500, offsetof(CreatureRecord, speed), 4},
    {504, offsetof(CreatureRecord, baseAttack), 4},
    {508, offsetof(CreatureRecord, size), 4},
    {512, offsetof(CreatureRecord, challengeRating), 60},  // through the Fortitude base
    {572, offsetof(CreatureRecord, reflex), 4},
    {576, offsetof(CreatureRecord, willpower), 4},
    {580, offsetof(CreatureRecord, strength), 4},
    {584, offsetof(CreatureRecord, dexterity), 4},
    {588, offsetof(CreatureRecord, constitution), 4},
    {592, offsetof(CreatureRecord, intelligence), 4},
    {596, offsetof(CreatureRecord, wisdom), 4},
    {600, offsetof(CreatureRecord, charisma), 4},
    {604, offsetof(CreatureRecord, map), 32},  // map, squares, pixels, first footprint base
    {636, offsetof(CreatureRecord, footprintWidth), 4},
    {640, offsetof(CreatureRecord, figureSize[0]), 4},
    {644, offsetof(CreatureRecord, figureSize[1]), 4},
    {648, offsetof(CreatureRecord, facing), 4},
    {652, offsetof(CreatureRecord, spellsPerDay), 72},  // spells per day and spells left, one run
    {724, offsetof(CreatureRecord, knownSpells), 720},
    {1692, offsetof(CreatureRecord, naturalAttacks), 144},
};
static_assert(offsetof(CreatureRecord, spellsLeft) == offsetof(CreatureRecord, spellsPerDay) + 36);
static_assert(offsetof(CreatureRecord, challengeRating) + 60 == offsetof(CreatureRecord, fortitude) + 4);
static_assert(offsetof(CreatureRecord, map) + 32 == offsetof(CreatureRecord, footprintHeight) + 4);

constexpr size_t kStoredProtectionsAt = 1444;
// The stored place of protection pair p: pairs 14 and 15 stand swapped, and
// pairs 16 and 17.
constexpr int StoredProtectionIndex(int pair) {
  switch (pair) {
    case 14: return 15;
    case 15: return 14;
    case 16: return 17;
    case 17: return 16;
    default: return pair;
  }
}
static_assert(kStoredProtectionsAt + 4 * kProtectionPairs == 1692);

// Feats through the allegiance, and the word before the tag through the
// formation words: the runs after the conditions.
constexpr size_t kFeatRunRecord = offsetof(CreatureRecord, feats);
constexpr size_t kTagRunRecord = offsetof(CreatureRecord, group);
static_assert(offsetof(CreatureRecord, allegiance) + 4 - kFeatRunRecord == kStoredFeatsBytes);
static_assert(offsetof(CreatureRecord, fighterSlot) - kTagRunRecord == kStoredTagRunBytes);
static_assert(kStoredFeatsAtParty + kStoredFeatsBytes + kStoredTagRunBytes == kStoredPartyRecordBytes);
static_assert(kStoredFeatsAtOther + kStoredFeatsBytes + kStoredTagRunBytes == kStoredCreatureRecordBytes);
static_assert(kStoredConditionsAt + kConditionSlots * sizeof(ConditionEntry) == kStoredFeatsAtParty);
static_assert(kStoredConditionsAt + kStoredCreatureConditions * sizeof(ConditionEntry) == kStoredFeatsAtOther);
constexpr size_t kTagInRun = offsetof(CreatureRecord, tag) - kTagRunRecord;

// A text field copied up to and including its terminator; a text that fills
// its field is cut to leave room for one.
void CopyText(char* to, const char* from, size_t size) {
  size_t n = 0;
  while (n < size - 1 && from[n] != '\0') ++n;
  std::memcpy(to, from, n);
  to[n] = '\0';
}

// Whether every byte of the record is zero (a free record that need not be
// written again).
bool RecordIsZero(const CreatureRecord& c) {
  static const uint8_t kZero[sizeof c] = {};
  return std::memcmp(&c, kZero, sizeof c) == 0;
}

// The layout of one form: where its conditions end and how many it keeps.
struct StoredForm {
  int conditions;
  size_t featsAt;
};
constexpr StoredForm kPartyForm = {kConditionSlots, kStoredFeatsAtParty};
constexpr StoredForm kOtherForm = {kStoredCreatureConditions, kStoredFeatsAtOther};

// Copies every stored field of the creature into a zeroed stored record.
void PackFields(const CreatureRecord& c, const ConditionEntry* conditions, const StoredForm& form, uint8_t* out) {
  const auto* record = reinterpret_cast<const uint8_t*>(&c);
  CopyText(reinterpret_cast<char*>(out), c.name, sizeof c.name);
  CopyText(reinterpret_cast<char*>(out + 50), c.description, sizeof c.description);
  for (const WordRun& run : kLeadingRuns) std::memcpy(out + run.stored, record + run.record, run.bytes);
  for (int p = 0; p < kProtectionPairs; ++p)
    std::memcpy(out + kStoredProtectionsAt + 4 * StoredProtectionIndex(p), &c.protections[p].base, 4);
  std::memcpy(out + kStoredConditionsAt, conditions, form.conditions * sizeof(ConditionEntry));
  std::memcpy(out + form.featsAt, record + kFeatRunRecord, kStoredFeatsBytes);
  uint8_t* tagRun = out + form.featsAt + kStoredFeatsBytes;
  std::memcpy(tagRun, record + kTagRunRecord, kStoredTagRunBytes);
  std::memset(tagRun + kTagInRun, 0, sizeof c.tag);
  CopyText(reinterpret_cast<char*>(tagRun + kTagInRun), c.tag, sizeof c.tag);
}

// Copies every stored field back into the record; what is not stored stays
// as the record held it, except that the maximum hit points become unknown.
void UnpackFields(const uint8_t* in, const StoredForm& form, CreatureRecord* c) {
  auto* record = reinterpret_cast<uint8_t*>(c);
  CopyText(c->name, reinterpret_cast<const char*>(in), sizeof c->name);
  CopyText(c->description, reinterpret_cast<const char*>(in + 50), sizeof c->description);
  for (const WordRun& run : kLeadingRuns) std::memcpy(record + run.record, in + run.stored, run.bytes);
  for (int p = 0; p < kProtectionPairs; ++p)
    std::memcpy(&c->protections[p].base, in + kStoredProtectionsAt + 4 * StoredProtectionIndex(p), 4);
  std::memcpy(c->conditions, in + kStoredConditionsAt, form.conditions * sizeof(ConditionEntry));
  // An entry without a condition holds nothing, whatever else the file put in it.
  for (int i = 0; i < form.conditions; ++i)
    if (c->conditions[i].id == 0) c->conditions[i] = ConditionEntry{};
  std::memcpy(record + kFeatRunRecord, in + form.featsAt, kStoredFeatsBytes);
  char tag[sizeof c->tag];
  const uint8_t* tagRun = in + form.featsAt + kStoredFeatsBytes;
  std::memcpy(record + kTagRunRecord, tagRun, kTagInRun);
  std::memcpy(record + kTagRunRecord + kTagInRun + sizeof c->tag, tagRun + kTagInRun + sizeof c->tag,
              kStoredTagRunBytes - kTagInRun - sizeof c->tag);
  std::memcpy(tag, tagRun + kTagInRun, sizeof tag);
  CopyText(c->tag, tag, sizeof c->tag);
  c->maxHitPoints = -1;
}

// Where creature id's stored record begins in a roster file image.
const uint8_t* RecordBytes(const uint8_t* roster, int id) {
  return id < kPartySize ? roster + id * kStoredPartyRecordBytes
                         : roster + kRosterPartyBytes + (id - kPartySize) * kStoredCreatureRecordBytes;
}

// The conditions a saved game keeps of a creature outside the party: lasting
// ones of these kinds.
bool KeptInSavedGame(const ConditionEntry& e) {
  if (e.duration != kDurationLasting && e.duration != kDurationUntilRest) return false;
  switch (e.id) {
    case kCondDead:
    case kCondUnconscious:
    case kCondDistracted:
    case kCondSleeping:
    case kCondAlarmed:
    case kCondBlinded:
    case kCondMageArmor:
    case kCondGreaterInvisibility:
      return true;
    default:
      return false;
  }
}

// The creature's conditions as its stored record keeps them: the others
// emptied (id and duration 0), the rest moved to the front. The live record
// is lent for the compaction and then given its own conditions back.
void ConditionsToStore(int creature, ConditionEntry* out) {
  ConditionEntry* live = Creatures[creature].conditions;
  ConditionEntry own[kConditionSlots];
  std::memcpy(own, live, sizeof own);
  for (int i = 0; i < kConditionSlots; ++i) {
    if (KeptInSavedGame(live[i])) continue;
    live[i].id = 0;
    live[i].duration = 0;
  }
  CompactConditions(creature);
  std::memcpy(out, live, sizeof own);
  std::memcpy(live, own, sizeof own);
}

}  // namespace

bool PackPartyRecord(int creature) {
  if (creature < 0 || creature >= kPartySize) return false;
  const CreatureRecord& c = Creatures[creature];
  PackFields(c, c.conditions, kPartyForm, PartyRecordBuffer);
  return true;
}

bool PackCreatureRecord(int creature) {
  if (creature < kPartySize || creature >= kCreatureCount) return false;
  ConditionEntry kept[kConditionSlots];
  ConditionsToStore(creature, kept);
  PackFields(Creatures[creature], kept, kOtherForm, CreatureRecordBuffer);
  return true;
}

bool UnpackPartyRecord(int creature) {
  if (creature < 0 || creature >= kPartySize) return false;
  UnpackFields(PartyRecordBuffer, kPartyForm, &Creatures[creature]);
  RecomputeCreature(creature, 0);
  return true;
}

bool UnpackCreatureRecord(int creature) {
  if (creature < kPartySize || creature >= kCreatureCount) return false;
  UnpackFields(CreatureRecordBuffer, kOtherForm, &Creatures[creature]);
  RecomputeCreature(creature, 0);
  return true;
}

void PackCreatureRoster(std::vector<uint8_t>* out) {
  out->clear();
  for (int id = 0; id < kPartySize; ++id) {
    std::memset(PartyRecordBuffer, 0, sizeof PartyRecordBuffer);
    PackPartyRecord(id);
    out->insert(out->end(), PartyRecordBuffer, PartyRecordBuffer + sizeof PartyRecordBuffer);
  }
  // Every creature through the last one with a name is written, free records
  // between them included, so that no creature after a gap is lost; once the
  // run reaches the encounter ids it takes all of them.
  int last = kPartySize - 1;
  for (int id = kCreatureCount - 1; id >= kPartySize; --id)
    if (Creatures[id].name[0] != '\0') {
      last = id;
      break;
    }
  if (last >= kRosterAlwaysWrittenFirst && last < kRosterAlwaysWrittenLast) last = kRosterAlwaysWrittenLast;
  out->reserve(kRosterPartyBytes + (last - kPartySize + 1) * kStoredCreatureRecordBytes);
  for (int id = kPartySize; id <= last; ++id) {
    std::memset(CreatureRecordBuffer, 0, sizeof CreatureRecordBuffer);
    PackCreatureRecord(id);
    out->insert(out->end(), CreatureRecordBuffer, CreatureRecordBuffer + sizeof CreatureRecordBuffer);
  }
}

bool CreatureValuesFit(const CreatureRecord& c) {
  auto within = [](int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; };
  // Where it stands: a square of a stored map.
  if (!within(c.map, 0, kStoredMapCount - 1) || !within(c.footprintWidth.base, 0, kLargestFootprint) ||
      !within(c.footprintHeight.base, 0, kLargestFootprint) ||
      !within(c.squareX, 0, kMapSide - 1) || !within(c.squareY, 0, kMapSide - 1) ||
      !within(c.nextX, 0, kMapSide - 1) || !within(c.nextY, 0, kMapSide - 1) || !within(c.facing, 0, kLargestFacing))
    return false;
  if (!within(c.size.base, 0, kLargestSize) || !within(c.speed.base, 0, kLargestSpeed) ||
      !within(c.level, 0, kLargestLevel) || !within(c.baseHitPoints, 0, kLargestHitPoints) ||
      !within(c.hitPoints, -kLargestHitPoints, kLargestHitPoints))
    return false;
  for (const StatPair* a : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
    if (!within(a->base, 0, kLargestAbility)) return false;
  for (const ConditionEntry& e : c.conditions)
    if (e.id >= static_cast<uint32_t>(kConditionNameCount)) return false;
  for (uint32_t code : c.equipment)
    if (code > kLargestItemCode) return false;
  if (c.ammunition.code > kLargestItemCode) return false;
  for (const ItemPair& p : c.carried)
    if (p.code > kLargestItemCode) return false;
  for (const NaturalAttack& a : c.naturalAttacks)
    if (!within(a.count, 0, kLargestAttacksInARow) || !within(a.effectDice, 0, kLargestDice) ||
        !within(a.effectSides, 0, kLargestDice) || !within(a.riderDice, 0, kLargestDice) ||
        !within(a.riderSides, 0, kLargestDice))
      return false;
  return true;
}

int FirstUnfitRosterRecord(const uint8_t* bytes, size_t size) {
  const int count = RosterRecordCount(size);
  CreatureRecord record;
  for (int id = 0; id < count; ++id) {
    const bool party = id < kPartySize;
    std::memset(static_cast<void*>(&record), 0, sizeof record);
    UnpackFields(RecordBytes(bytes, id), party ? kPartyForm : kOtherForm, &record);
    if (!CreatureValuesFit(record)) return id;
  }
  return -1;
}

int RosterRecordCount(size_t size) {
  // Four whole party records and whole records after them; a record cut
  // short anywhere is damage.
  if (size < kRosterPartyBytes || size > kLargestRosterBytes) return -1;
  if ((size - kRosterPartyBytes) % kStoredCreatureRecordBytes != 0) return -1;
  return kPartySize + static_cast<int>((size - kRosterPartyBytes) / kStoredCreatureRecordBytes);
}

int DecodeCreatureRoster(const uint8_t* bytes, size_t size, CreatureRecord* table) {
  const int count = RosterRecordCount(size);
  if (count < 0) return -1;
  DecodeRosterRecords(bytes, size, table, 0, kCreatureCount);
  return count;
}

void DecodeRosterRecords(const uint8_t* bytes, size_t size, CreatureRecord* table, int first, int end) {
  const int count = RosterRecordCount(size);
  end = std::min(end, kCreatureCount);
  // A free record stays all zero, and so does every record past the file's.
  static const uint8_t kFree[kStoredPartyRecordBytes] = {};
  for (int id = first; id < std::min(end, count); ++id) {
    const bool party = id < kPartySize;
    const uint8_t* stored = RecordBytes(bytes, id);
    std::memset(static_cast<void*>(&table[id]), 0, sizeof table[id]);
    if (std::memcmp(stored, kFree, party ? kStoredPartyRecordBytes : kStoredCreatureRecordBytes) != 0)
      UnpackFields(stored, party ? kPartyForm : kOtherForm, &table[id]);
  }
  for (int id = std::max(first, count); id < end; ++id)
    if (!RecordIsZero(table[id])) std::memset(static_cast<void*>(&table[id]), 0, sizeof table[id]);
}

void RecomputeRoster(int count) {
  for (int id = 0; id < count && id < kCreatureCount; ++id)
    if (Creatures[id].maxHitPoints == -1) RecomputeCreature(id, 0);
  ResetTurnUndeadUses();
}

int LoadCreatureRoster(const char* path) {
  // Only a roster of whole records is read, straight into the table; what
  // follows the last creature's record is not read.
  std::vector<uint8_t> bytes;
  if (!platform::ReadGameFile(path, kLargestRosterBytes, &bytes, platform::ReadExtent::kStart)) return 0;
  if (RosterRecordCount(bytes.size()) < 0 || FirstUnfitRosterRecord(bytes.data(), bytes.size()) >= 0) return 0;
  const int count = DecodeCreatureRoster(bytes.data(), bytes.size(), Creatures);
  RecomputeRoster(count);
  return 1;
}

int LoadCreatureRosterFmt(const char* format, ...) {
  char path[300];
  va_list args;
  va_start(args, format);
  std::vsnprintf(path, sizeof path, format, args);
  va_end(args);
  return LoadCreatureRoster(path);
}
