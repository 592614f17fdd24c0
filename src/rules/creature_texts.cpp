#include "rules/creature_texts.h"

#include <cstring>

#include "engine/text.h"
#include "rules/creature_record.h"

namespace {

template <size_t N>
void CopyCut(char (&field)[N], const char* text) {
  std::memset(field, 0, N);
  std::memcpy(field, text, strnlen(text, N - 1));
}

}  // namespace

bool RenameCreature(int creature, const char* newName) {
  if (!IsValidCreature(creature) || newName == nullptr || newName[0] == '\0') return false;
  CreatureRecord& c = Creatures[creature];
  char oldName[sizeof c.name];
  CopyCut(oldName, c.name);
  char name[sizeof c.name];
  CopyCut(name, newName);
  // A one-letter old name would be found inside every other word.
  if (std::strlen(name) >= 2 && std::strlen(oldName) >= 2 && strnlen(c.description, sizeof c.description) > 1)
    ReplaceAll(c.description, sizeof c.description, oldName, name);
  CopyCut(c.name, name);
  return true;
}

bool StoreCreatureBackground(int creature, const char* text) {
  if (!IsValidCreature(creature) || text == nullptr || text[0] == '\0') return false;
  CopyCut(Creatures[creature].description, text);
  return true;
}
