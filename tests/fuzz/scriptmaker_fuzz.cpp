// The script compiler's reader. The input's first line is "names" to read a
// names file, anything else for a script. A script it accepts must be read
// whole by the game.
#include "adventure/script_file.h"
#include "fuzz/fuzz_target.h"
#include "scriptmaker/script_source.h"

GH_FUZZ_TARGET(scriptmaker) {
  std::string text = InputText(data, size);
  const bool names = TakeFirstLine(&text) == "names";
  ScriptNames shared;
  std::vector<std::string> errors;
  if (names) {
    ReadScriptNames("Tests.names", text, &shared, &errors);
    return;
  }
  shared["Shared"] = {NameKind::kFlag, 7, "Tests.names:1"};
  const ScriptSourceResult result = CompileScriptSource("Map1_1.txt", text, shared);
  if (!result.ok) {
    if (result.errors.empty()) FuzzFault("a refused script names no fault");
    return;
  }
  ScriptCommand* head = nullptr;
  uint32_t count = 0;
  if (ParseScriptBytes(result.bytes.data(), result.bytes.size(), &head, &count) != kScriptLoaded)
    FuzzFault("the game refuses a script the compiler wrote");
  FreeCommandNodes(head);
}
