#include "map/party_walk.h"

#include "engine/reset_words.h"
#include "map/creature_paths.h"
#include "map/movement_rules.h"
#include "rules/creature_record.h"
#include "state/party_leader.h"

uint8_t PartyWalking[4] = {0, 0, 0, 0};
WalkSquare PartyWalkSquare[4];
PendingPickUpWords PendingPickUp;

bool GatherPartyOnLeader(bool presentOnly) {
  if (PartyLeader >= static_cast<uint32_t>(kPartySize)) return true;
  const CreatureRecord& leader = Creatures[PartyLeader];
  for (int i = 0; i < kPartySize; ++i) {
    CreatureRecord& c = Creatures[i];
    if (presentOnly && c.present != 1) continue;
    c.squareX = c.nextX = leader.squareX;
    c.squareY = c.nextY = leader.squareY;
  }
  return true;
}

void CancelPendingWalk() {
  ResetWords(PartyWalking);
  ResetWords(PartyWalkSquare);
  ResetWords(PendingPickUp);
  WalkToInteraction[0] = WalkToInteraction[1] = 0;
}

bool CancelPartyWalk() {
  CancelPendingWalk();
  for (int i = 0; i < kPartySize; ++i) ResetCreaturePath(i);
  return true;
}

void ResetPartyWalkState() {
  ResetWords(PartyWalking);
  ResetWords(PartyWalkSquare);
  ResetWords(PendingPickUp);
}
