// The party members who have fallen on the map in view. A fallen member is
// off the map (no figure, no square, no turn); the view still shows where
// it lies: from the moment its fall has been shown until it stands again or
// the party leaves the map, its own figure lies on its side on the square it
// stood on (after a game is taken up, the square the game kept), under the
// standing figures and the marks on the ground (and over the feet of a
// figure standing on its square), and the pointer on that square names it
// with its state ("Berta (Unconscious)") unless a figure hovered there
// speaks for the square; while a spell is aimed at one creature, the
// pointer there names whom the spell would reach.
#pragma once
#include <array>
#include <cstdint>

#include "rules/creature_record.h"

// Once a frame, before the squares below the creatures are drawn: a member
// seen standing before and down now lies on its square (its place,
// FallenPlaces); one standing again lies nowhere; the members lying on
// explored squares in view (not under darkness in a battle) are found, and
// the one under the pointer is named in the hint beside it (but where a
// figure standing there is hovered, or a blow at it shows its chance).
void LayFallenMembers(int rows, int cols);
// The members found lying, each fitted inside its square, drawn on the
// ground with the squares below the creatures: under the marks of the
// squares foes threaten, the path arrows and crossed blades, and the
// standing figures.
void DrawLyingMembers();
// The members lying on the square of a creature standing there, drawn again
// over its figure just drawn (they lie at its feet, across the bottom of the
// square, where DrawLyingMembers draws them under it too, should its figure
// not be drawn): a body under a figure showed only its edges.
void DrawLyingMembersAtFeetOf(int creature);
// The words of what DrawLyingMembers draws (five a member), for the digest
// that tells when the ground under the creatures must be drawn again.
constexpr int kLyingWordsPerMember = 5;
std::array<uint64_t, kPartySize * kLyingWordsPerMember> LyingMembersWords();

// The party member drawn lying on the square this frame (the last drawn of
// several), -1 none.
int FallenMemberOn(int x, int y);

// While a spell is aimed at one creature and the hint is still empty, with
// the pointer over a square where a member lies: the hint names whom a
// click there reaches, the member with its state ("Berta (Unconscious)"),
// or the figure standing over it by its name; nothing when the click
// would reach nobody. True when it wrote the hint.
bool NameWhomTheAimReaches();

// Puts the words above back to their start-up values (a new game, a game
// taken up, and tests).
void ResetFallenMembersState();
