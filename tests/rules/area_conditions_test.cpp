// The conditions of silence and the insect plague.
#include "rules/area_conditions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/message_log.h"
#include "map/map_fixture.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "state/combat_events.h"
#include "state/turn_order.h"

namespace {

TEST(AreaConditions, SilenceAndPlagueChangeOnlyOnce) {
  FighterCount = 0;
  mapfixture::PlaceFighter(21, 0, 0);
  CreatureRecord& c = Creatures[21];
  std::strcpy(c.name, "Orc");
  // A living fighter in a battle: the view's scroll to the creature
  // recomputes it, and out of combat the area's conditions would pass.
  InCombat = 1;
  for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
    *p = {10, 10};
  c.level = 1;
  c.hitPoints = c.maxHitPoints = c.baseHitPoints = 10;
  ClearMessageLog();
  EXPECT_TRUE(ApplySilenced(21, 1, nullptr));
  EXPECT_NE(std::string(MessageLogText).find("\xA3Orc\xA3 is @SILENCED@."), std::string::npos);
  ClearMessageLog();
  EXPECT_FALSE(ApplySilenced(21, 1, nullptr));
  EXPECT_STREQ(MessageLogText, "");

  // A full condition list: the plague still logs, bites and shows.
  for (int i = 0; i < kConditionSlots; ++i) c.conditions[i] = {200, kDurationLasting, 5, 0, 0};
  EXPECT_TRUE(ApplyPlagued(21, 1, nullptr));
  EXPECT_EQ(c.hitPoints, 9);
  EXPECT_EQ(CombatEvents[0].type, 1);
  std::memset(c.conditions, 0, sizeof c.conditions);
  EXPECT_TRUE(ApplyPlagued(21, 1, nullptr));
  EXPECT_FALSE(ApplyPlagued(21, 1, nullptr));
  EXPECT_EQ(c.hitPoints, 8) << "a plagued creature loses no further point";
  EXPECT_TRUE(ReleasePlague(21, nullptr));
  EXPECT_EQ(CombatEvents[0].type, 46);
  InCombat = 0;
}

}  // namespace
