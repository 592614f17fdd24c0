#include "map/party_vision.h"

void InitSightRayTables() {}
void UpdatePartyVision() {}
