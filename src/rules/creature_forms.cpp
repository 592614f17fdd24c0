#include "rules/creature_forms.h"

#include "engine/reset_words.h"

int32_t SavedAllegiance[2100] = {};

void ResetCreatureFormsState() {
  ResetWords(SavedAllegiance);
}
