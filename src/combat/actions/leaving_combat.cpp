#include "combat/actions/leaving_combat.h"

#include <cstdio>

#include "state/game_flags.h"
#include "state/script_state.h"
#include "combat/actions/combat_actions.h"
#include "state/turn_order.h"
#include "combat/actions/turn_order_changes.h"
#include "combat/actions/casting_checks.h"
#include "combat/actions/creature_effects.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/looping_sounds.h"
#include "engine/music.h"
#include "state/game_progress.h"
#include "engine/settings.h"
#include "map/map_record.h"
#include "state/party_leader.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/formation.h"
#include "rules/recompute_creature.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "engine/game_speeds.h"
#include "state/camera.h"
#include "state/casting_services.h"
#include "state/map_view_state.h"
#include "map/map_view.h"
#include "state/party_leader.h"

namespace {

constexpr int32_t kSoundDeath = 11;
constexpr int32_t kSlainHitPoints = 10000;
constexpr int32_t kDurationUnconscious = 3000;
constexpr int kMusicVictory = 13;
constexpr int kMusicDefeat = 14;
constexpr uint32_t kScreenDefeat = 7;
constexpr uint32_t kScreenVictory = 8;
constexpr int kFlagUnconsciousShown = 2;

bool Has(int creature, uint32_t id) { return FindCondition(creature, id) >= 0; }

void QueueDeathEvent(CombatEvent& e, int creature) {
  e = CombatEvent{};
  e.type = kEventDeath;
  e.value = 0;
  e.creature = creature;
  e.sound = kSoundDeath;
}

// The death line's tail by kind: destroyed, sent home or dead.
const char* DeathTail(int creature) {
  const int32_t type = Creatures[creature].type;
  if (type == 8 || type == 2) return " is destroyed.";
  if (Has(creature, kCondSummonedCreature)) return " goes back to its own plane.";
  return " dies.";
}

void LogFall(int creature, const char* tail) {
  LogMessage("\xA3%.15s\xA3%s\r\r", Creatures[creature].name, tail);
}

void NoteFallInTargetPass() {
  if (TargetPass == 1) TargetPass = 2;
}

// Writes a lasting condition straight into the entry FreeConditionSlot gives;
// false when none can be freed.
bool WriteFallCondition(int creature, uint32_t id, int32_t duration) {
  const int slot = FreeConditionSlot(creature);
  if (slot < 0 || slot >= kConditionSlots) return false;
  Creatures[creature].conditions[slot] = ConditionEntry{id, duration, kSourceCombatResult, 0, 0};
  return true;
}

// The fall rules shared by the attack's and everyone else's fall handling.
// A creature whose fall cannot be written into its full condition list still
// leaves the turn order, and the fall is reported as it happened.
int HandleFall(int creature, CombatEvent& event, bool dropsSpellAfterMove) {
  CombatAction.reactingCreature = -1;
  if (!IsValidCreature(creature)) return kFallNone;
  CreatureRecord& c = Creatures[creature];
  if (c.hitPoints > 0 && !Has(creature, kCondDead) && !Has(creature, kCondPetrified)) return kFallNone;

  if (RemoveTurnEntry(creature)) {
    ActorFellDuringReaction = 1;
    if (dropsSpellAfterMove) SpellAfterMove = -1;
  }
  QueueDeathEvent(event, creature);
  NoteFallInTargetPass();
  if (Has(creature, kCondPetrified)) return kFallPetrified;
  if (Has(creature, kCondDead)) {
    LogFall(creature, DeathTail(creature));
    return kFallDied;
  }
  if (creature < kPartySize && c.hitPoints > -10) {
    WriteFallCondition(creature, kCondUnconscious, kDurationUnconscious);
    LogFall(creature, " is knocked out.");
    return kFallKnockedOut;
  }
  const char* tail = creature < kPartySize ? " dies." : DeathTail(creature);
  WriteFallCondition(creature, kCondDead, kDurationLasting);
  LogFall(creature, tail);
  return kFallDied;
}

// Victory or defeat: the music of the end, the battle closed, the end screen.
void EndBattle(int track, uint32_t screen) {
  if (OptionWords[kOptionMusicVolume] > 0 && CurrentMusicTrack != kMusicVictory) {
    if (CurrentMusicTrack > 0 && CurrentMusicTrack < kMusicTrackCount)
      MusicTrackPositions[CurrentMusicTrack] = GetMusicPosition();
    SetMusicVolume(0);
    StopMusic();
    PlayMusic(track, 1, 0);
    GetMusicTempo();
  }
  CombatAction.actionCode = 0;
  InCombat = 0;
  g_ProcessingAttackNumber = -1;
  // A battle that ends in the middle of a spell use ends the use too: no
  // spell, target, metamagic or source is carried out of the battle.
  ClearCurrentSpell();
  CastingFromItem = CastingWand = CastingSpellLike = CastingScripted = 0;
  CastingItem = 0;
  CastResumed = 0;
  if (screen == kScreenDefeat) StopAllLoopingSounds();
  ScreenMode = screen;
}

void RunScriptKeepingScreen(const char* path) {
  const uint32_t mode = ScreenMode;
  RunScriptFile(path);
  ScreenMode = mode;
}

bool IsDown(int creature) {
  return FindAnyCondition(creature, kCondDead, kCondUnconscious, kCondPetrified) >= 0;
}

}  // namespace

int HandleFallAfterAttack(int creature) { return HandleFall(creature, ExtraDamageEvents[1], false); }

int RemoveFromCombat(int creature, int eventIndex) {
  if (IsValidCreature(creature)) RecomputeCreature(creature, 0);
  int entry = eventIndex == -1 ? 1 : eventIndex;
  if (entry < 0) entry = 0;
  if (entry >= kCombatEventsKept) entry = kCombatEventsKept - 1;
  return HandleFall(creature, CombatEvents[entry], true);
}

bool SlayCreature(int creature, int sound) {
  if (!IsValidCreature(creature)) return true;
  CreatureRecord& c = Creatures[creature];
  LogMessage("\xA3%s\xA3 loses \xA3%i\xA3 @HP@.\r", c.name, kSlainHitPoints);
  c.hitPoints -= kSlainHitPoints;
  ClearCombatEvents();
  CombatEvents[0] = CombatEvent{};
  CombatEvents[0].type = kEventFireDamage;  // the damage shown as type 4
  CombatEvents[0].value = kSlainHitPoints;
  CombatEvents[0].creature = creature;
  CombatEvents[0].sound = sound;
  PlaybackCreature = creature;
  PlaybackFramesLeft = FramesPerEvent;
  BringCreatureIntoView(creature);
  RemoveFromCombat(creature, -1);
  RecomputeCreature(creature, 0);
  return true;
}

bool DismissCombatant() {
  if (TurnEntryCount <= 0) return true;
  const int last = (TurnEntryCount > kTurnOrderEntries ? kTurnOrderEntries : TurnEntryCount) - 1;
  const int creature = TurnOrder[last].creature;
  if (IsValidCreature(creature)) {
    CancelReadiedAction(creature);
    RemoveCondition(creature, kCondDead);
    const int slot = FreeConditionSlot(creature);
    if (slot >= 0 && slot < kConditionSlots)
      Creatures[creature].conditions[slot] = ConditionEntry{kCondDead, kDurationLasting, 0, 0, 0};
    CompactConditions(creature);
    Creatures[creature].present = 0;
  }
  TurnEntryCount = last;
  return true;
}

namespace {

// Whether the turn order still holds a party member, and an enemy.
void SidesInBattle(bool* party, bool* enemy) {
  *party = *enemy = false;
  const int count = TurnEntryCount > kTurnOrderEntries ? kTurnOrderEntries : TurnEntryCount;
  for (int i = 0; i < count; ++i) {
    const int creature = TurnOrder[i].creature;
    if (!IsValidCreature(creature)) continue;
    if (Creatures[creature].allegiance == 2) *enemy = true;
    if (Creatures[creature].allegiance == 1) *party = true;
  }
}

}  // namespace

bool IsBattleDecided() {
  bool party = false, enemy = false;
  SidesInBattle(&party, &enemy);
  return !(party && enemy);
}

bool CheckEndOfCombat() {
  bool party = false, enemy = false;
  SidesInBattle(&party, &enemy);
  if (party && enemy) return false;
  if (party)
    EndBattle(kMusicVictory, kScreenVictory);
  else
    EndBattle(kMusicDefeat, kScreenDefeat);
  return true;
}

bool ReplaceFallenLeader() {
  const int leader = static_cast<int>(PartyLeader);
  if (leader < 0 || leader >= kPartySize || !IsDown(leader)) return false;
  int standing = 0;
  for (int m = 0; m < kPartySize; ++m) {
    if (!IsDown(m)) {
      standing = m;
      break;
    }
  }
  SwapPartyMembers(standing, leader);
  SetPartyLine();
  return true;
}

int RunDeathScript() {
  const int creature = PlaybackCreature;
  if (!IsValidCreature(creature)) return 1;
  const CreatureRecord& c = Creatures[creature];
  char path[260];
  const int32_t script = c.scriptWords[kScriptWordDeathScript];
  if (creature >= kPartySize && c.hitPoints < 1 && script != 0) {
    std::snprintf(path, sizeof path, "Scripts\\%s\\Map%i_Death%i.mls", AdventureFolder, CurrentMap.scriptMapNumber,
                  script);
    RunScriptKeepingScreen(path);
  }
  if (IntroductoryAdventureFlag == 1 && GameFlags[kFlagUnconsciousShown] == 0 && c.hitPoints < 1 &&
      c.allegiance == 1) {
    StrictScrollTo(creature, -1, -1);
    GameFlags[kFlagUnconsciousShown] = 1;
    std::snprintf(path, sizeof path, "Scripts\\%s\\Unconscious.mls", AdventureFolder);
    RunScriptKeepingScreen(path);
  }
  return 1;
}
