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
// Checks a roster file image and decodes it into a zeroed table of 2,100
// records (maximum hit points -1 for every record read); the creatures are
// not recomputed. Returns the number of records read, or -1, with *table in
// no defined state, when the image is not 18,704 + 3,776 n bytes for n up to
// 2,096.
int DecodeCreatureRoster(const uint8_t* bytes, size_t size, CreatureRecord* table);
// Puts a decoded table in place of the running creature table, recomputes
// the `count` creatures read, then refills the Turn Undead uses of creatures
// 4 and up.
void InstallCreatureRoster(const CreatureRecord* table, int count);

// Reads a whole "SaveChar.cml" into the creature table: 1 on success; 0 when
// the file cannot be read or is damaged, with the table as it was.
int LoadCreatureRoster(const char* path);
int LoadCreatureRosterFmt(const char* format, ...) __attribute__((format(printf, 1, 2)));
