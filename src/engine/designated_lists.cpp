#include "engine/designated_lists.h"

namespace {

ModifierList* g_designated[kDesignatedListSlots] = {};

}  // namespace

int RegisterDesignatedList(ModifierList* list) {
  for (int i = 0; i < kDesignatedListSlots; ++i)
    if (g_designated[i] == list) return i;
  for (int i = 0; i < kDesignatedListSlots; ++i)
    if (!g_designated[i]) {
      g_designated[i] = list;
      return i;
    }
  return -1;
}

ModifierList* DesignatedList(int number) {
  return number >= 0 && number < kDesignatedListSlots ? g_designated[number] : nullptr;
}
