// The help file "Help.dat", and keyword look-ups in the tables it fills.
#include "engine/help_pages.h"
#include "fuzz/fuzz_target.h"

GH_FUZZ_TARGET(help) {
  WriteScratchFile(kHelpFileName, data, size);
  if (!LoadHelpTables()) return;
  for (int k = 0; k < HelpKeywordsLoaded; ++k) (void)FindHelpKeyword(HelpKeywords[k].keyword);
  (void)FindHelpKeywordN("@MAIN_INDEX@", 12);
  ClearHelpTables();
}
