// The top page of the page history as page view reads it.
#pragma once
#include <cstdint>

#include "engine/page_history.h"

int32_t TopPageType();
int32_t TopPageParameter();
const char* TopPageCaption();
// The history cut back to one frame at depth 0 (caption, type, parameter).
void SetFirstPage(const char* caption, int32_t type, int32_t parameter);
