// The backgrounds a new party member is given when the party sets out: four
// for each class and gender, each naming the member where it says "%s".
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kDescriptionsEach = 4;
// The most bytes a background holds once the name is in it.
constexpr size_t kFilledDescriptionBytes = 400;

// Background `index` (0 to 3) of a Knight, Cleric or Wizard of that gender;
// null for another class or index.
const char* PartyDescription(int32_t creatureClass, int32_t gender, int index);
// Puts the name where the description says "%s"; every other character is
// kept as it stands. The result is cut to 400 bytes and to the buffer.
void FillInName(char* description, size_t size, const char* name);
