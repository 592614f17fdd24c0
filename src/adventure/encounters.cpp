#include "engine/reset_words.h"
#include "state/encounters.h"

int32_t EncounterCounter = 0;
char EncounterText[kEncounterTextSize] = {};
EncounterRequest EncounterRequests[kEncounterRequestLog];
int32_t EncounterRequestCount = 0;

// The encounter tables and creature generation come with the scripting and
// creature issues; until then the request is kept so that callers can be followed.
void GenerateRandomEncounter(int region, int x, int y, int arrival, int flag) {
  (void)flag;
  if (EncounterRequestCount >= 0 && EncounterRequestCount < kEncounterRequestLog)
    EncounterRequests[EncounterRequestCount++] = {region, x, y, arrival};
}

void ResetEncountersState() {
  EncounterCounter = 0;
  ResetWords(EncounterText);
  ResetWords(EncounterRequests);
  EncounterRequestCount = 0;
}
