#include "state/map_view_state.h"

int32_t ActionBarMode = 1;
uint32_t TintTarget[3] = {255, 255, 255};
int32_t SelectedFighterSlot = 0;
MissileStateWords MissileState = {};
int32_t SideCode = -1;
int32_t AttackLinesScroll = 0;
