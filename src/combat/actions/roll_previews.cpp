#include "combat/actions/roll_previews.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "engine/settings.h"

SituationLabel SituationLabels[kSituationLabels];

namespace {

constexpr int32_t kSourceD20 = 171;
constexpr int32_t kSourceGrappling = 157;

struct LabelRow {
  int32_t source;
  const char* text;
};
// In the order they are looked for.
constexpr LabelRow kLabelRows[] = {
    {163, "Charging"},  {18, "Concealed"},   {168, "Flanked"},  {673, "Cover"},    {169, "Meleeing"},
    {680, "Point-Blank"}, {84, "Paralyzed"}, {85, "Sleeping"},  {82, "Stunned"},   {118, "Cowering"},
    {158, "Pinned"},    {152, "Slowed"},     {157, "Grappling"}, {88, "Blinded"},  {156, "Flat-Footed"},
};

bool ListHasSource(const ModifierList& list, int32_t source) {
  for (const ModifierPair& p : list.pairs)
    if (p.source == source) return true;
  return false;
}

}  // namespace

int32_t GetD20FromRoll(const ModifierList& list) {
  for (const ModifierPair& p : list.pairs)
    if (p.source == kSourceD20) return p.value;
  return 0;
}

void FormatCriticalText(ModifierList* list) {
  if (list == nullptr) return;
  char rest[sizeof list->caption] = {};
  const size_t length = strnlen(list->caption, sizeof list->caption);
  if (length > 13) std::memcpy(rest, list->caption + 13, length - 13);
  std::snprintf(list->caption, sizeof list->caption, "Critical %s", rest);
}

void ClearSituationLabels() {
  for (SituationLabel& label : SituationLabels) label = SituationLabel{};
}

bool AddSituationLabel(int32_t source) {
  for (SituationLabel& label : SituationLabels) {
    if (label.text[0] != '\0') continue;
    for (const LabelRow& row : kLabelRows) {
      if (row.source != source) continue;
      std::snprintf(label.text, sizeof label.text, "%s", row.text);
      return true;
    }
    return false;
  }
  return false;
}

bool BuildSituationLabels(int, uint8_t grappler, const ModifierList& armourClass, const ModifierList& attackRoll) {
  if (OptionWords[kOptionDisplayExpandedTooltip] != 1) return true;
  ClearSituationLabels();
  for (const ModifierList* list : {&attackRoll, &armourClass})
    for (const LabelRow& row : kLabelRows)
      if (ListHasSource(*list, row.source)) AddSituationLabel(row.source);
  if (grappler) AddSituationLabel(kSourceGrappling);
  return true;
}
