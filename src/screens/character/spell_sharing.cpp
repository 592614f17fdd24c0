// The frame of the spell pages, casting from them and the sharing of known spells between the
// party's casters of one class.
#include <cstring>

#include "engine/frame.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/widgets.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "screens/character/page_kit.h"
#include "screens/character/spell_book.h"
#include "screens/game/click_results.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"

namespace {

// What a share costs above the spell's own costs, by spell level 1 to 9.
constexpr int32_t kShareGold[9] = {13, 75, 188, 350, 563, 825, 1138, 1500, 1913};
constexpr int32_t kShareExperience[9] = {1, 6, 15, 28, 45, 66, 91, 120, 153};
constexpr int32_t kResultNoGold = 31, kResultNoExperience = 32, kResultNoScribeScroll = 41;

bool SpellRow(int spell) { return spell >= 0 && spell < kSpellRows; }

bool SpellOfABookLevel(int spell) { return SpellRow(spell) && SpellTable[spell].level >= 1 && SpellTable[spell].level <= 9; }

// A present party member other than the sharer, of the sharer's class.
bool IsPartner(int sharer, int member) {
  if (member == sharer) return false;
  const CreatureRecord& m = Creatures[member];
  return m.present == 1 && m.creatureClass == Creatures[sharer].creatureClass;
}

int64_t SpareExperience(const CreatureRecord& c) {
  return static_cast<int64_t>(c.experience) - 500LL * c.level * (c.level - 1);
}

}  // namespace

bool BeginSpellPage(const char* screen, int creature) {
  LastScreenDrawn = screen;
  DrawFramedBox(0, 0, 0);
  ScreenHovered = 0;
  BeginCharacterPage();
  if (IsValidCreature(creature)) return true;
  EndCharacterPage(true);
  return false;
}

void EndSpellPage() {
  DrawHelpNavBar(1, -1);
  if (ScreenHovered == 0) HoverSoundMark = -1;
  EndCharacterPage(false);
}

void StartSpellBookCast(int creature, int spell, int metamagic) {
  PendingMetamagic = metamagic;
  CastStarted = 1;
  CurrentSpell = spell;
  SpellTarget = -1;
  SpellCaster = creature;
  ActingCreature = creature;
  CastingFromItem = 0;
  CastingWand = 0;
  ScreenMode = kModeCastStart;
}

void PushSpellPage(const char* caption, int32_t type, int32_t parameter) {
  PushPage(caption, type, parameter);
  ClickResult.code = -1;
}

void PushSpellHelpPage(int spell) {
  if (!SpellRow(spell)) return;
  PushSpellPage(SpellTable[spell].name, kPageHelpTopic, SpellHelpPage(spell));
}

ShareCost SpellShareCost(int spell) {
  if (!SpellOfABookLevel(spell)) return {0, 0};
  const SpellRecord& s = SpellTable[spell];
  // The costs come from the spell file: worked wide, held to the purse's range.
  int64_t gold = static_cast<int64_t>(s.goldCost) + kShareGold[s.level - 1];
  int64_t experience = static_cast<int64_t>(s.xpCost) + kShareExperience[s.level - 1];
  gold += gold * 10 / 100;
  experience += experience * 10 / 100;
  auto held = [](int64_t v) { return static_cast<int32_t>(v < 0 ? 0 : v > INT32_MAX ? INT32_MAX : v); };
  return {held(gold), held(experience)};
}

bool HasSpellsToExchange(int sharer) {
  if (!IsValidCreature(sharer)) return false;
  const CreatureRecord& c = Creatures[sharer];
  for (int member = 0; member < kPartySize; ++member) {
    if (!IsPartner(sharer, member)) continue;
    for (int s = 0; s < kSpellRows; ++s)
      if (c.knownSpells[s] == 1 && Creatures[member].knownSpells[s] != 1) return true;
  }
  return false;
}

ShareOutcome ShareKnownSpells(int sharer) {
  ShareOutcome out{-1, 0};
  if (!IsValidCreature(sharer)) return out;
  CreatureRecord& c = Creatures[sharer];
  for (int s = 0; s < kSpellRows; ++s) {
    if (c.knownSpells[s] != 1 || !SpellOfABookLevel(s)) continue;
    const int level = SpellTable[s].level;
    for (int member = 0; member < kPartySize; ++member) {
      if (!IsPartner(sharer, member)) continue;
      CreatureRecord& partner = Creatures[member];
      if (partner.knownSpells[s] == 1 || partner.spellsPerDay[level - 1] < 1) continue;
      const ShareCost cost = SpellShareCost(s);
      if (c.feats[kFeatScribeScroll] == 0) {
        out.refusal = kResultNoScribeScroll;
      } else if (PartyGold < static_cast<uint32_t>(cost.gold)) {
        out.refusal = kResultNoGold;
      } else if (SpareExperience(c) < cost.experience) {
        out.refusal = kResultNoExperience;
      } else {
        PartyGold -= static_cast<uint32_t>(cost.gold);
        partner.knownSpells[s] = 1;
        c.experience -= cost.experience;
        ++out.shared;
      }
    }
  }
  return out;
}
