#include "map/party_walk.h"

#include "engine/reset_words.h"
#include "map/movement_rules.h"
#include "rules/creature_record.h"
#include "map/creature_paths.h"
#include "state/party_leader.h"

uint8_t PartyWalking[4] = {0, 0, 0, 0};

void GatherPartyOnLeader() {
  if (PartyLeader >= static_cast<uint32_t>(kPartySize)) return;
  const CreatureRecord& leader = Creatures[PartyLeader];
  for (int i = 0; i < kPartySize; ++i) {
    CreatureRecord& c = Creatures[i];
    c.squareX = c.nextX = leader.squareX;
    c.squareY = c.nextY = leader.squareY;
  }
}

void CancelPartyWalk() {
  for (uint8_t& b : PartyWalking) b = 0;
  WalkToInteraction[0] = WalkToInteraction[1] = 0;
  for (int i = 0; i < kPartySize; ++i) ResetCreaturePath(i);
}

void ResetPartyWalkState() {
  ResetWords(PartyWalking);
}
