// Walking out of combat: the leader's walk to a door it opens on arrival, a
// group leaving the map at its destination, and a wanderer's choice of where
// it sees most that is new.
#include "combat/actions/walking.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <utility>

#include "combat/actions/action_executor.h"
#include "engine/frame.h"
#include "frontend/game_reset.h"
#include "map/map_fixture.h"
#include "map/party_walk.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/formation.h"
#include "state/party_leader.h"

namespace {

constexpr int kLeader = 0, kRunner = 10, kTagAlong = 11;

class Walking : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    ScreenMode = kModeExploring;
    mapfixture::DrawMap({"..........", "..........", "......+...", ".........."});
  }
  static void Place(int id, int x, int y) {
    mapfixture::PlaceFighter(id, x, y);
    Creatures[id].pixelX = x * 24;
    Creatures[id].pixelY = y * 24;
    Creatures[id].destinationX = Creatures[id].destinationY = -1;
    FighterSlots[Creatures[id].fighterSlot].pathIndex = -1;
  }
  static int Walk(const std::function<bool()>& done, int limit = 600) {
    int frames = 0;
    while (frames < limit && !done()) {
      mapfixture::StepCamera();
      ExecuteCombatAction();
      ++frames;
    }
    return frames;
  }
};

TEST_F(Walking, TheLeaderWalksToTheDoorAndOpensItOnArrival) {
  PartyLeader = kLeader;
  Place(kLeader, 1, 2);
  BuildOccupancyGrids(kLeader);
  ASSERT_EQ(FindCreaturePath(kLeader, 1, 2, 5, 2, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  PartyWalking[kWalkToOpenDoor] = 1;
  PartyWalkSquare[kWalkToOpenDoor] = {6, 2};
  const int frames = Walk([] { return Creatures[kLeader].destinationX == -1; });
  EXPECT_EQ(frames, 4 * 12 + 1);  // 24 pixels at 2 a frame per square, arrival on the next call
  EXPECT_EQ(Creatures[kLeader].squareX, 5);
  EXPECT_EQ(CurrentMap.At(kLayerWalls, 6, 2), 0);
  EXPECT_EQ(PartyWalking[kWalkToOpenDoor], 0);
}

TEST_F(Walking, APileReachedIsGivenToAPresentMemberNeverToOneWhoHasFallen) {
  // The leader, Polymorphed, walks to arrows beside the third member; the
  // second lies fallen far off.
  PartyLeader = kLeader;
  Place(kLeader, 1, 2);
  Place(1, 9, 0);
  Creatures[1].present = 0;
  Place(2, 6, 3);
  Place(3, 9, 3);
  Creatures[3].present = 0;
  AddCondition(kLeader, kCondPolymorphed, 10, 0, 18, 0);
  CurrentMap.At(kLayerObjects0, 6, 2) = 5001;
  BuildOccupancyGrids(kLeader);
  ASSERT_EQ(FindCreaturePath(kLeader, 1, 2, 5, 2, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  PendingPickUp = PendingPickUpWords{1, -1, 6, 2, 0, 5001};
  Walk([] { return Creatures[kLeader].destinationX == -1; });
  EXPECT_EQ(Creatures[2].carried[0].code, 5001u);
  EXPECT_EQ(Creatures[1].carried[0].code, 0u);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 6, 2), 0);
}

TEST_F(Walking, APartyMemberLeftUnawareByABattleIsAwareAgainOnItsFirstStep) {
  PartyLeader = kLeader;
  Place(kLeader, 1, 0);
  Place(kRunner, 1, 3);
  FighterSlots[Creatures[kLeader].fighterSlot].alert = 0;
  FighterSlots[Creatures[kRunner].fighterSlot].alert = 0;
  BuildOccupancyGrids(kLeader);
  ASSERT_EQ(FindCreaturePath(kLeader, 1, 0, 3, 0, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  ASSERT_EQ(FindCreaturePath(kRunner, 1, 3, 3, 3, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  Walk([] { return Creatures[kLeader].squareX == 2; });
  EXPECT_EQ(FighterSlots[Creatures[kLeader].fighterSlot].alert, 1);
  EXPECT_EQ(FighterSlots[Creatures[kRunner].fighterSlot].alert, 0);  // only the party's own
}

TEST_F(Walking, ACreatureLeavingAtItsDestinationTakesItsFollowersAlong) {
  Place(kRunner, 1, 0);
  Place(kTagAlong, 0, 0);
  Creatures[kRunner].group = 4;
  Creatures[kRunner].leader = kRunner;
  Creatures[kTagAlong].leader = kRunner;
  Creatures[kTagAlong].formationX = -1;
  Creatures[kTagAlong].formationWords[kHoldFlagWord] = 1;  // holds its place
  BuildOccupancyGrids(kRunner);
  ASSERT_EQ(FindCreaturePath(kRunner, 1, 0, 3, 0, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  Walk([] { return Creatures[kRunner].present == 0; });
  EXPECT_EQ(Creatures[kRunner].squareX, 3);
  EXPECT_EQ(Creatures[kTagAlong].present, 0);
}

TEST_F(Walking, AWandererStepsWhereItWouldSeeMostThatIsNew) {
  mapfixture::DrawMap({"#########", "#.......#", "#.......#", "#########"});
  Place(kRunner, 4, 1);
  Creatures[kRunner].group = 2;
  Creatures[kRunner].sight = 10;  // two squares
  BuildOccupancyGrids(kRunner);
  FighterSlot& s = FighterSlots[Creatures[kRunner].fighterSlot];
  // Everything east of it explored already: the new squares lie west.
  for (int x = 4; x < 9; ++x)
    for (int y = 0; y < 4; ++y) s.secondGrid[SquareIndex(x, y)] = 1;
  EXPECT_GT(CountNewlySeenSquares(3, 1, kRunner), CountNewlySeenSquares(5, 1, kRunner));
  EXPECT_EQ(Creatures[kRunner].squareX, 4);  // only asked
  ASSERT_TRUE(ExploreStep(kRunner));
  EXPECT_EQ(Creatures[kRunner].destinationX, 3);
  // The explore-reset flag makes it forget and wait instead.
  s.gridFlag = 1;
  EXPECT_FALSE(ExploreStep(kRunner));
  EXPECT_EQ(s.secondGrid[SquareIndex(5, 1)], 0);
  EXPECT_GE(Creatures[kRunner].waypointValue, 101);
  EXPECT_LE(Creatures[kRunner].waypointValue, 300);
}

// A group as the adventure writes it: followers of one leader with no
// formation offset of their own all head for the leader's square. Out of
// combat they gather near it (those behind stop short of the ones ahead)
// without two of them coming to rest on one square, whether the leader
// stands or walks.
TEST_F(Walking, FollowersWithoutAnOffsetGatherRoundTheirLeaderWithoutSharingASquare) {
  mapfixture::DrawMap({"..............", "..............", "..............", "..............",
                       ".............."});
  for (int m = 0; m < 4; ++m) Place(m, 0, 0);  // the party, out of the way
  PartyLeader = kLeader;
  const int leader = 14, followers[] = {15, 16, 17};
  Place(leader, 6, 2);
  Creatures[leader].leader = leader;
  const int starts[][2] = {{9, 2}, {12, 4}, {3, 0}};
  for (int i = 0; i < 3; ++i) {
    Place(followers[i], starts[i][0], starts[i][1]);
    Creatures[followers[i]].leader = leader;
  }
  BuildOccupancyGrids(leader);
  const auto shared = [&] {
    std::set<std::pair<int, int>> squares;
    for (int id : {leader, 15, 16, 17})
      if (!squares.insert({Creatures[id].squareX, Creatures[id].squareY}).second) return true;
    return false;
  };
  // While the leader stands, no step of theirs ever ends on a held square;
  // a leader walking on may pass through its own, but they part again.
  const auto check = [&](const char* when, bool everyFrame) {
    for (int frame = 0; frame < 400; ++frame) {
      mapfixture::StepCamera();
      ExecuteCombatAction();
      if (everyFrame) {
        ASSERT_FALSE(shared()) << when << ", frame " << frame;
      }
    }
    EXPECT_FALSE(shared()) << when;
    for (int id : followers) {
      EXPECT_LE(std::abs(Creatures[id].squareX - Creatures[leader].squareX), 3) << when << " " << id;
      EXPECT_LE(std::abs(Creatures[id].squareY - Creatures[leader].squareY), 3) << when << " " << id;
    }
  };
  check("leader standing", true);
  ASSERT_EQ(FindCreaturePath(leader, 6, 2, 11, 3, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  check("leader walking", false);
  EXPECT_EQ(Creatures[leader].squareX, 11);
}

// Down a corridor one square wide the member whose place is straight behind
// the leader keeps one square behind it all along (the square the leader
// steps off is its place), and the two whose places are walls, sent toward
// the leader's square, queue behind: once the party stands still no member
// stands on another's square.
TEST_F(Walking, MembersWhosePlacesAreWallsQueueBehindTheLeaderInACorridor) {
  mapfixture::DrawMap({"##############", "..............", "##############"});
  PartyLeader = kLeader;
  Place(kLeader, 3, 1);
  Place(2, 2, 1);  // its place: straight behind
  Place(1, 1, 1);
  Place(3, 0, 1);
  SetPartyLine();
  Creatures[kLeader].facing = 3;
  BuildOccupancyGrids(kLeader);
  ASSERT_EQ(FindCreaturePath(kLeader, 3, 1, 11, 1, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  const auto still = [] {
    for (int m = 0; m < 4; ++m)
      if (FighterSlots[Creatures[m].fighterSlot].pathIndex != -1 || Creatures[m].pixelX != 24 * Creatures[m].squareX)
        return false;
    return true;
  };
  int farthestBehind = 0;
  Walk([&] {
    farthestBehind = std::max(farthestBehind, Creatures[kLeader].squareX - Creatures[2].squareX);
    return Creatures[kLeader].squareX == 11 && still();
  });
  EXPECT_LE(farthestBehind, 1);
  std::set<int> behind;
  for (int m = 1; m < 4; ++m) behind.insert(Creatures[m].squareX);
  EXPECT_EQ(Creatures[kLeader].squareX, 11);
  EXPECT_EQ(behind, (std::set<int>{8, 9, 10}));
}

}  // namespace
