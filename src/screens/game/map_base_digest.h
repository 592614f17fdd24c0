// The squares below the creatures (the ground pass, the range marks, the
// shading, the overlays below the creatures and the wall tops) look the same
// from frame to frame while nothing they show changes; the map view draws
// them once, keeps the picture and copies it in the frames after. The digest
// stands for everything those passes read.
#pragma once
#include <cstdint>

// A digest of what the squares below the creatures show in the view of
// rows + 1 by cols + 1 squares in the tint: the view's place, the codes,
// explored squares, fog, magic areas, arrows and area marks they read (with
// the square round the view, where a door's other half stands), the floor
// codes of the squares above and left of it a patch may reach into it from,
// the modes that switch their marks on, and the counters of the animated
// codes in view.
uint64_t MapBaseDigest(int rows, int cols, uint32_t tint);

// Whether the range marks of the pending spell's area and of the squares
// foes threaten are shown (read by the passes and the digest alike).
bool AreaMarksShown();
bool MoveRangeShown();
// Whether the range marks shown are a line of fire (a shot's or a spell's
// line under the pointer) rather than the squares foes threaten.
bool LineOfFireShown();
// Whether the path arrows are drawn on the squares.
bool MoveArrowsShown();
// A script's box stands over the battle (a death script's as the last foe
// falls): the map under it shows nothing of the order under way or of the
// last hover (no path arrows or move range, no event of the playback).
bool BoxOverBattle();
