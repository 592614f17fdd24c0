// Routines the map view, the main screen keys and the game screen frame
// share: the main menu and the inventory over the game, hit tests on the
// party's name list, the creature under the mouse, the hold-to-walk cursor,
// the walk to an item pile, two attack-profile tests and one character of
// text entry from the keyboard. (Opening a door and the push test of a bull
// rush are declared with the map view's words in state/map_view_state.h.)
#pragma once
#include <cstdint>

// The main menu over the game: the screen mode kept to return to, the
// history one frame "Options" (type 102); page view.
void OpenMainMenu();
// The creature's inventory, pushed onto the page history as "Inventory
// (name)" (type 2), so that Back returns to the page that opened it (the
// crafting pages); no item picked and no spell aimed; page view. True.
bool OpenInventoryMenu(int creature);

// The party's names, right-aligned to text column 35 in the rows at y 24,
// 32, 40 and 48: the member (0 to 3) whose name holds the mouse, -1 none;
// the same as a truth value; and the single cell left of a name.
int HitTestNameList();
bool IsOverNameList();
bool IsOverNameMarker();

// Words of the panels the map's hit test reads: the rows of the targeting
// prompt (7 with the party list, 3 without), the party member whose row of
// a panel list is under the mouse (-1 none), the rows of the side panel's
// frame as drawn by the last frame (0 none drawn), and the dialogue panel
// being open.
extern int32_t PromptRows;
extern int32_t PanelTargetMember;
extern int32_t SidePanelRows;
// The rows of the side panel the last frame drew (the map view, drawn
// before this frame's panels, keeps its marks off them).
extern int32_t LastSidePanelRows;
extern uint8_t DialoguePanelOpen;
// The point of the hovered figure (its box's centre, map pixels) and whether
// the hovered fighter differs from the selected one.
extern int32_t HoverPointX, HoverPointY;
extern uint8_t HoverChanged;
// Puts the panel and hover words above back to their start-up values (a
// new game, and tests).
void ResetCreatureUnderMouseState();
// Whether the mouse is on a panel or panel button drawn over the map (the
// map takes no click there): in combat the side panel, the recent spells,
// the combat-rolls panel and the two tabs; while aiming the prompt; while
// exploring the party list's names and level-up stars.
bool MouseOnGamePanels();
// Whether a mark on the map view (a path arrow, a chance, an icon) over the
// picture's pixels from (left, top), right and bottom excluded, would lie on
// a panel drawn over the map in a battle, as the last frame drew them: the
// side panel (or the prompt while aiming), the combat-rolls panel, the
// status boxes' texts. Such a mark is not drawn: it would lie on the words.
bool MarkOnCombatPanels(int left, int top, int right, int bottom);
// The same for a box of the map view's pixels (the wide window's view spans
// 480 by 360 of them over the picture's 320 by 240).
bool ViewBoxOnCombatPanels(int left, int top, int width, int height);
// Whether such a box lies whole under the panels that hide the map (the
// side panel or the prompt, the combat-rolls panel, the box over the map;
// the status boxes' texts let it show).
bool ViewBoxHiddenByCombatPanels(int left, int top, int width, int height);
// A word that changes whenever the panels those tests read change.
uint64_t CombatPanelsWord();
// The fighter slot whose figure holds the map pixel (px, py), -1 none; in
// combat a fighter of the turn order goes first. The centre of the figure's
// box is written where asked; nothing else changes.
int FigureSlotAt(int px, int py, int* centreX = nullptr, int* centreY = nullptr);
// The fighter slot whose figure lies under the mouse, -1 none or while the
// mouse is on a panel; in combat a fighter of the turn order goes first.
int CreatureUnderMouse();
int FighterUnderMouse();

// The hold-to-walk cursor: while the left button is held outside combat a
// counter rises to 15 frames; then the walk cursor turns on, the leader's
// walk target is cancelled, and the cursor is the arrow from the leader
// toward the map cursor. Releasing the button, a stick without a button, or
// combat turns it off.
extern int32_t WalkHoldFrames;
extern uint8_t WalkCursorOn;
void UpdateWalkCursor();
// The leader's destination becomes its next square; the walk-to flags and
// the pending pick-up are cleared.
void CancelWalkTarget();
// The arrow cursor (20 to 27) pointing from one square toward another.
int32_t WalkArrowCursor(int fromX, int fromY, int toX, int toY);

// The object clicked in a square's object list: its square, its level (0 to
// 3, or 99999 for all) and its code.
struct ClickedObjectWords {
  int32_t x = -1, y = -1;
  int32_t level = 0;
  int32_t object = 0;
};
extern ClickedObjectWords ClickedObject;
// Sends the leader walking to the clicked object's square, the object to go
// on arrival to the picker (-1 the leader) or else the first member by it
// (the whole square when the clicked object is the whole square); no path:
// click result 70 round the mouse. True when a path was found.
bool WalkToItemPile(int creature);

// Whether one of the squares the creature can take one step to (the step
// overlay's marks 25 to 32, in x-major order) would put it next to the
// target of the action (ActionTarget); the creature's square is restored.
bool FindStandableSquare(int creature);

// The index of the creature's first ranged-weapon entry of its attack
// profile, -1 none; whether its first entry makes exactly one attack and the
// second is empty or a ranged weapon.
int FindRangedAttackEntry(int creature);
bool HasSingleAttackEntry(int creature);

// One character typed on the keyboard for text entry (the key latched), 0
// when no key is newly pressed; Space gives ' ' with spaceFlag 1, else '_'.
char KeyToChar(int spaceFlag);
