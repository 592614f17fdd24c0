// Achievements that scripts grant at story points (command 108): each number
// marks progress bytes of the running game and reports the achievements.
#pragma once
#include <cstdint>

// Nothing happens without the achievements client. A slot newly granted is
// counted; the party score is submitted once with the count when it is not 0.
void UnlockAchievement(int32_t number);
