#include "combat/actions/talker_scripts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "combat/actions/start_of_combat.h"
#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "map/creature_paths.h"
#include "map/party_walk.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "rules/formation.h"
#include "rules/positions.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"
#include "state/party_leader.h"
#include "state/script_state.h"
#include "state/turn_order.h"

namespace {

constexpr int kFirstOtherSlot = 4;
constexpr int32_t kTalkerMark = 3;
constexpr int32_t kTalkerMarkFrames = 100;
constexpr size_t kTagSize = sizeof(CreatureRecord::tag);

int Leader() { return IsValidCreature(static_cast<int>(PartyLeader)) ? static_cast<int>(PartyLeader) : 0; }

// The present fighters beyond the party's slots that belong to the talker's group.
template <typename Visit>
void ForEachGroupMember(int32_t group, Visit visit) {
  for (int s = kFirstOtherSlot; s < FighterCount && s < kFighterSlots; ++s) {
    const int f = FighterSlots[s].creature;
    if (IsValidCreature(f) && Creatures[f].present == 1 && Creatures[f].group == group) visit(f, s);
  }
}

int32_t DistanceSquared(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
  return (ax - bx) * (ax - bx) + (ay - by) * (ay - by);
}

// A walking group member stops on the square its figure is nearer to.
void SnapToNearerSquare(int creature) {
  CreatureRecord& c = Creatures[creature];
  const int32_t here = DistanceSquared(c.pixelX, c.pixelY, c.squareX * kSquarePixels, c.squareY * kSquarePixels);
  const int32_t next = DistanceSquared(c.pixelX, c.pixelY, c.nextX * kSquarePixels, c.nextY * kSquarePixels);
  if (next < here) {
    c.squareX = c.nextX;
    c.squareY = c.nextY;
  }
  c.nextX = c.squareX;
  c.nextY = c.squareY;
  c.pixelX = c.squareX * kSquarePixels;
  c.pixelY = c.squareY * kSquarePixels;
  ResetCreaturePath(creature);
  RelocateIfBlocked(creature);
}

bool ScreenKeepsTheView() {
  return (ScreenMode >= kModeTargetFirst && ScreenMode <= kModeEnchantPicker) ||
         (ScreenMode >= kModeCastAnnounce && ScreenMode <= kModeCastSpend);
}

bool IsSafeTagCharacter(char ch) {
  return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_' ||
         ch == '-' || ch == ' ' || ch == '.';
}

}  // namespace

bool BuildTalkerScriptPath(int talker, char* path, size_t size) {
  if (!IsValidCreature(talker) || path == nullptr || size == 0) return false;
  const char* tag = Creatures[talker].tag;
  const size_t length = strnlen(tag, kTagSize);
  if (length == 0) return false;
  for (size_t i = 0; i < length; ++i)
    if (!IsSafeTagCharacter(tag[i])) return false;
  if (std::string_view(tag, length).find("..") != std::string_view::npos) return false;
  const int written = std::snprintf(path, size, "Scripts\\%s\\%.*s.mls", AdventureFolder, static_cast<int>(length), tag);
  return written > 0 && static_cast<size_t>(written) < size;
}

int RunCreatureScript(int talker) {
  if (!IsValidCreature(talker)) return 1;
  CreatureRecord& t = Creatures[talker];
  CancelPartyWalk();
  for (int member = 0; member < kPartySize; ++member) RelocateIfBlocked(member);

  const int leader = Leader();
  const int32_t talkerFacing = t.facing;
  const int32_t group = t.group;
  if (group == 0) {
    FaceTowardsCreature(talker, leader);
  } else {
    ForEachGroupMember(group, [&](int f, int) {
      FaceTowardsCreature(f, leader);
      if (f != group) SnapToNearerSquare(f);
    });
  }
  const int32_t leaderFacing = Creatures[leader].facing;
  for (int member = 0; member < kPartySize; ++member) FaceTowardsCreature(member, talker);

  for (int32_t& mark : CreatureMarkWords) mark = 0;
  if (InCombat == 1 && DebugMode == 1) LogMessage("StrictScroll to %i - %i - %i\r", talker, -1, -1);
  // The view's glide is the game screen's; until it glides the view is put
  // on the talker at once.
  if (!ScreenKeepsTheView()) StrictScrollTo(talker, -1, -1);
  if (DebugMode == 1) LogMessage("(Cycle 2).\r");
  CreatureMarkWords[talker] = kTalkerMark;
  HighlightTimer = kTalkerMarkFrames;

  char path[260];
  if (BuildTalkerScriptPath(talker, path, sizeof path)) {
    ScriptSpeaker = talker;
    ScriptSavedFacing = talkerFacing;
    RunScriptFile(path);
  }

  ++t.furtherWords[kTalkCountWord];
  if (AllEnemiesAlert == 0) {
    t.facing = talkerFacing;
    Creatures[leader].facing = leaderFacing;
  }
  ScriptSpeaker = -1;
  ScriptSavedFacing = -1;
  if (group == 0) {
    if (t.fighterSlot >= 0) SetFighterFacing(t.fighterSlot);
  } else {
    ForEachGroupMember(group, [](int, int slot) { SetFighterFacing(slot); });
  }
  for (int slot = 0; slot < kPartySize && slot < FighterCount; ++slot) SetFighterFacing(slot);

  if (ScriptKeepMode != 0) {
    ScriptKeepMode = 0;
  } else if (ScriptModeWord == -1 && ScreenMode != kModeLocalMap && TradePartner == -1 && GameEndedFlag == 0) {
    // A trade the talker opened stays open, and so does the main menu of a
    // script that ended the game, as after a square's script.
    ScreenMode = kModeExploring;
  }
  return 1;
}

int EncounterChallengeRating() {
  const int count = std::clamp<int>(CombatParticipantCount, 0, kCombatListSize);
  struct Rated {
    int32_t creature;
    int32_t rating;
  };
  Rated pairs[kCombatListSize];
  for (int i = 0; i < count; ++i) {
    const int id = CombatParticipants[i];
    pairs[i] = {id, IsValidCreature(id) ? Creatures[id].challengeRating : 0};
  }
  std::stable_sort(pairs, pairs + count, [](const Rated& a, const Rated& b) { return a.rating < b.rating; });
  for (int i = 0; i < count; ++i) CombatParticipants[i] = pairs[count - 1 - i].creature;
  if (count == 0) return 0;
  int rating = pairs[count - 1].rating;
  for (int i = 1; i < count; ++i) {
    const int c = pairs[count - 1 - i].rating;
    if (c == 1) {
      if (rating >= 6) break;
      ++rating;
      continue;
    }
    const int d = rating - c;
    if (d >= 5) break;
    rating += d >= 2 ? 1 : 2;
  }
  return rating;
}
