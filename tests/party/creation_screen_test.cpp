// The creation page driven by the player's clicks and keys.
#include "party_fixture.h"

namespace {

using partytest::PartyPages;

TEST_F(PartyPages, TheFirstMemberIsShown) {
  ShowCreation(0);
  Settle(3);
  EXPECT_STREQ(TopPageCaption(), "Character Creation");
}

}  // namespace
