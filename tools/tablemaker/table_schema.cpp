#include "tablemaker/table_schema.h"

#include <cstring>
#include <iterator>
#include <utility>

#include "combat/resolution/spell_effect_codes.h"
#include "creatures/treasure_rows.h"
#include "engine/widgets.h"
#include "rules/conditions.h"
#include "rules/item_tables.h"
#include "rules/spell_ids.h"
#include "spell_rules.h"
#include "spell_sounds.h"

namespace {

int32_t Word(const std::vector<uint8_t>& row, int offset) {
  return static_cast<int32_t>(static_cast<uint32_t>(row[offset]) | static_cast<uint32_t>(row[offset + 1]) << 8 |
                              static_cast<uint32_t>(row[offset + 2]) << 16 |
                              static_cast<uint32_t>(row[offset + 3]) << 24);
}

FieldSpec Text(const char* key, int offset, int width, bool lines = false) {
  FieldSpec f{key, offset, FieldKind::kText};
  f.width = width;
  f.lines = lines;
  return f;
}

// A row's name and its description, which the pages lay out in lines.
FieldSpec Name() { return Text("name", 0, 50); }
FieldSpec Description() { return Text("text", 50, 402, true); }

FieldSpec Number(const char* key, int offset, int64_t min, int64_t max, const char* const* names = nullptr,
                 int nameBase = 0) {
  FieldSpec f{key, offset, FieldKind::kNumber};
  f.min = min;
  f.max = max;
  f.names = names;
  f.nameBase = nameBase;
  return f;
}

// An effect's duration value: rounds or die sides up to the largest count, or
// the mark of a condition that lasts until removed or until the next rest.
const int32_t kDurationMarks[] = {kDurationLasting, kDurationUntilRest};

FieldSpec Duration(const char* key, int offset) {
  FieldSpec f = Number(key, offset, 0, kLargestSpellDurationValue);
  f.marks = kDurationMarks;
  f.markCount = static_cast<int>(std::size(kDurationMarks));
  return f;
}

FieldSpec Flags(const char* key, int offset, const char* letters) {
  FieldSpec f{key, offset, FieldKind::kFlags};
  f.letters = letters;
  return f;
}

void Add(RowProblems* problems, int row, const char* field, std::string text) {
  problems->push_back({row, field, std::move(text)});
}

// The first field of the table in which two rows differ, leaving out the word
// at skipOffset; null when they are the same.
const char* DifferingField(const char* table, const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                           int skipOffset) {
  for (const FieldSpec& f : FindSchema(table)->fields) {
    if (f.offset == skipOffset) continue;
    const int width = f.kind == FieldKind::kText    ? f.width
                      : f.kind == FieldKind::kFlags ? 4 * static_cast<int>(std::strlen(f.letters))
                                                    : 4;
    if (std::memcmp(&a[f.offset], &b[f.offset], width) != 0) return f.key;
  }
  return nullptr;
}

// ---------------------------------------------------------------- items

const char* const kItemTypes[] = {
    "Nothing", "Gem", "Letter", "StrangeLetter", "Key", "StoneBlock", "Corpse", "Arrow", "SleepArrow",
    "HumanoidArrow", "UndeadArrow", "OutsiderArrow", "GiantArrow", "MonstrousArrow", "ConstructArrow",
    "AnimalArrow", "DragonArrow", "Bolt", "Lantern", "Scroll", "HealthAmulet", "StrengthBelt", "StridingBoots",
    "ArmorBracers", "DexterityBracers", "SpiderCloak", "BlurCloak", "DisplacementCloak", "ResistanceCloak",
    "SpellResistanceCloak", "FaithCloak", "IntellectHeadband", "WisdomHelm", "FireRing", "ColdRing", "AcidRing",
    "ElectricityRing", "SonicRing", "ProtectionRing", "Gold", nullptr};

const char* const kPlaces[] = {"None", "Head", "Neck", "Torso", "Cloak", "Waist", "Arms", "RightHand",
                               "LeftHand", "RightFinger", "LeftFinger", "Feet", "Ranged", "Ammunition",
                               "Finger", "EitherHand", nullptr};

const char* const kNoSale[] = {"Normal", "LeftBehind", "Unused", "Quest", nullptr};

constexpr int kIconMax = kLastFigure;
constexpr int kNoSaleWord = 468;

void CheckItems(const Rows& rows, const std::vector<int>& defined, RowProblems* problems) {
  auto need = [&](int r) {
    if (!defined[r]) {
      Add(problems, r, nullptr, "is missing");
      return false;
    }
    return true;
  };
  // Every row created creatures can be given must be a real item (said
  // first: a missing row is reported once, and this says why it is wanted).
  ForEachTreasureBaseRow([&](int r) {
    const char* field = !defined[r] ? nullptr : Word(rows[r], 452) == 0 ? "type" : rows[r][0] == 0 ? "name" : "";
    if (!field || field[0]) Add(problems, r, field, "is handed out to creatures but holds no item");
  });
  auto type = [&](int r) { return Word(rows[r], 452); };
  auto expectType = [&](int r, int t) {
    if (need(r) && type(r) != t)
      Add(problems, r, "type", std::string("must be of type ") + kItemTypes[t] + ", not " + std::to_string(type(r)));
  };
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    if (defined[r] && rows[r][0] == 0) Add(problems, r, "name", "has no name");
  }
  expectType(1, 7);
  expectType(2, 17);
  for (int r = 3; r <= 177; ++r) {
    expectType(r, 19);
    if (defined[r] && Word(rows[r], 460) != r - 3)
      Add(problems, r, "bonus", "is the scroll of spell " + std::to_string(r - 3) + ", its bonus must say so");
  }
  struct Band {
    int first, last, type;
  };
  const Band bands[] = {{178, 180, 33}, {181, 183, 34}, {184, 186, 35}, {187, 189, 36}, {190, 192, 37},
                        {193, 197, 38}, {198, 205, 23}, {206, 208, 24}, {209, 211, 21}, {212, 212, 22},
                        {213, 215, 31}, {216, 216, 26}, {217, 217, 27}, {218, 218, 30}, {219, 219, 29},
                        {220, 220, 25}, {221, 225, 28}, {226, 228, 20}, {229, 231, 32}, {232, 232, 8}};
  for (const Band& b : bands)
    for (int r = b.first; r <= b.last; ++r) expectType(r, b.type);
  for (int r = 233; r <= 240; ++r) expectType(r, 9 + (r - 233));
  expectType(484, 39);
  for (int r = 486; r <= 500; ++r) {
    expectType(r, 1);
    if (defined[r] && Word(rows[r], 456) <= 0) Add(problems, r, "price", "is a gem without a price");
  }
  // The mirrored bands: the same items under other codes (left behind on the
  // floor when the map is left); only the word at 468 may differ.
  auto mirror = [&](int r, int m) {
    if (!need(m) || !defined[r]) return;
    if (const char* field = DifferingField("items", rows[r], rows[m], kNoSaleWord))
      Add(problems, m, field, "must mirror row " + std::to_string(r));
  };
  for (int r = 1; r <= 240; ++r) mirror(r, 241 + r);
  for (int r = 486; r <= 500; ++r) mirror(r, r + 16);
}

bool GameTakesItemRow(const std::vector<uint8_t>& row) {
  ItemRecord decoded;
  DecodeItemRow(row.data(), &decoded);
  return ItemRowValuesFit(decoded);
}

// ---------------------------------------------------------------- spells

const char* const kCastingTimes[] = {"Nothing", "Move", "Standard", "Full", "None", nullptr};
const char* const kSchools[] = {"Abjuration", "Conjuration", "Divination", "Enchantment",
                                "Evocation",  "Illusion",    "Necromancy", "Transmutation", nullptr};
// Descriptors that protections can stop (rows without a name are unused).
const char* const kDescriptors[] = {"None", "", "Charm", "Compulsion", "", "Figment", "Glamer", "", "Pattern",
                                    "Phantasm", nullptr};
const char* const kRanges[] = {"None", "Personal", "Touch", "15Feet", "35Feet", "60Feet", nullptr};
const char* const kTargets[] = {"Nothing", "Caster",    "Centered",  "Individual", "Squares",   "Rectangle",
                                "Circle",  "CircBurst", "ConeBurst", "LineBurst",  "Equipment", "SqrIndiv",
                                nullptr};
const char* const kSaves[] = {"None", "FortHalf", "WillHalf", "RefHalf", "FortNegates", "WillNegates",
                              "RefNegates", nullptr};
// The sound words of a spell row (phases 1 to 3) hold a magic sound "Magic_1"
// to "Magic_24" by its number; the game plays sound 29 + the word.
const char* const kMagicSounds[] = {"None",     "Magic_1",  "Magic_2",  "Magic_3",  "Magic_4",  "Magic_5",
                                    "Magic_6",  "Magic_7",  "Magic_8",  "Magic_9",  "Magic_10", "Magic_11",
                                    "Magic_12", "Magic_13", "Magic_14", "Magic_15", "Magic_16", "Magic_17",
                                    "Magic_18", "Magic_19", "Magic_20", "Magic_21", "Magic_22", "Magic_23",
                                    "Magic_24", nullptr};
constexpr int kLastMagicSound = 24;

// The animation words of a spell row: how its cast is shown (the kind), the
// missile that flies from the caster first (its picture) and the colour of
// the kind's glows.
const char* const kAnimationKinds[] = {"None",  "Plain", "Flash", "Sparks", "Closing", "Rising", "Rings",
                                       "Glows", "Cone",  "Line",  "Burst",  "Glyphs",  "Beam",   nullptr};
const char* const kMissiles[] = {"None", "Arrow", "Fire", "Acid", "Magic", "Lilac", nullptr};
const char* const kAnimationColours[] = {"White", "Holy",      "Fire",     "Force", "Acid", "Mind",
                                         "Turning", "Lightning", "Negative", "Cold",  "Life", nullptr};
constexpr int kCastSoundWord = 564, kEffectSoundWord = 568, kTargetSoundWord = 572;

// Level blocks of the spell rows: arcane rows 0 to 101, divine rows 102 to
// 174, spare rows 175 to 179 (level 9 divine).
int BlockLevel(int row) {
  static const int arcane[] = {0, 14, 27, 40, 54, 66, 77, 86, 95, 102};
  static const int divine[] = {102, 119, 131, 144, 153, 161, 165, 169, 172, 180};
  const int* blocks = row < 102 ? arcane : divine;
  for (int level = 1; level <= 9; ++level)
    if (row >= blocks[level - 1] && row < blocks[level]) return level;
  return 0;
}

void CheckSpells(const Rows& rows, const std::vector<int>& defined, RowProblems* problems) {
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    if (!defined[r]) {
      Add(problems, r, nullptr, "is missing");
      continue;
    }
    const auto& row = rows[r];
    if (row[0] == 0) Add(problems, r, "name", "has no name");
    // The spare rows are never known nor cast: they need no sound.
    else if (r < kFirstSpareSpell && Word(row, kCastSoundWord) == 0)
      Add(problems, r, "castsound", "has no casting sound");
    const int level = Word(row, 452);
    if (level != BlockLevel(r))
      Add(problems, r, "level",
          "has level " + std::to_string(level) + " but stands in the level " + std::to_string(BlockLevel(r)) +
              " block");
    if (Word(row, 480) != (r >= 102 ? 1 : 0))
      Add(problems, r, "divine",
          std::string(r >= 102 ? "is a divine row" : "is an arcane row") + ", its divine flag must say so");
    if (r < kFirstSpareSpell && Word(row, 472) == 0) Add(problems, r, "school", "has no school");
    if (Word(row, 656) && !Word(row, 496)) Add(problems, r, "meta", "allows Silent without a verbal component");
    if (Word(row, 660) && !Word(row, 500)) Add(problems, r, "meta", "allows Still without a somatic component");
    if (r < kFirstSpareSpell)
      CheckSpellSounds(r, Word(row, kFamilyWord), Word(row, kHoldsWord), Word(row, kCastSoundWord),
                       Word(row, kEffectSoundWord), Word(row, kTargetSoundWord), problems);
  }
  CheckSpellEffects(rows, defined, problems);
}

bool GameTakesSpellRow(const std::vector<uint8_t>& row) {
  SpellRecord decoded;
  DecodeSpellRow(row.data(), &decoded);
  return SpellRowValuesFit(decoded);
}

// ---------------------------------------------------------------- crafted

const char* const kMaterials[] = {"NA",    "Cloth",    "Leather", "Wood",      "Silver",
                                  "ColdIron", "Steel", "Mithral", "Adamantine", nullptr};
const char* const kHandling[] = {"None", "Light", "OneHand", "TwoHands", "Ranged", "Shield", "Armor", nullptr};
const char* const kProficiency[] = {"None", "All", "Simple", "Martial", "Exotic",
                                    "LightArmor", "MediumArmor", "HeavyArmor", "Shield", nullptr};
const char* const kSizes[] = {"None", "Tiny", "Small", "Medium", "Large", "Huge", "Gargantuan", "Colossal", nullptr};
const char* const kDamage[] = {"None", "Slashing", "Bludgeoning", "Piercing", nullptr};

// Medium damage of each die kind of the weapon size table: (count, sides).
const int kMediumDice[12][2] = {{1, 2}, {1, 3}, {1, 4}, {1, 6}, {1, 8}, {1, 10},
                                {1, 12}, {2, 4}, {2, 6}, {2, 8}, {2, 10}, {3, 6}};

void CheckCrafted(const Rows& rows, const std::vector<int>& defined, RowProblems* problems) {
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    if (defined[r] && rows[r][0] == 0) Add(problems, r, "name", "has no name");
  }
  for (int r = 4952; r <= 4999; ++r) {
    if (!defined[r]) {
      Add(problems, r, nullptr, "is missing (prepared kind " + std::to_string(r - 4951) + ")");
      continue;
    }
    const auto& row = rows[r];
    const int kind = r - 4951;
    if (Word(row, 452) != kind) Add(problems, r, "kind", "must be of kind " + std::to_string(kind));
    const int handling = Word(row, 484), proficiency = Word(row, 488);
    if (Word(row, 492) != 3) Add(problems, r, "size", "must be of medium size");
    if (Word(row, 748) == 0) Add(problems, r, "icon", "has no picture");
    if (kind <= 35) {
      if (handling < 1 || handling > 4) Add(problems, r, "handling", "is a weapon with the handling of armour");
      if (proficiency < 1 || proficiency > 4) Add(problems, r, "proficiency", "is a weapon with an armour proficiency");
      if (kind == 8) continue;  // the blank wand deals no damage
      const int sides = Word(row, 516), count = Word(row, 520), crit = Word(row, 524), mult = Word(row, 528);
      if (sides < 2 || count < 1) Add(problems, r, sides < 2 ? "sides" : "dice", "has no damage dice");
      if (crit < 15 || crit > 20) Add(problems, r, "crit", "has a critical range outside 15 to 20");
      if (mult < 2 || mult > 4) Add(problems, r, "mult", "has a critical multiplier outside 2 to 4");
      if (Word(row, 512) < 1) Add(problems, r, "damage", "has no damage kind");
      const int dieKind = Word(row, 736);
      if (dieKind < 1 || dieKind > 11 || kMediumDice[dieKind][0] != count || kMediumDice[dieKind][1] != sides)
        Add(problems, r, "diekind", "has a die kind that does not match its medium damage");
    } else if (kind <= 37) {
      if (handling != 5 || proficiency != 8)
        Add(problems, r, handling != 5 ? "handling" : "proficiency", "is a shield: handling 5, proficiency 8");
    } else {
      if (handling != 6 || proficiency < 5 || proficiency > 7)
        Add(problems, r, handling != 6 ? "handling" : "proficiency", "is armour: handling 6, proficiency 5 to 7");
    }
  }
}

bool GameTakesCraftedRow(const std::vector<uint8_t>& row) {
  CraftedWeaponRecord decoded;
  DecodeCraftedRow(row.data(), &decoded);
  return CraftedRowValuesFit(decoded);
}

const TableSchema kSchemas[] = {
    {"items",
     2000,
     476,
     {Name(), Description(), Number("type", 452, 0, kLastBaseItemType, kItemTypes),
      Number("price", 456, 0, kLargestItemPrice), Number("bonus", 460, kLowestItemBonus, kLargestItemBonus),
      Number("icon", 464, 0, kIconMax), Number("nosale", 468, 0, kLastNoSaleMark, kNoSale),
      Number("place", 472, 0, kLastItemPlace, kPlaces)},
     CheckItems,
     GameTakesItemRow},
    {"spells",
     180,
     664,
     {Name(), Description(), Number("level", 452, 1, 9), Number("gold", 456, 0, 1000000),
      Number("xp", 460, 0, 100000), Number("time", 468, 0, 4, kCastingTimes), Number("school", 472, 1, 8, kSchools, 1),
      Number("descriptor", 476, 0, 9, kDescriptors), Number("divine", 480, 0, 1), Number("beneficial", 484, 0, 1),
      Number("harmful", 488, 0, 1), Number("targeting", 492, 0, 1000), Flags("comp", 496, "VS"),
      Number("areaword", 504, 0, 1000), Number("range", 508, 0, 5, kRanges), Number("target", 512, 0, 11, kTargets),
      Number("area", 516, 0, 300), Number("area2", 520, 0, 300), Number("rangedtouch", 532, 0, 1),
      Number("meleetouch", 536, 0, 1), Number("immunity1", 544, 0, kLastProtectionCode, kProtectionNames),
      Number("immunity2", 548, 0, kLastProtectionCode, kProtectionNames),
      Number("animation", 552, 0, 12, kAnimationKinds), Number("missile", 556, 0, 5, kMissiles),
      Number("colour", 560, 0, 10, kAnimationColours),
      Number("castsound", kCastSoundWord, 0, kLastMagicSound, kMagicSounds),
      Number("effectsound", kEffectSoundWord, 0, kLastMagicSound, kMagicSounds),
      Number("targetsound", kTargetSoundWord, 0, kLastMagicSound, kMagicSounds),
      Number("effect1", 576, 0, kLastEffectCode, EffectCodeNames()), Number("duration1", 580, 0, 17, kDurationNames),
      Duration("durvalue1", 584), Number("param1", 588, 0, 1000), Number("sides1", 592, 0, 53),
      Number("count1", 596, 0, 56), Number("save1", 600, 0, 6, kSaves), Number("sr1", 604, 0, 1),
      Number("effect2", 608, 0, kLastEffectCode, EffectCodeNames()), Number("duration2", 612, 0, 17, kDurationNames),
      Duration("durvalue2", 616), Number("param2", 620, 0, 1000), Number("sides2", 624, 0, 53),
      Number("count2", 628, 0, 56), Number("save2", 632, 0, 6, kSaves), Number("sr2", 636, 0, 1),
      Flags("meta", 640, "MEWHST"), Number("family", kFamilyWord, 0, LastSoundFamily(), SoundFamilyNames()),
      Number("holds", kHoldsWord, 0, LastSoundFamily(), SoundFamilyNames())},
     CheckSpells,
     GameTakesSpellRow,
     kSpellSourceOnlyBytes},
    {"crafted",
     5000,
     752,
     {Name(), Description(), Number("kind", 452, 0, 48), Number("place", 456, 0, 15, kPlaces),
      Number("price", 460, 0, 10000000), Number("hp", 464, 0, 10000), Number("curhp", 468, 0, 10000),
      Number("material", 472, 0, 8, kMaterials), Number("hardness", 476, 0, 100), Number("masterwork", 480, 0, 1),
      Number("handling", 484, 0, 6, kHandling), Number("proficiency", 488, 0, 8, kProficiency),
      Number("size", 492, 0, 7, kSizes), Number("nosale", 496, 0, 3, kNoSale), Number("composite", 500, 0, 1),
      Number("owned", 504, 0, 1), Number("chargedouble", 508, 0, 1), Number("damage", 512, 0, 3, kDamage),
      Number("sides", 516, 0, 100), Number("dice", 520, 0, 100), Number("crit", 524, 0, 20), Number("mult", 528, 0, 10),
      Number("armor", 516, 0, 20), Number("maxdex", 520, 0, 20), Number("check", 524, 0, 20),
      Number("failure", 528, 0, 100), Number("range", 532, 0, 1000), Number("enhancement", 536, 0, 10),
      Number("diekind", 736, 0, 11), Number("spell", 740, -1, 179), Number("charges", 744, 0, 50),
      Number("icon", 748, 0, kIconMax)},
     CheckCrafted,
     GameTakesCraftedRow},
};

}  // namespace

const TableSchema* FindSchema(const std::string& table) {
  for (const TableSchema& s : kSchemas)
    if (table == s.table) return &s;
  return nullptr;
}
