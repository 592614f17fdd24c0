#include "map/fighter_tests.h"

#include <algorithm>
#include <cstring>

#include "state/fighter_slots.h"
#include "map/movement_rules.h"
#include "state/turn_order.h"
#include "state/threat_grids.h"
#include "map/combatant_grid.h"
#include "rules/item_tables.h"
#include "map/area_shapes.h"
#include "map/map_switching.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/free_deeds.h"

namespace {


bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }
int Width(const CreatureRecord& c) { return c.footprintWidth.current > 0 ? c.footprintWidth.current : 1; }
int Height(const CreatureRecord& c) { return c.footprintHeight.current > 0 ? c.footprintHeight.current : 1; }
int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }

// Whether the rectangles [ax, ax + aw) x [ay, ay + ah) and the b one share a square.
bool Overlap(int ax, int ay, int aw, int ah, int bx, int by, int bw, int bh) {
  return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}

// b's footprint touches the ring of a footprint w x h placed at (x, y).
bool TouchesRingAt(int x, int y, int w, int h, int b) {
  const CreatureRecord& o = Creatures[b];
  if (!Overlap(x - 1, y - 1, w + 2, h + 2, o.squareX, o.squareY, Width(o), Height(o))) return false;
  // Inside the grown box; it touches the ring unless it lies wholly within the footprint.
  const bool inside = o.squareX >= x && o.squareY >= y && o.squareX + Width(o) <= x + w &&
                      o.squareY + Height(o) <= y + h;
  return !inside;
}

bool Alive(int c) {
  const CreatureRecord& r = Creatures[c];
  return r.present == 1 && r.hitPoints > 0 && FindCondition(c, kCondDead) < 0;
}

// Able to take an attack of opportunity now: alive, free to strike, with one left.
bool ReadyToReact(int o) {
  return Alive(o) && Creatures[o].attacksOfOpportunityLeft >= 1 && CanCreatureAct(o);
}
bool Unseen(int creature) { return FindAnyCondition(creature, kCondInvisible, kCondGreaterInvisibility) >= 0; }
// Strikes at an invisible creature: by a sense that needs no sight, or seeing truly.
bool SensesUnseen(int o) {
  const int sense = Creatures[o].special[kSenseKindWord];
  return SenseWorksWithoutSight(sense) || FindCondition(o, kCondTrueSeeing) >= 0;
}

// Hands each combatant that threatens squares on the mover's walk to mark
// (its record and its mark: 100 on the party side, 200 on side 2): one able
// to take an attack of opportunity, and of the mover's foes only one that
// could take it against the mover (an invisible mover only by those that
// sense it). Any mover out of range (-1) is threatened by every able
// combatant. Returns a word of who marks what and where.
template <typename Mark>
uint64_t EachThreatMark(int mover, Mark mark) {
  const bool unseen = IsValidCreature(mover) && Unseen(mover);
  uint64_t word = 0x9E3779B97F4A7C15ull ^ static_cast<uint32_t>(mover);
  const auto add = [&word](uint64_t v) {
    word ^= v + 0x9E3779B97F4A7C15ull + (word << 6) + (word >> 2);
    word *= 0xBF58476D1CE4E5B9ull;
  };
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || !ReadyToReact(o)) continue;
    const int32_t value = IsPartySide(o) ? 100 : Creatures[o].allegiance == kAllegianceEnemy ? 200 : 0;
    if (value == 0) continue;
    if (unseen && o != mover && AreEnemies(mover, o) && !SensesUnseen(o)) continue;
    const CreatureRecord& c = Creatures[o];
    mark(c, value);
    add((static_cast<uint64_t>(o) << 40) | (static_cast<uint64_t>(value) << 32) |
        (static_cast<uint64_t>(c.squareX & 0xFF) << 24) | (static_cast<uint64_t>(c.squareY & 0xFF) << 16) |
        (static_cast<uint64_t>(Width(c) & 0xFF) << 8) | static_cast<uint64_t>(Height(c) & 0xFF));
  }
  return word;
}
// The word of the marks MarkThreatenedSquares laid last.
uint64_t LaidMarksWord = 0;

}  // namespace

bool IsPartySide(int creature) {
  if (!IsValidCreature(creature)) return false;
  const int s = Creatures[creature].allegiance;
  return IsPartyAllegiance(s);
}

int FireImmunityCode(int creature) {
  return IsValidCreature(creature) ? Creatures[creature].protections[ImmunityPair(kImmFire)].current : 0;
}
int HamperingImmunityCode(int creature) {
  return IsValidCreature(creature) ? Creatures[creature].protections[ImmunityPair(kImmHampering)].current : 0;
}

bool HasDisablingCondition(int creature) {
  if (!IsValidCreature(creature)) return false;
  return !MayDo(creature, kDeedMove) || FindAnyCondition(creature, kCondStuck, kCondGrappling) >= 0;
}

bool CanTakeFiveFootStep(int creature) {
  if (!IsValidCreature(creature)) return false;
  if (!MayDo(creature, kDeedMove) ||
      FindAnyCondition(creature, kCondGrappling, kCondStuck, kCondEntangled, kCondBlinded, kCondCantSee) >= 0)
    return false;
  const CreatureRecord& c = Creatures[creature];
  if (c.size.current < 4 && c.squareX >= 0 && c.squareY >= 0 && c.squareX < kMapSide && c.squareY < kMapSide) {
    const int32_t floor = CurrentMap.At(kLayerFloor, c.squareX, c.squareY);
    if (floor == 123 || floor == 124) return false;
  }
  if (c.kind == 50 && FindAnyCondition(creature, kCondDeafened, kCondSilenced) >= 0) return false;
  return true;
}

bool IsSightDependent(int creature, int flag) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  if (c.sightless == 1 || c.protections[ImmunityPair(kImmEyes)].current == 1) return false;
  const int sense = c.special[kSenseKindWord];
  if (SenseWorksWithoutSight(sense)) return false;
  if (FindAnyCondition(creature, kCondTrueSeeing, kCondBlinded) >= 0) return false;
  if (flag == 1 && FindCondition(creature, kCondCantSee) >= 0) return false;
  return true;
}

bool AreAdjacent(int a, int b) {
  if (!IsValidCreature(a) || !IsValidCreature(b) || a == b) return false;
  const CreatureRecord& c = Creatures[a];
  return TouchesRingAt(c.squareX, c.squareY, Width(c), Height(c), b);
}

bool HasAdjacentEnemyAt(int creature, int x, int y) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == creature || !Alive(o) || !AreEnemies(creature, o)) continue;
    if (TouchesRingAt(x, y, Width(c), Height(c), o)) return true;
  }
  return false;
}

bool HasAdjacentEnemy(int creature) {
  return IsValidCreature(creature) && HasAdjacentEnemyAt(creature, Creatures[creature].squareX, Creatures[creature].squareY);
}

int CountCombatantsOnSquare(int x, int y) {
  int n = 0;
  for (int i = 0; i < TurnCount(); ++i)
    if (FootprintCovers(TurnOrder[i].creature, x, y)) ++n;
  return n;
}

bool IsSquareOccupiedByCombatant(int x, int y) { return InCombat == 1 && CountCombatantsOnSquare(x, y) > 0; }

int CountFightersOnSquare(int x, int y) {
  int n = 0;
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int c = FighterSlots[s].creature;
    if (IsValidCreature(c) && Creatures[c].present == 1 && FootprintCovers(c, x, y)) ++n;
  }
  return n;
}

bool TouchesBlockCode(int x, int y) {
  static const int32_t kCodes[] = {60, 64, 68, 72, 106, 3003};
  const int xs[4] = {x, x + 1, x, x + 1}, ys[4] = {y, y, y + 1, y + 1};
  for (int k = 0; k < 4; ++k) {
    if (!OnGrid(xs[k], ys[k])) continue;
    const int32_t wall = CurrentMap.At(kLayerWalls, xs[k], ys[k]);
    for (int32_t code : kCodes)
      if (wall == code) return true;
  }
  return false;
}

bool TouchesBlockCode(int x, int y, bool keep3003) {
  auto counts = [&](int cx, int cy) {
    if (!OnGrid(cx, cy)) return false;
    const int32_t code = CurrentMap.At(kLayerWalls, cx, cy);
    return code == 60 || code == 64 || code == 68 || code == 72 || code == 106 || (code == 3003 && !keep3003);
  };
  const bool right = x < CurrentMap.width - 1, down = y < CurrentMap.height - 1;
  return counts(x, y) || (right && counts(x + 1, y)) || (right && down && counts(x + 1, y + 1)) ||
         (down && counts(x, y + 1));
}

bool IsCornerObstructed(int x, int y) {
  if (!OnGrid(x, y)) return true;
  if (BlockedGrid[SquareIndex(x, y)] == kSquareFlooded) return false;
  return IsSquareObstructed(x, y);
}

int ListPossibleThreats(int creature, int16_t* entries) {
  if (!IsValidCreature(creature)) return 0;
  const bool unseen = Unseen(creature);
  int n = 0;
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == creature || !AreEnemies(creature, o) || !ReadyToReact(o)) continue;
    if (unseen && !SensesUnseen(o)) continue;
    entries[n++] = static_cast<int16_t>(i);
  }
  return n;
}

int CountThreatsAmong(int x, int y, int creature, const int16_t* entries, int count) {
  const CreatureRecord& c = Creatures[creature];
  int n = 0;
  for (int k = 0; k < count; ++k) {
    TurnOrderEntry& e = TurnOrder[entries[k]];
    if (e.threatMark == 1 || !TouchesRingAt(x, y, Width(c), Height(c), e.creature)) continue;
    e.threatMark = 1;
    ++n;
  }
  return n;
}

int CountThreatsAtSquare(int x, int y, int creature) {
  static int16_t entries[kTurnOrderEntries];
  const int count = ListPossibleThreats(creature, entries);
  return count > 0 ? CountThreatsAmong(x, y, creature, entries, count) : 0;
}

void StoreArrow(int x, int y, int32_t code) {
  int32_t& cell = ArrowGrid[SquareIndex(x, y)];
  if (cell >= 200)
    cell = code + 200;
  else if (cell >= 100)
    cell = code + 100;
  else
    cell = code;
}

void MarkThreatenedSquares(int mover) {
  LaidMarksWord = EachThreatMark(mover, [](const CreatureRecord& c, int32_t mark) {
    for (int x = c.squareX - 1; x <= c.squareX + Width(c); ++x)
      for (int y = c.squareY - 1; y <= c.squareY + Height(c); ++y)
        if (OnGrid(x, y) && ArrowGrid[SquareIndex(x, y)] < mark) ArrowGrid[SquareIndex(x, y)] = mark;
  });
}

void LayThreatMarks(int mover) {
  for (int i = 0; i < kMapSquares; ++i) ArrowGrid[i] = -1;
  MarkThreatenedSquares(mover);
  ArrowGridMover = mover;
}

bool ThreatMarksLaidFor(int mover) {
  return ArrowGridMover == mover && LaidMarksWord == EachThreatMark(mover, [](const CreatureRecord&, int32_t) {});
}

bool FootprintFitsAtSynced(int x, int y, int creature, int strict) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  // A footprint of no rows fits anywhere.
  for (int i = x; i < x + c.footprintWidth.current; ++i) {
    for (int j = y; j < y + c.footprintHeight.current; ++j) {
      if (!CurrentMap.Inside(i, j) || !OnGrid(i, j)) return false;
      const uint32_t blocked = BlockedGrid[SquareIndex(i, j)];
      if (strict == 1 ? blocked != kSquareFlooded : blocked == kSquareBlocked) return false;
      if (InCombat == 1 && OtherCombatantOnSynced(i, j, creature, -1) != -1) return false;
    }
  }
  return true;
}

bool FootprintFitsAt(int x, int y, int creature, int strict) {
  SyncCombatantGrid();
  return FootprintFitsAtSynced(x, y, creature, strict);
}

bool RectIsAllFloor(int x, int y, int w, int h) {
  for (int i = x; i < x + w; ++i)
    for (int j = y; j < y + h; ++j)
      if (!OnGrid(i, j) || BlockedGrid[SquareIndex(i, j)] != kSquareFlooded) return false;
  return true;
}

bool RectHasBrazier(int x, int y, int w, int h) {
  for (int i = x; i < x + w; ++i) {
    for (int j = y; j < y + h; ++j) {
      if (!OnGrid(i, j)) continue;
      const int32_t floor = CurrentMap.At(kLayerFloor, i, j);
      if (floor == 2015 || floor == 2016) return true;
    }
  }
  return false;
}

bool IsInMagicArea(int creature, uint32_t kind) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + Width(c); ++x)
    for (int y = c.squareY; y < c.squareY + Height(c); ++y)
      if (OnGrid(x, y) && MagicAreaGrid[SquareIndex(x, y)].kind == kind) return true;
  return false;
}

bool IsInMagicAreaBeyondMask(int creature, uint32_t kind) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + Width(c); ++x)
    for (int y = c.squareY; y < c.squareY + Height(c); ++y) {
      if (!OnGrid(x, y)) continue;
      const SquareEffectCell& cell = MagicAreaGrid[SquareIndex(x, y)];
      // A cell under the area mask is taken away unless it is lasting.
      const bool masked = AreaMask[SquareIndex(x, y)] != 0 && cell.roundsLeft != 1000;
      if (cell.kind == kind && !masked) return true;
    }
  return false;
}

bool IsBurnedAt(int creature, int x, int y) {
  if (!IsValidCreature(creature)) return false;
  CreatureRecord& c = Creatures[creature];
  const int sx = c.squareX, sy = c.squareY;
  c.squareX = x;
  c.squareY = y;
  bool burned;
  const int code = FireImmunityCode(creature);
  if (c.kind == 88)
    burned = IsOnBrazierFire(creature);
  else if (code == 1 || code == 5 || c.kind == 1)
    burned = false;
  else
    burned = IsInMagicArea(creature, kEffectFire);
  c.squareX = sx;
  c.squareY = sy;
  return burned;
}

bool IsWebbedAt(int creature, int x, int y) {
  if (!IsValidCreature(creature)) return false;
  CreatureRecord& c = Creatures[creature];
  if (GetProtectionValue(creature, kCodeFreeMovement) == 1 || c.kind == 32) return false;
  const int sx = c.squareX, sy = c.squareY;
  c.squareX = x;
  c.squareY = y;
  const bool webbed = IsInMagicArea(creature, kEffectWeb);
  c.squareX = sx;
  c.squareY = sy;
  return webbed;
}

bool HasSpellSlotLeftAtAnyLevel(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  for (int level = 1; level <= 9; ++level) {
    if (c.spellsLeft[level - 1] < 1) continue;
    for (int spell = 0; spell < kSpellRows && spell < kKnownSpellFlags; ++spell)
      if (c.knownSpells[spell] == 1 && SpellTable[spell].level == level) return true;
  }
  return false;
}

bool HasUsableScroll(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const bool voiceless = FindAnyCondition(creature, kCondMute, kCondSilenced) >= 0;
  for (const ItemPair& pair : c.carried) {
    if (pair.code < kFirstBaseItemCode || pair.code - kFirstBaseItemCode >= static_cast<uint32_t>(kItemRows)) continue;
    const ItemRecord& item = ItemTable[pair.code - kFirstBaseItemCode];
    if (item.baseType != 19) continue;
    const int spell = item.bonus;
    if (spell < 0 || spell >= kSpellRows) continue;
    const bool arcane = c.creatureClass == 4 || c.creatureClass == 5;
    if (!((arcane && spell < 102) || (c.creatureClass == 3 && spell >= 102))) continue;
    const SpellRecord& s = SpellTable[spell];
    if (!(s.verbal == 0 || (s.verbal == 1 && !voiceless))) continue;
    if (s.castingTime == 2 || (s.castingTime == 3 && CombatAction.fullRoundActionLeft == 1)) return true;
  }
  return false;
}

bool IsWorthCuring(int target, int ignored, int spell, int threshold, int caster) {
  (void)ignored;
  if (!IsValidCreature(target) || spell < 0 || spell >= kSpellRows) return false;
  const CreatureRecord& t = Creatures[target];
  // A spell of negative energy heals only the undead; any other heals only the living.
  const bool negative = SpellTable[spell].effects[0].code == 9;
  if (negative ? t.type != 8 : (t.type == 8 || t.type == 2)) return false;
  if (!CanCastOnTarget(caster, target, spell, 0)) return false;
  if (FindAnyCondition(target, kCondSummonedCreature, kCondControlled, kCondDominated) >= 0) return false;
  if (t.hitPoints >= t.maxHitPoints || t.maxHitPoints <= 0) return false;
  return t.hitPoints * 100 / t.maxHitPoints <= 100 - threshold;
}

int AverageMagicAreaValue(int creature, uint32_t kind) {
  if (!IsValidCreature(creature)) return 0;
  const CreatureRecord& c = Creatures[creature];
  int sum = 0, n = 0;
  for (int x = c.squareX; x < c.squareX + Width(c); ++x) {
    for (int y = c.squareY; y < c.squareY + Height(c); ++y) {
      if (!OnGrid(x, y) || MagicAreaGrid[SquareIndex(x, y)].kind != kind) continue;
      sum += MagicAreaGrid[SquareIndex(x, y)].value;
      ++n;
    }
  }
  return n > 0 ? sum / n : 0;
}

bool IsOnBrazierFire(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + Width(c); ++x) {
    for (int y = c.squareY; y < c.squareY + Height(c); ++y) {
      if (!OnGrid(x, y)) continue;
      const SquareEffectCell& cell = MagicAreaGrid[SquareIndex(x, y)];
      if (cell.kind == kEffectFire && cell.roundsLeft == 1000) return true;
    }
  }
  return false;
}

int BrazierSizeUnderCreature(int creature) {
  if (!IsValidCreature(creature)) return 0;
  const CreatureRecord& c = Creatures[creature];
  int size = 0;
  for (int x = c.squareX; x < c.squareX + Width(c); ++x) {
    for (int y = c.squareY; y < c.squareY + Height(c); ++y) {
      if (!OnGrid(x, y)) continue;
      const SquareEffectCell& cell = MagicAreaGrid[SquareIndex(x, y)];
      if (cell.kind != kEffectFire || cell.roundsLeft != 1000) continue;
      const int32_t floor = CurrentMap.At(kLayerFloor, x, y);
      if (floor == 2016) return 2;
      if (floor == 2015) size = 1;
    }
  }
  return size;
}

bool IsHurtByFire(int creature) {
  if (!IsValidCreature(creature)) return false;
  const int code = FireImmunityCode(creature), kind = Creatures[creature].kind;
  return code != 1 && code != 5 && kind != 1 && kind != 88;
}

bool IsBlockBlocked4x4(int x, int y) {
  for (int i = x; i < x + 4; ++i)
    for (int j = y; j < y + 4; ++j)
      if (!CurrentMap.Inside(i, j) || SpawnBlockGrid[SquareIndex(i, j)] != 0) return true;
  return false;
}

bool IsHiddenSpawnBlock(int x, int y) {
  for (int i = x; i < x + 4; ++i) {
    for (int j = y; j < y + 4; ++j) {
      if (!CurrentMap.Inside(i, j) || BlockedGrid[SquareIndex(i, j)] != kSquareFlooded) return false;
      for (int s = 0; s < kPartySize && s < FighterCount; ++s)
        if (FighterSlots[s].visible[SquareIndex(i, j)] == 1) return false;
    }
  }
  for (int p = 0; p < kPartySize; ++p) {
    const CreatureRecord& c = Creatures[p];
    for (int i = x; i < x + 4; ++i) {
      for (int j = y; j < y + 4; ++j) {
        const int dx = i > c.squareX ? i - c.squareX : c.squareX - i;
        const int dy = j > c.squareY ? j - c.squareY : c.squareY - j;
        const int feet = 5 * (dx > dy ? dx : dy) + 2 * (dx > dy ? dy : dx);
        if (feet < 75) return false;
      }
    }
  }
  return true;
}

int ImmunityCategoryOfCode(int code) {
  // The code of each immunity category after the first, in category order.
  static const int kCodes[kImmunityCategories - 1] = {4,  55, 22, 33, 3,  32, 44, 39, 40, 54, 29, 53, 38, 35, 2,
                                                      66, 61, 1,  36, 64, 56, 30, 50, 23, 31, 24, 46, 27, 37, 41,
                                                      34, 65, 49, 59, 47, 5,  28, 57, 26, 6,  58, 25, 69};
  for (int i = 0; i < kImmunityCategories - 1; ++i)
    if (kCodes[i] == code) return i + 1;
  return -1;
}

int GetProtectionValue(int creature, int code) {
  const int category = ImmunityCategoryOfCode(code);
  if (!IsValidCreature(creature) || category < 0) return 0;
  return Creatures[creature].protections[kProtFirstImmunity + category].current;
}
