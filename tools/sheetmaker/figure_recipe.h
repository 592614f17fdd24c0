// The recipe of a frame map line for the figure builders.
#pragma once
#include <string>
#include <vector>

#include "figure_kit.h"
#include "frame_map.h"

// The named recipe's words (with $key filled from the line's words), then the
// line's own words over them; builder gets the recipe's builder, or the
// line's first word when it names no recipe.
Recipe ExpandRecipe(const Paint& p, std::string* builder);
// Refuses a recipe's words (its name, then its builder and key=value words)
// as the figure painter would at each line that draws with it: a builder or
// a word it does not know, a word without its '=' after the builder, and,
// with `values`, a value of its own (no $word) that the figure refuses.
void CheckFigureRecipe(const std::vector<std::string>& words, bool values);
