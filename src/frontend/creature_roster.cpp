#include "frontend/creature_roster.h"

#include <cstdarg>
#include <cstdio>

uint8_t PartyRecordBuffer[kStoredPartyRecordBytes];
uint8_t CreatureRecordBuffer[kStoredCreatureRecordBytes];

bool PackPartyRecord(int) { return true; }
bool PackCreatureRecord(int) { return true; }
bool UnpackPartyRecord(int) { return true; }
bool UnpackCreatureRecord(int) { return true; }
void PackCreatureRoster(std::vector<uint8_t>* out) { out->clear(); }
bool DecodeCreatureRoster(const uint8_t*, size_t, CreatureRecord*) { return false; }
void InstallCreatureRoster(const CreatureRecord*) {}
int LoadCreatureRoster(const char*) { return 0; }

int LoadCreatureRosterFmt(const char* format, ...) {
  char path[300];
  va_list args;
  va_start(args, format);
  std::vsnprintf(path, sizeof path, format, args);
  va_end(args);
  return LoadCreatureRoster(path);
}
