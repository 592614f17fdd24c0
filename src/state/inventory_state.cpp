#include "state/inventory_state.h"

#include "engine/page_history.h"

uint32_t PartyGold = 0;
int32_t ChosenItem = -1;
int32_t TradePartner = -1;
uint32_t CraftCostGold = 0;
uint32_t CraftCostXP = 0;
int32_t ActingCreature = 0;

void EndTrade() { TradePartner = -1; }

void ResetInventoryWords() {
  PartyGold = 0;
  ChosenItem = -1;
  TradePartner = -1;
  CraftCostGold = 0;
  CraftCostXP = 0;
  ActingCreature = 0;
}
