// The help tool's source reader: a help file it writes must load in the game.
#include "engine/help_pages.h"
#include "fuzz/fuzz_target.h"
#include "helpmaker/help_source.h"

GH_FUZZ_TARGET(helpmaker) {
  const HelpResult result = CompileHelp({{"help.txt", InputText(data, size)}});
  if (!result.errors.empty()) return;
  WriteScratchFile(kHelpFileName, reinterpret_cast<const uint8_t*>(result.file.data()), result.file.size());
  if (!LoadHelpTables()) FuzzFault("the game refuses a help file the tool wrote");
  ClearHelpTables();
}
