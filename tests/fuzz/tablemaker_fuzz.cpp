// The table compiler's source reader. The input's first line names the table
// (items, spells or crafted), the rest is the source. Each refusal is one
// printable line that names its place; a table it accepts must load in the
// game.
#include <cctype>

#include "fuzz/fuzz_target.h"
#include "rules/item_tables.h"
#include "tablemaker/tablemaker.h"

GH_FUZZ_TARGET(tablemaker) {
  std::string text = InputText(data, size);
  const TableSchema* schema = FindSchema(TakeFirstLine(&text));
  if (!schema) return;
  const TableResult result = CompileTable(*schema, "source.txt", text);
  for (const std::string& error : result.errors) {
    const std::string place = "source.txt:";
    size_t at = place.size();
    while (at < error.size() && std::isdigit(static_cast<unsigned char>(error[at]))) ++at;
    if (error.compare(0, place.size(), place) != 0 || at == place.size() || error.compare(at, 2, ": ") != 0)
      FuzzFault("a refusal names no line: " + error);
    for (char c : error)
      if (c < ' ' || c > '~') FuzzFault("a refusal holds a byte that is no printable character");
  }
  if (!result.errors.empty()) return;
  if (result.image.size() != static_cast<size_t>(schema->rows) * schema->rowBytes)
    FuzzFault("a table of the wrong size was accepted");
  WriteScratchFile("Table.bin", result.image.data(), result.image.size());
  const std::string table = schema->table;
  if (table == "crafted" && !LoadCraftedWeapons("Table.bin")) FuzzFault("an accepted crafted table does not load");
  if (table == "items") {
    WriteScratchFile("Item1.iml", result.image.data(), result.image.size());
    if (!LoadItemTable()) FuzzFault("an accepted item table does not load");
  }
  if (table == "spells") {
    WriteScratchFile("Spell1.sml", result.image.data(), result.image.size());
    if (!LoadSpellTable()) FuzzFault("an accepted spell table does not load");
  }
}
