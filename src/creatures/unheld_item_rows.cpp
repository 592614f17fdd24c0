#include "creatures/unheld_item_rows.h"

#include <bitset>
#include <cstdint>
#include <cstring>

#include "creatures/creature_treasure.h"
#include "map/map_record.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/fighter_slots.h"

namespace {

constexpr int kGeneratedRows = kLastGeneratedItemRow - kFirstGeneratedItemRow + 1;

class HeldRows {
 public:
  void Note(uint32_t code) {
    if (IsGeneratedItemRow(code)) held_.set(code - kFirstGeneratedItemRow);
  }
  void NoteFloor(const MapRecord& map) {
    for (int layer = kLayerObjects0; layer <= kLayerObjects3; ++layer)
      for (int32_t code : map.layers[layer]) Note(static_cast<uint32_t>(code));
  }
  bool Held(int row) const { return held_[row - kFirstGeneratedItemRow]; }

 private:
  std::bitset<kGeneratedRows> held_;
};

int makings = 0;          // makings under way, one inside another
bool everyRowHeld = false;  // a look of this making freed nothing, and nothing let go since
int looks = 0;

}  // namespace

int ReleaseUnheldGeneratedItems() {
  ++looks;
  HeldRows rows;
  for (const CreatureRecord& c : Creatures) {
    for (uint32_t code : c.equipment) rows.Note(code);
    rows.Note(c.ammunition.code);
    for (const ItemPair& p : c.carried) rows.Note(p.code);
  }
  for (const FighterSlot& s : FighterSlots) {
    if (s.savedForm.saved != 1) continue;
    for (uint32_t code : s.savedForm.equipment) rows.Note(code);
    rows.Note(static_cast<uint32_t>(s.savedForm.ammunition[0]));
  }
  // Every stored map is asked, the current one's stale copy too.
  rows.NoteFloor(CurrentMap);
  for (const MapRecord& map : StoredMaps) rows.NoteFloor(map);
  rows.NoteFloor(WorldMap);

  int released = 0;
  for (int row = kFirstGeneratedItemRow; row <= kLastGeneratedItemRow; ++row) {
    CraftedWeaponRecord& item = CraftedWeapons[row];
    if (rows.Held(row) || item.name[0] == '\0') continue;
    std::memset(&item, 0, sizeof item);
    ++released;
  }
  everyRowHeld = released == 0;
  return released;
}

CreatureMaking::CreatureMaking() {
  if (makings++ == 0) everyRowHeld = false;
}

CreatureMaking::~CreatureMaking() { --makings; }

int ReleaseUnheldRowsForNewItem() {
  if (makings > 0 && everyRowHeld) return 0;
  return ReleaseUnheldGeneratedItems();
}

void NoteGeneratedItemsLetGo() { everyRowHeld = false; }

int GeneratedRowLooks() { return looks; }
