// The inventory screen's words and the parts its frame is made of: the boxes
// of the figure and the backpack, the rules that decide which item a box
// takes, the item actions below the backpack and the character panel.
#pragma once
#include <cstdint>

#include "rules/item_tables.h"

// 1 while an item is held on the cursor (set at the end of every frame).
extern uint8_t DragInProgress;

// The message shown while the pointer stays on what raised it: a box's cell on
// the 8-pixel grid (its 16 x 16 square from (8 x column + 3, 8 x row + 3)), a
// block of text cells, or a pixel rectangle; -1 where unused.
struct InventoryMessageWords {
  int32_t code;
  int32_t cellColumn, cellRow;
  int32_t textColumn, textRow, textWidth;
  int32_t left, right, top, bottom;
};
extern InventoryMessageWords InventoryMessage;
// The text the screen shows for a message code ("" for a code it does not show).
const char* InventoryMessageText(int32_t code);
void SetMessageAtCell(int32_t code, int column, int row);
void SetMessageAtText(int32_t code, int column, int row, int width);
void SetMessageAroundPointer(int32_t code);
// Whether a message or a click result is showing (a drop is then refused).
bool MessageShowing();

// The filled box under the pointer this frame: its code (0 none), place and count.
struct HoveredItemWords {
  uint32_t code;
  int32_t place;
  int32_t count;
};
extern HoveredItemWords HoveredItem;

// What the frame works out once: the shown creature and the three views.
struct InventoryFrame {
  int creature;
  int tradePartner;
  bool partyMember;    // 0 to 3 with allegiance 1
  bool scrollView;     // in combat, the acting fighter's scroll action opened the screen
  bool mayAct;         // the action permission
  bool mayBrowse;      // the browse permission
  bool spellPending;
  bool picker;         // screen mode 17 or 18
};

// Item codes: crafted rows 1 to 4,999; stock rows above 5,000 (5,000 itself
// names neither and is shown as nothing).
bool IsStockCode(uint32_t code);
const ItemRecord* StockRow(uint32_t code);
const CraftedWeaponRecord* CraftedItem(uint32_t code);
const char* ItemCodeName(uint32_t code);
int32_t ItemCodeIcon(uint32_t code);
int32_t ItemNoSale(uint32_t code);
// A crafted item type: wands, crossbows, bows and shields.
constexpr int32_t kItemTypeWand = 8;
inline bool IsCrossbowType(int32_t t) { return t == 10 || t == 11; }
inline bool IsBowType(int32_t t) { return t == 32 || t == 33; }
inline bool IsShieldType(int32_t t) { return t > 35; }
// Stock item types the inventory rules name.
constexpr int32_t kStockTypeBolts = 17;
constexpr int32_t kStockTypeScroll = 19;
constexpr int32_t kStockTypeLevelScaled = 20;
// Crafted place classes and handling.
constexpr int32_t kPlaceEitherHand = 15;
constexpr int32_t kPlaceEitherFinger = 14;
constexpr int32_t kHandlingTwoHanded = 3;
constexpr int32_t kHandlingBodyArmour = 6;

// The equipment boxes of the figure, in drawing order.
struct EquipBox {
  int slot;
  int x, y;
  int emptyPicture;
  bool takesStock, takesCrafted;
  int cellColumn, cellRow;
  const char* caption;
};
constexpr int kEquipBoxCount = 13;
extern const EquipBox EquipBoxes[kEquipBoxCount];
const EquipBox* EquipBoxOf(int slot);
// The top-left pixel of a backpack entry (0 to 15).
int BackpackBoxX(int entry);
int BackpackBoxY(int entry);

// A count in small digits at the lower right of the box at (x, y), at most 99.
void DrawBoxCount(int32_t count, int x, int y);
// The spells a class reads from scrolls: arcane for a Wizard, divine for a Cleric.
bool SpellFitsClass(int32_t spell, int32_t creatureClass);
// The held stack's count as picked up from a place.
int32_t PickedUpCount(int creature, int slot);
// Whether the box shows the code (a box of stock items only shows no crafted
// code, and the other way round).
bool BoxShowsCode(const EquipBox& box, uint32_t code);

// Dropping the held stack: on an equipment box, a backpack entry, a party
// member's name (its row on screen). Each moves the items and clears the held
// stack, or refuses with a message; true when something moved.
bool DropOnEquipBox(int creature, int slot);
bool DropOnBackpack(int creature, int entry);
bool PassHeldItem(int creature, int member, int nameRow, int nameWidth);
// Ends the drag (nothing moves).
void ClearHeldStack();
// The item code of a place of the creature (0 empty or no place).
uint32_t PlaceCode(int creature, int slot);

// The picker modes: whether the item qualifies.
bool PickerAccepts(uint32_t code);

// The item actions below the backpack; true when the screen must return at once.
bool RunItemActions(const InventoryFrame& f);
// The combat scroll action on the backpack entry under the pointer; true when
// a cast started (the screen returns at once).
bool ScrollActionOnEntry(const InventoryFrame& f, uint32_t code);
// A scroll the creature may read in a battle now: it is the fighter whose
// turn it is, free to use an item, and the scroll suits its class, its
// voice and the actions left to it.
bool ScrollUsableInCombat(int creature, uint32_t code);
// The character panel, the attack lines and the member heading with its keys;
// true when the screen must return at once.
bool RunCharacterPanel(const InventoryFrame& f);

// The text style of an item's caption: the colour of a crafted item's
// special material or composite bow, else 0.
int ItemCaptionStyle(uint32_t code);

// Trade. The Charisma adjustment of the party's prices (0 when no member
// can speak for it).
int32_t TradeCharismaAdjustment();
// The gold a trader pays for one item of the code; 0 when it will not buy it.
int64_t SellingPrice(uint32_t code, int32_t cha);
// What the trader asks for the item of a stock slot holding `stock` of it:
// the price, how many come for it (a lot of 20 arrows or bolts from an
// endless stock), and whether it is for sale at all.
struct BuyingTerms {
  bool sold;
  int64_t price;
  int32_t quantity;
};
BuyingTerms BuyingPrice(uint32_t code, int32_t stock, int32_t cha);
// The gold a cleric asks to heal a party member of the need (3 raising, 2
// restoring, 1 hit points).
int64_t HealingPrice(int member, int need);
// The purse, shown on every inventory.
void PartyGoldLine(const InventoryFrame& f);
// The trader's goods, the sale panel and the healing, while trading.
void RunTradeArea(const InventoryFrame& f);
// The name of a bought item drawn again over the offer in its material's
// colour ("" none), and that colour's style.
extern char TradeOfferOverlay[];
extern int TradeOfferOverlayStyle;
// Whether the backpack item under the pointer is offered to the trader this
// frame ("Push S to Sell" is then drawn beside the pointer, after the caption).
extern bool TradeSaleHintShown;

// Puts the words above back to their start-up values (a new game, and tests).
void ResetInventoryScreenState();
