// Small symbols drawn with a few strokes, shared by the spell and condition
// icons: fire, frost, lightning, a skull, an eye, a shield ... Each is drawn
// round (cx, cy) within a box of `size` pixels in the light, middle and dark
// colours of a ramp.
#pragma once
#include <string>

#include "palette.h"

// Throws SourceError for an unknown symbol.
void Symbol(Layer& l, const std::string& name, float cx, float cy, float size, const Ramp& r);
