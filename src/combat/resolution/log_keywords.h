// The help keywords the combat log fills in from tables as it writes a line
// ("@%s@" with an energy, an ability, the alignment of a weapon, a polymorph
// form or the condition that stops a counterspell), each with the source
// file of its line, so that the help can be checked to have a page for every
// one. The spells' keywords are the spell table's own (SpellKeywordTable).
#pragma once
#include <string>
#include <vector>

struct LogKeyword {
  std::string keyword;  // with its two '@' marks
  std::string where;    // the source file that writes it
};

std::vector<LogKeyword> RunTimeLogKeywords();

// Each table's rows, added by the file that keeps the table.
void AddEnergyLogKeywords(std::vector<LogKeyword>* out);        // losses, immunities, reductions
void AddAlignmentLogKeywords(std::vector<LogKeyword>* out);     // holy, unholy, axiomatic, anarchic blows
void AddAbilityLogKeywords(std::vector<LogKeyword>* out);       // ability damage and drain of attacks
void AddSpellAbilityLogKeywords(std::vector<LogKeyword>* out);  // ability damage of spells
void AddResistanceLogKeywords(std::vector<LogKeyword>* out);    // energy resistance given by spells
void AddFormLogKeywords(std::vector<LogKeyword>* out);          // polymorph forms
void AddCounterspellLogKeywords(std::vector<LogKeyword>* out);  // conditions that stop a counterspell
