// The spell rows' effect blocks: the names the sources give their codes, the
// rules a row must keep so that the spell effects can carry it out, and the
// listing of every spell in words.
#pragma once
#include <string>
#include <vector>

#include "table_schema.h"

constexpr int kLastEffectCode = 135;
constexpr int kLastProtectionCode = 69;

// Effect code names, indexed by code ("" for a code nothing handles).
const char* const* EffectCodeNames();
extern const char* const kDurationNames[];
extern const char* const kProtectionNames[];

// Adds a problem for every effect block no effect can carry out and for every
// spell the effects test by id that lacks what they expect of it.
void CheckSpellEffects(const Rows& rows, const std::vector<int>& defined, RowProblems* problems);

// The spells in words, one block per row.
std::string SpellListing(const Rows& rows);
