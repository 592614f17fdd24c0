#include "combat/actions/cursor_checks.h"

#include <algorithm>

#include "engine/widgets.h"
#include "map/map_record.h"
#include "rules/item_tables.h"
#include "engine/game_screen_state.h"
#include "state/game_screen_words.h"
#include "state/map_view_state.h"
#include "state/panel_buttons.h"

unsigned char RecentSpellRowShown = 0;

void ClampMapCursor() {
  MapCursorX = std::max(0, std::min(MapCursorX, CurrentMap.width - 1));
  MapCursorY = std::max(0, std::min(MapCursorY, CurrentMap.height - 1));
}

bool RecentSpellShown(const RecentSpellPair& pair) {
  return pair.spell >= 0 && pair.spell < kSpellRows && pair.metamagic != -1;
}

bool HitTestPanelRows(int creature) {
  if (!RecentSpellRowShown || creature < 0 || creature > 3) return false;
  const int entries = static_cast<int>(std::min<uint32_t>(ActionList.count, kActionListSize));
  for (int k = 0; k < kRecentSpells; ++k)
    if (RecentSpellShown(RecentSpells[creature][k]) && RecentSpellIconBox(entries, k).HoldsMouse()) return true;
  return false;
}

void ResetCursorChecksState() {
  RecentSpellRowShown = 0;
}
