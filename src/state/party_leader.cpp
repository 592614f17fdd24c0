#include "state/party_leader.h"

uint32_t PartyLeader = 0;

void ResetPartyLeaderState() {
  PartyLeader = 0;
}
