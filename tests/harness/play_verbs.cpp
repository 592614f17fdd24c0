#include "harness/play_verbs.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "engine/settings.h"
#include "engine/message_log.h"
#include "engine/page_history_access.h"
#include "harness/battle_runner.h"
#include "harness/harness.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "rules/creature_record.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/game_flags.h"
#include "state/map_view_state.h"
#include "state/party_leader.h"
#include "state/turn_order.h"

namespace playverbs {

namespace {

constexpr int kSquare = 24;
// Where a click is sure to land on the map view and not on a panel drawn
// over it: the party list in the top right corner and the bars along the
// bottom edge are left alone.
constexpr int kSafeLeft = 12, kSafeRight = 308, kSafeTop = 12, kSafeBottom = 190;
constexpr int kPanelLeft = 168, kPanelBottom = 70;

bool Safe(int px, int py) {
  if (px < kSafeLeft || px > kSafeRight || py < kSafeTop || py > kSafeBottom) return false;
  return !(px >= kPanelLeft && py <= kPanelBottom);
}

bool OnMap(int x, int y) { return x >= 0 && y >= 0 && x < CurrentMap.width && y < CurrentMap.height; }
bool Open(int x, int y) { return OnMap(x, y) && CurrentMap.At(kLayerWalls, x, y) == 0; }
bool Seen(int x, int y) {
  return CurrentMapNumber >= 0 && CurrentMapNumber < kStoredMapCount && MapMemory[CurrentMapNumber][SquareIndex(x, y)] != 0;
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

bool Interrupted(int map) {
  return CurrentMapNumber != map || InCombat == 1 || ScreenMode != kModeExploring;
}

int Distance(const CreatureRecord& a, const CreatureRecord& b) {
  return std::max(std::abs(a.squareX - b.squareX), std::abs(a.squareY - b.squareY));
}

void Press(const std::string& key) { harness::PressKey(key); }

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

std::string ClickSquare(int x, int y) {
  WaitForTheView();
  int px = 0, py = 0;
  if (!SquarePoint(x, y, &px, &py)) return "square " + std::to_string(x) + "," + std::to_string(y) + " is not in view";
  harness::MoveMouse(px, py);
  harness::StepFrames(2);
  harness::Click(px, py);
  return "";
}

std::string WalkTo(int gx, int gy, int clicks) {
  if (!OnMap(gx, gy)) return "the goal is off the map";
  const int map = CurrentMapNumber;
  const std::vector<int> steps = StepsFrom(gx, gy);
  for (int click = 0; click < clicks; ++click) {
    if (Interrupted(map)) return "";
    const int id = Walker();
    const CreatureRecord& w = Creatures[id];
    const int here = steps[SquareIndex(w.squareX, w.squareY)];
    if (here <= 1) return "";
    int best = INT_MAX, bx = -1, by = -1;
    for (int x = 0; x < CurrentMap.width; ++x)
      for (int y = 0; y < CurrentMap.height; ++y) {
        int px = 0, py = 0;
        const int s = steps[SquareIndex(x, y)];
        if (s >= best || !Seen(x, y) || !SquarePoint(x, y, &px, &py) || Occupied(x, y)) continue;
        best = s;
        bx = x;
        by = y;
      }
    if (bx < 0 || best >= here) return "no square in view leads nearer to " + std::to_string(gx) + "," + std::to_string(gy);
    const std::string fault = ClickSquare(bx, by);
    if (!fault.empty()) return fault;
    // The walk: until the member stands still a few frames in a row.
    int still = 0;
    for (int f = 0; f < 1200 && still < 4; ++f) {
      harness::StepFrames(1);
      if (Interrupted(map)) return "";
      still = StandsStill(id) ? still + 1 : 0;
    }
  }
  const CreatureRecord& w = Creatures[Walker()];
  return steps[SquareIndex(w.squareX, w.squareY)] <= 1
             ? ""
             : "the walk to " + std::to_string(gx) + "," + std::to_string(gy) + " took more than " +
                   std::to_string(clicks) + " clicks";
}

std::string Answer(int n, int frames) {
  for (int f = 0; f < frames && ScreenMode != kModeResting; ++f) harness::StepFrames(1);
  if (ScreenMode != kModeResting) return "no dialogue box opened";
  Press(std::to_string(n));
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
         CombatAction.actionCode == 0 && entry >= 0 && entry < kTurnOrderEntries && TurnOrder[entry].creature >= 0 &&
         TurnOrder[entry].creature < kPartySize;
}

// Points at the picture point and clicks it; true when the click gave the
// acting fighter an order.
bool ClickOrder(int px, int py) {
  const int entry = CombatAction.currentEntry, round = CombatRoundNumber;
  harness::MoveMouse(px, py);
  harness::StepFrames(2);
  harness::Click(px, py);
  if (ScreenMode == kModePageView) {  // a click that opened a page instead
    Press("Escape");
    harness::StepFrames(2);
  }
  return OrderTaken(entry, round);
}

std::string Fight(int turns) {
  int given = 0;
  int lastEntry = -2, lastRound = -1;
  int attacks = 0, moves = 0;
  for (int f = 0; f < 200000; ++f) {
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
      if (++given > turns) return "the battle lasted more than " + std::to_string(turns) + " turns of the party";
    }
    WaitForTheView();
    if (!PartysTurn()) continue;
    const CreatureRecord& me = Creatures[TurnOrder[entry].creature];
    // The nearest enemy in view.
    int target = -1, best = INT_MAX, tx = 0, ty = 0;
    for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
      const int id = TurnOrder[i].creature;
      if (!IsValidCreature(id) || id < kPartySize) continue;
      const CreatureRecord& c = Creatures[id];
      if (c.present != 1 || c.hitPoints < 1 || IsPartyAllegiance(c.allegiance)) continue;
      int px = 0, py = 0;
      if (!SquarePoint(c.squareX, c.squareY, &px, &py)) continue;
      if (Distance(me, c) < best) {
        best = Distance(me, c);
        target = id;
        tx = px;
        ty = py;
      }
    }
    bool ordered = false;
    if (target >= 0 && attacks < 2) {
      // An attack, or a move and an attack.
      ++attacks;
      if (Tracing()) std::fprintf(stderr, "%s attacks %s (%d squares)\n", me.name, Creatures[target].name, best);
      ordered = ClickOrder(tx, ty);
    } else if (target >= 0 && best > 1 && moves < 1) {
      // Out of reach: a move to the free square next to it that lies nearest.
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

bool Holds(const std::string& condition, std::string* fault) {
  const size_t space = condition.find(' ');
  const std::string word = condition.substr(0, space);
  const std::string rest = space == std::string::npos ? "" : condition.substr(space + 1);
  if (word == "combat") return InCombat == 1;
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
  if (word == "map") return !rest.empty() && CurrentMapNumber == std::atoi(rest.c_str());
  if (word == "flag") {
    const size_t s = rest.find(' ');
    const int flag = std::atoi(rest.substr(0, s).c_str());
    if (s == std::string::npos || flag < 0 || flag >= kGameFlagCount) {
      *fault = "flag takes a flag number and a value";
      return false;
    }
    return GameFlags[flag] == static_cast<uint32_t>(std::atoi(rest.substr(s + 1).c_str()));
  }
  *fault = "unknown condition \"" + condition + "\"";
  return false;
}

}  // namespace playverbs
