#include "harness/play_verbs.h"

#include <fcntl.h>
#include <unistd.h>

#include "adventure/dialogue.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <sstream>
#include <string>
#include <vector>

#include "combat/resolution/attack_resolution.h"
#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "engine/linked_text.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "engine/static_layers.h"
#include "engine/message_log.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/widgets.h"
#include "harness/battle_runner.h"
#include "harness/harness.h"
#include "harness/screen_text.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/game_screen_words.h"
#include "engine/graphics.h"
#include "screens/game/creature_figures.h"
#include "screens/game/frame_words.h"
#include "screens/game/object_list.h"
#include "screens/items/inventory_screen.h"
#include "screens/game/shared_routines.h"
#include "screens/game/square_drawing.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/game_flags.h"
#include "state/map_view_state.h"
#include "state/party_leader.h"
#include "state/turn_order.h"

namespace playverbs {

namespace {

constexpr int kSquare = 24;
constexpr int32_t kWalkCursor = 12;
// Where a click is sure to land on the map view and not on a panel drawn
// over it: the party list in the top right corner and the bars along the
// bottom edge are left alone.
constexpr int kSafeLeft = 12, kSafeRight = 308, kSafeTop = 12, kSafeBottom = 190;
constexpr int kPanelLeft = 168, kPanelBottom = 70;

bool Safe(int px, int py) {
  if (px < kSafeLeft || px > kSafeRight || py < kSafeTop || py > kSafeBottom) return false;
  if (px >= kPanelLeft && py <= kPanelBottom) return false;
  // In a battle the combat-rolls panel (top left) and the actions panel
  // (right side) take the mouse where they lie.
  if (InCombat == 1 && CombatRollsPanelShown == 1 && px < 184 + 4 && py < 80 + 4) return false;
  if (InCombat == 1 && ActionsPanelShown == 1 && px >= 184 - 4 && py < 8 * (SidePanelRows + 1) + 4) return false;
  return true;
}

bool OnMap(int x, int y) { return x >= 0 && y >= 0 && x < CurrentMap.width && y < CurrentMap.height; }
bool Open(int x, int y) { return OnMap(x, y) && CurrentMap.At(kLayerWalls, x, y) == 0; }
// Something lies there (a click on it opens the list of what lies there).
bool HoldsObjects(int x, int y) {
  for (int layer = kLayerObjects0; layer <= kLayerObjects3; ++layer)
    if (CurrentMap.At(layer, x, y) != 0) return true;
  return false;
}
bool Seen(int x, int y) {
  return CurrentMapNumber >= 0 && CurrentMapNumber < kStoredMapCount && MapMemory[CurrentMapNumber][SquareIndex(x, y)] != 0;
}

// A square some member of the party sees now (only there are creatures shown).
bool InSight(int x, int y) {
  for (int s = 0; s < kPartySize && s < FighterCount; ++s)
    if (FighterSlots[s].visible[SquareIndex(x, y)] == 1) return true;
  return false;
}

bool Occupied(int x, int y) {
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (!IsValidCreature(id) || Creatures[id].present != 1) continue;
    const CreatureRecord& c = Creatures[id];
    if (x >= c.squareX && x < c.squareX + std::max(1, c.footprintWidth.current) && y >= c.squareY &&
        y < c.squareY + std::max(1, c.footprintHeight.current))
      return true;
  }
  return false;
}

int Walker() {
  if (SelectedFighterSlot >= 0 && SelectedFighterSlot < kPartySize) {
    const int id = FighterSlots[SelectedFighterSlot].creature;
    if (id >= 0 && id < kPartySize) return id;
  }
  return PartyLeader < static_cast<uint32_t>(kPartySize) ? static_cast<int>(PartyLeader) : 0;
}

bool StandsStill(int id) {
  const CreatureRecord& c = Creatures[id];
  const int slot = c.fighterSlot;
  const bool noPath = slot < 0 || slot >= kFighterSlots || FighterSlots[slot].pathIndex == -1;
  return c.squareX == c.nextX && c.squareY == c.nextY && noPath;
}

// Steps along the open ground from the goal: each open square's distance in
// steps (eight ways), INT_MAX where the goal cannot be reached.
std::vector<int> StepsFrom(int gx, int gy) {
  std::vector<int> steps(kMapSquares, INT_MAX);
  std::deque<std::pair<int, int>> queue;
  steps[SquareIndex(gx, gy)] = 0;
  queue.push_back({gx, gy});
  while (!queue.empty()) {
    const auto [x, y] = queue.front();
    queue.pop_front();
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy) {
        const int nx = x + dx, ny = y + dy;
        if ((dx == 0 && dy == 0) || !Open(nx, ny) || steps[SquareIndex(nx, ny)] != INT_MAX) continue;
        steps[SquareIndex(nx, ny)] = steps[SquareIndex(x, y)] + 1;
        queue.push_back({nx, ny});
      }
  }
  return steps;
}

// The map changed, a battle started, the screen left exploring, or a
// dialogue box has run its loop since `boxPasses`.
bool Interrupted(int map, int boxPasses) {
  // A creature or a pile passing under the resting mouse only shows its box.
  const bool exploring =
      ScreenMode == kModeExploring || ScreenMode == kModeCreatureHovered || ScreenMode == kModeItemPileHovered;
  return CurrentMapNumber != map || InCombat == 1 || !exploring || harness::BoxPasses() != boxPasses;
}

int Distance(const CreatureRecord& a, const CreatureRecord& b) {
  return std::max(std::abs(a.squareX - b.squareX), std::abs(a.squareY - b.squareY));
}

void Press(const std::string& key) { harness::PressKey(key); }

// Points at (px, py) afresh: the mouse leaves for the picture's middle first,
// so that a refusal shown where it stood (kept while the mouse stays there)
// is gone and the creature there is hovered again.
void PointAt(int px, int py) {
  harness::MoveMouse(px < 160 ? px + 40 : px - 40, py < 120 ? py + 40 : py - 40);
  harness::StepFrames(1);
  harness::MoveMouse(px, py);
  harness::StepFrames(2);
}

// Waits while the view glides (clicks on the map are not taken meanwhile).
void WaitForTheView() {
  for (int f = 0; f < 300 && (ViewScrolling != 0 || CameraMoving != 0); ++f) harness::StepFrames(1);
}

// With PLAYSCRIPT_TRACE set, the battle's turns and its end are told on the
// standard error stream.
bool Tracing() { return std::getenv("PLAYSCRIPT_TRACE") != nullptr; }
void TraceParty(const char* what) {
  if (!Tracing()) return;
  if (std::getenv("PLAYSCRIPT_TRACE_LOG")) std::fprintf(stderr, "%s\n", battles::PlainLogText(MessageLogText).c_str());
  std::fprintf(stderr, "%s (round %d, screen %u):", what, CombatRoundNumber, ScreenMode);
  for (int m = 0; m < kPartySize; ++m) std::fprintf(stderr, " %d/%d", Creatures[m].hitPoints, Creatures[m].maxHitPoints);
  std::fprintf(stderr, "\n");
}

// Who fought in the battle Fight played last: every creature that stood in
// its order (with its side as last seen there) and every blow (attacker,
// target) rolled in it.
struct FoughtBattle {
  std::vector<std::pair<int, int32_t>> stood;
  std::vector<std::pair<int, int>> blows;
};
FoughtBattle g_fought;

void NoteFighter(int id) {
  if (!IsValidCreature(id)) return;
  for (auto& [who, side] : g_fought.stood)
    if (who == id) {
      side = Creatures[id].allegiance;
      return;
    }
  g_fought.stood.emplace_back(id, Creatures[id].allegiance);
}

void NoteOrder() {
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) NoteFighter(TurnOrder[i].creature);
}

// The watcher that was in place before the blows were watched (a rules
// check), told of each blow too.
void (*g_outerWatch)(const AttackWatch&) = nullptr;

void NoteBlow(const AttackWatch& attack) {
  g_fought.blows.emplace_back(attack.attacker, attack.target);
  NoteFighter(attack.attacker);
  NoteFighter(attack.target);
  if (g_outerWatch) g_outerWatch(attack);
}

// Watches the blows of the battle Fight plays while it lives.
class BlowWatch {
 public:
  BlowWatch() : before_(AttackObserver) {
    g_fought = FoughtBattle{};
    if (before_ != NoteBlow) g_outerWatch = before_;
    AttackObserver = NoteBlow;
  }
  ~BlowWatch() { AttackObserver = before_; }
  BlowWatch(const BlowWatch&) = delete;
  BlowWatch& operator=(const BlowWatch&) = delete;

 private:
  void (*before_)(const AttackWatch&);
};

const char* SideWord(int32_t allegiance) {
  switch (allegiance) {
    case kAllegianceParty: return "party";
    case kAllegianceEnemy: return "enemy";
    case kAllegianceAlly: case kAllegianceAllyOther: return "ally";
    case kAllegianceTalker: return "talker";
    default: return "none";
  }
}

// "ID:SIDE ..." (or "none") against the creatures beyond the party among
// `stood`, each with its side: "" when they are the same, else what differs.
std::string SameFighters(const std::string& wanted, const std::vector<std::pair<int, int32_t>>& stood) {
  std::vector<std::string> want, have;
  std::istringstream words(wanted);
  for (std::string w; words >> w;)
    if (w != "none") want.push_back(w);
  for (const auto& [id, side] : stood)
    if (id >= kPartySize) have.push_back(std::to_string(id) + ":" + SideWord(side));
  std::sort(want.begin(), want.end());
  std::sort(have.begin(), have.end());
  if (want == have) return "";
  std::string shown;
  for (const std::string& h : have) shown += (shown.empty() ? "" : " ") + h;
  return "besides the party " + (shown.empty() ? std::string("nobody") : shown);
}

}  // namespace

bool SquarePoint(int x, int y, int* px, int* py) {
  int sx = x * kSquare + kSquare / 2 - ViewOriginX;
  int sy = y * kSquare + kSquare / 2 - ViewOriginY;
  // The wide window shows 480 by 360 map pixels in the 320 by 240 picture.
  if (WindowedFlag == 1 && WindowSize == 3) {
    sx = sx * 2 / 3;
    sy = sy * 2 / 3;
  }
  *px = sx;
  *py = sy;
  return Safe(sx, sy);
}

// Scrolls the view with the arrow keys until the square can be clicked
// (the panels of the battle cover the top and the right of the map), as far
// as the map allows; true with its picture point when it can.
bool BringIntoView(int x, int y, int* px, int* py) {
  for (int i = 0; i < 40; ++i) {
    if (SquarePoint(x, y, px, py)) return true;
    const char* key = *px > 180 ? "Right" : *px < 60 ? "Left" : *py < 100 ? "Up" : *py > 170 ? "Down" : nullptr;
    if (!key) return false;
    const int beforeX = ViewOriginX, beforeY = ViewOriginY;
    Press(key);
    harness::StepFrames(1);
    if (ViewOriginX == beforeX && ViewOriginY == beforeY) return false;
  }
  return SquarePoint(x, y, px, py);
}

std::string PointSquare(int x, int y) {
  WaitForTheView();
  int px = 0, py = 0;
  if (!BringIntoView(x, y, &px, &py)) return "square " + std::to_string(x) + "," + std::to_string(y) + " is not in view";
  harness::MoveMouse(px, py);
  harness::StepFrames(2);
  return "";
}

std::string PickUp(int x, int y) {
  WaitForTheView();
  int sx = 0, sy = 0;
  if (!BringIntoView(x, y, &sx, &sy)) return "square " + std::to_string(x) + "," + std::to_string(y) + " is not in view";
  PointAt(sx, sy);  // afresh, should the mouse rest there already
  for (int f = 0; f < 10 && ScreenMode != kModeItemPileHovered; ++f) harness::StepFrames(1);
  if (ScreenMode != kModeItemPileHovered) return "nothing lies on square " + std::to_string(x) + "," + std::to_string(y);
  harness::StepFrames(1);  // the list places its box
  // One object: its row; more: the "All these items" row under them.
  const PopupCellBoxWords box = PopupCellBox;
  const int height = box.bottom - box.top;
  const int objects = height <= 4 ? 1 : (height - 4) / 2;
  const int px = box.left * 8 + 88;
  const int py = objects == 1 ? box.top * 8 + 19 : (box.top + 2 * objects) * 8 + 24;
  harness::MoveMouse(px, py);
  harness::StepFrames(2);
  Press("Space");
  harness::StepFrames(2);
  return "";
}

std::string Wield(const std::string& name) {
  for (int m = 0; m < kPartySize; ++m) {
    const CreatureRecord& c = Creatures[m];
    for (int k = 0; k < kCarriedPairs && k < 16; ++k) {
      const uint32_t code = c.carried[k].code;
      const char* itemName = IsCraftedCode(code) ? CraftedWeapons[code].name
                             : code >= kFirstBaseItemCode && code - kFirstBaseItemCode < static_cast<uint32_t>(kItemRows)
                                 ? ItemTable[code - kFirstBaseItemCode].name
                                 : nullptr;
      if (itemName == nullptr || name != itemName) continue;
      // The member's inventory (keys 5 to 8), the item dragged from the
      // backpack into the right hand, and the page closed again.
      Press(std::to_string(5 + m));
      harness::StepFrames(2);
      if (ScreenMode != kModePageView) return "the inventory did not open";
      const EquipBox* hand = EquipBoxOf(kSlotRightHand);
      harness::Drag(BackpackBoxX(k) + 9, BackpackBoxY(k) + 9, hand->x + 9, hand->y + 9);
      harness::StepFrames(2);
      const bool worn = c.equipment[kSlotRightHand - 1] == code;
      Press("Escape");
      harness::StepFrames(2);
      return worn ? "" : name + " was not taken into the hand";
    }
  }
  return "nobody carries " + name;
}

std::string PointAtFigure(const std::string& name) {
  WaitForTheView();
  std::vector<int> named;
  std::string present;
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int c = FighterSlots[s].creature;
    if (!IsValidCreature(c) || Creatures[c].present != 1) continue;
    if (name == Creatures[c].name) named.push_back(c);
    present += std::string(present.empty() ? "" : ", ") + Creatures[c].name;
  }
  if (named.empty()) return "nobody named " + name + " is on the map (" + present + ")";
  // Where the next frame puts the figures' texels on the device, whatever
  // scale the map was drawn at: the first of those named whose middle lies
  // in the picture.
  std::vector<SheetDraw> draws;
  RecordSheetDraws(&draws);
  harness::StepFrames(1);
  RecordSheetDraws(nullptr);
  if (!Graphics.device) return name + " is not drawn";
  const float w = static_cast<float>(Graphics.device->Width()), h = static_cast<float>(Graphics.device->Height());
  bool drawn = false;
  for (const int id : named) {
    const auto figure = std::find_if(draws.begin(), draws.end(), [&](const SheetDraw& d) {
      return d.kind <= 2 && d.x == ScreenPosX[id] && d.y == ScreenPosY[id] && ScreenPosX[id] != -1;
    });
    if (figure == draws.end()) continue;
    drawn = true;
    const float cx = figure->deviceX + figure->texelWidth * static_cast<float>(figure->srcWidth) / 2;
    const float cy = figure->deviceY + figure->texelHeight * static_cast<float>(figure->srcHeight) / 2;
    if (cx < 0 || cx >= w || cy < 0 || cy >= h) continue;
    // Away first (a refusal shown where the mouse stood goes), then onto the
    // figure where the window shows it.
    harness::MoveMouseOverShown(cx < w / 2 ? cx + w / 8 : cx - w / 8, cy < h / 2 ? cy + h / 6 : cy - h / 6);
    harness::StepFrames(1);
    harness::MoveMouseOverShown(cx, cy);
    harness::StepFrames(2);
    return "";
  }
  return name + (drawn ? " is drawn outside the picture" : " is not drawn");
}

std::string ClickSquare(int x, int y) {
  const std::string fault = PointSquare(x, y);
  if (!fault.empty()) return fault;
  int px = 0, py = 0;
  SquarePoint(x, y, &px, &py);
  harness::Click(px, py);
  return "";
}

std::string WalkTo(int gx, int gy, int clicks) {
  if (!OnMap(gx, gy)) return "the goal is off the map";
  const int map = CurrentMapNumber, boxPasses = harness::BoxPasses();
  const std::vector<int> steps = StepsFrom(gx, gy);
  // Onto the goal; next to it when nobody can stand there.
  const int reach = Open(gx, gy) && !HoldsObjects(gx, gy) && !Occupied(gx, gy) ? 0 : 1;
  for (int click = 0; click < clicks; ++click) {
    if (Interrupted(map, boxPasses)) return "";
    const int id = Walker();
    const CreatureRecord& w = Creatures[id];
    const int here = steps[SquareIndex(w.squareX, w.squareY)];
    if (here <= reach) return "";
    int best = INT_MAX, bx = -1, by = -1;
    for (int x = 0; x < CurrentMap.width; ++x)
      for (int y = 0; y < CurrentMap.height; ++y) {
        int px = 0, py = 0;
        const int s = steps[SquareIndex(x, y)];
        if (s >= best || !Open(x, y) || HoldsObjects(x, y) || !Seen(x, y) || !SquarePoint(x, y, &px, &py) ||
            Occupied(x, y))
          continue;
        best = s;
        bx = x;
        by = y;
      }
    if (bx < 0 || best >= here) return "no square in view leads nearer to " + std::to_string(gx) + "," + std::to_string(gy);
    if (Tracing())
      std::fprintf(stderr, "%s at %d,%d walks to %d,%d (goal %d,%d)\n", w.name, w.squareX, w.squareY, bx, by, gx, gy);
    const std::string fault = ClickSquare(bx, by);
    if (!fault.empty()) return fault;
    // The walk: until the member stands still a few frames in a row.
    int still = 0;
    for (int f = 0; f < 1200 && still < 4; ++f) {
      harness::StepFrames(1);
      if (Interrupted(map, boxPasses)) return "";
      still = StandsStill(id) ? still + 1 : 0;
    }
  }
  const CreatureRecord& w = Creatures[Walker()];
  return steps[SquareIndex(w.squareX, w.squareY)] <= reach
             ? ""
             : "the walk to " + std::to_string(gx) + "," + std::to_string(gy) + " took more than " +
                   std::to_string(clicks) + " clicks";
}

std::string Answer(int n, int frames) {
  harness::QueueBoxKey(std::to_string(n));
  const int passes = harness::BoxPasses();
  for (int f = 0; f < frames && harness::BoxPasses() == passes; ++f)
    if (!harness::StepFrames(1)) break;
  if (harness::BoxPasses() == passes) {
    harness::ClearBoxInput();
    return "no dialogue box opened";
  }
  if (Tracing()) std::fprintf(stderr, "answered %d: %.60s\n", n, DialogueText);
  harness::StepFrames(2);
  return "";
}

// An order was taken: the fighter acts, or its turn has passed on.
bool OrderTaken(int entry, int round) {
  return CombatState != kStatePlayerTurn || CombatAction.actionCode != 0 || CombatAction.currentEntry != entry ||
         CombatRoundNumber != round;
}

bool PartysTurn() {
  const int entry = CombatAction.currentEntry;
  return InCombat == 1 && CombatState == kStatePlayerTurn && CombatAction.playerControlled == 1 &&
         CombatAction.actionCode == 0 && SpellInProgress == -1 && entry >= 0 && entry < kTurnOrderEntries && TurnOrder[entry].creature >= 0 &&
         TurnOrder[entry].creature < kPartySize;
}

// Points at the picture point and clicks it; true when the click gave the
// acting fighter an order.
bool ClickOrder(int px, int py) {
  const int entry = CombatAction.currentEntry, round = CombatRoundNumber;
  PointAt(px, py);
  harness::Click(px, py);
  if (ScreenMode == kModePageView) {  // a click that opened a page instead
    Press("Escape");
    harness::StepFrames(2);
  }
  return OrderTaken(entry, round);
}

// The weapon mode the member fights in: 2 (shooting) for a bow or a
// crossbow with ammunition in its ranged slot, else 1 (melee).
int32_t WantedWeaponMode(int member) {
  const CreatureRecord& c = Creatures[member];
  const uint32_t weapon = c.equipment[kSlotRanged - 1];
  if (!IsCraftedCode(weapon) || c.ammunition.count < 1) return 1;
  const int32_t type = CraftedWeapons[weapon].itemType;
  return type == 32 || type == 33 || type == 10 || type == 11 ? 2 : 1;
}

// Right clicks on the enemy step the weapon mode (melee, shooting, none)
// until it is the one wanted.
void ChooseWeaponMode(int32_t wanted, int px, int py) {
  for (int i = 0; i < 3 && WeaponMode != wanted; ++i) {
    PointAt(px, py);
    harness::Click(px, py, 1);
    harness::StepFrames(1);
    if (Tracing()) std::fprintf(stderr, "  right click: weapon mode %d, screen %u\n", WeaponMode, ScreenMode);
  }
}

std::string Fight(int turns) {
  const BlowWatch watch;
  int given = 0;
  int lastEntry = -2, lastRound = -1;
  int attacks = 0, moves = 0;
  TraceParty("the battle begins");
  for (int f = 0; f < 200000; ++f) {
    NoteOrder();
    if (ScreenMode == kModeVictory || ScreenMode == kModeDefeat || ScreenMode == kModeEndOfIntro ||
        (InCombat != 1 && ScreenMode == kModeExploring && f > 0)) {
      TraceParty("the battle is over");
      return "";
    }
    if (ScreenMode == kModePageView) Press("Escape");
    if (!PartysTurn()) {
      harness::StepFrames(1);
      continue;
    }
    const int entry = CombatAction.currentEntry;
    if (entry != lastEntry || CombatRoundNumber != lastRound) {
      lastEntry = entry;
      lastRound = CombatRoundNumber;
      attacks = moves = 0;
      if (Tracing())
        std::fprintf(stderr, "turn of %s: weapon mode %d, wanted %d\n", Creatures[TurnOrder[entry].creature].name,
                     WeaponMode, WantedWeaponMode(TurnOrder[entry].creature));
      if (++given > turns) return "the battle lasted more than " + std::to_string(turns) + " turns of the party";
    }
    // The combat-rolls panel hides the top of the map: Tab puts it away.
    if (CombatRollsPanelShown == 1) {
      Press("Tab");
      harness::StepFrames(1);
    }
    WaitForTheView();
    if (!PartysTurn()) continue;
    const CreatureRecord& me = Creatures[TurnOrder[entry].creature];
    // The nearest enemy the party sees, brought where a click reaches it.
    int target = -1, best = INT_MAX, tx = 0, ty = 0;
    for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
      const int id = TurnOrder[i].creature;
      if (!IsValidCreature(id) || id < kPartySize) continue;
      const CreatureRecord& c = Creatures[id];
      if (c.present != 1 || c.hitPoints < 1 || IsPartyAllegiance(c.allegiance) || !InSight(c.squareX, c.squareY))
        continue;
      if (Distance(me, c) < best) {
        best = Distance(me, c);
        target = id;
      }
    }
    if (target >= 0 && !BringIntoView(Creatures[target].squareX, Creatures[target].squareY, &tx, &ty)) target = -1;
    bool ordered = false;
    if (target >= 0 && attacks < 3) {
      // An attack, or a move and an attack.
      ++attacks;
      // The first tries in the member's own way of fighting (a crossbow may
      // want loading first), the last in melee; next to the enemy always in
      // melee (a shot there would give it a free blow).
      const int32_t mode = attacks <= 2 && best > 1 ? WantedWeaponMode(TurnOrder[entry].creature) : 1;
      ChooseWeaponMode(mode, tx, ty);
      if (Tracing())
        std::fprintf(stderr, "%s %s %s (%d squares)\n", me.name, WeaponMode == 2 ? "shoots at" : "attacks",
                     Creatures[target].name, best);
      // The walk cursor over the enemy offers only a walk to its side: no
      // attack is left after it, and the click is not given.
      PointAt(tx, ty);
      if (CursorShape != kWalkCursor) ordered = ClickOrder(tx, ty);
    } else if (target >= 0 && best > 1 && moves < 1 && WantedWeaponMode(TurnOrder[entry].creature) != 2) {
      // Out of reach of a fighter in melee: a move to the free square next to it that lies nearest.
      ++moves;
      const CreatureRecord& t = Creatures[target];
      int bx = -1, by = -1, near = INT_MAX;
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
          const int x = t.squareX + dx, y = t.squareY + dy;
          int px = 0, py = 0;
          if (!Open(x, y) || Occupied(x, y) || !Seen(x, y) || !SquarePoint(x, y, &px, &py)) continue;
          const int d = std::max(std::abs(x - me.squareX), std::abs(y - me.squareY));
          if (d < near) {
            near = d;
            bx = x;
            by = y;
          }
        }
      if (bx >= 0) {
        int px = 0, py = 0;
        SquarePoint(bx, by, &px, &py);
        if (Tracing()) std::fprintf(stderr, "%s moves towards %s\n", me.name, t.name);
        ordered = ClickOrder(px, py);
      }
    }
    if (!ordered && target < 0 && moves < 1) {
      // No enemy in sight (it shoots from the dark): a few steps towards
      // the nearest one.
      ++moves;
      int hidden = -1, far = INT_MAX;
      for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
        const int id = TurnOrder[i].creature;
        if (!IsValidCreature(id) || id < kPartySize) continue;
        const CreatureRecord& c = Creatures[id];
        if (c.present != 1 || c.hitPoints < 1 || IsPartyAllegiance(c.allegiance)) continue;
        if (Distance(me, c) < far) {
          far = Distance(me, c);
          hidden = id;
        }
      }
      if (hidden >= 0) {
        const std::vector<int> steps = StepsFrom(Creatures[hidden].squareX, Creatures[hidden].squareY);
        int bx = -1, by = -1, nearest = steps[SquareIndex(me.squareX, me.squareY)];
        for (int x = me.squareX - 3; x <= me.squareX + 3; ++x)
          for (int y = me.squareY - 3; y <= me.squareY + 3; ++y) {
            int px = 0, py = 0;
            if (!Open(x, y) || Occupied(x, y) || !Seen(x, y) || !SquarePoint(x, y, &px, &py)) continue;
            if (steps[SquareIndex(x, y)] < nearest) {
              nearest = steps[SquareIndex(x, y)];
              bx = x;
              by = y;
            }
          }
        if (bx >= 0) {
          int px = 0, py = 0;
          SquarePoint(bx, by, &px, &py);
          if (Tracing()) std::fprintf(stderr, "%s moves towards the unseen %s\n", me.name, Creatures[hidden].name);
          ordered = ClickOrder(px, py);
        }
      }
    }
    if (!ordered) {
      // Nothing more to order: what is left of the turn ends.
      Press("Space");
      harness::StepFrames(4);
      attacks = moves = 2;
      continue;
    }
    // The order is carried out.
    for (int w = 0; w < 3000 && !PartysTurn() && InCombat == 1 && ScreenMode != kModeVictory &&
                    ScreenMode != kModeDefeat;
         ++w)
      harness::StepFrames(1);
  }
  return "the battle did not end";
}

namespace {

// The picture point of the middle of `text` as the last frame drew it
// (spaces are not drawn: the glyphs of its other characters follow each
// other on one line); false when it was not drawn.
bool FindText(const std::string& text, int* px, int* py) {
  std::string wanted;
  for (char ch : text)
    if (ch != ' ') wanted += ch;
  if (wanted.empty()) return false;
  std::vector<GlyphDraw> glyphs;
  RecordGlyphs(&glyphs);
  harness::StepFrames(1);
  RecordGlyphs(nullptr);
  // Read line by line, left to right (a text may be drawn from its end); a
  // glyph drawn twice is passed over.
  std::stable_sort(glyphs.begin(), glyphs.end(),
                   [](const GlyphDraw& a, const GlyphDraw& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  for (size_t i = 0; i < glyphs.size(); ++i) {
    if (glyphs[i].c != static_cast<unsigned char>(wanted[0])) continue;
    size_t k = 1, last = i;
    for (size_t j = i + 1; j < glyphs.size() && j < i + 8 * wanted.size() + 8 && k < wanted.size(); ++j) {
      const GlyphDraw& g = glyphs[j];
      if (g.y != glyphs[i].y || g.x <= glyphs[last].x) continue;
      if (g.x - glyphs[last].x > 20 || g.c != static_cast<unsigned char>(wanted[k])) break;
      last = j;
      ++k;
    }
    if (k < wanted.size()) continue;
    *px = (glyphs[i].x + glyphs[last].x) / 2 + 3;
    *py = glyphs[i].y + 3;
    return true;
  }
  return false;
}

// Points at the text where the last frame drew it and clicks it.
bool ClickText(const std::string& text) {
  int px = 0, py = 0;
  if (!FindText(text, &px, &py)) return false;
  PointAt(px, py);
  harness::Click(px, py);
  harness::StepFrames(2);
  return true;
}

// The victory screen clicked away after a battle won.
std::string LeaveVictory() {
  for (int f = 0; f < 600 && ScreenMode != kModeVictory && ScreenMode != kModeDefeat; ++f) harness::StepFrames(1);
  if (ScreenMode != kModeVictory) return "the battle on the way was not won";
  harness::Click(160, 120);
  harness::StepFrames(5);
  return "";
}

}  // namespace

std::string LeaveAt(int x, int y) {
  const int map = CurrentMapNumber;
  std::string fault = WalkTo(x, y, 40);
  if (!fault.empty()) return fault;
  // Stepping onto the edge leads out at once; standing on it, a click on it.
  if (ScreenMode != kModeLocalMap && CurrentMapNumber == map) {
    fault = ClickSquare(x, y);
    if (!fault.empty()) return fault;
  }
  for (int f = 0; f < 120 && ScreenMode != kModeLocalMap; ++f) harness::StepFrames(1);
  harness::StepFrames(2);
  return ScreenMode == kModeLocalMap ? "" : "the edge did not lead onto the world map";
}

namespace {

// From a battlefield of the road back onto the world map: the open edge
// square the party reaches soonest, walked to and clicked.
std::string LeaveByNearestEdge() {
  const CreatureRecord& w = Creatures[Walker()];
  const std::vector<int> steps = StepsFrom(w.squareX, w.squareY);
  int best = INT_MAX, bx = -1, by = -1;
  for (int x = 0; x < CurrentMap.width; ++x)
    for (int y = 0; y < CurrentMap.height; ++y) {
      const bool edge = x == 0 || y == 0 || x == CurrentMap.width - 1 || y == CurrentMap.height - 1;
      if (edge && steps[SquareIndex(x, y)] < best && !Occupied(x, y) && !HoldsObjects(x, y)) {
        best = steps[SquareIndex(x, y)];
        bx = x;
        by = y;
      }
    }
  if (bx < 0) return "no edge of the battlefield can be reached";
  return LeaveAt(bx, by);
}

}  // namespace

std::string ClickOnText(const std::string& text) {
  return ClickText(text) ? "" : "\"" + text + "\" is not shown";
}

std::string ShownText(const std::string& text, bool shown) {
  int px = 0, py = 0;
  if (FindText(text, &px, &py) == shown) return "";
  return "\"" + text + (shown ? "\" is not shown" : "\" is shown");
}

std::string Talk(int x, int y) {
  std::string fault = PointSquare(x, y);
  if (!fault.empty()) return fault;
  int px = 0, py = 0;
  SquarePoint(x, y, &px, &py);
  ChooseWeaponMode(2, px, py);
  if (WeaponMode != 2) return "the weapon mode did not come to talking";
  const int passes = harness::BoxPasses();
  PointAt(px, py);
  harness::Click(px, py);
  for (int f = 0; f < 30 && harness::BoxPasses() == passes; ++f) harness::StepFrames(1);
  if (Tracing() && harness::BoxPasses() == passes)
    std::fprintf(stderr, "talk: no box; cursor %d, hint \"%s\", screen %u, %s at %d,%d\n", CursorShape, CursorHint,
                 ScreenMode, Creatures[Walker()].name, Creatures[Walker()].squareX, Creatures[Walker()].squareY);
  return "";
}

std::string Travel(int px, int py, int map, int meetings) {
  for (int met = 0;; ++met) {
    if (ScreenMode != kModeLocalMap) return "the world map is not shown";
    PointAt(px, py);
    harness::Click(px, py);
    const int start = CurrentMapNumber;
    int f = 0;
    for (; f < 3000 && ScreenMode == kModeLocalMap; ++f) harness::StepFrames(1);
    harness::StepFrames(3);
    if (Tracing())
      std::fprintf(stderr, "travel: after %d frames on map %d, screen %u, combat %d\n", f, CurrentMapNumber, ScreenMode,
                   InCombat);
    if (f == 3000) return "the party did not arrive";
    if (CurrentMapNumber == map) return "";  // arrived (a battle met there is the script's)
    if (CurrentMapNumber == start && InCombat != 1 && ScreenMode == kModeLocalMap) return "the party did not arrive";
    // A group met on the road: the battle, then back to the road.
    if (met >= meetings) return "more than " + std::to_string(meetings) + " groups were met on the way";
    if (Tracing()) std::fprintf(stderr, "a group met on the way to map %d (on map %d)\n", map, CurrentMapNumber);
    for (int w = 0; w < 600 && InCombat != 1; ++w) harness::StepFrames(1);
    if (InCombat == 1) {
      const std::string fault = Win(200);
      if (!fault.empty()) return fault;
    }
    const std::string fault = LeaveByNearestEdge();
    if (!fault.empty()) return fault;
  }
}

std::string Win(int turns) {
  for (int f = 0; f < 600 && InCombat != 1; ++f) harness::StepFrames(1);
  if (InCombat != 1) return "no battle started";
  std::string fault = Fight(turns);
  if (fault.empty()) fault = LeaveVictory();
  if (!fault.empty()) return fault;
  for (int f = 0; f < 60 && !(InCombat != 1 && ScreenMode == kModeExploring); ++f) harness::StepFrames(1);
  return "";
}

namespace {

// One page of the quest journal as drawn: its rows and the colour of each
// row's first glyph; whether entries lie below it.
struct JournalPage {
  std::vector<std::string> rows;
  std::vector<uint32_t> colours;
  bool more = false;
};

JournalPage ReadJournalPage() {
  std::vector<GlyphDraw> glyphs;
  RecordGlyphs(&glyphs);
  harness::StepFrames(1);
  RecordGlyphs(nullptr);
  JournalPage page{harness::LargeTextRows(glyphs), {}, LinkedTextOverflow == -1};
  page.colours.assign(page.rows.size(), 0);
  for (const GlyphDraw& g : glyphs) {
    const size_t row = static_cast<size_t>(g.y / 8), column = static_cast<size_t>(g.x / 8);
    if (g.x % 8 == 0 && g.y % 8 == 0 && g.y >= 0 && row < page.rows.size() &&
        column == page.rows[row].find_first_not_of(' '))
      page.colours[row] = g.colour;
  }
  return page;
}

// The next page: the journal scrolled on by one entry.
JournalPage NextJournalPage() {
  harness::PressKey("Down");
  return ReadJournalPage();
}

}  // namespace

std::string Journal(const std::string& filter, const std::string& expected) {
  struct Choice {
    const char* name;
    int x;
  };
  static constexpr Choice kFilters[] = {{"Pending", 140}, {"Completed", 204}, {"All", 284}};
  const Choice* choice = nullptr;
  for (const Choice& c : kFilters)
    if (filter == c.name) choice = &c;
  if (!choice) return "journal takes Pending, Completed or All";
  if (ScreenMode != kModeExploring) return "the journal is opened while exploring";
  harness::PressKey("J");
  harness::StepFrames(1);
  if (ScreenMode != kModePageView || TopPageType() != kPageQuestJournal) return "J opened no journal";
  PointAt(choice->x, 11);
  harness::Click(choice->x, 11);
  PointAt(160, 228);  // off the entries and the scroll arrows
  constexpr uint32_t kPendingColour = 0xFF7DF7E7u, kCompletedColour = 0xFFB1ACF4u;
  constexpr int kFirstRow = 3, kLastRow = 25, kMostPages = 40;
  std::vector<JournalPage> pages{ReadJournalPage()};
  std::vector<std::string> absent;
  std::string fault;
  int next = kFirstRow;
  size_t from = 0;
  while (fault.empty() && from <= expected.size()) {
    size_t to = expected.find(" / ", from);
    if (to == std::string::npos) to = expected.size();
    std::string item = expected.substr(from, to - from);
    from = to + 3;
    if (item.empty()) continue;
    if (item[0] == '!') {
      absent.push_back(item.substr(1));
      continue;
    }
    size_t column = 2;
    if (item.compare(0, 2, "> ") == 0) {
      item.erase(0, 2);
      column = 4;
    }
    uint32_t colour = kPendingColour;
    const std::string done = " (done)";
    if (item.size() > done.size() && item.compare(item.size() - done.size(), done.size(), done) == 0) {
      item.resize(item.size() - done.size());
      colour = kCompletedColour;
    }
    // Looked for below the last text found, on this page and, scrolled on
    // entry by entry, on the pages after it.
    for (;;) {
      const JournalPage& page = pages.back();
      int r = next;
      for (; r <= kLastRow; ++r)
        if (page.rows[r].find_first_not_of(' ') == column && page.rows[r].compare(column, item.size(), item) == 0 &&
            page.colours[r] == colour)
          break;
      if (r <= kLastRow) {
        next = r + 1;
        break;
      }
      if (!page.more || static_cast<int>(pages.size()) >= kMostPages) {
        fault = "the journal (" + filter + ") does not show \"" + item + "\" where expected";
        break;
      }
      pages.push_back(NextJournalPage());
      next = kFirstRow;
    }
  }
  while (fault.empty() && !absent.empty() && pages.back().more && static_cast<int>(pages.size()) < kMostPages)
    pages.push_back(NextJournalPage());
  for (const JournalPage& page : pages)
    for (int r = kFirstRow; r <= kLastRow && fault.empty(); ++r)
      for (const std::string& text : absent)
        if (page.rows[r].find(text) != std::string::npos) fault = "the journal shows \"" + page.rows[r] + "\"";
  if (!fault.empty() && Tracing())
    for (const JournalPage& page : pages)
      for (int r = kFirstRow; r <= kLastRow; ++r)
        std::fprintf(stderr, "journal %2d %08X %s\n", r, page.colours[r], page.rows[r].c_str());
  harness::PressKey("Escape");
  harness::StepFrames(1);
  if (fault.empty() && ScreenMode != kModeExploring) fault = "Escape did not leave the journal";
  return fault;
}

constexpr const char* kNoStar = "no star shows beside ";

std::string LevelUp(int member) {
  if (member < 0 || member >= kPartySize) return "level-up takes a party member 0 to 3";
  const int was = Creatures[member].level;
  // The star left of the member's name (its row of the party list).
  std::vector<GlyphDraw> glyphs;
  RecordGlyphs(&glyphs);
  harness::StepFrames(1);
  RecordGlyphs(nullptr);
  const int row = (3 + member) * 8;
  const auto star = std::find_if(glyphs.begin(), glyphs.end(),
                                 [&](const GlyphDraw& g) { return g.c == '*' && g.y == row && g.x >= 160; });
  if (star == glyphs.end()) return std::string(kNoStar) + Creatures[member].name;
  PointAt(star->x + 4, row + 4);
  harness::Click(star->x + 4, row + 4);
  harness::StepFrames(3);
  if (ScreenMode != kModePageView) return "the star opened no level-up page";
  bool raised = false;
  for (int step = 0; step < 12; ++step) {
    if (!raised && ClickText("Strength:")) {
      raised = true;
      continue;
    }
    if (ClickText("Pick a Feat") || ClickText("Pick a Spell")) {
      harness::StepFrames(2);
      harness::Click(77, 57);  // the first listed
      harness::StepFrames(3);
      continue;
    }
    break;
  }
  if (!ClickText("Accept")) return "the level-up page showed no Accept";
  harness::StepFrames(3);
  if (ScreenMode == kModePageView) return "the level-up page stayed open after Accept";
  if (Creatures[member].level != was + 1)
    return std::string(Creatures[member].name) + " is of level " + std::to_string(Creatures[member].level) +
           " after the level-up page, not " + std::to_string(was + 1);
  return "";
}

std::string LevelUpAll() {
  for (int m = 0; m < kPartySize; ++m)
    for (int level = 0; level < 20; ++level) {
      const std::string fault = LevelUp(m);
      if (Tracing() && !fault.empty()) std::fprintf(stderr, "level-up: %s (screen %u)\n", fault.c_str(), ScreenMode);
      if (fault.compare(0, std::strlen(kNoStar), kNoStar) == 0) break;
      if (!fault.empty()) return fault;
    }
  if (Tracing())
    for (int m = 0; m < kPartySize; ++m)
      std::fprintf(stderr, "%s: level %d, %d experience\n", Creatures[m].name, Creatures[m].level, Creatures[m].experience);
  return "";
}

std::string WaitForText(int column, int row, const std::string& text, int frames) {
  if (column < 0 || column >= 40 || row < 0 || row >= 30) return "the cell lies off the screen";
  std::string shown;
  std::vector<GlyphDraw> glyphs;
  for (int f = 0; f < frames; ++f) {
    glyphs.clear();
    RecordGlyphs(&glyphs);
    const bool running = harness::StepFrames(1);
    RecordGlyphs(nullptr);
    if (!running) return "the game ended";
    const std::string line = harness::LargeTextRows(glyphs)[row];
    shown = line.size() > static_cast<size_t>(column) ? line.substr(column) : std::string();
    if (shown.compare(0, text.size(), text) == 0) return "";
  }
  return "\"" + text + "\" did not show at column " + std::to_string(column) + ", row " + std::to_string(row) +
         " (it showed \"" + shown + "\")";
}

namespace {

std::string g_answersFile;

void AppendEscaped(std::string* line, const char* text, size_t size) {
  for (size_t i = 0; i < size && text[i] != '\0'; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte >= 0x7F || byte == '\\') {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      *line += hex;
    } else {
      *line += static_cast<char>(byte);
    }
  }
}

void WriteAnswer() {
  std::string line = std::to_string(CurrentMapNumber) + "\t";
  AppendEscaped(&line, DialogueText, sizeof DialogueText);
  for (const auto& answer : AnswerTexts) {
    line += "\t";
    AppendEscaped(&line, answer, sizeof answer);
  }
  line += "\t" + std::to_string(ChosenAnswer) + "\n";
  // One write a line, so that scripts run side by side keep their lines whole.
  const int fd = open(g_answersFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (fd < 0) return;
  if (write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
    std::fprintf(stderr, "playscript: an answer line was not written whole to %s\n", g_answersFile.c_str());
  close(fd);
}

}  // namespace

void RecordAnswersTo(const std::string& path) {
  g_answersFile = path;
  DialogueAnsweredObserver = path.empty() ? nullptr : WriteAnswer;
}

bool Holds(const std::string& condition, std::string* fault) {
  const size_t space = condition.find(' ');
  const std::string word = condition.substr(0, space);
  const std::string rest = space == std::string::npos ? "" : condition.substr(space + 1);
  if (word == "combat") return InCombat == 1;
  if (word == "order") return PartysTurn();
  if (word == "dialogue") return ScreenMode == kModeResting;
  if (word == "exploring") return InCombat != 1 && ScreenMode == kModeExploring;
  if (word == "victory") return ScreenMode == kModeVictory;
  if (word == "defeat") return ScreenMode == kModeDefeat;
  if (word == "end-of-adventure") return ScreenMode == kModeEndOfIntro;
  if (word == "standing") {
    int standing = 0;
    for (int m = 0; m < kPartySize; ++m) standing += Creatures[m].hitPoints > 0 ? 1 : 0;
    return standing >= std::atoi(rest.c_str());
  }
  if (word == "page") return ScreenMode == kModePageView && !rest.empty() && TopPageType() == std::atoi(rest.c_str());
  if (word == "cursor") return !rest.empty() && CursorShape == std::atoi(rest.c_str());
  if (word == "healed") {
    const int m = std::atoi(rest.c_str());
    return m >= 0 && m < kPartySize && Creatures[m].hitPoints == Creatures[m].maxHitPoints;
  }
  if (word == "spells-left") {
    int member = -1, level = 0, left = -1;
    if (std::sscanf(rest.c_str(), "%d %d %d", &member, &level, &left) != 3 || member < 0 || member >= kPartySize ||
        level < 1 || level > 9) {
      *fault = "spells-left takes a member, a spell level 1 to 9 and a count";
      return false;
    }
    return Creatures[member].spellsLeft[level - 1] == left;
  }
  if (word == "map") return !rest.empty() && CurrentMapNumber == std::atoi(rest.c_str());
  if (word == "hover") {
    // The box of the creature under the pointer names it.
    const int slot = HoveredFighterSlot;
    return ScreenMode == kModeCreatureHovered && slot >= 0 && slot < kFighterSlots &&
           IsValidCreature(FighterSlots[slot].creature) && rest == Creatures[FighterSlots[slot].creature].name;
  }
  if (word == "hint") return rest == CursorHint;
  if (word == "objects") {
    // "objects X Y N": square (X, Y) of the current map holds N things on
    // its four object levels.
    int x = -1, y = -1, count = -1;
    if (std::sscanf(rest.c_str(), "%d %d %d", &x, &y, &count) != 3 || x < 0 || y < 0 || x >= kMapSide ||
        y >= kMapSide) {
      *fault = "objects takes a square's x and y and a count";
      return false;
    }
    int lying = 0;
    for (int level = 0; level < 4; ++level) lying += CurrentMap.At(kLayerObjects0 + level, x, y) != 0;
    return lying == count;
  }
  if (word == "logged") {
    // "logged N TEXT": the message log holds TEXT N times.
    const size_t s = rest.find(' ');
    const std::string wanted = s == std::string::npos ? "" : rest.substr(s + 1);
    if (wanted.empty()) {
      *fault = "logged takes a count and a text";
      return false;
    }
    const std::string log = battles::PlainLogText(MessageLogText);
    int count = 0;
    for (size_t at = log.find(wanted); at != std::string::npos; at = log.find(wanted, at + 1)) ++count;
    return count == std::atoi(rest.substr(0, s).c_str());
  }
  if (word == "windowed") return !rest.empty() && WindowedFlag == std::atoi(rest.c_str());
  if (word == "carries") {
    int member = -1;
    unsigned code = 0;
    if (std::sscanf(rest.c_str(), "%d %u", &member, &code) != 2 || member < 0 || member >= kPartySize) {
      *fault = "carries takes a party member 0 to 3 and an item code";
      return false;
    }
    for (const ItemPair& p : Creatures[member].carried)
      if (p.code == code) return true;
    return false;
  }
  if (word == "level") {
    const size_t s = rest.find(' ');
    const int member = std::atoi(rest.substr(0, s).c_str());
    if (s == std::string::npos || member < 0 || member >= kPartySize) {
      *fault = "level takes a party member 0 to 3 and a level";
      return false;
    }
    return Creatures[member].level == std::atoi(rest.substr(s + 1).c_str());
  }
  if (word == "flag") {
    const size_t s = rest.find(' ');
    const int flag = std::atoi(rest.substr(0, s).c_str());
    if (s == std::string::npos || flag < 0 || flag >= kGameFlagCount) {
      *fault = "flag takes a flag number and a value";
      return false;
    }
    return GameFlags[flag] == static_cast<uint32_t>(std::atoi(rest.substr(s + 1).c_str()));
  }
  if (word == "fighters" || word == "fought") {
    // The order now (fighters), or every creature that stood in it in the
    // battle Fight played last (fought), beyond the party.
    std::vector<std::pair<int, int32_t>> now;
    for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i)
      if (IsValidCreature(TurnOrder[i].creature))
        now.emplace_back(TurnOrder[i].creature, Creatures[TurnOrder[i].creature].allegiance);
    if (word == "fighters" && InCombat != 1) {
      *fault = "no battle is under way";
      return false;
    }
    *fault = SameFighters(rest, word == "fighters" ? now : g_fought.stood);
    return fault->empty();
  }
  if (word == "blows-on") {
    // "blows-on ID BY...": in the battle Fight played last the blows at ID
    // came from those named alone, and some came; "none": none came.
    std::istringstream words(rest);
    int target = -1;
    std::vector<int> by;
    words >> target;
    for (std::string w; words >> w;)
      if (w != "none") by.push_back(std::atoi(w.c_str()));
    std::string from;
    bool others = false, any = false;
    for (const auto& [attacker, struck] : g_fought.blows) {
      if (struck != target) continue;
      any = true;
      if (std::find(by.begin(), by.end(), attacker) != by.end()) continue;
      others = true;
      from += std::string(from.empty() ? "" : ", ") + Creatures[attacker].name + " (" + std::to_string(attacker) + ")";
    }
    if (others) *fault = "blows came from " + from;
    else if (any == by.empty()) *fault = any ? "blows came" : "no blow came";
    return fault->empty();
  }
  if (word == "stands") {
    int id = -1, x = -1, y = -1;
    if (std::sscanf(rest.c_str(), "%d %d %d", &id, &x, &y) != 3 || !IsValidCreature(id)) {
      *fault = "stands takes a creature and a square's x and y";
      return false;
    }
    const CreatureRecord& c = Creatures[id];
    return c.present == 1 && c.map == CurrentMapNumber && c.squareX == x && c.squareY == y;
  }
  if (word == "present") {
    int id = -1, value = -1;
    if (std::sscanf(rest.c_str(), "%d %d", &id, &value) != 2 || !IsValidCreature(id)) {
      *fault = "present takes a creature and 0 or 1";
      return false;
    }
    return Creatures[id].present == value;
  }
  *fault = "unknown condition \"" + condition + "\"";
  return false;
}

}  // namespace playverbs
