// The script compiler's reader. The input's first line is "names" to read a
// names file, anything else for a script. A script it accepts must be read
// whole by the game.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <set>
#include <sstream>
#include <vector>

#include "adventure/script_file.h"
#include "common/source_numbers.h"
#include "fuzz/fuzz_target.h"
#include "scriptmaker/script_source.h"

namespace {

// A label as the compiler tells labels apart: a whole number of 32 bits,
// signed (common/source_numbers.h), by its value, anything else by its name.
std::string LabelNumberOrName(const std::string& label) {
  long long value = 0;
  if (!ReadWholeNumber(label, INT32_MIN, INT32_MAX, &value)) return label;
  return std::to_string(value);
}

// The label a line sets, the line read as the compiler reads it: a word ends
// at a space, a tab, a '\r', a '#' (a comment runs from there to the line's
// end) or a '"' (a text starts); a line of the word "label" and one more
// word, and nothing else, sets a label.
bool LabelSetBy(const std::string& line, std::string* label) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    if (c == '"') return false;  // a text, which no label line holds
    const size_t end = std::min(line.find_first_of(" \t\r#\"", i), line.size());
    words.push_back(line.substr(i, end - i));
    i = end;
  }
  if (words.size() != 2 || words[0] != "label") return false;
  *label = words[1];
  return true;
}

}  // namespace

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
    // Labels written differently never collide: no label line is refused
    // with the compiler's own words for a label set again.
    std::istringstream lines(text);
    std::set<std::string> labels, twice;
    bool distinct = true;
    int number = 0;
    for (std::string line, label; std::getline(lines, line);) {
      ++number;
      if (!LabelSetBy(line, &label)) continue;
      distinct &= labels.insert(LabelNumberOrName(label)).second;
      twice.insert("Map1_1.txt:" + std::to_string(number) + ": label " + label + " is set twice");
    }
    for (const std::string& e : result.errors)
      if (distinct && twice.count(e)) FuzzFault("distinct labels collided: " + e);
    return;
  }
  ScriptCommand* head = nullptr;
  uint32_t count = 0;
  if (ParseScriptBytes(result.bytes.data(), result.bytes.size(), &head, &count) != kScriptLoaded)
    FuzzFault("the game refuses a script the compiler wrote");
  FreeCommandNodes(head);
}
