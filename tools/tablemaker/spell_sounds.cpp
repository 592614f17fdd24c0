#include "spell_sounds.h"

#include <iterator>
#include <utility>

namespace {

struct SoundFamily {
  const char* name;
  int sounds[3];  // Magic_N by N; 0 ends the list
};

// What each sounds like is said in content/sounds/effects.txt: the breaths
// (1 to 5) and their hits (19 to 23), then one sound or three for each of the
// other families.
constexpr SoundFamily kFamilies[] = {
    {"None", {}},           {"Fire", {1, 19}},      {"Cold", {2, 20}},        {"Acid", {3, 21}},
    {"Sonic", {4, 22}},     {"Electricity", {5, 23}}, {"Force", {22}},        {"Binding", {6}},
    {"Freeing", {7}},       {"Silence", {9}},       {"Insight", {10}},        {"Death", {11}},
    {"Healing", {12}},      {"Negative", {13}},     {"Protection", {14}},     {"Summoning", {15}},
    {"Holy", {16, 17, 24}}, {"Change", {18}},
};
constexpr int kFamilyCount = static_cast<int>(std::size(kFamilies));
// A spell refused on a target sounds so whatever its family.
constexpr int kRefusedSpellSound = 8;

bool HasSound(int family, int sound) {
  if (family <= 0 || family >= kFamilyCount) return false;
  for (int s : kFamilies[family].sounds)
    if (s != 0 && s == sound) return true;
  return false;
}

std::string SoundName(int sound) { return "Magic_" + std::to_string(sound); }

// "Holy (Magic_16, Magic_17, Magic_24)".
std::string FamilyWords(int family) {
  std::string s = std::string(kFamilies[family].name) + " (";
  for (int i = 0; i < 3 && kFamilies[family].sounds[i]; ++i)
    s += (i ? ", " : "") + SoundName(kFamilies[family].sounds[i]);
  return s + ")";
}

}  // namespace

const char* const* SoundFamilyNames() {
  static const char* names[kFamilyCount + 1] = {};
  if (!names[0])
    for (int i = 0; i < kFamilyCount; ++i) names[i] = kFamilies[i].name;
  return names;
}

int LastSoundFamily() { return kFamilyCount - 1; }

void CheckSpellSounds(int r, int family, int holds, int castSound, int effectSound, int targetSound,
                      RowProblems* problems) {
  const auto add = [&](const char* field, std::string text) { problems->push_back({r, field, std::move(text)}); };
  if (family <= 0 || family >= kFamilyCount) {
    add("family", "has no sound family");
    return;
  }
  if (holds < 0 || holds >= kFamilyCount) holds = 0;
  const size_t before = problems->size();
  if (castSound != 0 && !HasSound(family, castSound))
    add("castsound", SoundName(castSound) + " is not of its family " + FamilyWords(family));
  const auto held = [&](int sound) { return HasSound(family, sound) || HasSound(holds, sound); };
  const auto neither = [&](int sound) {
    return SoundName(sound) + " is not of its family " + FamilyWords(family) +
           (holds ? " nor of " + FamilyWords(holds) + ", which takes hold" : "");
  };
  if (effectSound != 0 && !held(effectSound)) add("effectsound", neither(effectSound));
  if (targetSound != 0 && targetSound != kRefusedSpellSound && !held(targetSound))
    add("targetsound", neither(targetSound));
  // A family named as taking hold that no sound follows says nothing true of the row.
  if (problems->size() == before && holds && !HasSound(holds, effectSound) && !HasSound(holds, targetSound))
    add("holds", "no sound of the row is of " + FamilyWords(holds));
}
