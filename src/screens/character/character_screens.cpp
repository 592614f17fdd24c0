#include "screens/character/character_screens.h"

#include "engine/page_placeholder.h"

void DrawSpellBookScreen(int) { DrawPagePlaceholder("DrawSpellBookScreen"); }
void MetamagicMaximiseScreen(int) { DrawPagePlaceholder("MetamagicMaximiseScreen"); }
void MetamagicEmpowerScreen(int) { DrawPagePlaceholder("MetamagicEmpowerScreen"); }
void MetamagicWidenScreen(int) { DrawPagePlaceholder("MetamagicWidenScreen"); }
void MetamagicHeightenScreen(int) { DrawPagePlaceholder("MetamagicHeightenScreen"); }
void MetamagicSilentScreen(int) { DrawPagePlaceholder("MetamagicSilentScreen"); }
void MetamagicStillScreen(int) { DrawPagePlaceholder("MetamagicStillScreen"); }
