#include "combat/actions/start_of_combat.h"

#include <algorithm>
#include <cstring>

#include "combat/actions/combat_actions.h"
#include "state/fighter_slots.h"
#include "map/movement_rules.h"
#include "combat/actions/talker_scripts.h"
#include "state/turn_order.h"
#include "rules/combat_roll_log.h"
#include "map/fighter_tests.h"
#include "combat/turns/turn_routines.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "map/line_of_effect.h"
#include "map/party_vision.h"
#include "map/square_grids.h"
#include "rules/feat_ids.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/modifier_list.h"
#include "rules/positions.h"
#include "state/party_leader.h"

int32_t CombatParticipants[kCombatListSize] = {};
int32_t CombatParticipantCount = 0;
int32_t CombatAllies[kCombatListSize] = {};
int32_t CombatAllyCount = 0;
uint8_t ForcedCombat = 0;
uint8_t AllEnemiesAlert = 0;
uint8_t PartySurprisedFlag = 0;
uint8_t NoSurpriseFlag = 0;
uint8_t SkipOpeningFacing = 0;
uint8_t EnemiesSurprised = 0;
uint8_t AlliesJoined = 0;
int32_t EncounterRatingCounts[kEncounterRatingCounters] = {};

void ResetStartOfCombatState() {
  std::fill(CombatParticipants, CombatParticipants + kCombatListSize, 0);
  std::fill(CombatAllies, CombatAllies + kCombatListSize, 0);
  CombatParticipantCount = CombatAllyCount = 0;
  ForcedCombat = AllEnemiesAlert = PartySurprisedFlag = NoSurpriseFlag = SkipOpeningFacing = 0;
  EnemiesSurprised = AlliesJoined = 0;
  std::fill(EncounterRatingCounts, EncounterRatingCounts + kEncounterRatingCounters, 0);
}

namespace {

constexpr int32_t kSurpriseRounds = 2;
constexpr int32_t kInitiativeHelp = 41007;
constexpr int kBoltsBaseType = 17;
constexpr int kSenseNoSurprise = 4;

// --- Who stands where and who sees whom -------------------------------------

int Slots() { return std::clamp<int>(FighterCount, 0, kFighterSlots); }
int SlotCreature(int slot) { return FighterSlots[slot].creature; }
bool IsPresent(int creature) { return IsValidCreature(creature) && Creatures[creature].present == 1; }
bool IsLiving(int creature) {
  return Creatures[creature].hitPoints > 0 && FindCondition(creature, kCondDead) < 0 &&
         FindCondition(creature, kCondPetrified) < 0;
}
// A group is named by its leader; 0 and -1 are no group.
int32_t GroupOf(int creature) { return Creatures[creature].leader > 0 ? Creatures[creature].leader : 0; }
bool IsAlert(int slot) { return FighterSlots[slot].alert == 1; }

bool SlotSeesSquare(int slot, int x, int y) {
  if (slot < 0 || slot >= kFighterSlots || x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) return false;
  return FighterSlots[slot].visible[SquareIndex(x, y)] == 1;
}

// The fighter slot sees the square of some present party member.
bool SeesPartyMember(int slot) {
  for (int m = 0; m < kPartySize; ++m)
    if (IsPresent(m) && SlotSeesSquare(slot, Creatures[m].squareX, Creatures[m].squareY)) return true;
  return false;
}

bool AnyPartySlotAlert() {
  for (int s = 0; s < kPartySize && s < Slots(); ++s)
    if (IsAlert(s)) return true;
  return false;
}

// --- Lists --------------------------------------------------------------------

bool Listed(const int32_t* list, int count, int creature) {
  for (int i = 0; i < count; ++i)
    if (list[i] == creature) return true;
  return false;
}

void AddParticipant(int creature) {
  if (CombatParticipantCount < kCombatListSize) CombatParticipants[CombatParticipantCount++] = creature;
}

// Every present, living fighter from slot 4 of the group that is in neither list yet.
template <typename Add>
void AddGroupMembers(int32_t group, Add add) {
  if (group == 0) return;
  for (int s = kPartySize; s < Slots(); ++s) {
    const int id = SlotCreature(s);
    if (!IsPresent(id) || !IsLiving(id) || GroupOf(id) != group) continue;
    if (Listed(CombatParticipants, CombatParticipantCount, id) || Listed(CombatAllies, CombatAllyCount, id)) continue;
    add(id);
  }
}

void ClearSurpriseConditions(int creature) {
  RemoveCondition(creature, kCondAlarmed);
  RemoveCondition(creature, kCondSurprised);
  RemoveCondition(creature, kCondDistracted);
}

void ClearParticipantsSurprise() {
  for (int i = 0; i < CombatParticipantCount; ++i)
    if (IsValidCreature(CombatParticipants[i])) ClearSurpriseConditions(CombatParticipants[i]);
}

// Surprised for two rounds in a free condition slot (none free: not surprised).
bool GiveSurprise(int creature) {
  const int slot = FreeConditionSlot(creature);
  if (slot == kNoFreeConditionSlot) return false;
  Creatures[creature].conditions[slot] = ConditionEntry{kCondSurprised, kSurpriseRounds, kSourceCombatStart, 0, 0};
  return true;
}

// --- Meeting --------------------------------------------------------------------

// A talker's group has a member, not a talker, that passes the test.
template <typename Test>
bool GroupMemberPasses(int talkerSlot, Test test) {
  const int32_t group = GroupOf(SlotCreature(talkerSlot));
  if (group == 0) return false;
  for (int s = kPartySize; s < Slots(); ++s) {
    const int id = SlotCreature(s);
    if (s == talkerSlot || !IsValidCreature(id) || Creatures[id].allegiance == 8 || GroupOf(id) != group) continue;
    if (test(s)) return true;
  }
  return false;
}

// Talkers that meet the party run their script; true when one did.
bool TalkerMeetsParty() {
  for (int s = kPartySize; s < Slots(); ++s) {
    const int id = SlotCreature(s);
    if (!IsPresent(id) || Creatures[id].allegiance != 8) continue;
    const bool active = IsAlert(s) || AllEnemiesAlert == 1 || ExploringScriptFlag == 1 || AnyPartySlotAlert() ||
                        GroupMemberPasses(s, [](int t) { return IsAlert(t); });
    if (!active || Creatures[id].tag[0] == '\0') continue;
    // An alert member wakes the talker wherever it is; only a present one sees for it.
    if (SeesPartyMember(s) ||
        GroupMemberPasses(s, [](int t) { return IsPresent(SlotCreature(t)) && SeesPartyMember(t); })) {
      RunCreatureScript(id);
      return true;
    }
  }
  return false;
}

// The first alert enemy that sees the party, else the first unalert enemy
// that an alert party member is seen by; -1 none.
int FirstEnemyToMeet() {
  for (int s = kPartySize; s < Slots(); ++s) {
    const int id = SlotCreature(s);
    if (IsPresent(id) && Creatures[id].allegiance == 2 && (IsAlert(s) || AllEnemiesAlert == 1) &&
        SeesPartyMember(s))
      return id;
  }
  for (int m = 0; m < kPartySize && m < Slots(); ++m) {
    if (!IsPresent(m) || !(IsAlert(m) || PartyAlertFlag == 1)) continue;
    for (int s = kPartySize; s < Slots(); ++s) {
      const int id = SlotCreature(s);
      if (IsPresent(id) && Creatures[id].allegiance == 2 && !IsAlert(s) &&
          SlotSeesSquare(s, Creatures[m].squareX, Creatures[m].squareY))
        return id;
    }
  }
  return -1;
}

void RunFirstTalkerAmongParticipants() {
  for (int i = 0; i < CombatParticipantCount; ++i) {
    const int id = CombatParticipants[i];
    if (!IsPresent(id) || Creatures[id].allegiance != 8 || Creatures[id].tag[0] == '\0') continue;
    RunCreatureScript(id);
    if (NoSurpriseFlag == 1) {
      EnemiesSurprised = 0;
      NoSurpriseFlag = 0;
      ClearParticipantsSurprise();
    }
    return;
  }
}

// --- Surprise -------------------------------------------------------------------

// Distracted, wakeful participants are surprised; true when all of them were.
bool SurpriseDistractedParticipants() {
  int surprised = 0;
  for (int i = 0; i < CombatParticipantCount; ++i) {
    const int id = CombatParticipants[i];
    if (!IsValidCreature(id)) continue;
    if (FindCondition(id, kCondDistracted) < 0 || FindCondition(id, kCondSleeping) >= 0) continue;
    ClearSurpriseConditions(id);
    GiveSurprise(id);
    ++surprised;
  }
  return surprised > 0 && surprised == CombatParticipantCount;
}

bool PartySeesAParticipant() {
  for (int m = 0; m < kPartySize && m < Slots(); ++m) {
    if (!IsPresent(m)) continue;
    for (int i = 0; i < CombatParticipantCount; ++i) {
      const int id = CombatParticipants[i];
      if (!IsValidCreature(id) || Creatures[id].special[kSenseKindWord] == kSenseNoSurprise) continue;
      if (IsCreatureInSight(m, id)) return true;
    }
  }
  return false;
}

void SurpriseCreature(int creature) {
  RemoveCondition(creature, kCondSurprised);
  GiveSurprise(creature);
}

// --- Allies ----------------------------------------------------------------------

bool HasFreeLineTo(int creature, int target) {
  const CreatureRecord& a = Creatures[creature];
  const CreatureRecord& b = Creatures[target];
  return HasLineOfEffect(a.squareX, a.squareY, b.squareX, b.squareY, nullptr);
}

bool AllyJoins(int creature) {
  if (ForcedCombat == 1) return true;
  for (int m = 0; m < kPartySize; ++m)
    if (IsPresent(m) && HasFreeLineTo(creature, m)) return true;
  for (int i = 0; i < CombatParticipantCount; ++i)
    if (IsValidCreature(CombatParticipants[i]) && HasFreeLineTo(creature, CombatParticipants[i])) return true;
  return false;
}

void GatherAllies(bool partySurprised) {
  AllEnemiesAlert = 0;
  std::fill(CombatAllies, CombatAllies + kCombatListSize, -1);
  CombatAllyCount = 0;
  auto add = [](int id) {
    if (CombatAllyCount < kCombatListSize) CombatAllies[CombatAllyCount++] = id;
  };
  for (int s = kPartySize; s < Slots(); ++s) {
    const int id = SlotCreature(s);
    if (!IsPresent(id) || (Creatures[id].allegiance != 5 && Creatures[id].allegiance != 6)) continue;
    if (Listed(CombatAllies, CombatAllyCount, id) || Listed(CombatParticipants, CombatParticipantCount, id)) continue;
    if (!AllyJoins(id)) continue;
    add(id);
    AddGroupMembers(GroupOf(id), add);
  }
  if (CombatAllyCount > 0) {
    AlliesJoined = 1;
    if (partySurprised) {
      for (int i = 0; i < CombatAllyCount; ++i) {
        const int id = CombatAllies[i];
        if (IsPresent(id) && FindCondition(id, kCondSleeping) < 0) SurpriseCreature(id);
      }
    }
  }
  ForcedCombat = 0;
}

// --- The order -----------------------------------------------------------------

void AppendEntry(int creature) {
  if (TurnEntryCount >= kTurnOrderEntries) return;
  TurnOrder[TurnEntryCount] = TurnOrderEntry{};
  TurnOrder[TurnEntryCount].creature = creature;
  ++TurnEntryCount;
}

void BuildTurnOrder() {
  std::fill(TurnOrder, TurnOrder + kTurnOrderEntries, TurnOrderEntry{});
  TurnEntryCount = 0;
  for (int m = 0; m < kPartySize; ++m)
    if (IsPresent(m)) AppendEntry(m);
  for (int i = 0; i < CombatParticipantCount; ++i) AppendEntry(CombatParticipants[i]);
  for (int i = 0; i < CombatAllyCount; ++i) AppendEntry(CombatAllies[i]);
}

void LoadCrossbow(int creature) {
  const CreatureRecord& c = Creatures[creature];
  const uint32_t weapon = c.equipment[kSlotRanged - 1];
  const uint32_t ammo = c.ammunition.code;
  if (!IsCraftedCode(weapon) || ammo < kFirstBaseItemCode || ammo - kFirstBaseItemCode >= uint32_t(kItemRows)) return;
  CraftedWeaponRecord& w = CraftedWeapons[weapon];
  if ((w.itemType == 10 || w.itemType == 11) && ItemTable[ammo - kFirstBaseItemCode].baseType == kBoltsBaseType &&
      c.ammunition.count > 0)
    w.charges = 1;
}

// d20 + Dexterity modifier + 4 for IMPROVED INITIATIVE - 4 when Deafened,
// kept as a roll of the combat roll log.
int RollInitiative(int creature, ModifierList& list) {
  const CreatureRecord& c = Creatures[creature];
  InitModifierList(&list);
  std::strcpy(list.caption, "Initiative Roll");
  list.helpTopic = kInitiativeHelp;
  AddModifier(static_cast<int32_t>(RandomUpTo(19)) + 1, &list, kSrcD20Roll);
  AddModifier(AbilityModifier(c.dexterity.current), &list, kSrcDexterityModifier);
  if (c.feats[kFeatImprovedInitiative] != 0) AddModifier(4, &list, kSrcImprovedInitiative);
  if (FindCondition(creature, kCondDeafened) >= 0) AddModifier(-4, &list, kCondDeafened);
  return list.total;
}

void OpenLogAndRollInitiative() {
  ClearMessageLog();
  LogMessage("\rCombat begins...\r\r");
  for (ModifierList& l : CombatRollLog) InitModifierList(&l);
  CombatRollCount = 0;
  LogMessage("Initiative Rolls\r\r");

  struct Roll {
    int32_t creature;
    int32_t total;
    int32_t logIndex;
  };
  static Roll rolls[kTurnOrderEntries];
  const int count = TurnEntryCount;
  for (int i = 0; i < count; ++i) {
    const int id = TurnOrder[i].creature;
    LoadCrossbow(id);
    PlaceBrazierFires();
    ModifierList list;
    const int total = RollInitiative(id, list);
    const int before = CombatRollCount;
    const int index = StoreCombatRoll(list);
    // A trim of the roll log moves the earlier rolls down; their links follow.
    if (CombatRollCount <= before) {
      const int shift = before + 1 - CombatRollCount;
      for (int j = 0; j < i; ++j) rolls[j].logIndex = rolls[j].logIndex >= shift ? rolls[j].logIndex - shift : 99;
    }
    rolls[i] = {id, total, index};
  }
  // Highest first; of equal totals the one listed later acts first.
  std::stable_sort(rolls, rolls + count, [](const Roll& a, const Roll& b) { return a.total < b.total; });
  for (int i = 0; i < count; ++i) TurnOrder[i].creature = rolls[count - 1 - i].creature;
  for (int i = count - 1; i >= 0; --i) {
    const Roll& r = rolls[i];
    if (count <= 99)
      LogMessage("@%+.2i|%.2i@ - \xA3%.15s\xA3\r", r.total, r.logIndex, Creatures[r.creature].name);
    else
      LogMessage("%+.2i - \xA3%.15s\xA3\r", r.total, Creatures[r.creature].name);
  }
  LogMessage("\r");
}

void MakeFlatFootedAndSettle() {
  for (int i = 0; i < TurnEntryCount; ++i) {
    const int id = TurnOrder[i].creature;
    CreatureRecord& c = Creatures[id];
    RemoveCondition(id, kCondFlatFooted);
    const int slot = FreeConditionSlot(id);
    if (slot != kNoFreeConditionSlot && ImmunityCodeOf(c, kImmFlatFoot) != 1)
      c.conditions[slot] = ConditionEntry{kCondFlatFooted, kDurationLasting, kSourceCombatStart, 0, 0};
    c.pixelX = c.squareX * kSquarePixels;
    c.pixelY = c.squareY * kSquarePixels;
    c.nextX = c.squareX;
    c.nextY = c.squareY;
    c.destinationX = c.destinationY = -1;
  }
}

// --- Placement ------------------------------------------------------------------

bool StandsBadly(int creature) {
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + c.footprintWidth.current; ++x) {
    for (int y = c.squareY; y < c.squareY + c.footprintHeight.current; ++y) {
      if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) continue;
      if (MagicAreaGrid[SquareIndex(x, y)].kind == kEffectFire || CountCombatantsOnSquare(x, y) > 1) return true;
    }
  }
  return false;
}

bool RectFreeOfOthers(int creature, int x0, int y0, int w, int h) {
  for (int x = x0; x < x0 + w; ++x) {
    for (int y = y0; y < y0 + h; ++y) {
      const int n = CountCombatantsOnSquare(x, y);
      if (n > 1 || (n == 1 && !FootprintCovers(creature, x, y))) return false;
    }
  }
  return true;
}

// Searches ring by ring round the creature's square for the first place
// (x-major within a ring) where its footprint stands on floor, off braziers
// and clear of other combatants.
void FindFreePlace(int creature) {
  CreatureRecord& c = Creatures[creature];
  static uint8_t grid[kMapSquares];
  std::memset(grid, 0, sizeof grid);
  if (c.squareX < 0 || c.squareY < 0 || c.squareX >= kMapSide || c.squareY >= kMapSide) return;
  grid[SquareIndex(c.squareX, c.squareY)] = 1;
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  for (;;) {
    for (int x = 0; x < kMapSide; ++x) {
      for (int y = 0; y < kMapSide; ++y) {
        if (grid[SquareIndex(x, y)] != 1) continue;
        for (int dx = -1; dx <= 1; ++dx) {
          for (int dy = -1; dy <= 1; ++dy) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= CurrentMap.width || ny >= CurrentMap.height || nx >= kMapSide ||
                ny >= kMapSide)
              continue;
            if (CurrentMap.At(kLayerWalls, nx, ny) == 0 && grid[SquareIndex(nx, ny)] == 0)
              grid[SquareIndex(nx, ny)] = 2;
          }
        }
      }
    }
    bool met = false;
    for (int x = 0; x < kMapSide; ++x) {
      for (int y = 0; y < kMapSide; ++y) {
        if (grid[SquareIndex(x, y)] != 2) continue;
        met = true;
        if (RectIsAllFloor(x, y, w, h) && !RectHasBrazier(x, y, w, h) && RectFreeOfOthers(creature, x, y, w, h)) {
          c.squareX = c.nextX = x;
          c.squareY = c.nextY = y;
          c.pixelX = x * kSquarePixels;
          c.pixelY = y * kSquarePixels;
          if (DebugMode == 1) LogMessage("Found space for %s\r", c.name);
          return;
        }
        grid[SquareIndex(x, y)] = 1;
      }
    }
    if (!met) {
      if (DebugMode == 1) LogMessage("NoMoreSquares true %s\r", c.name);
      return;
    }
  }
}

void MoveOffBadSquares() {
  for (int i = 0; i < TurnEntryCount; ++i) {
    const int id = TurnOrder[i].creature;
    if (StandsBadly(id)) FindFreePlace(id);
  }
}

// --- Hand-over --------------------------------------------------------------------

void CountEncounterRatings() {
  std::fill(EncounterRatingCounts, EncounterRatingCounts + kEncounterRatingCounters, 0);
  for (int i = 0; i < TurnEntryCount; ++i) {
    const CreatureRecord& c = Creatures[TurnOrder[i].creature];
    if (c.allegiance == 2) ++EncounterRatingCounts[std::clamp<int>(c.challengeRating, 0, kEncounterRatingCounters - 1)];
  }
}

bool OnOtherSides(int a, int b) {
  auto partySide = [](int s) { return s == 1 || s == 5 || s == 6; };
  const int sa = Creatures[a].allegiance, sb = Creatures[b].allegiance;
  return !(partySide(sa) && partySide(sb)) && !(sa == 2 && sb == 2);
}

void TurnPartyToNearestFoes() {
  for (int m = 0; m < kPartySize; ++m) {
    if (!IsPresent(m)) continue;
    int nearest = -1, best = 10000;
    for (int i = 0; i < TurnEntryCount; ++i) {
      const int id = TurnOrder[i].creature;
      if (id == m || !OnOtherSides(m, id) || !IsCreatureInSight(m, id)) continue;
      const int d = CreatureDistanceFeet(m, id);
      if (d < best) {
        best = d;
        nearest = id;
      }
    }
    if (nearest != -1) FaceTowardsCreature(m, nearest);
  }
}

void HandOver() {
  CountEncounterRatings();
  InCombat = 1;
  CombatState = kStateStartOfCombat;
  LogMessage("Encounter Challenge Rating: \xA3%i\xA3\r\r", EncounterChallengeRating());
  if (SkipOpeningFacing == 0) TurnPartyToNearestFoes();
  SkipOpeningFacing = 0;
  if (EnemiesSurprised == 1)
    LogMessage("The opponents, engrossed in their\rown affairs, are all @SURPRISED@ by\rthe sudden interruption.\r\r");
}

// Path 1 and 3 close with the first participant's group (present, living
// members only) and the no-surprise flag; true when surprise is judged.
bool CloseMeeting() {
  AllEnemiesAlert = 0;
  if (ForcedCombat == 0 && CombatParticipantCount > 0)
    AddGroupMembers(GroupOf(CombatParticipants[0]), AddParticipant);
  if (NoSurpriseFlag == 1) {
    NoSurpriseFlag = 0;
    EnemiesSurprised = 0;
    ClearParticipantsSurprise();
    return false;
  }
  return true;
}

// The participants of this battle; false when nobody met.
bool GatherParticipants(int recheck, bool* judgeSurprise) {
  *judgeSurprise = false;
  if (ForcedCombat == 1) {
    InCombat = 1;
    CombatParticipantCount = 0;
    const int leader = static_cast<int>(PartyLeader);
    for (int s = 0; s < Slots(); ++s) {
      const int id = SlotCreature(s);
      if (IsPresent(id) && AreEnemies(id, leader)) AddParticipant(id);
    }
    *judgeSurprise = CloseMeeting();
    return true;
  }
  if (recheck == 1) {
    CombatParticipantCount = std::clamp<int>(CombatParticipantCount, 0, kCombatListSize);
    RunFirstTalkerAmongParticipants();
    return true;
  }
  const int first = FirstEnemyToMeet();
  if (first < 0) {
    AllEnemiesAlert = 0;
    return false;
  }
  InCombat = 1;
  CombatParticipantCount = 0;
  AddParticipant(first);
  *judgeSurprise = CloseMeeting();
  return true;
}

}  // namespace

int StartCombat(int recheck) {
  if (recheck == 0 && ForcedCombat == 0 && TalkerMeetsParty()) return 1;
  bool judgeSurprise = false;
  if (!GatherParticipants(recheck, &judgeSurprise)) return 0;

  bool partySurprised = false;
  if (judgeSurprise) {
    if (SurpriseDistractedParticipants()) {
      EnemiesSurprised = 1;
    } else {
      EnemiesSurprised = 0;
      if (PartySurprisedFlag == 1) {
        PartySurprisedFlag = 0;
        partySurprised = true;
      } else {
        partySurprised = !PartySeesAParticipant();
      }
      if (partySurprised)
        for (int m = 0; m < kPartySize; ++m)
          if (IsPresent(m)) SurpriseCreature(m);
    }
  }
  GatherAllies(partySurprised);
  BuildTurnOrder();
  OpenLogAndRollInitiative();
  MakeFlatFootedAndSettle();
  MoveOffBadSquares();
  HandOver();
  return 1;
}
