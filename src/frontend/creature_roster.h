// The creature roster "SaveChar.cml": the whole creature table of a saved
// game, each creature packed into a stored record that keeps the values the
// game sets and leaves out what the recomputation derives from them.
//
// The file is a plain run of records without header or count: the four party
// members (4,676 bytes each, all 50 conditions), then creatures 4, 5, 6, ...
// (3,776 bytes each, five conditions) in id order through the last one with a
// name (free records between them written empty); ids 581 to 800 are always
// written once the run reaches them. A record's place in the file is its
// creature id.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "rules/creature_record.h"

constexpr size_t kStoredPartyRecordBytes = 4676;
constexpr size_t kStoredCreatureRecordBytes = 3776;
constexpr size_t kRosterPartyBytes = kPartySize * kStoredPartyRecordBytes;  // 18,704
constexpr size_t kLargestRosterBytes =
    kRosterPartyBytes + (kCreatureCount - kPartySize) * kStoredCreatureRecordBytes;  // 7,933,200
// Creatures 581 to 800 are written whatever their name once the run reaches them.
constexpr int kRosterAlwaysWrittenFirst = 581;
constexpr int kRosterAlwaysWrittenLast = 800;
constexpr int kStoredCreatureConditions = 5;

// Where the stored record's parts lie (party form "P" and other form "O"
// share everything before the conditions).
constexpr size_t kStoredConditionsAt = 1836;
constexpr size_t kStoredFeatsAtParty = 2836;
constexpr size_t kStoredFeatsAtOther = 1936;
constexpr size_t kStoredFeatsBytes = 1596;   // feats through allegiance
constexpr size_t kStoredTagRunBytes = 244;   // the word before the tag through formation

// The two staging buffers of one packed record each.
extern uint8_t PartyRecordBuffer[kStoredPartyRecordBytes];
extern uint8_t CreatureRecordBuffer[kStoredCreatureRecordBytes];

// Fill the party (ids 0 to 3) or the other (4 to 2,099) staging buffer from
// the creature; the caller has zeroed the buffer. The other form keeps only
// the creature's lasting conditions of the kinds a saved game keeps, the
// first five of them; the live creature keeps every condition it has.
bool PackPartyRecord(int creature);
bool PackCreatureRecord(int creature);
// Copy the staging buffer back into the creature's record, maximum hit points
// "unknown" (-1), then recompute the creature. True.
bool UnpackPartyRecord(int creature);
bool UnpackCreatureRecord(int creature);

// The packed roster of the running creature table, as the file holds it.
void PackCreatureRoster(std::vector<uint8_t>* out);
// The number of records (party included) of a roster file image of `size`
// bytes: 18,704 + 3,776 n bytes for n up to 2,096; -1 for any other size.
int RosterRecordCount(size_t size);
// Decodes a roster file image into a table of 2,100 records: the records read
// (maximum hit points -1, "unknown"), every other record zero; the creatures
// are not recomputed. Returns the number of records read, or -1 (the table
// untouched) when the size is not a roster's.
int DecodeCreatureRoster(const uint8_t* bytes, size_t size, CreatureRecord* table);
// The same for the table's records `first` to `end` - 1 alone (parts of one
// decode may run side by side); the image's size is a roster's.
void DecodeRosterRecords(const uint8_t* bytes, size_t size, CreatureRecord* table, int first, int end);
// Whether the values of a creature that the game relies on lie in their
// ranges, so that nothing it computes from them overflows or runs without
// end: a stored map and a square of it, the footprint (at most six by six
// squares), the size, facing, speed, level, abilities
// and hit points, condition ids, item codes and natural attack dice. A free
// record (all zero) fits.
bool CreatureValuesFit(const CreatureRecord& c);
// The first creature of a roster file image whose values do not fit, -1 when
// all fit (the image's size is a roster's).
int FirstUnfitRosterRecord(const uint8_t* bytes, size_t size);
// Recomputes the first `count` creatures of the table after a decode, then
// refills the Turn Undead uses of creatures 4 and up.
void RecomputeRoster(int count);

// Reads "SaveChar.cml" into the creature table: 1 on success; 0 when the
// file cannot be read or is damaged (a record cut short, or a value that does
// not fit), with the table as it was. What follows creature 2,099's record is
// not read.
int LoadCreatureRoster(const char* path);
int LoadCreatureRosterFmt(const char* format, ...) __attribute__((format(printf, 1, 2)));
