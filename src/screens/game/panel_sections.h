// The panels of the game screen that the frame draws after the map view:
// the party list while exploring, and in combat the banner, the combat-rolls
// panel, the status boxes, the initiative panel, the action list with its
// commands, the recent spells, the targeting prompt or pending-action box
// and the "Actions" button. A section that returns true has ended the frame.
#pragma once

// The party's names and hit points, the level-up star and the hand-over of
// a lifted object; true when a level-up has ended the frame.
bool DrawPartyList();
// Whether the party list is drawn this frame (while the party explores).
bool PartyListShown();
// The pixels the party list's rows take (right and bottom excluded), from
// the first cell of its longest name (or level-up star) to its hit points;
// false when no list is shown.
bool PartyListBlock(int* left, int* top, int* right, int* bottom);
// Whether the mouse is on a level-up star that the party list shows: the
// star's click is the party list's, never the map's.
bool LevelUpStarUnderMouse();
// The status boxes of the acting fighter and of the shown target.
void DrawFighterStatusBoxes();
// The cells the status boxes' texts take in a battle, the acting fighter's
// and then the shown target's: how many were written to `blocks` (0 to
// kStatusBoxCount). The acting fighter's box has a row more than the
// target's: its movement left.
constexpr int kStatusBoxCount = 2, kMostStatusBoxRows = 4;
struct PixelBox;
int StatusBoxBlocks(PixelBox* blocks);
// The banner line of the attack order waiting for its target.
void DrawCombatBanner();
// The combat-rolls panel (the message log) while open, and its button.
void DrawCombatRollsPanel();
// Whether the open combat-rolls panel is drawn this frame (not while the
// player aims, rests or a spell is announced).
bool RollsPanelDrawn();
// The initiative order with "View Actions".
void DrawInitiativePanel();
// The action list of the acting party member: built, then drawn with its hot
// keys and commands; true when a command has ended the frame.
void BuildActionMenu();
bool DrawActionMenu();
// The row of recent spells; true when a cast or a help page ended the frame.
bool DrawRecentSpellRow();
// The prompt bar of a spell or Turn Undead waiting for its target.
bool DrawTargetingPrompt();
// Its rows: 7 with the party list of targeting mode 10, else 3.
int TargetingPromptRows();
// The box of an action chosen on the action bar that waits for its target.
void DrawPendingActionPrompt();
// The "Actions" button that shows the side panel again.
void DrawActionsButton();
// Whether the "Actions" and "Combat Rolls" buttons are drawn this frame (the
// map view's mouse leaves them to the panels).
bool ActionsTabShown();
bool CombatRollsTabShown();
