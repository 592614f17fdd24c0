// The attack section of the character record: three attack lines from the
// attack-lines scroll index, each number a link to the breakdown page that
// explains it.
#pragma once

#include "rules/attack_profile.h"

// The character rows (large cells) of the three lines.
constexpr int kAttackLinesFirstRow = 14;
constexpr int kAttackLinesShown = 3;

// Draws the three lines, shows the hover caption of the link under the
// pointer and opens its page on a click. Keeps AttackLinesScroll within the
// entries that exist. Returns 1.
int FormatAttackCountModifiers(const AttackProfile* profile, int creature);
