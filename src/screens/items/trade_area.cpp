// Trading on the inventory screen: the trader's goods under "Items for
// trade" with their buying prices, the sale panel and the S key that sells
// the backpack item under the pointer, a cleric trader's healing beside the
// party list, and the "Party Gold:" line every inventory shows.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "adventure/item_commands.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "map/map_record.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/inventory_slots.h"
#include "screens/game/click_results.h"
#include "screens/game/sounds_and_music.h"
#include "screens/items/inventory_screen.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/party_leader.h"
#include "rules/experience.h"

char TradeOfferOverlay[kHoverCaptionSize] = {};
bool TradeSaleHintShown = false;
int TradeOfferOverlayStyle = 0;

namespace {

constexpr int kKeyS = 0x1F;
constexpr int kSlotSheet = 20;
constexpr int kSlotFrame = 13;
constexpr int kKnownMarkFrame = 195, kRefusedMarkFrame = 194;
constexpr int kHealFrame = 968;
constexpr int kBoxSize = 18;
constexpr uint32_t kPlain = 0xFFFFFFFFu;
constexpr uint32_t kHovered = 0xFFAAAAAAu;
constexpr uint32_t kHealHovered = 0xFF969696u;
constexpr int32_t kCursorChoosable = 16;
constexpr int kPanelColumn = 21;
constexpr int kSellRow = 22, kItemRow = 23, kGoldRow = 24;
constexpr int kHealColumn = 28, kMemberFirstRow = 5;
constexpr int kGoldColumn = 18, kGoldRowOnPage = 11;
constexpr int kCoinSmall = 276, kCoinLarge = 277;
constexpr int kSampleCoin = 57;
constexpr int kSampleRaised = 46, kSampleRestored = 36, kSampleHealed = 41;
constexpr int32_t kNoSaleTrader = 3;
constexpr int32_t kStockTypeValuables = 1;
constexpr int32_t kStockTypeArrows = 7;
constexpr int32_t kUnlimitedStock = 999;
constexpr int32_t kLot = 20;
constexpr int32_t kMessageSold = 42, kMessagePurchased = 43, kMessageHealed = 72;
constexpr int32_t kMessageBackpackFull = 2, kMessageNoGold = 31;

int StockX(int slot) { return 164 + 18 * (slot % 8); }
int StockY(int slot) { return slot < 8 ? 138 : 156; }

void PlayCoin() { PlayChannelSound(kFirstFreeChannelA, kSampleCoin, 0, 1, 0, 100); }

// The price word of an item code, 0 for a code that names nothing.
int32_t ItemPrice(uint32_t code) {
  if (const ItemRecord* row = StockRow(code)) return row->price;
  if (const CraftedWeaponRecord* row = CraftedItem(code)) return row->price;
  return 0;
}

bool HoldsStackOf(const CreatureRecord& c, uint32_t code) {
  for (const ItemPair& p : c.carried)
    if (p.code == code) return true;
  return c.ammunition.code == code;
}

// What the sale panel offers for the held stack: the gold, or a refusal.
struct SaleTerms {
  bool buys;
  int64_t gold;
};

SaleTerms HeldSaleTerms(int32_t cha) {
  const int64_t each = SellingPrice(static_cast<uint32_t>(HeldItemCode), cha);
  if (each <= 0) return {false, 0};
  const int64_t gold = HeldItemCount > 1 ? each * HeldItemCount : each;
  // The purse holds what a signed 32-bit word holds: a sale past it is refused.
  if (static_cast<int64_t>(PartyGold) + gold > INT32_MAX) return {false, 0};
  return {true, gold};
}

// The sale of the held stack: the gold to the purse, the items out of the game.
void SellHeld(int creature, int64_t gold) {
  PartyGold = static_cast<uint32_t>(static_cast<int64_t>(PartyGold) + gold);
  CheckTreasureAchievements();
  SetMessageAroundPointer(kMessageSold);
  UnequipSlot(creature, HeldItemOrigin, HeldItemCount, 1);
  ClearHeldStack();
  PlayCoin();
}

// Whether a text of the panel lies under the pointer.
bool OverPanelText(int row, const char* text) {
  return MouseInTextRow(row, kPanelColumn, static_cast<int>(std::strlen(text)), 1, 1, 0);
}

bool OverAnyStockSlot() {
  for (int k = 0; k < kCarriedPairs; ++k)
    if (MouseInRect(StockY(k), StockX(k), kBoxSize, kBoxSize)) return true;
  return false;
}

// The sale panel and the sale itself; `keyed` marks the backpack item put
// under offer by the S key this frame.
void SalePanel(const InventoryFrame& f, int32_t cha, bool keyed) {
  if (HeldItemCode <= 0) {
    DrawTextAt(kDefaultColour, 4, 0, "Sell", 6, kPanelColumn, kSellRow, 1, 0, 0, 0);
    return;
  }
  const SaleTerms terms = HeldSaleTerms(cha);
  const bool pressedS = keyed && KeyPressed(kKeyS);
  if (pressedS) LatchKey(kKeyS);
  if (!terms.buys) {
    DrawTextAt(kDefaultColour, 20, 0, "Sorry, I will", 4, kPanelColumn, kSellRow, 1, 0, 0, 0);
    DrawTextAt(kDefaultColour, 20, 0, "not buy this.", 4, kPanelColumn, kItemRow, 1, 0, 0, 0);
    if (pressedS) ClearHeldStack();
    return;
  }
  const uint32_t code = static_cast<uint32_t>(HeldItemCode);
  char raw[64], name[64], item[80], gold[40];
  std::snprintf(raw, sizeof raw, "%.50s", ItemCodeName(code));
  CapitaliseWords(name, raw, 1);
  if (HeldItemCount > 1) std::snprintf(item, sizeof item, "%i*%s", HeldItemCount, name);
  else std::snprintf(item, sizeof item, "%s", name);
  std::snprintf(gold, sizeof gold, "For %lli Gold?", static_cast<long long>(terms.gold));
  // A long item line takes two rows and puts the price a row lower.
  std::vector<std::string> lines = BreakIntoTwoLines(item, kLargeColumns - kPanelColumn);
  if (lines.size() > 1) lines[1].resize(std::min<size_t>(lines[1].size(), kLargeColumns - kPanelColumn));
  const int goldRow = kGoldRow + static_cast<int>(lines.size()) - 1;
  bool overItem = false;
  for (size_t i = 0; i < lines.size(); ++i) overItem |= OverPanelText(kItemRow + static_cast<int>(i), lines[i].c_str());
  const bool overSell = OverPanelText(kSellRow, "Sell"), overGold = OverPanelText(goldRow, gold);
  DrawTextAt(kDefaultColour, 4, 0, "Sell", overSell ? 2 : 6, kPanelColumn, kSellRow, 1, 0, 0, 0);
  for (size_t i = 0; i < lines.size(); ++i)
    DrawTextAt(kDefaultColour, kLargeColumns, 0, lines[i].c_str(), overItem ? 2 : 6, kPanelColumn,
               kItemRow + static_cast<int>(i), 1, 0, 0, 0);
  DrawTextAt(kDefaultColour, kLargeColumns, 0, gold, overGold ? 2 : 6, kPanelColumn, goldRow, 1, 0, 0, 0);
  TradeSaleHintShown = keyed;
  const bool released = !keyed && !ButtonPressed(0) && (overSell || overItem || overGold || OverAnyStockSlot());
  if (released || pressedS) SellHeld(f.creature, terms.gold);
}

// The buying offer of a stock slot under the pointer, into the caption (and
// the name's colour line for special materials and composite bows).
void OfferCaption(uint32_t code, const BuyingTerms& terms) {
  const CraftedWeaponRecord* crafted = CraftedItem(code);
  const char* name = ItemCodeName(code);
  if (!terms.sold) {
    std::snprintf(HoverCaption, 100, "%.50s", name);
    return;
  }
  const bool plus = crafted != nullptr && crafted->enhancement == 0 && crafted->masterwork == 1;
  const long long price = static_cast<long long>(terms.price);
  if (terms.quantity == kLot) std::snprintf(HoverCaption, 100, "Buy 20*%.50s For %lli?", name, price);
  else if (plus) std::snprintf(HoverCaption, 100, "Buy +%.50s For %lli?", name, price);
  else std::snprintf(HoverCaption, 100, "Buy %.50s For %lli?", name, price);
  const int style = ItemCaptionStyle(code);
  if (crafted == nullptr || style == 0) return;
  std::snprintf(TradeOfferOverlay, 100, plus ? "    +%.50s" : "    %.50s", name);
  const size_t length = std::strlen(HoverCaption);
  for (size_t i = std::strlen(TradeOfferOverlay); i < length && i < 99; ++i) TradeOfferOverlay[i] = ' ';
  TradeOfferOverlay[std::min<size_t>(length, 99)] = '\0';
  TradeOfferOverlayStyle = style;
}

// A purchase from stock slot k of the trader.
void Buy(const InventoryFrame& f, int k, uint32_t code, const BuyingTerms& terms) {
  const int x = StockX(k), y = StockY(k);
  CreatureRecord& c = Creatures[f.creature];
  if (FindFreeItemPair(f.creature) == -1 && !(IsStockCode(code) && IsStackableItem(code) && HoldsStackOf(c, code))) {
    SetClickResult(x, y, kMessageBackpackFull);
    return;
  }
  if (static_cast<int64_t>(PartyGold) < terms.price) {
    SetClickResult(x, y, kMessageNoGold);
    return;
  }
  if (GiveItemToCharacter(f.creature, terms.quantity, code) == 0) {
    SetClickResult(x, y, kMessageBackpackFull);
    return;
  }
  PlayCoin();
  PartyGold = static_cast<uint32_t>(static_cast<int64_t>(PartyGold) - terms.price);
  SetClickResult(x, y, kMessagePurchased);
  const int32_t stock = Creatures[f.tradePartner].carried[k].count;
  // Only stock items come without end: a crafted item is one item, never two owners'.
  if (IsStockCode(code) && stock >= kUnlimitedStock) return;
  UnequipSlot(f.tradePartner, kSlotFirstCarried + k, IsCraftedCode(code) ? -1 : terms.quantity, 0);
}

// The mark on a scroll for the viewed creature: none when it could learn the
// spell, blue when it knows it, red when its class cannot.
void ScrollMark(int creature, uint32_t code, int x, int y) {
  const ItemRecord* row = StockRow(code);
  const int32_t spell = row->bonus;
  const CreatureRecord& c = Creatures[creature];
  const bool fits = SpellFitsClass(spell, c.creatureClass);
  if (fits && c.knownSpells[spell] == 0) return;
  if (fits)
    DrawSheetFrameGradient(kSlotSheet, kKnownMarkFrame, x, y, kPlain, 1.0f, 1.0f, 0.0f, 1, 0xFF65F9F4u, 0xFF56B7FAu,
                           0xFF269BFEu, 0xFF0F75FFu, 0xFF035DC3u);
  else
    DrawSheetFrameGradient(kSlotSheet, kRefusedMarkFrame, x, y, kPlain, 1.0f, 1.0f, 0.0f, 1, 0xFFCB0324u,
                           0xFFB40014u, 0xFF960000u);
}

void StockSlots(const InventoryFrame& f, int32_t cha) {
  DrawTextAt(kDefaultColour, 15, 0, "Items for trade", 4, kPanelColumn, 16, 1, 0, 0, 0);
  const CreatureRecord& trader = Creatures[f.tradePartner];
  for (int k = 0; k < kCarriedPairs; ++k) {
    const int x = StockX(k), y = StockY(k);
    const ItemPair& pair = trader.carried[k];
    const uint32_t code = (IsStockCode(pair.code) || IsCraftedCode(pair.code)) && pair.count > 0 ? pair.code : 0;
    const bool over = MouseInRect(y, x, kBoxSize, kBoxSize);
    DrawSheetFrame(kSlotSheet, kSlotFrame, x, y, over && code == 0 ? kHovered : kPlain);
    if (code == 0) {
      if (over) std::snprintf(HoverCaption, 100, "Trader");
      continue;
    }
    DrawFigureSprite(ItemCodeIcon(code), x, y, over ? kHovered : kPlain, 0);
    const ItemRecord* stock = StockRow(code);
    const CraftedWeaponRecord* crafted = CraftedItem(code);
    if (!over && stock != nullptr && stock->baseType == kStockTypeScroll) ScrollMark(f.creature, code, x, y);
    if (crafted != nullptr && crafted->itemType == kItemTypeWand && crafted->charges > 0)
      DrawBoxCount(crafted->charges, x, y);
    if (!over) continue;
    const BuyingTerms terms = BuyingPrice(code, pair.count, cha);
    if (HeldItemCode == -1) OfferCaption(code, terms);
    if (HeldItemCode == -1 && f.mayAct && terms.sold && ButtonPressed(0)) {
      LatchButton(0);
      Buy(f, k, code, terms);
    } else if (HeldItemCode == -1 && f.mayBrowse && ButtonPressed(1)) {
      LatchButton(1);
      const int32_t type = crafted != nullptr ? static_cast<int32_t>(code) + kPageItemPropertiesLast
                                              : static_cast<int32_t>(code);
      PushPage(ItemCodeName(code), type, TopPageParameter());
    }
  }
}

// Healing bought from a cleric: a mark beside each member who needs it.
void HealingService(const InventoryFrame& f) {
  for (int i = 0; i < kPartySize; ++i) {
    CreatureRecord& m = Creatures[i];
    if (m.name[0] == 0) continue;
    const int need = NeededRestoration(i);
    if (need == -1) continue;
    const int row = kMemberFirstRow + i;
    const bool over = MouseInRect(8 * row, 8 * kHealColumn, 8, 8);
    DrawSheetFrame(kSheetInterface, kHealFrame, 8 * kHealColumn, 8 * row, over ? kHealHovered : kPlain);
    if (!over || f.spellPending || HeldItemCode != -1 || !f.mayAct || CombatEquipAction != 0) continue;
    CursorShape = kCursorChoosable;
    const int64_t price = HealingPrice(i, need);
    std::snprintf(HoverCaption, 100, "Heal %.50s for %lli?", m.name, static_cast<long long>(price));
    if (!ButtonPressed(0)) continue;
    LatchButton(0);
    if (static_cast<int64_t>(PartyGold) < price) {
      SetMessageAroundPointer(kMessageNoGold);
      continue;
    }
    PartyGold = static_cast<uint32_t>(static_cast<int64_t>(PartyGold) - price);
    if (need == 3) {
      // Raised where the party's leader stands, with the least experience of its level.
      const CreatureRecord& leader = Creatures[PartyLeader < static_cast<uint32_t>(kPartySize) ? PartyLeader : 0];
      m.map = CurrentMapNumber;
      m.squareX = m.nextX = leader.squareX;
      m.squareY = m.nextY = leader.squareY;
      const int64_t level = std::max<int32_t>(m.level, 0);
      m.experience = static_cast<int32_t>(std::min<int64_t>(ExperienceForLevel(level), INT32_MAX));
    }
    const int sample = need == 3 ? kSampleRaised : need == 2 ? kSampleRestored : kSampleHealed;
    PlayChannelSound(kFirstFreeChannelA, sample, 0, 1, 0, 100);
    RestoreCreature(i);
    SetMessageAroundPointer(kMessageHealed);
  }
}

}  // namespace

int32_t TradeCharismaAdjustment() {
  int64_t sum = 0;
  int count = 0;
  for (int i = 0; i < kPartySize; ++i) {
    const CreatureRecord& m = Creatures[i];
    if (m.name[0] == 0 || FindAnyCondition(i, kCondDead, kCondPetrified, kCondUnconscious) >= 0) continue;
    sum += m.charisma.current;
    ++count;
  }
  // With nobody to speak for the party the prices stand as they are.
  if (count == 0) return 0;
  const int64_t average = sum / count;
  return static_cast<int32_t>(average / 2 - 5);
}

int64_t SellingPrice(uint32_t code, int32_t cha) {
  const ItemRecord* stock = StockRow(code);
  if (stock == nullptr && CraftedItem(code) == nullptr) return 0;
  const int64_t price = ItemPrice(code);
  if (ItemNoSale(code) == kNoSaleTrader || price <= 0) return 0;
  int64_t s = stock != nullptr && stock->baseType == kStockTypeValuables ? price : price / 2;
  s += s * cha * 5 / 100;
  s -= s / 10;
  return s > 0 ? s : 0;
}

BuyingTerms BuyingPrice(uint32_t code, int32_t stock, int32_t cha) {
  BuyingTerms t{false, 0, 1};
  const ItemRecord* row = StockRow(code);
  if (row == nullptr && CraftedItem(code) == nullptr) return t;
  int64_t p = ItemPrice(code);
  if (row != nullptr && stock == kUnlimitedStock && (row->baseType == kStockTypeArrows || row->baseType == kStockTypeBolts)) {
    p = row->baseType == kStockTypeArrows ? 1 : 2;
    t.quantity = kLot;
  }
  int64_t b = p - p * cha * 5 / 100;
  if (row != nullptr && b < 1) b = 1;
  t.price = b;
  // A crafted item whose asked price falls below nothing is not for sale:
  // buying it would give gold.
  t.sold = b >= 0;
  return t;
}

int64_t HealingPrice(int member, int need) {
  const int64_t level = std::max<int32_t>(Creatures[member].level, 0);
  switch (need) {
    case 3: return level * 525;
    case 2: return level * 210;
    case 1: return level * 55;
    default: return 0;
  }
}

void PartyGoldLine(const InventoryFrame& f) {
  DrawTextAt(kDefaultColour, 11, 0, "Party Gold:", 4, kGoldColumn, kGoldRowOnPage, 1, 0, 0, 0);
  if (!f.partyMember) {
    DrawTextAt(kDefaultColour, 14, 0, "            --", 1, kGoldColumn, kGoldRowOnPage, 1, 0, 0, 0);
    return;
  }
  char text[32];
  const int length = std::snprintf(text, sizeof text, "           %u", PartyGold);
  DrawTextAt(kDefaultColour, kLargeColumns, 0, text, 1, kGoldColumn, kGoldRowOnPage, 1, 0, 0, 0);
  DrawFigureIcon(0, 0, PartyGold < 100 ? kCoinSmall : kCoinLarge, kGoldColumn + length, kGoldRowOnPage, kPlain, 0);
}

void RunTradeArea(const InventoryFrame& f) {
  TradeOfferOverlay[0] = '\0';
  TradeSaleHintShown = false;
  if (f.tradePartner < 0 || !IsValidCreature(f.tradePartner)) return;
  const int32_t cha = TradeCharismaAdjustment();
  // The S key: the backpack item under the pointer is offered for this frame.
  bool keyed = false;
  if (HeldItemCode == -1 && HoveredItem.code != 0 && HoveredItem.place >= kSlotFirstCarried &&
      HoveredItem.place <= kSlotLastCarried) {
    HeldItemCode = static_cast<int32_t>(HoveredItem.code);
    HeldItemOrigin = HoveredItem.place;
    HeldItemCount = HoveredItem.count;
    keyed = true;
  }
  SalePanel(f, cha, keyed);
  if (keyed) ClearHeldStack();
  StockSlots(f, cha);
  if (Creatures[f.tradePartner].creatureClass == kClassCleric && f.creature < kPartySize) HealingService(f);
}
