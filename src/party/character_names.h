// The given names a new party member is drawn from, by gender, and the draw
// that keeps each member's name apart from the members before it.
#pragma once

constexpr int kNameRowSize = 10;  // at most 9 characters and a NUL
constexpr int kMaleNameCount = 290;
constexpr int kFemaleNameCount = 103;

extern const char MaleNames[kMaleNameCount][kNameRowSize];
extern const char FemaleNames[kFemaleNameCount][kNameRowSize];

// Whether a party member before `member` (ids 0 to member - 1) bears the name.
bool NameTakenBefore(int member, const char* name);
// Names the party member (0 to 3) from the female list for gender 2, else
// from the male list, drawing again while a member before it has that name.
void GiveRandomName(int member, int gender);
