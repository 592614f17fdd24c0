// The creatures of the map view: the draw list of the creatures in view,
// sorted by their foot lines so that a creature further down covers one
// above it, their figures and the labels written over them.
#pragma once
#include <cstdint>

// Counts the floating texts down, lists the creatures in view, draws the
// objects of every view row and sorts the list.
void BuildCreatureDrawList(int rows, int cols, uint32_t tint);
// The figures of the listed creatures, each followed by the tall objects in front of it.
void DrawCreatureFigures(int rows, int cols, uint32_t tint);
// The labels over the drawn creatures: glows, hit and spell chances,
// floating texts, condition icons, readied spells and the turn marker.
void DrawCreatureLabels();
