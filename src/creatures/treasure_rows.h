// The base item rows that created creatures carry and drop: the left-behind
// copies of the items (rows 242 to 481 mirror rows 1 to 240, rows 502 to 516
// the gems 486 to 500), and gold. The table compiler checks that every row
// listed here is filled, so the game never hands out an empty row.
#pragma once

// Ammunition, coins and the worn items of equipment.
inline constexpr int kArrowsRow = 242;
inline constexpr int kBoltsRow = 243;
inline constexpr int kGoldCoinsRow = 484;
inline constexpr int kMinorFireRingRow = 419;
inline constexpr int kMinorColdRingRow = 422;
inline constexpr int kProtectionRing1Row = 434;
inline constexpr int kProtectionRing2Row = 435;
inline constexpr int kProtectionRing4Row = 437;
inline constexpr int kArmorBracers1Row = 439;
inline constexpr int kArmorBracers2Row = 440;
inline constexpr int kArmorBracers3Row = 441;
inline constexpr int kArmorBracers5Row = 443;
inline constexpr int kArmorBracers6Row = 444;
inline constexpr int kArmorBracers7Row = 445;
inline constexpr int kDexterityBracers2Row = 447;
inline constexpr int kStrengthBelt2Row = 450;
inline constexpr int kStrengthBelt4Row = 451;
inline constexpr int kStrengthBelt6Row = 452;
inline constexpr int kStridingBootsRow = 453;
inline constexpr int kIntellectCirclet2Row = 454;
inline constexpr int kIntellectCirclet4Row = 455;
inline constexpr int kIntellectCirclet6Row = 456;
inline constexpr int kBlurCloakRow = 457;
inline constexpr int kResistanceCloak2Row = 463;
inline constexpr int kResistanceCloak4Row = 465;
inline constexpr int kHealthAmulet2Row = 467;
inline constexpr int kHealthAmulet4Row = 468;
inline constexpr int kWisdomHelm2Row = 470;
inline constexpr int kWisdomHelm4Row = 471;
inline constexpr int kWisdomHelm6Row = 472;

inline constexpr int kWornItemRows[] = {
    kMinorFireRingRow,     kMinorColdRingRow,     kProtectionRing1Row,   kProtectionRing2Row,
    kProtectionRing4Row,   kArmorBracers1Row,     kArmorBracers2Row,     kArmorBracers3Row,
    kArmorBracers5Row,     kArmorBracers6Row,     kArmorBracers7Row,     kDexterityBracers2Row,
    kStrengthBelt2Row,     kStrengthBelt4Row,     kStrengthBelt6Row,     kStridingBootsRow,
    kIntellectCirclet2Row, kIntellectCirclet4Row, kIntellectCirclet6Row, kBlurCloakRow,
    kResistanceCloak2Row,  kResistanceCloak4Row,  kHealthAmulet2Row,     kHealthAmulet4Row,
    kWisdomHelm2Row,       kWisdomHelm4Row,       kWisdomHelm6Row};

// Gems: the fifteen kinds from agate (5 gold) to dragon eye (6,000 gold).
inline constexpr int kFirstGemRow = 502;
inline constexpr int kLastGemRow = 516;

// Rings of the treasure tables by grade (minor, medium, major).
inline constexpr int kMinorRingRows[] = {419, 422, 425, 428, 431, 434};
inline constexpr int kMediumRingRows[] = {420, 423, 426, 429, 432, 435, 436};
inline constexpr int kMajorRingRows[] = {421, 424, 427, 430, 433, 437, 438};

// Scrolls of the treasure tables: the scroll of spell s is row
// kFirstScrollRow + s; each grade draws from a run of spell rows, arcane
// (levels 1-3, 4-6, 7-9) or divine (the same levels).
inline constexpr int kFirstScrollRow = 244;
struct SpellRun {
  int first, last;
};
inline constexpr SpellRun kArcaneScrollSpells[3] = {{0, 39}, {40, 76}, {77, 101}};
inline constexpr SpellRun kDivineScrollSpells[3] = {{102, 143}, {144, 164}, {165, 174}};

// Wondrous items of the treasure tables by grade, drawn in bands of five.
inline constexpr int kMinorWondrousRows[] = {441, 442, 443, 448, 451, 455, 461, 464, 465, 466};
inline constexpr int kMediumWondrousRows[] = {441, 442, 443, 448, 451, 455, 461, 464, 465, 466, 468, 471, 453};
inline constexpr int kMajorWondrousRows[] = {444, 445, 446, 449, 452, 456, 457, 458, 459, 460, 461, 469, 472};

// Calls f(row) for every base row a created creature can be given.
template <typename F>
constexpr void ForEachTreasureBaseRow(F f) {
  f(kArrowsRow);
  f(kBoltsRow);
  f(kGoldCoinsRow);
  for (int row : kWornItemRows) f(row);
  for (int row = kFirstGemRow; row <= kLastGemRow; ++row) f(row);
  for (int row : kMinorRingRows) f(row);
  for (int row : kMediumRingRows) f(row);
  for (int row : kMajorRingRows) f(row);
  for (const SpellRun& run : kArcaneScrollSpells)
    for (int spell = run.first; spell <= run.last; ++spell) f(kFirstScrollRow + spell);
  for (const SpellRun& run : kDivineScrollSpells)
    for (int spell = run.first; spell <= run.last; ++spell) f(kFirstScrollRow + spell);
  for (int row : kMinorWondrousRows) f(row);
  for (int row : kMediumWondrousRows) f(row);
  for (int row : kMajorWondrousRows) f(row);
}
