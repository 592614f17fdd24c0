#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>

#include "combat/resolution/attack_resolution.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/position_grids.h"
#include "combat/turns/target_terms.h"
#include "combat/turns/valuation_grid.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/movement_rules.h"
#include "rules/adjacency.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

uint8_t ShotsRemembered = 1;
uint8_t ShotsSkipped = 1;
uint8_t ShotTextsSkipped = 1;

namespace {

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

AttackProfile Profile;

// The largest code under the footprint placed at (x, y) within [low, high].
bool FootprintTouches(int x, int y, int w, int h, int32_t low, int32_t high) {
  for (int i = x; i < x + w; ++i)
    for (int j = y; j < y + h; ++j) {
      if (!CurrentMap.Inside(i, j) || !OnGrid(i, j)) continue;
      const int32_t code = AdjacencyGrid[SquareIndex(i, j)];
      if (code >= low && code <= high) return true;
    }
  return false;
}

// The footprint squares of the creature's enemies, in the order
// NearestEnemyFeet visits them, gathered once while a grid is scored (nobody
// else moves meanwhile).
struct EnemySquares {
  int count = 0;
  GridSquare squares[kMapSquares];
};

void GatherEnemySquares(int creature, EnemySquares* out) {
  out->count = 0;
  for (int i = 0; i < TurnCount(); ++i) {
    const int e = TurnOrder[i].creature;
    if (!IsValidCreature(e) || e == creature || !AreEnemies(creature, e)) continue;
    const CreatureRecord& t = Creatures[e];
    for (int x = t.squareX; x < t.squareX + t.footprintWidth.current; ++x)
      for (int y = t.squareY; y < t.squareY + t.footprintHeight.current; ++y)
        if (out->count < kMapSquares) out->squares[out->count++] = {x, y};
  }
}

// The distance in feet from the creature's footprint to the nearest enemy footprint square.
int NearestEnemyFeet(int creature) {
  int best = 1 << 30;
  for (int i = 0; i < TurnCount(); ++i) {
    const int e = TurnOrder[i].creature;
    if (!IsValidCreature(e) || e == creature || !AreEnemies(creature, e)) continue;
    const CreatureRecord& t = Creatures[e];
    for (int x = t.squareX; x < t.squareX + t.footprintWidth.current; ++x)
      for (int y = t.squareY; y < t.squareY + t.footprintHeight.current; ++y) {
        const GridSquare n = NearestFootprintSquare(creature, x, y);
        const int dx = std::abs(n.x - x), dy = std::abs(n.y - y);
        best = std::min(best, 5 * std::max(dx, dy) + 2 * std::min(dx, dy));
      }
  }
  return best;
}

// The ammunition's weighting: plain arrows (kind 8) against a waking target
// open to them, slaying arrows against their creature type.
int32_t AmmunitionTerm(int creature, int e) {
  const uint32_t ammo = Creatures[creature].ammunition.code;
  if (ammo < kFirstBaseItemCode || ammo - kFirstBaseItemCode >= static_cast<uint32_t>(kItemRows)) return 0;
  const int32_t kind = ItemTable[ammo - kFirstBaseItemCode].baseType;
  if (kind == 8)
    return GetProtectionValue(e, 26) == 0 && GetProtectionValue(e, 31) == 0 && !HasCondition(e, kCondSleeping) ? 9 : 0;
  static const int32_t kType[8] = {5, 8, 7, 4, 6, 2, 1, 3};
  if (kind < 9 || kind > 16) return 0;
  const int code = kind == 10 || kind == 14 ? 40 : 39;
  return Creatures[e].type == kType[kind - 9] && GetProtectionValue(e, code) == 0 ? 17 : 0;
}

// The terms a listed target adds to a square: each keeps its largest value
// over the targets.
struct ShotTerms {
  int32_t planners, sure, free, priority, awake, special, resist, ammunition, disrupt;
};

// The terms of one target, with the evaluated chance of the shot at it.
ShotTerms TermsOf(int creature, int e, int32_t chance, int32_t planners) {
  static const SpecialValues kSpecial = {0, 16, 6, 15, 0};
  static const int32_t kResist[4] = {19, 14, 9, 4};
  const CreatureRecord& t = Creatures[e];
  ShotTerms s{};
  s.planners = planners;
  s.sure = chance >= 70 ? 15 : 0;
  s.free = IsFreeTarget(e) && !HasCondition(e, kCondGrappling) ? 7 : 0;
  s.priority = e == WeakestEnemy ? 12 : t.creatureClass == 4 ? 8 : 0;
  s.awake = HasCondition(e, kCondSleeping) ? 0 : 5;
  s.special = LargestOf(SpecialTerms(creature, kEntryRanged, e, kSpecial));
  s.resist = ResistTerm(creature, kEntryRanged, e, kResist);
  s.ammunition = AmmunitionTerm(creature, e);
  s.disrupt = e == DisruptionTarget ? 50 : 0;
  return s;
}

// ---- Shots remembered while one grid is scored ------------------------------
//
// The chance of the shot at a target, evaluated in full by ResolveAttack, can
// differ from one square to the next only by what the evaluation reads of the
// shooter's square: what its recomputation reads there (tall grass; in a
// storm the rain, which no saving survives), the target's footprint square
// nearest to it (the end of the line and the square around which a blinded
// shooter's chance is shared), the point-blank distance, and whether a
// combatant on the line gives cover. Next to the target the shooter also
// threatens it, touches it and stands around it, so those squares are always
// evaluated afresh. Everything else the evaluation reads (both records,
// conditions, the other combatants, the weapon, the turn) stays as it was
// while the grid is scored, so a shot met again under the same key has the
// chance, and leaves the target the terms, it had the first time.

struct RememberedShot {
  uint32_t stamp;
  int32_t target;
  int32_t key;
  int32_t chance;
  ShotTerms terms;
};
constexpr int kRememberedShots = 4096;  // a power of two
RememberedShot Shots[kRememberedShots];
uint32_t ShotStamp = 0;
// The planned attacks on each creature (five per plan) while ShotStamp lasts.
uint32_t PlannerStamp[kCreatureCount];
int32_t Planners[kCreatureCount];

// The slot last found for each target while ShotStamp lasts: the next square
// mostly asks for the same shot again. A slot once kept stays while the
// stamp lasts (ShotSlot never takes a kept one).
struct LastShot {
  uint32_t stamp;
  int32_t key;
  RememberedShot* slot;
};
LastShot LastShots[kCreatureCount];

// Squares whose shots were all looked up, by what keyed them
// (ShotsKeyedAlike), while ShotStamp lasts: what each was worth and the
// chance its last shot showed.
struct KnownShots {
  uint32_t stamp;
  uint64_t listed, cover, pointBlank;
  int32_t traits;
  bool far;
  int32_t worth, chance;
};
constexpr int kKnownShots = 1024;  // a power of two
KnownShots Known[kKnownShots];

// For such squares, each listed target's shot by the survey's index of the
// target, the square's traits, point-blank or not and the cover, while
// ShotStamp lasts: the shot looked up once.
struct KeyedShot {
  uint32_t stamp;
  int32_t chance;
  ShotTerms terms;
};
KeyedShot KeyedShots[kSurveyedTargets][4][2][2];

void ForgetShots() {
  if (++ShotStamp == 0) {
    for (RememberedShot& r : Shots) r.stamp = 0;
    std::fill(std::begin(PlannerStamp), std::end(PlannerStamp), 0u);
    for (LastShot& l : LastShots) l.stamp = 0;
    for (KnownShots& k : Known) k.stamp = 0;
    for (auto& byTraits : KeyedShots)
      for (auto& byRange : byTraits)
        for (auto& byCover : byRange)
          for (KeyedShot& k : byCover) k.stamp = 0;
    ShotStamp = 1;
  }
}

RememberedShot* ShotSlot(int target, int32_t key, bool* found) {
  uint32_t h = (static_cast<uint32_t>(target) * 2654435761u) ^ (static_cast<uint32_t>(key) * 40503u);
  for (int probe = 0; probe < 32; ++probe, ++h) {
    RememberedShot& r = Shots[h & (kRememberedShots - 1)];
    if (r.stamp != ShotStamp) {
      *found = false;
      return &r;
    }
    if (r.target == target && r.key == key) {
      *found = true;
      return &r;
    }
  }
  *found = false;
  return nullptr;  // crowded: evaluated afresh, not kept
}

RememberedShot* LastShotAt(int target, int32_t key, bool* found) {
  LastShot& last = LastShots[target];
  if (last.stamp == ShotStamp && last.key == key) {
    *found = true;
    return last.slot;
  }
  RememberedShot* slot = ShotSlot(target, key, found);
  if (*found) last = {ShotStamp, key, slot};
  return slot;
}

// The creature's footprint placed where it stands touches the target's ring
// or footprint.
bool BesideTarget(const CreatureRecord& c, const CreatureRecord& t) {
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  const int tw = t.footprintWidth.current, th = t.footprintHeight.current;
  return c.squareX <= t.squareX + tw && c.squareX + w - 1 >= t.squareX - 1 && c.squareY <= t.squareY + th &&
         c.squareY + h - 1 >= t.squareY - 1;
}

// The planned attacks on each target, counted once while a grid is scored.
int32_t PlannersOf(int e) {
  if (PlannerStamp[e] != ShotStamp) {
    PlannerStamp[e] = ShotStamp;
    Planners[e] = 5 * CountPlannedAttacksOn(e);
  }
  return Planners[e];
}

// The creature's footprint square nearest to (x, y) (NearestFootprintSquare).
GridSquare NearestOwnSquare(const CreatureRecord& c, int x, int y) {
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  if (w < 1 || h < 1) return {c.squareX, c.squareY};
  return NearestSquareOfFootprint(c.squareX, c.squareY, w, h, x, y);
}

// The shots evaluated in full by WeighShot so far.
uint32_t ShotsEvaluated = 0;

// One shot at the listed target from where the creature stands: its terms.
// lineCover is the cover the listing found on its line to the target.
ShotTerms WeighShot(int creature, int e, int entry, int32_t traits, uint8_t lineCover,
                    RangedTargetSurvey* survey) {
  const int32_t planners = PlannersOf(e);
  const CreatureRecord& c = Creatures[creature];
  const CreatureRecord& t = Creatures[e];
  RememberedShot* slot = nullptr;
  bool found = false;
  int32_t key = 0;
  if (!BesideTarget(c, t)) {
    const GridSquare near = NearestOwnSquare(t, c.squareX, c.squareY);
    const GridSquare from = NearestOwnSquare(c, near.x, near.y);
    const GridSquare listed = NearestOwnSquare(c, t.squareX, t.squareY);
    uint8_t cover = lineCover;
    if ((from.x != listed.x || from.y != listed.y) &&
        SurveyCoverLine(survey->lines, c.squareX, c.squareY, from.x, from.y, near.x, near.y, &cover) < 0)
      WeighCoverLine(from.x, from.y, near.x, near.y, &cover);
    const bool pointBlank = SquaredDistance(from.x, from.y, near.x, near.y) <= 9;
    key = ((SquareIndex(near.x, near.y) * 4 + traits) * 2 + (pointBlank ? 1 : 0)) * 2 + cover;
    slot = LastShotAt(e, key, &found);
    if (found) {
      ShownAttackChance = slot->chance;
      ShotTerms s = slot->terms;
      s.planners = planners;
      return s;
    }
  }
  // A shot is kept only when neither record was changed by the evaluation's
  // recomputations: the chance of a record not yet settled is not the chance
  // the next evaluation finds.
  if (slot) NoteRecordsBeforeEvaluation(creature, e);
  ShownAttackChance = ResolveAttack(creature, e, entry, SecondTactic, 1, 0, 0, nullptr);
  ++ShotsEvaluated;
  RecheckRangedTargetSurvey(survey);
  const ShotTerms s = TermsOf(creature, e, ShownAttackChance, planners);
  if (slot && RecordsUnchangedSinceNoted()) {
    slot->stamp = ShotStamp;
    slot->target = e;
    slot->key = key;
    slot->chance = ShownAttackChance;
    slot->terms = s;
  }
  return s;
}

// What the remembering scoring of a grid prepares once: the targets it may
// list and its enemies' squares, and the squares where the creature's
// footprint (as wide and tall as it was then) comes within 25 feet of one.
struct ShotScoring {
  RangedTargetSurvey survey;
  EnemySquares enemies;
  int32_t width = 0, height = 0;
  uint8_t nearEnemy[kMapSquares];
  // While the survey answers: bit n for its n-th combatant when that one
  // covers a single square, and per square when a one-square fighter there
  // stands within point-blank reach of it (squared distance 9 at most) or
  // beside it.
  uint64_t oneSquare = 0;
  uint64_t pointBlank[kMapSquares], beside[kMapSquares];
};

void MarkShotRanges(ShotScoring* scoring) {
  const RangedTargetSurvey& survey = scoring->survey;
  scoring->oneSquare = 0;
  if (!survey.overGrid) return;
  std::memset(scoring->pointBlank, 0, sizeof scoring->pointBlank);
  std::memset(scoring->beside, 0, sizeof scoring->beside);
  for (int n = 0; n < survey.count && n < kSurveyedTargets; ++n) {
    const CreatureRecord& t = Creatures[survey.candidates[n]];
    if (t.footprintWidth.current != 1 || t.footprintHeight.current != 1) continue;
    const uint64_t bit = uint64_t{1} << n;
    scoring->oneSquare |= bit;
    for (int dx = -3; dx <= 3; ++dx)
      for (int dy = -3; dy <= 3; ++dy) {
        const int x = t.squareX - dx, y = t.squareY - dy;
        if (dx * dx + dy * dy > 9 || !OnGrid(x, y)) continue;
        scoring->pointBlank[SquareIndex(x, y)] |= bit;
        if (dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1) scoring->beside[SquareIndex(x, y)] |= bit;
      }
  }
}

KnownShots& KnownSlot(const KnownShots& key) {
  uint64_t h = key.listed * 0x9E3779B97F4A7C15ull ^ key.cover * 0xC2B2AE3D27D4EB4Full ^
               key.pointBlank * 0x27D4EB2F165667C5ull;
  h ^= static_cast<uint64_t>(key.traits * 2 + (key.far ? 1 : 0)) * 0x165667B19E3779F9ull;
  return Known[(h >> 32) & (kKnownShots - 1)];
}

// A one-square creature shooting at one-square targets, none beside it, from
// a square whose listing the survey answered: each shot's key is the target's
// square, the square's traits, whether the shot is point-blank and the cover,
// so squares that list the same targets alike and have the same distance
// term look up the same shots, and are worth the same.
bool ShotsKeyedAlike(int creature, const ShotScoring& scoring, KnownShots* now) {
  const CreatureRecord& c = Creatures[creature];
  const RangedTargetSurvey& survey = scoring.survey;
  if (c.footprintWidth.current != 1 || c.footprintHeight.current != 1 || !survey.overGrid ||
      !OnGrid(c.squareX, c.squareY))
    return false;
  const int sq = SquareIndex(c.squareX, c.squareY);
  if (!survey.answered[sq]) return false;
  const uint64_t listed = survey.listedBits[sq];
  // A target beside it is evaluated afresh.
  if ((listed & ~scoring.oneSquare) != 0 || (listed & scoring.beside[sq]) != 0) return false;
  now->listed = listed;
  now->cover = survey.coverBits[sq];
  now->pointBlank = listed & scoring.pointBlank[sq];
  return true;
}

void MarkSquaresNearEnemies(int creature, ShotScoring* scoring) {
  const CreatureRecord& c = Creatures[creature];
  scoring->width = c.footprintWidth.current;
  scoring->height = c.footprintHeight.current;
  const bool square = scoring->width < 1 || scoring->height < 1;
  const int w = square ? 1 : scoring->width, h = square ? 1 : scoring->height;
  std::memset(scoring->nearEnemy, 0, sizeof scoring->nearEnemy);
  for (int i = 0; i < scoring->enemies.count; ++i) {
    const GridSquare s = scoring->enemies.squares[i];
    for (int x = std::max(0, s.x - w - 4); x <= std::min(kMapSide - 1, s.x + 5); ++x)
      for (int y = std::max(0, s.y - h - 4); y <= std::min(kMapSide - 1, s.y + 5); ++y) {
        const GridSquare n = NearestSquareOfFootprint(x, y, w, h, s.x, s.y);
        if (DistanceFeet(n.x, n.y, s.x, s.y) <= 25) scoring->nearEnemy[SquareIndex(x, y)] = 1;
      }
  }
}

// The nearest enemy square lies more than 25 feet from the creature's
// footprint. Once an evaluation has moved or reshaped a combatant (a record
// not yet settled), the enemies are measured where they stand now.
bool FarFromEnemies(int creature, const ShotScoring& scoring) {
  const CreatureRecord& c = Creatures[creature];
  if (scoring.survey.lines.stale || c.footprintWidth.current != scoring.width ||
      c.footprintHeight.current != scoring.height || !OnGrid(c.squareX, c.squareY))
    return NearestEnemyFeet(creature) > 25;
  return scoring.nearEnemy[SquareIndex(c.squareX, c.squareY)] == 0;
}

// Each term of the shot kept at its largest.
void KeepLargest(ShotTerms* best, const ShotTerms& s) {
  best->planners = std::max(best->planners, s.planners);
  best->sure = std::max(best->sure, s.sure);
  best->free = std::max(best->free, s.free);
  best->priority = std::max(best->priority, s.priority);
  best->awake = std::max(best->awake, s.awake);
  best->special = std::max(best->special, s.special);
  best->resist = std::max(best->resist, s.resist);
  best->ammunition = std::max(best->ammunition, s.ammunition);
  best->disrupt = std::max(best->disrupt, s.disrupt);
}

// What the square is worth with those terms; a target listed from far off
// adds the distance term.
int32_t Worth(const ShotTerms& best, bool listed, bool far) {
  const int32_t distant = listed && far ? 7 : 0;
  return best.ammunition + best.resist + best.special + best.awake + best.disrupt + best.free + distant +
         best.priority + best.sure + best.planners;
}

// Every target listed on a square keyed alike has its shot looked up already.
bool AllShotsKeyed(const KnownShots& now, int32_t traits) {
  for (uint64_t bits = now.listed; bits != 0; bits &= bits - 1) {
    const int n = std::countr_zero(bits);
    if (KeyedShots[n][traits][(now.pointBlank >> n) & 1][(now.cover >> n) & 1].stamp != ShotStamp) return false;
  }
  return true;
}

// The worth of shooting from the square the creature stands on. With
// scoring, the targets are listed as a question and the shots looked up
// (WeighShot); the lines walked by the listing are counted into *walked.
int32_t ShootingWorth(int creature, int entry, ShotScoring* scoring, int32_t traits, int* walked,
                      int* lastTarget) {
  const bool remember = scoring != nullptr;
  const bool far = remember ? FarFromEnemies(creature, *scoring) : NearestEnemyFeet(creature) > 25;
  KnownShots now{};
  KnownShots* known = nullptr;
  if (remember && ShotsSkipped != 0 && ShotsKeyedAlike(creature, *scoring, &now)) {
    now.stamp = ShotStamp;
    now.traits = traits;
    now.far = far;
    known = &KnownSlot(now);
    // Against the words themselves, not the copies just written into now.
    if (known->stamp == ShotStamp && known->listed == now.listed && known->cover == now.cover &&
        known->pointBlank == now.pointBlank && known->traits == traits && known->far == far) {
      // The listing is not written out: the candidate list is listed for
      // real once the grid is scored.
      const RangedTargetSurvey& survey = scoring->survey;
      *walked = survey.walked[SquareIndex(Creatures[creature].squareX, Creatures[creature].squareY)];
      if (now.listed != 0) {
        *lastTarget = survey.candidates[63 - std::countl_zero(now.listed)];
        ShownAttackChance = known->chance;
      }
      return known->worth;
    }
  }
  if (known && traits >= 0 && traits < 4 && AllShotsKeyed(now, traits)) {
    // Every shot of the square was looked up before: the terms are taken as
    // the weighing's listing would have brought them, with no listing.
    const RangedTargetSurvey& survey = scoring->survey;
    *walked = survey.walked[SquareIndex(Creatures[creature].squareX, Creatures[creature].squareY)];
    ShotTerms best{};
    for (uint64_t bits = now.listed; bits != 0; bits &= bits - 1) {
      const int n = std::countr_zero(bits);
      const KeyedShot& keyed = KeyedShots[n][traits][(now.pointBlank >> n) & 1][(now.cover >> n) & 1];
      KeepLargest(&best, keyed.terms);
      ShownAttackChance = keyed.chance;
      *lastTarget = survey.candidates[n];
    }
    now.worth = Worth(best, now.listed != 0, far);
    now.chance = ShownAttackChance;
    *known = now;
    return now.worth;
  }
  static uint8_t cover[kCandidateListSize];
  if (remember)
    *walked = WeighRangedTargets(&scoring->survey, cover);
  else
    ListRangedTargets(creature, 0);
  const int count = remember ? scoring->survey.listed : CountListed(TargetCandidateList, kCandidateListSize);
  const uint32_t evaluated = ShotsEvaluated;
  ShotTerms best{};
  uint64_t alike = known != nullptr && traits >= 0 && traits < 4 ? now.listed : 0;
  for (int i = 0; i < count; ++i) {
    const int e = TargetCandidateList[i];
    ShotTerms s;
    // A shot evaluated at this square may have reshaped a combatant: the rest
    // are keyed afresh.
    if (!scoring || !scoring->survey.overGrid) alike = 0;
    if (alike != 0) {
      // The i-th listed target is the survey's n-th combatant.
      const int n = std::countr_zero(alike);
      alike &= alike - 1;
      KeyedShot& keyed = KeyedShots[n][traits][(now.pointBlank >> n) & 1][cover[i]];
      if (keyed.stamp == ShotStamp) {
        s = keyed.terms;
        ShownAttackChance = keyed.chance;
      } else {
        const uint32_t before = ShotsEvaluated;
        s = WeighShot(creature, e, entry, traits, cover[i], &scoring->survey);
        if (ShotsEvaluated == before) keyed = {ShotStamp, ShownAttackChance, s};
      }
    } else if (remember) {
      s = WeighShot(creature, e, entry, traits, cover[i], &scoring->survey);
    } else {
      const int32_t planners = 5 * CountPlannedAttacksOn(e);
      ShownAttackChance = ResolveAttack(creature, e, entry, SecondTactic, 1, 0, 0, nullptr);
      s = TermsOf(creature, e, ShownAttackChance, planners);
    }
    KeepLargest(&best, s);
    *lastTarget = e;
  }
  const int32_t worth = Worth(best, count > 0, far);
  if (known && ShotsEvaluated == evaluated) {
    now.worth = worth;
    now.chance = ShownAttackChance;
    *known = now;
  }
  return worth;
}

// Puts the creature on the square.
void Place(CreatureRecord& c, int sq) {
  c.squareX = sq / kMapSide;
  c.squareY = sq % kMapSide;
}

// Scores every square of -5 or more with the worth of shooting from there.
// Remembering, the listings and shots that the scoring skipped leave the
// lines, the candidate list and the evaluation's words as they were left
// when everything was worked out: the last shot evaluated, the last listing
// that walked a line after it, and the last listing are made again for real.
void ScoreShootingSquares(int creature, int entry, bool remember) {
  CreatureRecord& c = Creatures[creature];
  const int32_t traits = RecomputeSquareTraits(creature);
  static ShotScoring scoring;
  if (remember) {
    PrepareRangedTargetSurvey(&scoring.survey, creature, 0);
    GatherEnemySquares(creature, &scoring.enemies);
    MarkSquaresNearEnemies(creature, &scoring);
    SurveyRangedTargetsOverGrid(&scoring.survey, ValuationGrid, -5);
    MarkShotRanges(&scoring);
  }
  int lastShotSquare = -1, lastShotTarget = -1, lastWalkSquare = -1, lastSquare = -1;
  // Remembering, the marks of the shots' lines are made again below.
  const uint8_t marked = CoverLinesMarked;
  if (remember && CoverLinesSurveyed != 0) CoverLinesMarked = 0;
  // Remembering, the texts of the last shot are written when it is made again.
  const uint8_t texts = EvaluationTextsWritten;
  if (remember && ShotTextsSkipped != 0) EvaluationTextsWritten = 0;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      const int sq = SquareIndex(x, y);
      int32_t& v = ValuationGrid[sq];
      if (v < -5) continue;
      c.squareX = x;
      c.squareY = y;
      int walked = 0, target = -1;
      v += ShootingWorth(creature, entry, remember ? &scoring : nullptr,
                         remember ? RecomputeSquareTraitsAt(x, y) : traits, &walked, &target);
      lastSquare = sq;
      if (target != -1) {
        lastShotSquare = sq;
        lastShotTarget = target;
      } else if (walked > 0) {
        lastWalkSquare = sq;
      }
    }
  CoverLinesMarked = marked;
  EvaluationTextsWritten = texts;
  if (!remember) return;
  if (lastShotSquare != -1) {
    Place(c, lastShotSquare);
    ListRangedTargets(creature, 0);
    ShownAttackChance = ResolveAttack(creature, lastShotTarget, entry, SecondTactic, 1, 0, 0, nullptr);
  }
  if (lastWalkSquare > lastShotSquare) {
    Place(c, lastWalkSquare);
    ListRangedTargets(creature, 0);
  }
  if (lastSquare != -1 && lastSquare != lastWalkSquare && lastSquare != lastShotSquare) {
    Place(c, lastSquare);
    ListRangedTargets(creature, 0);
  }
}

}  // namespace

int BuildRangedValuationGrid(int creature) {
  const ScoringSession session(creature);
  if (!IsValidCreature(creature)) return 1;
  CreatureRecord& c = Creatures[creature];
  BuildAttackProfile(&Profile, creature, IsActingFighter(creature) ? SecondTactic : 0, -1, 0, 0);
  bool singleShot = true;
  int entry = RangedProfileEntry;
  for (int i = 0; i < kAttackProfileEntries && Profile.entries[i].kind != kEntryNone; ++i)
    if (Profile.entries[i].kind == kEntryRanged) {
      singleShot = Profile.entries[i].attackCount.total < 2;
      if (entry < 0) entry = i;
      break;
    }
  if (entry < 0) entry = 0;
  bool moreThanOneMove = false, exactlyOneMove = false;
  if (IsActingFighter(creature) && CombatAction.standardActionLeft == 1) {
    moreThanOneMove = CombatAction.movesLeft > c.speed.current;
    exactlyOneMove = CombatAction.movesLeft == c.speed.current;
  }
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  MarkUnfitSquares(creature);

  // Next to an enemy a shot provokes: -10, two squares off -5.
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  for (int i = 0; i < TurnCount(); ++i) {
    const int e = TurnOrder[i].creature;
    if (!IsValidCreature(e) || e == creature || !AreEnemies(creature, e)) continue;
    MarkAdjacentAndSecondRing(e);
    const SquareBox ring = RingBox(e, 0), second = RingBox(e, 1);
    const SquareBox near = FootprintReach(creature, ring.x0, ring.y0, ring.x1, ring.y1);
    const SquareBox far = FootprintReach(creature, second.x0, second.y0, second.x1, second.y1);
    for (int x = near.x0; x <= near.x1; ++x)
      for (int y = near.y0; y <= near.y1; ++y) {
        int32_t& v = ValuationGrid[SquareIndex(x, y)];
        if (v != kUnfit && FootprintTouches(x, y, w, h, 1, 8)) v -= 10;
      }
    for (int x = far.x0; x <= far.x1; ++x)
      for (int y = far.y0; y <= far.y1; ++y) {
        int32_t& v = ValuationGrid[SquareIndex(x, y)];
        if (v == 0 && FootprintTouches(x, y, w, h, 9, 9)) v -= 5;
      }
  }

  const int sx = c.squareX, sy = c.squareY;
  // Shots are remembered for a ranged entry (or none, which every square
  // refuses alike) and while no storm makes every square read differently.
  ForgetShots();
  const int32_t kind = Profile.entries[entry].kind;
  const bool remember = ShotsRemembered != 0 && (kind == kEntryRanged || kind == kEntryNone) &&
                        RecomputeSquareTraits(creature) != -1;
  ScoreShootingSquares(creature, entry, remember);
  c.squareX = sx;
  c.squareY = sy;
  AddRetreatBonuses(creature);
  ScoreGridAdjustments(creature);

  if (DisruptionTarget == -1 && !exactlyOneMove && singleShot) {
    ScoreGridReachability(creature, moreThanOneMove ? 1 : 0, 1, 0, 0);
    return 1;
  }
  const int32_t bonus = DisruptionTarget != -1 ? 200 : exactlyOneMove ? 50 : 6;
  if (OnGrid(sx, sy) && ValuationGrid[SquareIndex(sx, sy)] > 0) ValuationGrid[SquareIndex(sx, sy)] += bonus;
  if (MayTakeFiveFootStep(creature))
    for (int x = sx - 1; x <= sx + 1; ++x)
      for (int y = sy - 1; y <= sy + 1; ++y) {
        if ((x == sx && y == sy) || !OnGrid(x, y)) continue;
        int32_t& v = ValuationGrid[SquareIndex(x, y)];
        if (v >= 1 && IsFreeStepSquare(creature, sx, sy, x, y)) v += bonus;
      }
  ScoreGridReachability(creature, moreThanOneMove ? 1 : 0, 1, 0, 0);
  return 1;
}
