// The special actions of the action executor: grapple, pin, bull rush and
// escape (grapple_actions.cpp), and waking an ally, the forced dance,
// sounding the alarm, reloading a crossbow and the inventory in combat. Each
// is a small state machine over the running action's phase whose steps are
// separated by a playback of the executor.
#pragma once
#include <cstdint>

// One step of the special action of that code.
void SpecialActionStep(int32_t code);

// The branches of grapple_actions.cpp.
void GrappleStep();
void PinStep();
void BullRushStep();
void EscapeStep();

// Shared by the branches: the condition source of the acting fighter's
// conditions (23 player-controlled, 31 computer-controlled); the prelude
// marker queued and its playback started (the attacker's lunge toward the
// target); a result event of the action shown over the creature; the end of
// the action with its own code (code 13).
uint32_t ActorSource();
void QueuePrelude();
void ShowActionEvent(int32_t type, int32_t sound, int creature);
void EndActionWith(int32_t code);
