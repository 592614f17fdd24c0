// The row of the spells the acting party member cast last, under its action
// list: a click casts one again with the metamagic it had, a right click
// opens its help page; a spell that cannot be cast now is marked.
#include "combat/actions/cursor_checks.h"
#include "combat/resolution/spell_keywords.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "party/page_controls.h"
#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "screens/character/spell_icons.h"
#include "screens/game/action_menu.h"
#include "screens/game/action_state.h"
#include "screens/game/frame_words.h"
#include "screens/game/panel_sections.h"
#include "screens/game/sounds_and_music.h"
#include "screens/game/view_window.h"
#include "state/game_screen_words.h"
#include "state/panel_buttons.h"

namespace {

constexpr uint32_t kGrey = 0xFF969696u, kWhite = 0xFFFFFFFFu;
constexpr int kOneSpellMark = 303, kSeparatorLeft = 304, kSeparatorRight = 305, kBlockedMark = 429;
constexpr int kClickSound = 28;
constexpr int32_t kCursorCast = 16, kCursorRefused = 18;
constexpr const char* kMetamagicMarks[7] = {"", "M", "E", "W", "H", "Si", "St"};


void DrawSeparators(const RecentSpellPair (&pairs)[kRecentSpells], int row) {
  int set = 0;
  for (const RecentSpellPair& p : pairs) set += RecentSpellShown(p) ? 1 : 0;
  if (set == 1) {
    DrawFigureIcon(-3, -3, kOneSpellMark, 23, row, kGrey, 0);
    return;
  }
  for (int k = 1; k < kRecentSpells; ++k) {
    if (!RecentSpellShown(pairs[k])) continue;
    DrawFigureIcon(-3, -3, kSeparatorLeft, 21 + 2 * k, row, kGrey, 0);
    DrawFigureIcon(-3, -3, kSeparatorRight, 23 + 2 * k, row, kGrey, 0);
  }
}

// One icon of the row; true when a cast or a help page ended the frame.
bool DrawRecentSpell(int member, const RecentSpellPair& pair, int k, int count) {
  const int row = count + 2, column = 23 + 2 * k, x = 186 + 16 * k;
  const int32_t spell = pair.spell, metamagic = pair.metamagic;
  const bool on = RecentSpellIconBox(count, k).HoldsMouse();
  if (on) {
    CapitaliseWords(CursorHint, SpellKeywordShort(spell), 1);
    if (ButtonPressed(1)) {
      PlayChannelSound(kFirstFreeChannelA, kClickSound, 0, 1, 0, 100);
      OpenHelpTopicOverGame(SpellKeywordFull(spell), SpellHelpPage(spell));
      return true;
    }
  }
  DrawFigureIcon(-2, -2, SpellIconTable[spell], column, row, on ? kGrey : kWhite, 1);
  if (metamagic >= 1 && metamagic <= 6)
    DrawTextAt(kDefaultColour, 2, x, kMetamagicMarks[metamagic], 0, 0, 0, 0, 8 * count + 18, 0, 0);
  if (IsSpellcastingBlocked(member, spell, metamagic, 0, 0)) {
    DrawFigureIcon(-2, -2, kBlockedMark, column, row, kWhite, 0);
    if (on) CursorShape = kCursorRefused;
    return false;
  }
  if (!on) return false;
  CursorShape = kCursorCast;
  if (!ButtonPressed(0)) return false;
  PlayChannelSound(kFirstFreeChannelA, kClickSound, 0, 1, 0, 100);
  SpellInProgress = spell;
  PendingMetamagic = metamagic;
  LatchButton(0);
  CastStarted = 1;
  HoveredFighterSlot = -1;
  SpellCaster = member;
  ScreenMode = kModeCastStart;
  return true;
}

}  // namespace

bool DrawRecentSpellRow() {
  if (!ActionPanelShown() || RecentSpellRowShown != 1) return false;
  const int member = CurrentFighter();
  if (member < 0 || member >= 4 || Creatures[member].allegiance != kAllegianceParty) {
    RecentSpellRowShown = 0;
    return false;
  }
  // The row keeps the 320x240 layout in the large window.
  const uint8_t scale = MapScaleSwitch;
  MapScaleSwitch = 0;
  const RecentSpellPair (&pairs)[kRecentSpells] = RecentSpells[member];
  const int count = static_cast<int>(ActionMenuList.count);
  DrawSeparators(pairs, count + 2);
  for (int k = 0; k < kRecentSpells; ++k) {
    if (!RecentSpellShown(pairs[k]) || !DrawRecentSpell(member, pairs[k], k, count)) continue;
    EndSprite();
    return true;
  }
  MapScaleSwitch = scale;
  return false;
}
