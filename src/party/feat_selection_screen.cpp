// The feat page (page type 114): every feat the member may take now, by
// name in a scrolling list of 18 rows, and two good choices; one pick and
// the page hands back to the creation or level-up page that opened it.
#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/frame.h"
#include "engine/input.h"
#include "engine/last_screen.h"
#include "engine/linked_text.h"
#include "engine/page_history.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "party/feat_offer.h"
#include "party/level_up_words.h"
#include "party/page_controls.h"
#include "party/party_screens.h"
#include "rules/creature_record.h"
#include "rules/feat_names.h"
#include "state/game_progress.h"

int32_t FeatListScroll = 0;

namespace {

constexpr int kListRows = 18;
constexpr int kKeyHome = 0xC7, kKeyUp = 0xC8, kKeyPageUp = 0xC9, kKeyEnd = 0xCF, kKeyDown = 0xD0,
              kKeyPageDown = 0xD1;
constexpr uint32_t kArrowHovered = 0xFF969696u;
// Text styles of the page.
constexpr int kEntry = 1, kHighlighted = 2, kHeading = 4, kName = 5, kLink = 6;

struct FeatOfferRecord {
  int32_t feat;
  char name[40];
};

// The offered feats sorted by name (plain byte order).
std::vector<FeatOfferRecord> OfferedFeats(int creature) {
  const FeatOffer offer = ComputeFeatOffer(creature);
  std::vector<FeatOfferRecord> list;
  for (int f = 0; f < kFeatFlags; ++f) {
    if (offer[f] != 1) continue;
    FeatOfferRecord r{f, {}};
    std::memcpy(r.name, FeatNameTable[f], std::min(sizeof r.name - 1, std::strlen(FeatNameTable[f])));
    list.push_back(r);
  }
  std::stable_sort(list.begin(), list.end(),
                   [](const FeatOfferRecord& a, const FeatOfferRecord& b) { return std::strcmp(a.name, b.name) < 0; });
  return list;
}

// Takes the feat (TOUGHNESS one point more) and hands back to the caller;
// in a level-up it becomes the first or second new feat by the slot counter.
// The next feat page opens at the top of its list.
void TakeFeat(int creature, int feat) {
  CreatureRecord& c = Creatures[creature];
  if (feat == kFeatToughness)
    ++c.feats[feat];
  else
    c.feats[feat] = 1;
  FeatListScroll = 0;
  HandBackPick(creature, feat, FeatSlotCounter, kPendingFirstFeat);
}

// The name and the "Examine Character" link of a level-up; true when the
// link was taken (the page is left at once).
bool Header(int creature) {
  const char* name = Creatures[creature].name;
  PageText(name, kName, 4, 1);
  PageText("Please pick a feat", kHeading, 4, 2);
  if (NewPartyPending != 0) return false;
  const bool overName = OverText(name, 4, 1);
  const bool overLink = MouseInTextRow(1, 23, 7, 1, kLargeText, 0) || MouseInTextRow(2, 23, 9, 1, kLargeText, 0);
  PageText("Examine", overLink ? kHighlighted : kLink, 23, 1);
  PageText("Character", overLink ? kHighlighted : kLink, 23, 2);
  if (!overName && !overLink) return false;
  CursorShape = 8;
  if (overName) PageText(name, kHighlighted, 4, 1);
  if (!ConsumeClick(1)) return false;
  OpenCharacterRecordOver("Feat Selection", kPageFeatSelection, creature);
  return true;
}

void ScrollByInput(int count, bool atEnd) {
  if (MouseInTextRow(7, 5, 31, 16, kLargeText, 0)) {
    const int wheel = GetMouseWheel();
    if (wheel > 0 && FeatListScroll > 0) FeatListScroll -= 5;
    if (wheel < 0 && !atEnd) FeatListScroll += 5;
  }
  if (FeatListScroll > 0) {
    if (KeyPressed(kKeyUp) || KeyPressed(kKeyPageUp)) --FeatListScroll;
    if (TakeKey(kKeyHome)) FeatListScroll = 0;
  }
  if (!atEnd) {
    if (KeyPressed(kKeyDown) || KeyPressed(kKeyPageDown)) ++FeatListScroll;
    if (TakeKey(kKeyEnd)) FeatListScroll = count - kListRows;
  }
}

// The two arrows: five rows up or down a click.
void ScrollArrows(bool atEnd) {
  if (FeatListScroll > 0) {
    const bool over = MouseInTextRow(6, 31, 5, 2, kLargeText, 0);
    DrawSheetFrame(13, 485, 264, 48, over ? kArrowHovered : 0xFFFFFFFFu);
    if (over) {
      SetHint("Scroll Up");
      CursorShape = 22;
      if (TakeLeftClick()) FeatListScroll -= 5;
    }
  }
  if (!atEnd) {
    const bool over = MouseInTextRow(22, 31, 5, 2, kLargeText, 0);
    DrawSheetFrame(13, 486, 264, 184, over ? kArrowHovered : 0xFFFFFFFFu);
    if (over) {
      SetHint("Scroll Down");
      CursorShape = 23;
      if (TakeLeftClick()) FeatListScroll += 5;
    }
  }
  if (FeatListScroll < 0) FeatListScroll = 0;
}

}  // namespace

void DrawFeatSelectionScreen(int creature) {
  LastScreenDrawn = "DrawFeatSelectionScreen";
  if (creature < 0 || creature >= kPartySize) return;
  ClearHint();
  CursorShape = 29;
  DrawScreenBackdrop();
  if (Header(creature)) return;

  if (OverText("Please pick a feat", 4, 2)) {
    PageText("Please pick a feat", kHighlighted, 4, 2);
    CursorShape = 28;
    SetHint("Feats");
    if (ConsumeClick(1)) OpenPage("Feats", kFeatIndexHelpPage);
  }

  const std::vector<FeatOfferRecord> list = OfferedFeats(creature);
  const int count = static_cast<int>(list.size());
  bool atEnd = false;
  bool picked = false;
  for (int k = 0; k < kListRows; ++k) {
    const int index = FeatListScroll + k;
    if (index < 0 || index >= count) {
      atEnd = atEnd || index >= count;
      if (index >= count) break;
      continue;
    }
    const FeatOfferRecord& r = list[index];
    const bool over = !picked && OverText(r.name, 15, 9 + k, kSmallText, k);
    PageText(r.name, over ? kHighlighted : kEntry, 15, 9 + k, kSmallText, k);
    if (!over) continue;
    CursorShape = 4;
    SetHint("Pick");
    if (TakeLeftClick()) {
      TakeFeat(creature, r.feat);
      picked = true;
    } else if (TakeRightClick()) {
      ResetLinkHover();
      OpenPage(FeatKeywordTable[r.feat], kFeatHelpPageBase + r.feat);
    }
  }

  ScrollByInput(count, atEnd);
  ScrollArrows(atEnd);

  PageText("Good Choices:", kHeading, 7, 25);
  const GoodFeats good = ChooseGoodFeats(creature, ComputeFeatOffer(creature));
  for (int k = 0; k < 2 && !picked; ++k) {
    if (good[k] < 0) continue;
    const char* name = FeatNameTable[good[k]];
    const bool over = OverText(name, 15, 35 + k, kSmallText, k);
    PageText(name, over ? kHighlighted : kEntry, 15, 35 + k, kSmallText, k);
    if (!over) continue;
    CursorShape = 4;
    SetHint("Pick");
    if (TakeLeftClick()) {
      TakeFeat(creature, good[k]);
      picked = true;
    } else if (TakeRightClick()) {
      ResetLinkHover();
      FeatListScroll = 0;
      OpenPage(FeatKeywordTable[good[k]], kFeatHelpPageBase + good[k]);
    }
  }

  PollPointerButtons();
  ResetLinkHover();
  DrawMouseCursor();
  if (HoverCaption[0]) DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
}
