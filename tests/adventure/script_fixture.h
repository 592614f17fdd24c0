// Scripts written as text for the script tests: compiled with the script
// compiler's reader, loaded as the game's list and run, on a small drawn map
// with the party of four on it.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "adventure/dialogue.h"
#include "adventure/script_faults.h"
#include "adventure/script_file.h"
#include "frontend/game_reset.h"
#include "map/map_fixture.h"
#include "engine/reset_words.h"
#include "engine/settings.h"
#include "map/map_record.h"
#include "map/square_grids.h"
#include "rules/item_tables.h"
#include "scriptmaker/script_source.h"
#include "state/game_progress.h"

namespace scriptfixture {

// Compiles the source and makes it the loaded list (replacing any other).
inline void Load(const std::string& source) {
  const ScriptSourceResult compiled = CompileScriptSource("test.txt", source, {});
  std::string faults;
  for (const std::string& e : compiled.errors) faults += e + "\n";
  ASSERT_TRUE(compiled.ok) << faults;
  FreeScript();
  ASSERT_EQ(ParseScriptBytes(compiled.bytes.data(), compiled.bytes.size(), &GameScript.head,
                             &GameScript.commandCount),
            kScriptLoaded);
}

// Compiles, loads and runs the source; RunScriptFile's result.
inline int RunSource(const std::string& source) {
  Load(source);
  return RunScriptFile(nullptr);
}

// The answers the next dialogue boxes get, in order.
inline void Answer(std::initializer_list<int32_t> answers) {
  QueuedDialogueAnswerCount = 0;
  for (int32_t a : answers) QueuedDialogueAnswers[QueuedDialogueAnswerCount++] = a;
}

// A base item row of the given kind (its code is 5,000 + row).
inline uint32_t MakeBaseItem(int row, int32_t kind, const char* name) {
  ItemRecord& item = ItemTable[row];
  std::memset(&item, 0, sizeof item);
  std::snprintf(item.name, sizeof item.name, "%s", name);
  item.baseType = kind;
  return kFirstBaseItemCode + static_cast<uint32_t>(row);
}

class ScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The installation's settings are no part of a game: a test that sets
    // one (Ironman mode) gives it back.
    std::memcpy(keptOptions_, OptionWords, sizeof keptOptions_);
    keptPartiesStarted_ = PartiesStartedCount;
    ResetGameState();
    // The crafted items are the game's own (a new game reads its start's):
    // none are left by the test before.
    ResetWords(CraftedWeapons);
    FreeScript();
    QueuedDialogueAnswerCount = 0;
    std::snprintf(AdventureFolder, sizeof AdventureFolder, "Tests");
    mapfixture::DrawMap({"..........", "..........", "...####...", "..........", "..........", ".........."});
    CurrentMapNumber = 5;
    CurrentMap.scriptMapNumber = 5;
    StoredMaps[5] = CurrentMap;
    for (int m = 0; m < 4; ++m) {
      mapfixture::PlaceFighter(m, 1 + m, 4);
      CreatureRecord& c = Creatures[m];
      std::snprintf(c.name, sizeof c.name, "Member%i", m);
      c.map = 5;
      c.allegiance = kAllegianceParty;
      c.level = 3 + m;
      c.maxHitPoints = 20;
      c.hitPoints = 20;
      c.facing = 1;
    }
    BuildOccupancyGrids(-1);
  }
  void TearDown() override {
    FreeScript();
    std::memcpy(OptionWords, keptOptions_, sizeof keptOptions_);
    PartiesStartedCount = keptPartiesStarted_;
  }

 private:
  int32_t keptOptions_[kOptionWordCount] = {};
  uint32_t keptPartiesStarted_ = 0;
};

}  // namespace scriptfixture
