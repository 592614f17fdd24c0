// The elementals of the four summoning spells (fire 114, water 115,
// earth 116, air 117): a free creature record filled with an elemental as strong as
// the summoner's caster level.
#pragma once

// Fills the record with the elemental of the spell, summoned by the current
// caster onto the map cursor's square (the caster's own square when the
// cursor is off the map); any other spell only recomputes the record.
void CreateSummonedElemental(int record, int spell);
