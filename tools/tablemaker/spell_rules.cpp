#include "spell_rules.h"

#include <cstdint>
#include <sstream>
#include <utility>

#include "combat/resolution/spell_effect_codes.h"
#include "rules/spell_ids.h"

namespace {

// Spell row words read here.
constexpr int kLevelWord = 452, kGoldWord = 456, kXpWord = 460, kSchoolWord = 472, kDescriptorWord = 476,
              kDivineWord = 480, kAlliesWord = 484, kHarmfulWord = 488, kFoesWord = 492, kSpreadsWord = 504,
              kRangeWord = 508, kTargetWord = 512, kAreaWord = 516, kArea2Word = 520, kRangedTouchWord = 532,
              kMeleeTouchWord = 536, kImmunity1Word = 544, kImmunity2Word = 548, kEffectWord = 576;
constexpr int kEffectBytes = 32;
// Words of an effect block.
constexpr int kCode = 0, kDuration = 4, kDurValue = 8, kParam = 12, kSides = 16, kCount = 20, kSave = 24, kResist = 28;

int32_t Word(const std::vector<uint8_t>& row, int offset) {
  return static_cast<int32_t>(static_cast<uint32_t>(row[offset]) | static_cast<uint32_t>(row[offset + 1]) << 8 |
                              static_cast<uint32_t>(row[offset + 2]) << 16 |
                              static_cast<uint32_t>(row[offset + 3]) << 24);
}
int32_t Effect(const std::vector<uint8_t>& row, int pass, int word) {
  return Word(row, kEffectWord + kEffectBytes * (pass - 1) + word);
}

std::string CodeText(int code) {
  const SpellEffectCodeInfo* info = FindSpellEffectCode(code);
  return std::to_string(code) + (info ? std::string(" (") + info->name + ")" : "");
}

// Creature kinds the polymorph forms take (parameter - 21).
constexpr int kPolymorphForms[] = {7, 4, 42, 37, 33};
constexpr int kSummonParameters[] = {53, 109, 49, 22};

template <size_t N>
bool Listed(const int (&list)[N], int value) {
  for (int v : list)
    if (v == value) return true;
  return false;
}

bool IsAreaTargeting(int t) { return t == 2 || (t >= 5 && t <= 9); }

// The fields of effect block 1 and 2, by the block's number.
struct EffectKeys {
  const char *effect, *duration, *durvalue, *param, *sides, *count, *save;
};
const EffectKeys kEffectKeys[3] = {{},
                                   {"effect1", "duration1", "durvalue1", "param1", "sides1", "count1", "save1"},
                                   {"effect2", "duration2", "durvalue2", "param2", "sides2", "count2", "save2"}};

void Add(RowProblems* problems, int row, const char* field, std::string text) {
  problems->push_back({row, field, std::move(text)});
}

void CheckEffectBlock(const std::vector<uint8_t>& row, int r, int pass, RowProblems* problems) {
  const EffectKeys& key = kEffectKeys[pass];
  const int32_t code = Effect(row, pass, kCode);
  if (code == 0) return;
  if (!FindSpellEffectCode(code)) {
    Add(problems, r, key.effect, "effect code " + std::to_string(code) + " is handled by no effect");
    return;
  }
  const int32_t duration = Effect(row, pass, kDuration);
  if (duration == 16) Add(problems, r, key.duration, "duration code 16 is no duration");
  if (duration >= 11 && duration <= 14 && Effect(row, pass, kDurValue) < 1)
    Add(problems, r, key.durvalue, "a duration of dice or of a fixed count needs a value above 0");
  const int32_t sides = Effect(row, pass, kSides), count = Effect(row, pass, kCount);
  if (sides > 30) {
    const bool concealment = code == kFxConcealment && sides >= 31 && sides <= 35;
    if (!concealment && !(sides >= 46 && sides <= 53))
      Add(problems, r, key.sides, "sides " + std::to_string(sides) + " is neither a die nor an amount code (46 to 53)");
    else if (!concealment && count != sides)
      Add(problems, r, key.count, "an amount code of sides " + std::to_string(sides) + " needs the same count code");
  } else if (sides == 0 && count != 0) {
    Add(problems, r, key.count, "count code " + std::to_string(count) + " without die sides");
  }
  const int32_t param = Effect(row, pass, kParam);
  if (code == kFxSummon && !Listed(kSummonParameters, param))
    Add(problems, r, key.param, "a summoning needs the elemental 53, 109, 49 or 22 as parameter");
  if (code == kFxPolymorph && !Listed(kPolymorphForms, param - 21))
    Add(problems, r, key.param, "a polymorph needs a form parameter (28, 25, 63, 58 or 54)");
  if (code == kFxConcealment && (sides < 31 || sides > 35))
    Add(problems, r, key.sides, "a concealment needs sides 31 to 35 (10 to 50 per cent)");
}

}  // namespace

const char* const* EffectCodeNames() {
  static const char* names[kLastEffectCode + 2] = {};
  if (!names[0]) {
    for (int i = 0; i <= kLastEffectCode; ++i) names[i] = "";
    names[0] = "None";
    for (const SpellEffectCodeInfo& info : kSpellEffectCodes) names[info.code] = info.name;
    names[kLastEffectCode + 1] = nullptr;
  }
  return names;
}

const char* const kDurationNames[] = {"None",      "PerLevel1", "PerLevel2", "PerLevel3", "PerLevel4", "PerLevel5",
                                      "PerLevel6", "PerLevel7", "PerLevel8", "PerLevel9", "PerLevel10", "Dice1",
                                      "Dice2",     "Dice3",     "Fixed",     "Lasting",   "",          "UntilRest",
                                      nullptr};

const char* const kProtectionNames[] = {
    "None",        "Force",       "Fire",        "Cold",        "Acid",           "Electricity",
    "Sonic",       "Air",         "Earth",       "Water",       "Lawful",         "Good",
    "Chaos",       "Evil",        "",           "",           "",              "",
    "",           "",           "",           "",           "BullRush",       "Luck",
    "Morale",      "Stunning",    "Sleep",       "Paralysis",   "Sickness",       "Exhaustion",
    "Language",    "Mind",        "Compulsion",  "Charm",       "Phantasm",       "Figment",
    "Glamer",      "Pattern",     "Fear",        "Death",       "Disintegration", "Petrification",
    "",           "",           "Criticals",   "",           "NegativeEnergy", "PositiveEnergy",
    "OwnPetrification", "Poison", "LevelDrain",  "",           "",              "Eyes",
    "Ears",        "Bleeding",    "Hampering",   "Size",        "Speed",          "Polymorph",
    "",           "FlatFoot",    "",           "",           "Grappling",      "Pinning",
    "Flanking",    "",           "",           "Trip",        nullptr};
static_assert(sizeof(kProtectionNames) / sizeof(kProtectionNames[0]) == kLastProtectionCode + 2);

void CheckSpellEffects(const Rows& rows, const std::vector<int>& defined, RowProblems* problems) {
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    if (!defined[r]) continue;
    const auto& row = rows[r];
    if (Effect(row, 2, kCode) != 0 && Effect(row, 1, kCode) == 0)
      Add(problems, r, "effect2", "a second effect without a first");
    for (int pass = 1; pass <= 2; ++pass) CheckEffectBlock(row, r, pass, problems);
    const int32_t target = Word(row, kTargetWord), area = Word(row, kAreaWord);
    if (r < kFirstSpareSpell && target == 0) Add(problems, r, "target", "has no targeting");
    if (IsAreaTargeting(target) && target != 5 && (area < 5 || area > 50))
      Add(problems, r, "area", "needs an area of 5 to 50 feet for its targeting (has " + std::to_string(area) + ")");
    if (target == 5 && (area < 5 || Word(row, kArea2Word) < 5))
      Add(problems, r, area < 5 ? "area" : "area2", "is a rectangle without both sizes");
  }
  for (const SpellExpectation& e : kSpellExpectations) {
    if (e.spell < 0 || e.spell >= static_cast<int>(rows.size()) || !defined[e.spell]) continue;
    const auto& row = rows[e.spell];
    const std::string treated = ", as the game treats this spell by its id";
    int pass = 0;
    for (int p = 1; p <= 2 && !pass; ++p)
      if (Effect(row, p, kCode) == e.code) pass = p;
    if (!pass) {
      Add(problems, e.spell, "effect1", "must carry effect code " + CodeText(e.code) + treated);
      continue;
    }
    const EffectKeys& key = kEffectKeys[pass];
    if (e.parameter >= 0 && Effect(row, pass, kParam) != e.parameter)
      Add(problems, e.spell, key.param,
          "must carry parameter " + std::to_string(e.parameter) + " with effect code " + CodeText(e.code) + treated);
    if (e.targeting >= 0 && Word(row, kTargetWord) != e.targeting)
      Add(problems, e.spell, "target",
          "must have targeting kind " + std::to_string(e.targeting) + " for effect code " + CodeText(e.code) + treated);
    const int32_t save = Effect(row, pass, kSave);
    if (e.halvingSave && (save < 1 || save > 3))
      Add(problems, e.spell, key.save, "needs a halving save with effect code " + CodeText(e.code) + treated);
  }
}

// ---------------------------------------------------------------- listing

namespace {

const char* const kSchoolWords[] = {"no school", "Abjuration", "Conjuration", "Divination",   "Enchantment",
                                    "Evocation", "Illusion",   "Necromancy",  "Transmutation"};
const char* const kRangeWords[] = {"none", "personal", "touch", "15 feet", "35 feet", "60 feet"};
const char* const kTargetWords[] = {"nothing",          "the caster",          "a burst round the caster",
                                    "one creature",     "a square (summoning)", "a rectangle",
                                    "a circle",         "a circular burst",    "a cone",
                                    "a line",           "an item",             "a square or one creature"};
const char* const kDescriptorWords[] = {"", "", "charm", "compulsion", "", "figment", "glamer", "", "pattern", "phantasm"};
const char* const kSaveWords[] = {"no save",         "Fortitude halves",  "Willpower halves", "Reflex halves",
                                  "Fortitude negates", "Willpower negates", "Reflex negates"};

std::string Pick(const char* const* words, int count, int value) {
  return value >= 0 && value < count && words[value][0] ? words[value] : std::to_string(value);
}

std::string AmountWords(int code, int sides, int count) {
  auto dice = [sides](int n) { return std::to_string(n) + "d" + std::to_string(sides); };
  if (code == kFxConcealment && sides >= 31 && sides <= 35) return std::to_string(10 * (sides - 30)) + " %";
  if (sides > 30) {
    static const char* const flat[] = {"the caster level",         "twice the caster level",
                                       "half the caster level",    "a third of the caster level",
                                       "a quarter of the caster level", "a fifth of the caster level",
                                       "a sixth of the caster level",   "ten times the caster level"};
    return sides >= 46 && sides <= 53 ? flat[sides - 46] : "?";
  }
  if (sides == 0) return "";
  if (count == 0) return std::to_string(sides);
  if (count <= 20) return dice(count);
  if (count == 21) return dice(1).append(" per caster level");
  if (count == 22) return dice(2).append(" per caster level");
  if (count <= 27) return dice(count - 22).append(" + the caster level");
  if (count <= 32) return dice(count - 27).append(" + twice the caster level");
  if (count == 33) return dice(1).append(" per two caster levels");
  if (count == 34) return dice(1).append(" + half the caster level");
  if (count <= 50) return dice(1).append(" per caster level, at most ").append(dice(count - 30));
  return dice(1).append(" per two caster levels, at most ").append(dice(count - 46));
}

std::string DurationWords(int code, int value) {
  if (code >= 1 && code <= 10) return std::to_string(code) + (code == 1 ? " round" : " rounds") + " per caster level";
  if (code >= 11 && code <= 13) return std::to_string(code - 10) + "d" + std::to_string(value) + " rounds";
  if (code == 14) return std::to_string(value) + (value == 1 ? " round" : " rounds");
  if (code == 15) return "until removed";
  if (code == 17) return "until the next rest";
  return "";
}

std::string EffectWords(const std::vector<uint8_t>& row, int pass) {
  const int32_t code = Effect(row, pass, kCode);
  const SpellEffectCodeInfo* info = FindSpellEffectCode(code);
  std::string s = info ? std::string(info->name) + ": " + info->words : "code " + std::to_string(code);
  const std::string amount = AmountWords(code, Effect(row, pass, kSides), Effect(row, pass, kCount));
  if (!amount.empty()) s += "; amount " + amount;
  const int32_t param = Effect(row, pass, kParam);
  if (param) s += "; parameter " + std::to_string(param);
  const std::string duration = DurationWords(Effect(row, pass, kDuration), Effect(row, pass, kDurValue));
  if (!duration.empty()) s += "; lasts " + duration;
  s += "; " + Pick(kSaveWords, 7, Effect(row, pass, kSave));
  s += Effect(row, pass, kResist) ? "; spell resistance applies" : "; no spell resistance";
  return s;
}

std::string Text(const std::vector<uint8_t>& row) {
  std::string s;
  for (int i = 0; i < 50 && row[i]; ++i) s += static_cast<char>(row[i]);
  return s;
}

}  // namespace

std::string SpellListing(const Rows& rows) {
  std::ostringstream out;
  out << "The spells of the game, as the spell table gives them.\n\n";
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const auto& row = rows[r];
    out << r << "  " << Text(row) << "\n";
    out << "    level " << Word(row, kLevelWord) << (Word(row, kDivineWord) ? " cleric" : " wizard") << ", "
        << Pick(kSchoolWords, 9, Word(row, kSchoolWord));
    const int32_t descriptor = Word(row, kDescriptorWord);
    if (descriptor) out << " [" << Pick(kDescriptorWords, 10, descriptor) << "]";
    out << "; range " << Pick(kRangeWords, 6, Word(row, kRangeWord)) << "; targets "
        << Pick(kTargetWords, 12, Word(row, kTargetWord));
    const int32_t area = Word(row, kAreaWord), area2 = Word(row, kArea2Word);
    if (area2) out << ", " << area << " by " << area2 << " feet";
    else if (area) out << ", " << area << " feet";
    if (Word(row, kSpreadsWord)) out << ", spreading";
    if (Word(row, kAlliesWord)) out << "; the caster's side";
    if (Word(row, kFoesWord)) out << "; the caster's foes only";
    if (Word(row, kHarmfulWord)) out << "; harmful";
    if (Word(row, kMeleeTouchWord)) out << "; melee touch";
    if (Word(row, kRangedTouchWord)) out << "; ranged touch";
    out << "\n";
    const int32_t imm1 = Word(row, kImmunity1Word), imm2 = Word(row, kImmunity2Word);
    if (imm1 || imm2) {
      out << "    stopped by protection from " << Pick(kProtectionNames, kLastProtectionCode + 1, imm1);
      if (imm2) out << " or " << Pick(kProtectionNames, kLastProtectionCode + 1, imm2);
      out << "\n";
    }
    if (Word(row, kGoldWord) || Word(row, kXpWord))
      out << "    costs " << Word(row, kGoldWord) << " gold and " << Word(row, kXpWord) << " experience\n";
    for (int pass = 1; pass <= 2; ++pass)
      if (Effect(row, pass, kCode)) out << "    effect " << pass << ": " << EffectWords(row, pass) << "\n";
    if (!Effect(row, 1, kCode)) out << "    no effect\n";
    out << "\n";
  }
  return out.str();
}
