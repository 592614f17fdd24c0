#include "combat/actions/cursor_checks.h"

#include <algorithm>

#include "engine/widgets.h"
#include "map/map_record.h"
#include "engine/game_screen_state.h"
#include "state/game_screen_words.h"
#include "state/map_view_state.h"

unsigned char RecentSpellRowShown = 0;

void ClampMapCursor() {
  MapCursorX = std::max(0, std::min(MapCursorX, CurrentMap.width - 1));
  MapCursorY = std::max(0, std::min(MapCursorY, CurrentMap.height - 1));
}

bool HitTestPanelRows(int creature) {
  if (!RecentSpellRowShown || creature < 0 || creature > 3) return false;
  const int top = 8 * static_cast<int>(std::min<uint32_t>(ActionList.count, kActionListSize)) + 16;
  for (int k = 0; k < kRecentSpells; ++k) {
    if (RecentSpells[creature][k].spell == -1) break;
    if (MouseInRect(top, 184 + 16 * k, 16, 18)) return true;
  }
  return false;
}

void ResetCursorChecksState() {
  RecentSpellRowShown = 0;
}
