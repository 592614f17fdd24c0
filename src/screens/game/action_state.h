// The order the player is giving: which targeting mode is on (screen modes
// 10 to 16), which spell or Turn Undead is being aimed and by whom, which
// action of the action bar waits for its target, what the map hover shows;
// the prompt bar of a spell waiting for its target, the two ways of
// cancelling, and the resets of that state.
#pragma once
#include <cstdint>

#include "engine/game_screen_state.h"  // IsTargetingMode, IsTargetingOrMenuMode
#include "screens/game/game_screen.h"  // HoverProbe
#include "state/combat_action.h"

// The action-list row waiting for its target (-1 none): the action block's
// word under the names the action bar and the map mouse handler use.
inline int32_t& SelectedAction = CombatAction.selectedAction;
inline int32_t& PendingPanelAction = CombatAction.selectedAction;
// The creature casting the spell being aimed.
inline int32_t& CurrentCaster = SpellCaster;
// One mark per creature: 5 on the acting member while a targeted order of
// the action bar waits; cleared as a whole when a cast is cancelled.
inline int32_t (&TargetMarker)[2100] = CreatureMarkWords;
// The hit chance in percent shown at the cursor, -1 none; the frame sets it
// to -1 before the map mouse handler runs.
inline int32_t& CursorChance = HoverProbe;

// The index of the next target of a spell that takes several, while the
// player aims its further missiles or rays (the aiming sets it each frame);
// -1 otherwise. The right-button cancel waits while it is set.
extern int32_t TargetPickIndex;
// The missiles (or rays) of the use still to aim, the one asked for now
// counted, while a spell of several is aimed at a creature; 0 otherwise.
int MissilesToAim();
// 1 while the mouse is on the prompt's "Cancel Action".
extern uint8_t CancelHovered;
// What a targeted order of the action bar aims with: 1 melee, 2 ranged.
extern int32_t AttackMode;
// A charge or bull rush, and a five-foot step, wait for their square.
extern uint8_t ChargeOrderPending;
extern uint8_t FiveFootStepOrderPending;
// Set while the party leader is moved one square by the keypad: the panels
// and the action bar's hot keys rest meanwhile.
extern uint8_t KeypadStepActive;

// The map mouse handler's previews that a cancel resets: the move preview was
// computed for the square under the cursor, and the five-foot step's squares
// are shown.
extern uint32_t PreviewComputed;
extern uint8_t StepPreviewShown;

// Cancels the spell or Turn Undead waiting for its target: in combat the
// caster's cancel line is logged and the action ends; "Action Cancelled" or
// "Spell Aborted" rises over the caster; the marks are cleared, no spell is
// aimed and the screen goes back to exploring; click result 12 round the
// mouse. True.
bool CancelPendingAction();
// The right-button cancel of the targeting modes: nothing while a spell of
// several targets has picked some but not all; otherwise the cancel line is
// logged and the aiming ends without a floating text. True.
bool CancelTargetPick();
// Back to exploring with nothing selected and the hover forgotten.
void ResetActionState();
// The hover record cleared and marked changed; with it the input latches and
// the action waiting on the action bar.
void ResetHoverState();
void ResetHoverAndInput();
// The weapon mode word of the acting party member: kept into its memory when
// its turn is left, taken back when its turn starts. False (nothing done)
// without an acting party member.
bool RestoreSelectedFighterValue();
bool SaveSelectedFighterValue();
// Every creature's remembered weapon mode back to melee (1), as a new game
// sets them.
void ResetRememberedWeaponModes();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetActionStateWords();
