// The content of the regions' random encounter tables.
//
// Each row: region, face of the region's die, the announcing text(s), the
// count n, then the bands in placement order. A band made by OneOf has one
// member, Each has n, AllButOne n - 1, CountOf its own count, OneOrTwo one
// and a second while a fresh 1d2 exceeds the number made. Members take class
// 0, level 0, no elite flag and the kind's default items unless the band says
// otherwise; a band that Leads creates its first member with the rolled stay
// flag. Where a row's announcing text leaves a choice open, the row says what
// was chosen (docs/decisions.md lists the same):
// - creatures the announcement calls fighters are made Knights (class 1), dwarf
//   fighters Warriors (class 16), and clerics and wizards by their class,
//   where the row gives no class of its own; every elf archer carries a
//   longbow;
// - the armed-humanoid roll is made where the row asks for it, for the
//   fighters and warriors of the armed kinds (humans, elves, dwarves, orcs,
//   gnolls, muls, horsemen, skeletons, vampires, trolls) and for the class-0
//   elf archers of region 11, face 8 and region 14, face 3;
// - the casters that draw a first weapon from W7 to W10 also draw a third
//   item from W0 on a d100 of 60 or more, unless their row names another
//   threshold;
// - a drawn elemental is, by 1d4, water, fire, earth or air; a drawn pair of
//   dragon kinds is blue on a 1 of 1d2, else green.
#include "adventure/encounter_tables.h"

#include "creatures/creature_kinds.h"
#include "rules/creature_record.h"

namespace {

constexpr int kFighter = kClassKnight;
constexpr int kDwarfFighter = kClassWarrior;
constexpr int kCleric = kClassCleric;
constexpr int kWizard = kClassWizard;

// The third item of most casters: a crossbow from W0 on a d100 of 60 or more.
constexpr ItemRule kCasterCrossbow = OnD100AtLeast(60, FromTable(kW0));
constexpr int kLongbow = 32;

constexpr EncounterRow Down(int region, int face) {
  EncounterRow row{static_cast<int8_t>(region), static_cast<int8_t>(face), {}, 1, {}};
  row.chain = kNextRegionDown;
  return row;
}

// The four elementals, in the order of a drawn kind.
#define ELEMENTALS kKindWaterElemental, kKindFireElemental, kKindEarthElemental, kKindAirElemental

}  // namespace

const EncounterItemTable EncounterItemTables[kItemTableCount] = {
    {2, {11, 10}},
    {23, {4, 5, 6, 7, 8, 9, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 34, 35}},
    {8, {17, 18, 19, 20, 21, 22, 23, 24}},
    {13, {17, 18, 19, 20, 21, 22, 23, 24, 12, 13, 14, 15, 16}},
    {5, {12, 13, 14, 15, 16}},
    {15, {17, 25, 18, 26, 27, 29, 30, 28, 20, 19, 21, 22, 31, 23, 24}},
    {4, {11, 10, 33, 32}},
    {2, {1, 8}},
    {8, {4, 5, 6, 7, 8, 1, 2, 3}},
    {5, {4, 5, 6, 7, 8}},
    {6, {4, 5, 6, 7, 8, 9}},
};

const SquareOffset PlacementTableA[kTableASquares] = {
    {1, 0}, {1, 1}, {2, 1}, {0, 1}, {2, 0}, {0, 0}, {1, 2}, {2, 2},
    {0, 2}, {1, 3}, {2, 3}, {0, 3}, {3, 1}, {3, 2}, {3, 3}, {3, 0},
};
const SquareOffset FormationTableB[kTableASquares] = {
    {0, 0}, {0, 1},  {1, 1}, {-1, 1}, {1, 0}, {-1, 0}, {0, 2}, {1, 2},
    {-1, 2}, {0, 3}, {1, 3}, {-1, 3}, {2, 1}, {2, 2},  {2, 3}, {2, 0},
};
const SquareOffset PlacementTableL[kTableLSquares] = {{0, 0}, {0, 2}, {2, 2}, {2, 0}};

bool IsLargeEncounterKind(int kind) {
  switch (kind) {
    case kKindBrownBear: case kKindTiger: case kKindMinotaur: case kKindBlackDragon: case kKindBlueDragon:
    case kKindGreenDragon: case kKindRedDragon: case kKindWhiteDragon: case kKindFireGiant: case kKindFrostGiant:
    case kKindHillGiant: case kKindVrock: case kKindIronGolem: case kKindGorgon: case kKindTroll:
    case kKindGiantSpider: case kKindBalor: case kKindHorseman:
      return true;
    default:
      return false;
  }
}

const int8_t EncounterDieSides[kEncounterRegions] = {9, 9, 9, 9, 11, 9, 9, 9, 9, 10, 9, 9, 9, 9, 9, 9, 9, 8, 7, 8, 8};

const EncounterRow EncounterRows[] = {
    // Regions 0 to 2.
    {0, 1, {"You encounter a wild, venomous £snake£."}, 1, {OneOf(kKindSnake)}},
    {0, 2, {"You encounter a group of £%i£ £wolves£."}, Dice(1, 3, 1), {Each(kKindWolf)}},
    {0, 3, {"You encounter a hostile £thri-kreen£."}, 1, {OneOf(kKindThriKreen).Weapon(OnOneOfD4(Item(9)))}},
    {0, 4, {"You encounter a group of £%i£ £ghouls£."}, Dice(1, 3, 1), {Each(kKindGhoul)}},
    {0, 5, {"You encounter a group of £%i£ £human_thugs£."}, Dice(1, 2, 1),
     {Each(kKindHuman).Class(kFighter).Armed(kArmedWithThirdItem)}},
    {0, 6, {"You encounter a hostile £half-elf_wizard£."}, 1,
     {OneOf(kKindHalfElf).Class(kWizard).Level(2).Elite().Options(Opts(0, 2, Dice(1, 2, 1)))
          .Weapon(FromTable(kW7)).Third(kCasterCrossbow)}},
    {0, 7, {"You encounter a group of £2£ £grimlocks£."}, 2, {Each(kKindGrimlock).Weapon(Item(17))}},
    {0, 8, {"You encounter a group of £%i£ £monstrous_centipedes£."}, Dice(1, 2, 1), {Each(kKindCentipede)}},
    {0, 9, {"You encounter a hostile £giant_spider£."}, 1, {OneOf(kKindGiantSpider).Level(Dice(1, 3, -1))}, kOneText, 1},

    // Region 3.
    {3, 1, {"You encounter a £vampire£."}, 1, {OneOf(kKindVampire)}},
    {3, 2, {"You encounter a hostile group comprising £%i£ fighter(s), £1£ cleric and £1£ wizard."}, Dice(1, 2),
     {DrawnEach(Each(0).Class(kFighter).Armed(), 2, kKindHuman, kKindMul),
      Drawn(OneOf(0).Class(kWizard).Options(Opts(0, 2, 3)).Weapon(FromTable(kW7)).Third(kCasterCrossbow), 3,
            kKindHuman, kKindHalfElf, kKindElf),
      OneOf(kKindHuman).Class(kCleric).Options(Opts(0, 1, 1)).Weapon(FromTable(kW8)).Third(kCasterCrossbow)}},
    {3, 3, {"You encounter a hostile £elemental£.", "You encounter 2 hostile £elementals£."}, Dice(1, 2),
     {Drawn(Each(0).Level(Dice(1, 2, 1)), 4, ELEMENTALS)}, kTextByCount},
    {3, 4, {"You encounter a group of £%i£ £gnolls£."}, Dice(1, 3, 2), {Each(kKindGnoll)}},
    {3, 5, {"You encounter a wild £snake£."}, 1, {OneOf(kKindSnake).Level(Dice(1, 2, 4)).Elite()}},
    {3, 6, {"You encounter a group of £%i£ £skeletons£."}, Dice(1, 3, 1),
     {OneOf(kKindSkeleton).Level(3).Elite().Leads(), AllButOne(kKindSkeleton)}},
    {3, 7, {"You encounter a group of £%i£ £orcs£."}, Dice(1, 2, 2),
     {AllButOne(kKindOrc).Level(2).Armed(),
      OneOf(kKindOrc).Class(kCleric).Level(2).Options(OptsByD2(Opts(0, 1, 1), Opts(0, 2, 2)))
          .Weapon(FromTable(kW8)).Third(kCasterCrossbow)}},
    {3, 8, {"You encounter a group of £%i£ hostile £elf_archers£."}, Dice(1, 3, 1),
     {OneOf(kKindElf).Class(kFighter).Elite().Leads().Armed().Third(Item(kLongbow)),
      AllButOne(kKindElf).Class(kFighter).Armed().Third(Item(kLongbow))}},
    Down(3, 9),

    // Region 4.
    {4, 1, {"You encounter a group of £%i£ £lizardmen£."}, Dice(1, 3, 3),
     {OneOf(kKindLizardman).Elite().Leads().Weapon(FromTable(kW1)).Named("Leader"), AllButOne(kKindLizardman)}},
    {4, 2, {"You encounter a wild, dangerous £tiger£."}, 1, {OneOf(kKindTiger).Level(Dice(1, 4, -1))}},
    {4, 3, {"You encounter a wild, dangerous £bear£."}, 1, {OneOf(kKindBrownBear).Level(Dice(1, 4, -1))}},
    {4, 4, {"You encounter a group of £2£ renegade £mounted_knights£."}, 2,
     {Each(kKindHorseman).Class(kFighter).Armed()}},
    {4, 5, {"You encounter a group of £%i£ hostile £giant_spiders£."}, Dice(1, 3, 1),
     {OneOf(kKindGiantSpider).Elite().Leads().Named("Leader"), AllButOne(kKindGiantSpider)}},
    {4, 6, {"You encounter a group of £%i£ £skeletons£ and £1£ £evil_cleric£."}, Dice(1, 3, 3),
     {Each(kKindSkeleton),
      OneOf(kKindHuman).Class(kCleric).Options(Opts(0, 2, 2)).Weapon(FromTable(kW9)).Third(kCasterCrossbow)}},
    {4, 7, {"You encounter a hostile £orc_fighter£."}, 1, {OneOf(kKindOrc).Class(kFighter).Level(4).Elite().Armed()}},
    {4, 8, {"You encounter a ferocious £minotaur£."}, 1, {OneOf(kKindMinotaur).Weapon(Item(26))}},
    {4, 9, {"You encounter a group of £2£ evil £mul_wizards£."}, 2, {Each(kKindMul).Class(kWizard).Level(4).Elite()}},
    {4, 10, {"You encounter a high-level £monstrous_centipede£."}, 1, {OneOf(kKindCentipede).Level(10).Elite()}},
    Down(4, 11),

    // Region 5.
    {5, 1, {"You encounter a tribe of £%i£ £orc_warriors£."}, Dice(3, 4),
     {OneOf(kKindOrc).Level(5).Elite().Leads().Armed().Named("Chieftain"), AllButOne(kKindOrc).Level(2).Armed()}},
    {5, 2, {"You encounter a £mummy£."}, 1, {OneOf(kKindMummy).Level(Dice(1, 4, -1))}},
    {5, 3, {"You encounter a £troll£."}, 1, {OneOf(kKindTroll)}},
    {5, 4, {"You encounter a group of £3£ £gnoll_warriors£ and £1£ £gnoll_wizard£."}, 3,
     {Each(kKindGnoll).Level(2).Armed(),
      OneOf(kKindGnoll).Class(kWizard).Level(5).Elite().Options(Opts(0, 2, 3)).Weapon(FromTable(kW7))
          .Third(kCasterCrossbow)}},
    {5, 5, {"You encounter a bloodthirsty £vampire£."}, 1,
     {OneOf(kKindVampire).Class(kFighter).Level(Dice(1, 2, 2)).Armed()}},
    {5, 6, {"You encounter a group of £%i£ £skeletons£."}, Dice(1, 6, 4), {Each(kKindSkeleton).Level(2).Armed()}},
    {5, 7, {"You encounter a group of £%i£ £grimlock_warriors£ and £1£ £grimlock_cleric£."}, Dice(1, 3, 1),
     {Each(kKindGrimlock).Weapon(Item(17)),
      OneOf(kKindGrimlock).Class(kCleric).Level(5).Elite().Options(Opts(0, 2, 3)).Weapon(FromTable(kW8))
          .Third(kCasterCrossbow)}},
    {5, 8, {"You encounter a hostile group of £2£ £human_warriors£ and £2£ £human_archers£."}, 2,
     {Each(kKindHuman).Class(kFighter).Level(2).Armed(), Each(kKindHuman).Class(kFighter).Level(2).Armed()}},
    Down(5, 9),

    // Region 6.
    {6, 1, {"You encounter a group of £%i£ hungry £wolves£."}, Dice(2, 4, 2), {Each(kKindWolf).Level(3)}},
    {6, 2, {"You encounter a £salamander£."}, 1, {OneOf(kKindSalamander).Level(Dice(1, 2, -1))}},
    {6, 3, {"You encounter a group of £%i£ £minotaurs£."}, Dice(1, 3, 1), {Each(kKindMinotaur)}},
    {6, 4, {"You encounter £2£ £bears£."}, 2, {Each(kKindBrownBear)}},
    {6, 5, {"You encounter a hostile, high-level £thri-kreen_cleric£."}, 1,
     {OneOf(kKindThriKreen).Class(kCleric).Level(Dice(1, 2, 5))}},
    {6, 6, {"You encounter a £troll£."}, 1, {OneOf(kKindTroll).Level(2).Elite()}},
    {6, 7, {"You encounter a £babau£."}, 1, {OneOf(kKindBabau)}},
    {6, 8, {"You encounter a group of £%i£ £snakes£."}, Dice(1, 3, 2), {Each(kKindSnake).Level(2)}},
    Down(6, 9),

    // Region 7.
    {7, 1, {"You encounter a group of £%i£ £thri_kreens£."}, Dice(1, 4, 2),
     {OneOf(kKindThriKreen).Class(kFighter).Level(Dice(1, 2, 3)), AllButOne(kKindThriKreen)}},
    {7, 2, {"You encounter a £hill_giant£."}, 1,
     {OneOf(kKindHillGiant).Level(Dice(1, 4, -1)).Weapon(OnD100AtLeast(50, Item(27)))}},
    {7, 3, {"You encounter a £medusa£."}, 1, {OneOf(kKindMedusa).Weapon(Item(1)).Third(Item(33))}},
    {7, 4, {"You encounter a hostile group of £%i£ £dwarf_fighters£ and £1£ £dwarf_cleric£."}, Dice(1, 2, 2),
     {Each(kKindDwarf).Class(kDwarfFighter).Level(2).Armed(),
      OneOf(kKindDwarf).Class(kCleric).Level(6).Elite().Options(Opts(0, 1, 1)).Weapon(FromTable(kW9))
          .Third(OnD100AtLeast(70, FromTable(kW0)))}},
    {7, 5, {"You encounter a group of £%i£ £orc_fighter(s)£ and £1£ £orc_wizard£."}, Dice(1, 2),
     {Each(kKindOrc).Class(kFighter).Level(5).Elite().Armed(),
      OneOf(kKindOrc).Class(kWizard).Level(5).Elite().Options(Opts(0, 2, 3)).Weapon(FromTable(kW10))
          .Third(kCasterCrossbow)}},
    {7, 6, {"You encounter a group of £%i£ £mummies£."}, Dice(1, 3, 1), {Each(kKindMummy)}},
    {7, 7, {"You encounter a hostile, high-level £giant-spider_wizard£."}, 1,
     {OneOf(kKindGiantSpider).Class(kWizard).Level(8)}},
    {7, 8, {"You encounter a group of £%i£ £tigers£."}, Dice(1, 3, 1), {Each(kKindTiger)}},
    Down(7, 9),

    // Region 8.
    {8, 1, {"You encounter a £gorgon£."}, 1, {OneOf(kKindGorgon).Level(Dice(1, 4, -1))}},
    {8, 2, {"You encounter a £white_dragon£."}, 1, {OneOf(kKindWhiteDragon).Level(Dice(1, 4, -1))}},
    {8, 3, {"You encounter a group of £%i£ £vampires£."}, Dice(1, 4, 3),
     {OneOf(kKindVampire).Level(5).Elite().Leads().Named("Master"), AllButOne(kKindVampire)}},
    {8, 4, {"You encounter a group of £%i£ £salamanders£."}, Dice(1, 3, 1), {Each(kKindSalamander)}},
    {8, 5, {"You encounter a group of £%i£ £grimlock_warriors£ and £1£ £medusa£."}, Dice(1, 2),
     {Each(kKindGrimlock), OneOf(kKindMedusa).Elite()}},
    {8, 6, {"You encounter a hostile, high-level £elemental£."}, 1,
     {Drawn(OneOf(0).Level(Dice(1, 2, 20)), 4, ELEMENTALS)}},
    {8, 7, {"You encounter a group of £%i£ £trolls£."}, Dice(1, 3, 1),
     {OneOf(kKindTroll).Level(3).Elite().Leads().Weapon(FromTable(kW5)), AllButOne(kKindTroll)}},
    {8, 8, {"You encounter a group of £%i£ £mul_thugs£."}, Dice(1, 4, 7),
     {Each(kKindMul).Level(3).Armed().Named("Thug")}},
    Down(8, 9),

    // Region 9.
    {9, 1, {"You encounter a £frost_giant£."}, 1,
     {OneOf(kKindFrostGiant).Level(Dice(1, 4, -1)).Weapon(OnD100AtLeast(50, Item(26)))}},
    {9, 2, {"You encounter a £black_dragon£."}, 1, {OneOf(kKindBlackDragon).Level(Dice(1, 4, -1))}},
    {9, 3, {"You encounter a group of £%i£ £monstrous_centipedes£."}, Dice(1, 3, 5),
     {Each(kKindCentipede).Level(Dice(1, 2, 6))}},
    {9, 4, {"You encounter a group of £%i£ £skeleton_warriors£ and £1£ £evil_cleric£."}, Dice(1, 3, 6),
     {Each(kKindSkeleton).Level(3).Armed(),
      OneOf(kKindHuman).Class(kCleric).Level(8).Weapon(FromTable(kW8)).Third(kCasterCrossbow).Named("Necromancer")}},
    {9, 5, {"You encounter a hostile group of £thri-kreen£ fighters, clerics and wizards."}, 1,
     {OneOrTwo(kKindThriKreen).Class(kFighter).Level(6).Elite().Weapon(OnOneOfD4(FromTable(kW5))),
      OneOrTwo(kKindThriKreen).Class(kCleric).Level(6).Elite().Options(OptsByD2(Opts(0, 1, 1), Opts(0, 2, 2)))
          .Weapon(OnOneOfD4(FromTable(kW2))),
      OneOrTwo(kKindThriKreen).Class(kWizard).Level(6).Elite()
          .Options(OptsD100Below(80, Opts(0, 2, Dice(1, 4, 1)), Opts(0, 1, 1)))}},
    {9, 6, {"You encounter a high-level £minotaur£."}, 1,
     {OneOf(kKindMinotaur).Class(kFighter).Level(Dice(1, 2, 5)).Elite().Weapon(Item(26))}},
    {9, 7, {"You encounter a group of £%i£ £giant_spiders£."}, Dice(1, 2, 1), {Each(kKindGiantSpider).Level(6)}},
    {9, 8, {"You encounter a group of £%i£ £babaus£."}, Dice(1, 3, 1), {Each(kKindBabau)}},
    {9, 9, {"You encounter a £vrock£."}, 1, {OneOf(kKindVrock)}},
    Down(9, 10),

    // Region 10.
    {10, 1, {"You encounter a high-level £vampire£."}, 1,
     {OneOf(kKindVampire).Class(kWizard).Level(Dice(1, 2, 7)).Elite().Options(Opts(8, 2, 2))
          .Third(OnD100AtLeast(70, FromTable(kW0)))}},
    {10, 2, {"You encounter a £fire_giant£."}, 1,
     {OneOf(kKindFireGiant).Level(Dice(1, 4, -1)).Weapon(OnD100AtLeast(50, Item(29)))}},
    {10, 3, {"You encounter a group of £%i£ £dwarf_renegades£."}, Dice(1, 3, 1),
     {Each(kKindDwarf).Class(kDwarfFighter).Level(7).Armed().Named("Renegade")}},
    {10, 4, {"You encounter a group of £%i£ £orc_wizards£."}, Dice(1, 2, 1), {Each(kKindOrc).Class(kWizard).Level(8)}},
    {10, 5, {"You encounter £%i£ £troll_fighter(s)£."}, Dice(1, 2), {Each(kKindTroll).Class(kFighter).Level(4).Armed()}},
    {10, 6, {"You encounter a group of £%i£ £hill_giants£."}, Dice(1, 2, 2),
     {AllButOne(kKindHillGiant), OneOf(kKindHillGiant).Class(kCleric).Level(3)}},
    {10, 7, {"You encounter a £white_dragon£."}, 1, {OneOf(kKindWhiteDragon).Level(Dice(1, 3, 3))}},
    {10, 8, {"You encounter a group of £%i£ £gnolls£."}, Dice(1, 6, 6),
     {OneOf(kKindGnoll).Class(kFighter).Level(5).Armed().Named("Chieftain"), AllButOne(kKindGnoll)}},
    Down(10, 9),

    // Region 11.
    {11, 1, {"You encounter a £blue_dragon£.", "You encounter a £green_dragon£."}, 1,
     {Drawn(OneOf(0).Level(Dice(1, 4, -1)), kPickD100Below50, kKindBlueDragon, kKindGreenDragon)}, kTextByKind},
    {11, 2, {"You encounter a group of £2£ £frost_giants£."}, 2, {Each(kKindFrostGiant).Level(Dice(1, 3, -1))}},
    {11, 3, {"You encounter a group of £%i£ £gorgons£."}, Dice(1, 3, 1),
     {OneOf(kKindGorgon).Elite().Leads(), AllButOne(kKindGorgon)}},
    {11, 4, {"You encounter £2£ £vrocks£."}, 2, {Each(kKindVrock)}},
    {11, 5, {"You encounter a hostile group of £1£ £human_fighter£ and £1£ £human_wizard£."}, 1,
     {OneOf(kKindHuman).Class(kFighter).Level(9).Armed(),
      OneOf(kKindHuman).Class(kWizard).Level(9).Weapon(FromTable(kW7)).Third(kCasterCrossbow)}},
    {11, 6, {"You encounter a group of £%i£ £orc_fighters£."}, Dice(1, 3, 1),
     {Each(kKindOrc).Class(kFighter).Level(8).Armed()}},
    {11, 7,
     {"You encounter a group of £%i£ £water_elementals£.", "You encounter a group of £%i£ £fire_elementals£.",
      "You encounter a group of £%i£ £earth_elementals£.", "You encounter a group of £%i£ £air_elementals£."},
     Dice(1, 3, 1), {Drawn(Each(0).Level(20).Elite(), 4, ELEMENTALS)}, kTextByKind},
    {11, 8, {"You encounter a hostile group of £%i£ £elf_archers£."}, Dice(1, 4, 4),
     {Each(kKindElf).Level(7).Armed().Third(Item(kLongbow))}},
    Down(11, 9),

    // Region 12.
    {12, 1, {"You encounter a high-level £salamander£."}, 1,
     {OneOf(kKindSalamander).Class(kWizard).Level(Dice(1, 2, 10)).Elite().Options(Opts(2, 2, 2))}},
    {12, 2, {"You encounter a group of £%i£ £vampires£."}, Dice(1, 3, 1),
     {AllButOne(kKindVampire).Level(10), OneOf(kKindVampire).Class(kCleric).Level(10)}},
    {12, 3, {"You encounter a huge £white_dragon£."}, 1, {OneOf(kKindWhiteDragon).Level(Dice(1, 3, 7))}},
    {12, 4, {"You encounter a group of £%i£ £black_dragons£."}, Dice(1, 3, 1), {Each(kKindBlackDragon)}},
    {12, 5, {"You encounter a group of £%i£ £giant-spider_wizards£."}, Dice(1, 3, 1),
     {Each(kKindGiantSpider).Class(kWizard).Level(9)}},
    {12, 6, {"You encounter a single £red_dragon£."}, 1, {OneOf(kKindRedDragon)}},
    {12, 7, {"You encounter a high-level £gorgon£."}, 1, {OneOf(kKindGorgon).Level(Dice(1, 2, 11)).Elite()}},
    {12, 8, {"You encounter a group of £4£ £troll_fighters£."}, 4, {Each(kKindTroll).Class(kFighter).Level(3).Armed()}},
    Down(12, 9),

    // Region 13.
    {13, 1, {"You encounter a £lich£."}, 1, {OneOf(kKindLich)}},
    {13, 2, {"You encounter £2£ £blue_dragons£."}, 2, {Each(kKindBlueDragon)}},
    {13, 3, {"You encounter a single £iron_golem£."}, 1, {OneOf(kKindIronGolem).Weapon(OnD100AtLeast(81, Item(19)))}},
    {13, 4, {"You encounter a hostile group of £%i£ £half-elf_wizards£."}, Dice(1, 2, 3),
     {Each(kKindHalfElf).Class(kWizard).Level(9).Weapon(FromTable(kW7)).Third(kCasterCrossbow)}},
    {13, 5, {"You encounter a tribe comprising £%i£ £lizardmen£."}, Dice(1, 4, 8),
     {OneOf(kKindLizardman).Level(7).Elite().Leads().Armed().Named("Tribe Leader"),
      AllButOne(kKindLizardman).Level(5).Armed()}},
    {13, 6, {"You encounter a group of £%i£ £mummy_fighters£."}, Dice(1, 3, 1),
     {Each(kKindMummy).Class(kFighter).Level(5)}},
    {13, 7, {"You encounter a group of £%i£ £fire_giants£."}, Dice(1, 3, 1),
     {AllButOne(kKindFireGiant), OneOf(kKindFireGiant).Class(kWizard).Level(3)}},
    {13, 8, {"You encounter a £black_dragon£ with magical abilities."}, 1,
     {OneOf(kKindBlackDragon).Class(kWizard).Level(Dice(1, 2, 7))}},
    Down(13, 9),

    // Region 14.
    {14, 1, {"You encounter a high-level £white_dragon£."}, 1, {OneOf(kKindWhiteDragon).Level(Dice(1, 4, 11))}},
    {14, 2, {"You encounter £%i£ fearsome £dragons£."}, Dice(1, 3, 1),
     {Drawn(Each(0), 2, kKindBlueDragon, kKindGreenDragon)}},
    {14, 3, {"You encounter a hostile group of £%i£ £elf_archers£."}, Dice(1, 4, 2),
     {Each(kKindElf).Level(10).Armed().Third(Item(kLongbow))}},
    {14, 4, {"You encounter a high-level £orc_cleric£."}, 1,
     {OneOf(kKindOrc).Class(kCleric).Level(Dice(1, 2, 13)).Elite().Weapon(FromTable(kW9)).Third(kCasterCrossbow)}},
    {14, 5, {"You encounter a group of £4£ £vrocks£."}, 4, {Each(kKindVrock)}},
    {14, 6, {"You encounter a £red_dragon£."}, 1, {OneOf(kKindRedDragon).Level(Dice(1, 2, 1))}},
    {14, 7, {"You encounter a group of £%i£ £salamanders£."}, Dice(1, 5, 7),
     {OneOf(kKindSalamander).Level(3).Elite().Leads(), AllButOne(kKindSalamander)}},
    {14, 8, {"You encounter a group of £2£ £medusa_wizards£."}, 2, {Each(kKindMedusa).Class(kWizard).Level(8)}},
    Down(14, 9),

    // Region 15.
    {15, 1, {"You encounter a high-level £black_dragon£."}, 1, {OneOf(kKindBlackDragon).Level(Dice(1, 3, 11))}},
    {15, 2, {"You encounter a group of £2£ £red_dragons£."}, 2, {Each(kKindRedDragon).Level(Dice(1, 2))}},
    {15, 3, {"You encounter a high-level £babau£."}, 1, {OneOf(kKindBabau).Level(16).Elite()}},
    {15, 4, {"You encounter a group of £%i£ £skeleton_fighters£ and £2£ liches."}, Dice(1, 4, 6),
     {Each(kKindSkeleton).Class(kFighter).Level(Dice(1, 2, 1)).Armed(), CountOf(2, kKindLich).Options(Opts(0, 2, 4))}},
    {15, 5, {"You encounter a group of £2£ £frost_giants£."}, 2, {Each(kKindFrostGiant).Level(4)}},
    {15, 6, {"You encounter a group of £%i£ £blue_dragons£."}, Dice(1, 3, 1), {Each(kKindBlueDragon)}},
    {15, 7, {"You encounter a group of £%i£ £grimlocks£."}, Dice(1, 6, 8),
     {OneOf(kKindGrimlock).Level(Dice(1, 2, 7)).Leads().Weapon(Item(17)),
      AllButOne(kKindGrimlock).Level(Dice(1, 2, 4)).Weapon(Item(17))}},
    {15, 8, {"You encounter a hostile group of £%i£ £half-elf_wizards£."}, Dice(1, 2, 3),
     {Each(kKindHalfElf).Class(kWizard).Level(11).Weapon(FromTable(kW7)).Third(kCasterCrossbow).Named(kNameByGender)}},
    Down(15, 9),

    // Region 16.
    {16, 1, {"You encounter a group of £2£ high-level £frost-giant_clerics£."}, 2,
     {Each(kKindFrostGiant).Class(kCleric).Level(11)}},
    {16, 2, {"You encounter a high-level £blue_dragon£.", "You encounter a high-level £green_dragon£."}, 1,
     {Drawn(OneOf(0).Class(kWizard).Level(Dice(1, 3, 9))
                .Options(OptsD100Below(70, Opts(0, 2, Dice(1, 2, 1)), Opts(0, 1, 1))),
            2, kKindBlueDragon, kKindGreenDragon)}, kTextByKind},
    {16, 3, {"You encounter a group of £%i£ £iron_golems£."}, Dice(1, 3, 1), {Each(kKindIronGolem)}},
    {16, 4, {"You encounter a group of £2£ high-level £evil_wizards£."}, 2, {Each(kKindHuman).Class(kWizard).Level(14)}},
    {16, 5, {"You encounter a single high-level £minotaur£."}, 1,
     {OneOf(kKindMinotaur).Class(kFighter).Level(12).Elite().Weapon(Item(26))}},
    {16, 6, {"You encounter a group of £%i£ high-level £thri-kreens£."}, Dice(1, 3, 2),
     {AllButOne(kKindThriKreen).Level(10), OneOf(kKindThriKreen).Class(kCleric).Level(10).Weapon(OnOneOfD4(FromTable(kW2)))}},
    {16, 7, {"You encounter a group of £%i£ high-level £babaus£."}, Dice(1, 2, 7), {Each(kKindBabau).Level(7)}},
    {16, 8, {"You encounter a group of £%i£ high-level £troll_fighters£."}, Dice(1, 3, 1),
     {Each(kKindTroll).Class(kFighter).Level(8).Armed()}},
    Down(16, 9),

    // Region 17.
    {17, 1, {"You encounter a group of £2£ high-level £vrocks£."}, 2, {Each(kKindVrock).Level(12)}},
    {17, 2, {"You encounter a group of £%i£ high-level £grimlock_warriors£."}, Dice(1, 3, 1),
     {Each(kKindGrimlock).Level(14)}},
    {17, 3, {"You encounter a £lich£."}, 1,
     {OneOf(kKindLich).Class(kClassLich).Level(Dice(1, 2, 3)).Elite().Options(Opts(2, 2, 3))
          .Weapon(OnD100AtLeast(60, Item(34)))}},
    {17, 4, {"You encounter a group of £%i£ high-level £gorgons£."}, Dice(1, 3, 1), {Each(kKindGorgon).Level(16)}},
    {17, 5, {"You encounter a group of £2£ £fire-giant_fighters£."}, 2, {Each(kKindFireGiant).Class(kFighter).Level(5)}},
    {17, 6, {"You encounter a group of £4£ £hill-giant_clerics£."}, 4, {Each(kKindHillGiant).Class(kCleric).Level(12)}},
    // The vampire wizards are of the fighters' level.
    {17, 7, {"You encounter a group of £%i£ £vampire_fighter(s)£ and £2£ £vampire_wizards£."}, Dice(1, 3),
     {Each(kKindVampire).Class(kFighter).Level(11).Armed(), CountOf(2, kKindVampire).Class(kWizard).Level(11)}},
    Down(17, 8),

    // Region 18.
    {18, 1, {"You encounter a high-level £red_dragon£."}, 1, {OneOf(kKindRedDragon).Level(Dice(1, 4, 9))}},
    {18, 2, {"You encounter a group of £%i£ £dragon_spellcasters£."}, Dice(1, 3, 1),
     {DrawnEach(Each(0).Class(kWizard).Level(6).Options(OptsD100Below(41, Opts(0, 1, 1), Opts(0, 2, 2))), 2,
                kKindBlueDragon, kKindGreenDragon)}},
    // The clerics' first weapon from W9 comes on a d100 of 80 or more, like their third item.
    {18, 3, {"You encounter a tribe of £%i£ £lizardman_warriors£ and £%i£ £lizardman_clerics£."}, Dice(1, 3, 6),
     {OneOf(kKindLizardman).Named("Tribe Leader"), AllButOne(kKindLizardman),
      CountOf(Dice(1, 2), kKindLizardman).Class(kCleric).Level(Dice(1, 2, 10)).Elite()
          .Options(OptsD100Below(70, Opts(0, 2, Dice(1, 2, 1)), Opts(0, 1, 1)))
          .Weapon(OnD100AtLeast(80, FromTable(kW9))).Third(OnD100AtLeast(80, FromTable(kW0))).Named("Adept")}},
    {18, 4, {"You encounter a high-level £fire-giant_wizard£."}, 1,
     {OneOf(kKindFireGiant).Class(kWizard).Level(Dice(1, 2, 15)).Elite().Options(Opts(8, 2, 3))}},
    {18, 5, {"You encounter a group of £1£ £salamander_cleric£ and £1£ £salamander_wizard£."}, 1,
     {OneOf(kKindSalamander).Class(kCleric).Level(Dice(1, 2, 14)),
      OneOf(kKindSalamander).Class(kWizard).Level(Dice(1, 2, 14))}},
    {18, 6, {"You encounter a group of £%i£ £medusa_warriors£."}, Dice(1, 2, 3), {Each(kKindMedusa).Level(7)}},
    Down(18, 7),

    // Region 19.
    {19, 1, {"You encounter a group of £%i£ high-level £gnoll_fighters£."}, Dice(1, 3, 1),
     {Each(kKindGnoll).Class(kFighter).Level(15).Armed()}},
    {19, 2, {"You encounter a high-level £mummy_fighter£ and one £lich£."}, 1,
     {OneOf(kKindMummy).Class(kFighter).Level(Dice(1, 2, 11)), OneOf(kKindLich).Level(Dice(1, 2, 3))}},
    {19, 3, {"You encounter a £balor£."}, 1, {OneOf(kKindBalor)}},
    {19, 4, {"You encounter a group of £salamander£ fighters, clerics and wizards."}, 1,
     {OneOrTwo(kKindSalamander).Class(kFighter).Level(9).Elite().Weapon(Item(30)),
      OneOrTwo(kKindSalamander).Class(kCleric).Level(14).Elite().Weapon(Item(23)),
      OneOrTwo(kKindSalamander).Class(kWizard).Level(14).Elite().Weapon(Item(24))}},
    {19, 5, {"You encounter a group of £%i£ renegade £mul_fighters£."}, Dice(1, 2, 2),
     {OneOf(kKindMul).Class(kFighter).Level(17).Elite().Leads().Weapon(Item(35)).Second(Item(13)).Third(Item(32))
          .Named("Leader"),
      AllButOne(kKindMul).Class(kFighter).Level(16).Elite().Weapon(Item(35)).Second(Item(13)).Third(Item(32))
          .Named("Thug")}},
    {19, 6, {"You encounter a group of £%i£ £skeleton_warriors£ and £1£ high-level £cleric£."}, Dice(1, 3, 9),
     {Each(kKindSkeleton).Level(Dice(1, 2, 4)).Armed(),
      OneOf(kKindHuman).Class(kCleric).Level(Dice(1, 2, 18)).Elite().Options(Opts(0, 2, Dice(1, 2, 1)))
          .Weapon(FromTable(kW9)).Third(kCasterCrossbow).Named("Necromancer")}},
    {19, 7, {"You encounter £2£ high-level £vampire_fighters£."}, 2, {Each(kKindVampire).Class(kFighter).Level(15).Armed()}},
    Down(19, 8),

    // Region 20.
    {20, 1, {"You encounter £2£ £balors£."}, 2, {Each(kKindBalor)}},
    {20, 2, {"You encounter a high-level £red_dragon£."}, 1, {OneOf(kKindRedDragon).Level(Dice(1, 7, 13))}},
    // The queen stands on the third square of table L, (x + 2, y + 2).
    {20, 3, {"You encounter a group of £3£ high-level £giant_spiders£."}, 3,
     {CountOf(2, kKindGiantSpider).Class(kFighter).Level(16).Elite(),
      OneOf(kKindGiantSpider).Class(kWizard).Level(18).Elite().Named("Spider Queen")}},
    {20, 4, {"You encounter a high-level £blue_dragon£.", "You encounter a high-level £green_dragon£."}, 1,
     {Drawn(OneOf(0).Level(Dice(1, 7, 17)), 2, kKindBlueDragon, kKindGreenDragon)}, kTextByKind},
    {20, 5, {"You encounter a high-level £black_dragon£."}, 1, {OneOf(kKindBlackDragon).Level(Dice(1, 5, 21))}},
    {20, 6, {"You encounter a group of £%i£ high-level £elf_wizards£."}, Dice(1, 3, 1),
     {Each(kKindElf).Class(kWizard).Level(18).Weapon(FromTable(kW7)).Third(kCasterCrossbow)}},
    {20, 7, {"You encounter a high-level £mummy_cleric£."}, 1,
     {OneOf(kKindMummy).Class(kCleric).Level(Dice(1, 2, 18)).Named("Mummy Lord")}},
    Down(20, 8),
};
const int EncounterRowCount = static_cast<int>(sizeof EncounterRows / sizeof EncounterRows[0]);

const EncounterRow* FindEncounterRow(int region, int face) {
  if (region < 3) region = 0;
  for (const EncounterRow& row : EncounterRows)
    if (row.region == region && row.face == face) return &row;
  return nullptr;
}
