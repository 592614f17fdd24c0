// The badge of each condition: the icon number of every row of the condition
// names, drawn as figure icon number + 196 (a frame of the second figure
// sheet); 0 for a row without a badge.
#pragma once
#include <array>
#include <cstdint>

#include "rules/conditions.h"

constexpr int32_t kConditionIconFigureBase = 196;
extern const std::array<uint32_t, kConditionNameCount> ConditionIconTable;
