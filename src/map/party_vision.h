// Party vision: the sight ray tables and what the party sees.
#pragma once

void InitSightRayTables();
void UpdatePartyVision();
