// The map view's input: the square under the mouse and what it shows, the
// doors and item piles under it, the keypad walk, the previews of a combat
// order under way, the aiming of spells by mouse, the world map's travel,
// the dialogue box's scroll and the character name's editing.
#pragma once
#include <cstdint>

#include "screens/game/frame_words.h"
#include "state/party_leader.h"
#include "state/world_travel.h"

// The party member the player moves outside combat (the others follow it).
inline uint32_t& SelectedMember = PartyLeader;

// A square of the map (x -1: none).
struct MapSquareWords {
  int32_t x = -1, y = -1;
};

// 1 when the square under the mouse differs from the last frame's.
extern uint32_t SquareChanged;
// The fighter slot of the creature under the cursor (-1 none): the frame's
// hovered slot.
inline int32_t& HoveredSlot = HoveredFighterSlot;
// 0 (the door cursor opens, shape 13) or -3 (it listens, shape 10); a right
// click on a door switches it.
extern int32_t DoorCursorMode;
// The door found under the cursor.
extern MapSquareWords DoorSquare;
// The square whose objects the object list shows (screen mode 5).
extern MapSquareWords ItemPileSquare;
inline MapSquareWords& ListedSquare = ItemPileSquare;
// 1: doors are found by the square under the cursor; 0: by points near the
// door's edge.
extern uint32_t DoorHoverBySquare;

// The keypad walk: a direction key chose a step this frame (a step ordered
// by the keypad is KeypadStepActive of the action state).
extern uint8_t KeypadWalkFlag;

// The previews of the order under the cursor, cleared when the square
// changes: the plan of an attack on a creature out of reach (0 not worked
// out, 1 none, 2 move then attack, 3 charge), the charge chosen, the kind of
// attack shown (1 charge, 2 attack, 3 shot, 4 grapple attack).
extern uint32_t MoveAttackPlan;
extern uint8_t ChargeChosen;
extern uint32_t AttackKindShown;
// 1 while the acting member, its weapon mode melee, points at a foe it
// could shoot at instead (the action list offers a shot or the crossbow's
// reload): the right button's switch to shooting is told.
extern uint8_t ShotSwitchShown;

// Aiming a spell by mouse: the square a burst or area was aimed at, the
// square a square-target spell goes to (x -1 when the one under the cursor
// does not suit), the first corner of a rectangle and whether it is set, and
// the line of effect shown.
extern MapSquareWords AimedSquare;
extern MapSquareWords PlacementSquare;
extern MapSquareWords RectangleCorner;
extern uint8_t RectangleCornerSet;
extern uint8_t LineOfEffectShown;

// The world map's travel: under way, the location entered on arrival, the
// frames since the last step, the 8-pixel cell under the mouse.
extern uint8_t WorldTravelling;
extern uint8_t WorldEnterOnArrival;
extern int32_t WorldStepFrames;
extern MapSquareWords WorldMapCell;

// The first line of the dialogue box's text shown.
extern int32_t DialogueScrollLine;

// The character name edit: a gap opened at NameEditCursor (the name counted
// as at most 8 characters), and the character at the position taken out.
// Both 1.
int InsertNameGap();
int DeleteNameChar(int position);

// The keypad: the selected member's step outside combat, the acting
// fighter's in combat (screen modes 0, 3 and 5).
void KeypadWalk();

// The branches of the map mouse handler: in combat on the player's turn
// (screen modes 0 and 3), and in the targeting modes 10 to 16. Each
// returns when it has taken the frame.
void CombatMouse();
void CombatHoverMouse();
void AimingMouse();
// A use of several missiles (or rays) whose player still had some to aim
// ended before the next was asked for (the casting lost, or
// counterspelled): the caster's clicks were meant for missiles. Called
// while the caster's orders are awaited on the map: why the use ended
// ("Concentration Failure", "Counterspelled"...) stands beside the pointer,
// and the map takes no press (one held from before is spent too) while the
// pointer stays within 10 pixels of where it rested as the orders came
// back, and the turn in which the missile was aimed lasts. True while it
// holds the map.
bool SpendClickMeantForMissile();
void ForgetClicksMeantForMissiles();
// Called every frame: the clicks meant for missiles are forgotten once the
// turn in which they were aimed has passed, or the battle is over.
void ForgetClicksMeantForMissilesOfPastTurns();
// While a spell is aimed at one creature, with the pointer on the map over
// square (x, y): the creature a click there would reach (the figure under
// the pointer, or a fallen member lying there), -1 when the click would
// reach nobody or be refused.
int CreatureTheAimReaches(int x, int y);
// Forgets the path and approach worked out for the square and the foe under
// the pointer, which are kept for the turn they were worked out in.
void ForgetOrderPlans();
// The hovered creature of screen mode 3 outside combat, the right-button
// step of the weapon mode on a hovered creature, and the character page of
// a hovered creature.
void HoveredCreatureMouse();
bool CycleWeaponMode(int creature);
void OpenCharacterPageOf(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetMapInputState();
