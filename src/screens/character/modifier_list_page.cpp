// The page that explains a recorded roll or value by its modifier list (a
// roll of combat from the log's links, a creation roll, the level-up's hit
// point roll): every caption and source is a link to its help page.
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "rules/conditions.h"
#include "rules/modifier_list.h"
#include "screens/character/character_screens.h"
#include "screens/character/modifier_rows.h"
#include "screens/character/page_kit.h"

namespace {

// The help page's title as the caption under the pointer; a click opens it.
void HelpLink(int64_t id) {
  CursorShape = kCursorLink;
  const char* title = HelpPageTitle(id);
  if (title == nullptr) return;
  SetHoverCaption(title);
  if (ConsumeClick(1)) PushHelpPage(static_cast<int32_t>(id));
}

}  // namespace

void DrawModifierListPage(ModifierList* list) {
  LastScreenDrawn = "DrawModifierListPage";
  BeginCharacterPage();
  DrawFramedBox(0, 0, 2);
  if (list != nullptr) {
    if (DrawModifierCaption(*list)) HelpLink(list->helpTopic);
    const ModifierRowsDrawn drawn = DrawModifierRows(*list, true);
    if (drawn.hoveredRow >= 0) {
      const int32_t source = list->pairs[drawn.hoveredRow].source;
      HelpLink(source >= 0 && source < kConditionNameCount ? ConditionHelpPages[source] : 0);
    }
    DrawModifierTotal(*list, drawn);
  }
  EndCharacterPage(true);
}
