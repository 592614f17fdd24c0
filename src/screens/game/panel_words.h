// The words of the party list, the status boxes and the combat panels that
// the other sections of the game screen, the map view's hit test and the
// turn cycle read or write.
#pragma once
#include <cstdint>

#include "engine/message_log.h"
#include "engine/settings.h"
#include "screens/game/action_state.h"       // KeypadStepActive
#include "screens/game/map_input.h"          // AttackKindShown
#include "screens/game/status_box_words.h"   // ShownTargetCreature

// The attack order waiting for its target, written by the map mouse handler:
// 0 none, 1 charge, 2 melee attack, 3 ranged attack, 4 grapple.
inline uint32_t& AttackKindBanner = AttackKindShown;

// The first log line the combat-rolls panel shows: the message log's scroll
// value (0 after a trim). The log's changed flag is the panel's
// scroll-to-end byte.
inline int32_t& RollsScrollLine = MessageLogScroll;
// The side panel returns to the initiative list (1) or the action list (0)
// when an action ends: the ready-mode byte kept in option word 24.
inline uint8_t& SidePanelPrefersInitiative = ReadyModeFlag;
// The first entry the initiative list shows once it holds 27 or more.
extern int32_t InitiativeScrollTop;

// The level at which each party member's level-up star last played its
// sound (0 none): the star is announced once per level.
extern int32_t LevelUpAnnounced[4];

// Opens a page over the game for the creature: the screen mode kept to
// return to, page view, the history cut to one frame with the caption, the
// page type and the creature.
void OpenCreaturePage(int32_t type, int creature, const char* caption);
// A name as a page caption: its first 15 characters.
constexpr int kShownName = 15;
void NameCaption(const char* name, char (&caption)[kShownName + 1]);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetPanelWords();
