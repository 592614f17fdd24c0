// The special actions of the action executor: escape, the inventory in
// combat, waking an ally, the forced dance, grapple, pin, reloading a
// crossbow, bull rush and sounding the alarm. Until these are built, an order
// of one of them ends at once and hands the turn back (a least version).
#pragma once
#include <cstdint>

// One step of the special action of that code.
void SpecialActionStep(int32_t code);
