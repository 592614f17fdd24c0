// The names of the 330 feats, row i naming feat i (rules/feat_ids.h): the
// full upper-case name the pages show, the short keyword that captions the
// feat's help page, and the name of the creation and level-up lists, which
// fits their narrow column.
#pragma once

#include "rules/creature_record.h"  // kFeatFlags

constexpr int kFeatNameSize = 38;         // at most 37 characters and a NUL
constexpr int kFeatKeywordSize = 9;       // at most 8
constexpr int kFeatDisplayNameSize = 30;    // rows of 30 bytes,
constexpr int kFeatDisplayNameLength = 24;  // each name at most 24 characters

extern const char FeatNameTable[kFeatFlags][kFeatNameSize];
extern const char FeatKeywordTable[kFeatFlags][kFeatKeywordSize];
extern const char (&FeatDisplayNames)[kFeatFlags][kFeatDisplayNameSize];

// The help page of a feat: 31001 + feat id; the feats' index page before them.
constexpr int kFeatHelpPageBase = 31001;
constexpr int kFeatIndexHelpPage = 31000;
