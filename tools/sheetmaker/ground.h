// Ground tiles shared by the painters that draw over or next to them.
#pragma once
#include <string>

#include "palette.h"

// A 24x24 ground tile of a kind (grass, earth, flagstones, water, ...); the
// variant changes its details, never its edges. Throws SourceError for an
// unknown kind.
Layer GroundTile(const std::string& kind, int variant, uint32_t seed);
