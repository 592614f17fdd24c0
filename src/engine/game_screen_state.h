// The game screen's state words that the engine's text and page kit read.
#pragma once
#include <cstdint>

// While 1 the linked-text renderer does not open links.
extern uint8_t HelpLinkSwitch;

// What the help navigation bar asks of the game screen: "Return" / "To The
// Game" is offered only while the three flags are 0 and the selection value
// is -1 (no item selection pending); returnKey 1 makes the I key and 2 the M
// key a further Return key.
struct NavBarStateWords {
  uint8_t flags[3];
  int32_t selection;
  int32_t returnKey;
};
// The flag set while a new party is being made (page view sets it each frame).
constexpr int kNavBarPartyBeingMade = 0;
extern NavBarStateWords NavBarState;

// The action bar's list: a count and the action kinds.
constexpr int kActionListSize = 32;
struct ActionListWords {
  uint32_t count;
  int32_t kinds[kActionListSize];
};
extern ActionListWords ActionList;

// True in the targeting screen modes 10 to 16.
bool IsTargetingMode();
// 1 in the targeting modes, in the casting announcement and resolution, or
// while an item selection is pending.
int IsTargetingOrMenuMode();
// Whether "Return" may leave page view now.
bool NavBarAllowsReturn();
