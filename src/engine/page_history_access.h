// The top page of the page history as page view reads it, and the first page
// that start-up puts in place.
#pragma once
#include <cstdint>

int32_t TopPageType();
int32_t TopPageParameter();
const char* TopPageCaption();
// Page history: one frame at depth 0 (caption, type, parameter).
void SetFirstPage(const char* caption, int32_t type, int32_t parameter);
// Pushes a page (depth + 1 unless it is 99: the top is then overwritten).
void PushPage(const char* caption, int32_t type, int32_t parameter);
// Screen mode 9 (the local map view).
void ShowLocalMapMode();
// Resets the hover state of page view.
void ResetHover();
// The page depth (0 to 99).
int PageDepth();
