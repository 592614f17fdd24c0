#include "combat/actions/talker_scripts.h"

#include <algorithm>
#include <cstdio>

#include "state/script_state.h"
#include "combat/actions/start_of_combat.h"
#include "state/game_progress.h"
#include "rules/creature_record.h"

int RunCreatureScript(int talker) {
  if (!IsValidCreature(talker) || Creatures[talker].tag[0] == '\0') return 1;
  char path[260];
  std::snprintf(path, sizeof path, "Scripts\\%s\\%.20s.mls", AdventureFolder, Creatures[talker].tag);
  RunScriptFile(path);
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
