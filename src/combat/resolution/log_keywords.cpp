#include "combat/resolution/log_keywords.h"

std::vector<LogKeyword> RunTimeLogKeywords() {
  std::vector<LogKeyword> out;
  AddEnergyLogKeywords(&out);
  AddAlignmentLogKeywords(&out);
  AddAbilityLogKeywords(&out);
  AddSpellAbilityLogKeywords(&out);
  AddResistanceLogKeywords(&out);
  AddFormLogKeywords(&out);
  AddCounterspellLogKeywords(&out);
  return out;
}
