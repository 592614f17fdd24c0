#include "startmaker/start_builder.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "common/tool_files.h"
#include "creatures/control_tendencies.h"
#include "creatures/create_creature.h"
#include "creatures/creature_kinds.h"
#include "creatures/creature_treasure.h"
#include "creatures/magic_item_names.h"
#include "engine/random.h"
#include "frontend/creature_roster.h"
#include "party/creation_rules.h"
#include "party/new_characters.h"
#include "party/party_start.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/formation.h"
#include "rules/free_item_slot.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "rules/spell_slots.h"
#include "tablemaker/tablemaker.h"

namespace {

template <typename Row>
void DecodeRows(const std::vector<uint8_t>& image, Row* rows, int count, int rowBytes,
                void (*decode)(const uint8_t*, Row*)) {
  for (int r = 0; r < count; ++r) {
    if (static_cast<size_t>(r + 1) * static_cast<size_t>(rowBytes) > image.size()) {
      std::memset(static_cast<void*>(&rows[r]), 0, sizeof rows[r]);
      continue;
    }
    decode(image.data() + static_cast<size_t>(r) * static_cast<size_t>(rowBytes), &rows[r]);
  }
}

void CopyText(char* to, size_t size, const std::string& text) {
  std::memset(to, 0, size);
  std::memcpy(to, text.data(), std::min(text.size(), size - 1));
}

// A magic item of a copied prepared row: masterwork, priced and named as
// generated magic items are.
void Enchant(int row, int enhancement) {
  if (enhancement == 0) return;
  CraftedWeaponRecord& item = CraftedWeapons[row];
  item.masterwork = 1;
  item.enhancement = enhancement;
  if (item.itemType <= kLastWeaponOption) {
    item.price += 300 + enhancement * enhancement * 2000;
  } else {
    if (item.critLow > 0) --item.critLow;  // masterwork eases the armour check penalty
    item.price += 150 + enhancement * enhancement * 1000;
  }
  BuildMagicItemName(row);
}

// A copy of a prepared row in a free crafted row: the party's rows from 1,
// everyone else's among the generated rows, as creature generation makes
// them. -1 when no row is free.
int CopyPreparedRow(int preparedRow, int enhancement, bool party) {
  int row = -1;
  if (party) {
    row = FindFreeItemSlot();
    if (row >= 0) std::memcpy(&CraftedWeapons[row], &CraftedWeapons[preparedRow], sizeof CraftedWeapons[row]);
  } else {
    row = MakeGeneratedItem(preparedRow - (kFirstPreparedItemRow - 1));
  }
  if (row >= 0) Enchant(row, enhancement);
  return row;
}

// A feat the source gives: a flag held once (one the class or kind gave
// already stays 1), Toughness a count that each gift adds to.
void GiveFeat(CreatureRecord* c, int feat) { c->feats[feat] = feat == kFeatToughness ? c->feats[feat] + 1 : 1; }

// The starting state of a party member, as the party set-up makes a created
// character ready to play: the class's base values and granted feats, the
// hit points of its first level, the body of a medium human, the party's side.
void BuildPartyMember(const StartCreature& s) {
  CreatureRecord& c = Creatures[s.id];
  std::memset(&c, 0, sizeof c);
  c.gender = s.gender == 0 ? kGenderMale : s.gender;
  c.creatureClass = s.creatureClass;
  c.kind = s.race;
  c.figure = PartyFigure(s.colour, s.creatureClass, c.gender);
  c.alignment = 1;
  c.level = 1;
  c.effectiveLevel = 1;
  for (int a = 0; a < kAbilityCount; ++a) BaseAbility(s.id, a) = s.abilities[a];
  SetClassBaseValues(s.id);
  ResetCreatureFeats(s.id);
  for (int feat : s.feats) GiveFeat(&c, feat);
  SetOutMemberBody(s.id, true);
  for (int spell : s.spells) c.knownSpells[spell] = 1;
  if (s.creatureClass == kClassWizard || s.creatureClass == kClassCleric)
    SetSpellSlotsByLevel(1, s.id, s.creatureClass == kClassWizard ? 1 : 0, 1);
}

void BuildGeneratedCreature(const StartCreature& s) {
  CreateCreature(s.map, s.x, s.y, s.id, s.kind, s.creatureClass, s.extraLevels, s.abilityBoost,
                 s.allegiance == kAllegianceParty || s.allegiance == kAllegianceAllyOther ? 1 : 0, s.metamagic,
                 s.castingStyle, s.defensiveStyle, s.weapons[0], s.weapons[1], s.weapons[2]);
  CreatureRecord& c = Creatures[s.id];
  if (s.hasAbilities)
    for (int a = 0; a < kAbilityCount; ++a) BaseAbility(s.id, a) = s.abilities[a];
  for (int feat : s.feats) GiveFeat(&c, feat);
  for (int spell : s.spells) c.knownSpells[spell] = 1;
  if (s.challengeRating >= 0) c.challengeRating = s.challengeRating;
  // Carried items of the source take the place of the treasure drawn.
  bool carries = false;
  for (const StartItem& item : s.items) carries |= item.place == 0;
  if (carries)
    for (ItemPair& pair : c.carried) pair = {0, 0};
}

// Everything the source sets on any creature, after it is built.
void ApplyCommonFields(const StartCreature& s, std::vector<std::string>* errors) {
  CreatureRecord& c = Creatures[s.id];
  CopyText(c.name, sizeof c.name, s.name);
  CopyText(c.description, sizeof c.description, s.text);
  CopyText(c.tag, sizeof c.tag, s.tag);
  c.map = s.map;
  c.squareX = c.nextX = s.x;
  c.squareY = c.nextY = s.y;
  c.pixelX = s.x * 24;
  c.pixelY = s.y * 24;
  c.destinationX = c.destinationY = -1;
  if (s.facing != 0) c.facing = s.facing;
  if (s.alignment != 0) c.alignment = s.alignment;
  if (s.gender != 0) c.gender = s.gender;
  if (s.figure != 0) c.figure = s.figure;
  if (s.sight >= 0) c.sight = s.sight;
  if (s.allegiance != 0) c.allegiance = s.allegiance;
  if (s.absent) c.present = 0;
  c.scriptWords[kScriptWordDeathScript] = s.deathScript;
  c.group = s.group;
  c.leader = s.leader;
  c.experience = s.experience;
  for (const StartItem& item : s.items) {
    uint32_t code = static_cast<uint32_t>(item.code);
    if (item.preparedRow >= 0) {
      const int row = CopyPreparedRow(item.preparedRow, item.enhancement, s.party);
      if (row < 0) {
        errors->push_back(s.file + ":" + std::to_string(item.line) + ": no crafted row is free for this item");
        continue;
      }
      code = static_cast<uint32_t>(row);
    }
    if (item.place >= kSlotHead && item.place <= kSlotRanged) {
      c.equipment[item.place - 1] = code;
    } else if (item.place == kSlotAmmunition) {
      c.ammunition = {code, item.count};
    } else {
      ItemPair* free = nullptr;
      for (ItemPair& pair : c.carried)
        if (pair.code == 0) {
          free = &pair;
          break;
        }
      if (!free) {
        errors->push_back(s.file + ":" + std::to_string(item.line) + ": every carried place is taken");
        continue;
      }
      *free = {code, item.count};
    }
  }
}

}  // namespace

std::optional<StartTables> InstallStartTables(const std::string& folder, std::vector<std::string>* errors) {
  const size_t before = errors->size();
  auto compiled = [&](const char* table) {
    const std::string path = (std::filesystem::path(folder) / (std::string(table) + ".txt")).string();
    std::string text;
    if (!ReadSourceFile(path, &text)) {
      errors->push_back(path + ": cannot be read");
      return std::vector<uint8_t>();
    }
    TableResult result = CompileTable(*FindSchema(table), path, text);
    errors->insert(errors->end(), result.errors.begin(), result.errors.end());
    return std::move(result.image);
  };
  const std::vector<uint8_t> items = compiled("items"), spells = compiled("spells"), crafted = compiled("crafted");
  if (errors->size() != before) return std::nullopt;
  DecodeRows(items, ItemTable, kItemRows, kItemRowBytes, DecodeItemRow);
  DecodeRows(spells, SpellTable, kSpellRows, kSpellRowBytes, DecodeSpellRow);
  DecodeRows(crafted, CraftedWeapons, kCraftedRows, kCraftedRowBytes, DecodeCraftedRow);
  StartTables tables;
  tables.crafted_.assign(CraftedWeapons, CraftedWeapons + kCraftedRows);
  return tables;
}

void BuildStart(const StartTables& tables, const StartSource& source, uint32_t seed, std::vector<std::string>* errors) {
  SeedRandomForTests(seed);
  std::memset(static_cast<void*>(Creatures), 0, sizeof Creatures);
  // Every build starts from the crafted table as installed, so that a build
  // made after another in the same run gives the same rows.
  std::copy(tables.Crafted().begin(), tables.Crafted().end(), CraftedWeapons);
  for (const StartCraftedRow& r : source.rows) {
    CraftedWeaponRecord& row = CraftedWeapons[r.row];
    std::memcpy(&row, &CraftedWeapons[r.preparedRow], sizeof row);
    row.owned = 1;
    Enchant(r.row, r.enhancement);
    if (!r.name.empty()) CopyText(row.name, sizeof row.name, r.name);
    if (!r.text.empty()) CopyText(row.description, sizeof row.description, r.text);
  }
  // Party members first, so that their items take the first crafted rows.
  for (int pass = 0; pass < 2; ++pass)
    for (const StartCreature& s : source.creatures) {
      if (s.party != (pass == 0)) continue;
      if (s.party)
        BuildPartyMember(s);
      else
        BuildGeneratedCreature(s);
      ApplyCommonFields(s, errors);
      RecomputeCreature(s.id, 1);
      if (s.hitPoints > 0) {
        Creatures[s.id].baseHitPoints = s.hitPoints;
        Creatures[s.id].hitPoints = s.hitPoints;
        RecomputeCreature(s.id, 1);
      }
    }
  SetPartyLine();
  SetPartyAiTendencies();
}

void PackStartFiles(std::vector<uint8_t>* roster, std::vector<uint8_t>* crafted) {
  PackCreatureRoster(roster);
  // The crafted table is written raw, as the saved games write it.
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(CraftedWeapons);
  crafted->assign(bytes, bytes + sizeof CraftedWeapons);
}

void CheckStartFiles(const std::vector<uint8_t>& roster, const std::vector<uint8_t>& crafted,
                     std::vector<std::string>* errors) {
  if (RosterRecordCount(roster.size()) < 0) {
    errors->push_back("SaveChar.cml: the roster has a size the game does not read");
  } else {
    const int creature = FirstUnfitRosterRecord(roster.data(), roster.size());
    if (creature >= 0)
      errors->push_back("SaveChar.cml: creature " + std::to_string(creature) +
                        " holds a value out of range: the game would refuse the start");
  }
  const int row = crafted.size() == sizeof CraftedWeapons ? FirstUnfitCraftedRow(crafted.data()) : 0;
  if (row >= 0)
    errors->push_back("SaveWeapon.wml: crafted row " + std::to_string(row) +
                      " holds a value out of range: the game would refuse the start");
}
