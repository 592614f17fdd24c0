// The script commands that change the world: square codes and event numbers
// of the maps, what the party knows of a map, creatures (presence, side,
// conditions, position, formation, behaviour, creation), the camera and the
// creature highlights, sound effects and music, the end of the game and
// saving. Every map number, square, creature, colour, facing, condition,
// track and table index is checked: one outside its range changes nothing
// and leaves a debug line (a test with one fails).
#pragma once
#include <cstdint>

#include "rules/creature_record.h"

// The highlight of each creature (0 none, 1 red, 2 yellow, 3 green, 4 blue,
// 5 pink, 6 white) and the frames its fade has left: the combat actions'
// mark words under the names the scripts give them.
extern int32_t (&CreatureHighlight)[kCreatureCount];
extern int32_t& HighlightFade;
constexpr int32_t kHighlightColours = 6;
constexpr int32_t kHighlightFrames = 100;
void ClearCreatureHighlights();
// Clears the highlights, then highlights the creature in colour + 1.
void HighlightCreature(int creature, int32_t colour, const char* trace);

// The number map commands give the world map.
constexpr int kWorldMapNumber = 99;
// Map header words that scripts set and test, by file offset.
enum MapHeaderWord : int {
  kHeaderAlarm = 484,
  kHeaderCleared = 488,
  kHeaderLocalMap = 536,
  kHeaderSpellFlag = 540,
};

// Squares and maps.
void ClearMapSquare(int map, int x, int y);                         // 30
void RemoveEventNumber(int event, int map);                         // 31
void SetEventNumber(int map, int x, int y, int32_t value);          // 43
void MarkMapKnown(int map, int x1, int y1, int x2, int y2, bool known);  // 44, 85
void SetSquareCode(int layer, int map, int x, int y, int32_t code);  // 50
void SetMapHeaderFlag(int which, int map, int32_t value);           // 67
bool MapAlarmIsSet(int map);                                        // 75
void SetMapAlarm(int map, int32_t value);                           // 82

// Creatures.
void SetAllegiance(int first, int last, int32_t side);             // 22, 66
void SetPresence(int creature, int32_t present);                   // 23
void MakeDistracted(int creature);                                 // 27
void WakeAndAlarm(int creature);                                   // 28
void AlarmAllEnemies();                                            // 29
void SetCreatureTagNumber(int creature, int32_t number);           // 40
bool CreatureIsAlarmed(int creature);                              // 42
void SetFormation(int creature, int32_t leader, int32_t x, int32_t y, int32_t word);  // 45
void SetDeathScript(int creature, int32_t number);                 // 46
void SendCreatureWalking(int x, int y, int creature);              // 47
void SetMovementWord(int creature, int32_t value);                 // 48
void SetTacticWord(int creature, int32_t value);                   // 49
void SetCreatureFacingTo(int creature, int32_t facing);            // 55
void PlaceCreature(int creature, int map, int x, int y);           // 56
void FaceEntryFacing();                                            // 61
bool CreaturePresenceTest(int creature, int32_t mode);             // 62
void ChangeCondition(int32_t mode, int creature, int32_t removed, int32_t added, int32_t value,
                     int32_t duration);                            // 63
void SetSightRange(int creature, int32_t range);                   // 64
void CreateScriptCreature(const int32_t (&a)[15]);                 // 68
bool GroupSeesParty(int creature);                                 // 74
bool ScriptValueAtLeast(int creature, int32_t value);              // 76, 78
bool CreatureRangePresent(int a, int b, int32_t mode);             // 81
bool CreatureStandsOn(int creature, int x, int y, int map);        // 83
void RestoreAndRefill(int creature);                               // 86
bool CreatureSeesParty(int creature);                              // 99
void SetGoalWords(int creature, int32_t value, int32_t y, int32_t index);  // 103
void SetBehaviourWord(int creature, int32_t table, int32_t index, int32_t value);  // 104

// Camera.
void ScriptScrollTo(int creature);                                 // 36
void HighlightTalker(int32_t colour);                              // 77
void CentreViewOnCreature(int creature);                           // 65
void CentreViewOnCurrentCharacter();
void CentreViewOnFocusSquare();

// Sound and music.
void PlayScriptSound(int sound);                                   // 21
void SwitchScriptMusic(int track);                                 // 93
void ForgetMusicPosition(int track);                               // 101

// Game flow and saving.
void EndTheGame();                                                 // 87
// Both give the save's result (0 saved; a game the load would refuse, with
// the party off the maps the adventure saves or outside the map, is not
// written and gives the save's code), -1 in an Ironman game or for an index
// out of range.
int SaveToNewSlot();                                               // 106
int SaveWithPartyAt(int map, int x, int y, int32_t facing);        // 107
