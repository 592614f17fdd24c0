#include "frontend/settings.h"

int32_t OptionWords[kOptionWordCount] = {
    0, 0, 0, 0, 65, 40, 70, 0, 0, 1, 1, 1, 1, 0, 0, 1, 0, 0,
    0, 0, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0};
uint8_t WindowedFlag = 1;
uint32_t WindowSize = 2;
uint8_t CursorFreeFlag = 1;
