// The action bar of the acting party member: the actions it may take now,
// rebuilt every frame from its conditions, equipment, feats, spells and the
// turn's budget; their labels, hot keys and help pages; what each does when
// chosen; the box of an order waiting for its target; and the row of the
// spells it cast last.
#pragma once
#include <cstdint>

#include "engine/game_screen_state.h"  // ActionList

// The rows of the action tables, what the action list and SelectedAction hold.
enum ActionIndex : int32_t {
  kActEndTurn = 0,
  kActDelay = 1,
  kActFiveFootStep = 2,
  kActCharge = 3,
  kActBullRush = 4,
  kActDisarm = 5,
  kActSunder = 6,
  kActWhirlwind = 7,
  kActGrapple = 8,
  kActPin = 9,
  kActReload = 10,
  kActCoupDeGrace = 11,
  kActCastSpell = 12,
  kActRightWand = 13,
  kActScroll = 14,
  kActBreakFree = 15,
  kActWakeSomeone = 16,
  kActInventory = 17,
  kActReadyApproach = 18,
  kActReadySpell = 19,
  kActCounterspell = 20,
  kActViewInitiative = 21,
  kActFlee = 22,
  kActAttack = 23,
  kActShoot = 24,
  kActHideActions = 25,
  kActHideRolls = 26,
  kActDismissSpell = 27,
  kActLeftWand = 28,
  kActTurnUndead = 29,
};
constexpr int kActionCount = 30;
constexpr int kActionTextSize = 16;

// Per action: its label, the key letters drawn over it in another style
// (blanks place a letter under the matching character of the label), and
// its help page id.
extern const char ActionLabels[kActionCount][kActionTextSize];
extern const char ActionKeyLetters[kActionCount][kActionTextSize];
extern const int32_t ActionHelpPageIds[kActionCount];

// The actions offered this frame; entry 0 is always "Space:End Turn".
inline ActionListWords& ActionMenuList = ActionList;
// The help page (index into HelpPages) whose title the hovered entry shows, -1 none.
extern int32_t ActionHelpCache;

// The summoned creature a Cleric may dismiss, and the Polymorphed value of
// a form that cannot be dismissed.
constexpr int kDismissibleSummons = 581;
constexpr int32_t kLockedForm = 42;
// An active Paralyzed entry of a spell (source 18) whose save difficulty,
// given back in *dc (may be null), is above 0: a hold the member may break.
bool HeldBySpell(int creature, int32_t* dc);

// Runs the command of an action chosen by click or hot key; true when it
// ended the frame (a page opened, or a cast handed over).
bool DrawActionCommand(int32_t index);
// Opens the help page of an action whose page is cached; ends the frame.
bool OpenActionHelpPage(int32_t index);
// Opens a help page over the game as the only page of the history (the mode
// to return to kept, the right button latched, the viewer's scroll reset).
void OpenHelpTopicOverGame(const char* caption, int32_t pageId);
// Logs "£name£ ends his turn." (her, its by gender) for the acting
// fighter; false when there is none.
bool LogEndOfTurn();

// Whether the side panel shows the action list now.
bool ActionPanelShown();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetActionMenuState();
