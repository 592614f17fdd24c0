// The recipe of a frame map line for the figure builders.
#pragma once
#include <string>

#include "figure_kit.h"
#include "frame_map.h"

// The named recipe's words (with $key filled from the line's words), then the
// line's own words over them; builder gets the recipe's builder, or the
// line's first word when it names no recipe.
Recipe ExpandRecipe(const Paint& p, std::string* builder);
