// Building an adventure's prepared start from its read sources, in the
// game's own tables and with the game's own routines: the party members as
// created characters ready to play, the other creatures through creature
// generation, the crafted items copied from their prepared rows.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rules/item_tables.h"
#include "startmaker/start_source.h"

// The seed every build of a start draws with: the same start every build.
constexpr uint32_t kStartSeed = 20240601;

// The tables a start is built on, as installed: the crafted table every
// build starts from. Only InstallStartTables makes them, so that no build
// runs on tables that were never installed.
class StartTables {
 public:
  const std::vector<CraftedWeaponRecord>& Crafted() const { return crafted_; }

 private:
  friend std::optional<StartTables> InstallStartTables(const std::string& folder, std::vector<std::string>* errors);
  StartTables() = default;
  std::vector<CraftedWeaponRecord> crafted_;
};

// Compiles the three table sources of a folder (items.txt, spells.txt and
// crafted.txt) with the table compiler and loads the tables from them (the
// names a start's sources use are looked up there); none, the tables as they
// were, with the faults in *errors.
std::optional<StartTables> InstallStartTables(const std::string& folder, std::vector<std::string>* errors);

// Builds every creature and crafted row of the source into the creature and
// crafted tables (the creature table emptied first, the crafted table as
// `tables` hold it; the random generator seeded with `seed`, so that a build
// repeats, also after another in the same run). Faults that only the build
// finds (no free crafted row, a full carried list) go to *errors.
void BuildStart(const StartTables& tables, const StartSource& source, uint32_t seed, std::vector<std::string>* errors);

// The two files of save folder 0, as the game reads them: the creature
// roster "SaveChar.cml" and the crafted table "SaveWeapon.wml".
void PackStartFiles(std::vector<uint8_t>* roster, std::vector<uint8_t>* crafted);

// The game's own load checks on the two files: a fault for the roster when
// its size is not a roster's or a creature's values do not fit, and for the
// crafted table when a row's values do not fit (the load would refuse them).
void CheckStartFiles(const std::vector<uint8_t>& roster, const std::vector<uint8_t>& crafted,
                     std::vector<std::string>* errors);
