// The spell book of a creature and its metamagic pages: what they share of
// casting (handing a spell to the casting steps), of spell help pages and of
// the sharing of known spells between party casters.
#pragma once
#include <cstdint>

// The start of a spell page's frame: its name for the frame's tests, the
// page backdrop, nothing hovered yet, the caption and cursor at rest. False
// (the frame ended with the navigation bar alone) for a creature the table
// does not hold.
bool BeginSpellPage(const char* screen, int creature);
// The end of a spell page's frame: the navigation bar, the hover sound
// forgotten when nothing was hovered, the pointer buttons polled, the cursor
// and the caption under the pointer.
void EndSpellPage();

// Hands the spell to the casting steps with the metamagic kind: the cast
// words set, the caster acting, no target yet, screen mode 22.
void StartSpellBookCast(int creature, int spell, int metamagic);

// The help topic of a spell row: 51001 + level + row for an arcane spell,
// 51899 + level + row for a divine one.
int32_t SpellHelpTopic(int spell);
// The spell's help page pushed, captioned with the spell's name.
void PushSpellHelpPage(int spell);
// A page pushed from a spell page (its click result cleared).
void PushSpellPage(const char* caption, int32_t type, int32_t parameter);

// The gold and experience one share of a spell costs (the scribing of a
// scroll and a tenth more).
struct ShareCost {
  int32_t gold;
  int32_t experience;
};
ShareCost SpellShareCost(int spell);

// Whether another present party member of the sharer's class lacks a spell
// the sharer knows.
bool HasSpellsToExchange(int sharer);
// One pass of sharing: every known spell to every present party member of
// the sharer's class that lacks it and has a slot of its level, while the
// sharer holds Scribe Scroll, the party the gold and the sharer the spare
// experience. The click result code of the last refusal met (31 gold, 32
// experience, 41 Scribe Scroll; -1 none) and the count of spells learnt; a
// refusal does not stop the shares that follow it.
struct ShareOutcome {
  int32_t refusal;
  int shared;
};
ShareOutcome ShareKnownSpells(int sharer);
