// Page type 113 shows a modifier list that the page opening it registered
// here; the page's parameter is the list's number. An unknown number shows
// nothing.
#pragma once

struct ModifierList;

constexpr int kDesignatedListSlots = 16;
// The list's number (the same list keeps its number), -1 when all are taken.
int RegisterDesignatedList(ModifierList* list);
ModifierList* DesignatedList(int number);

// The one list page type 133 shows; the page that opens it fills it first.
// Defined by page view (shell).
extern ModifierList PageModifierList;
