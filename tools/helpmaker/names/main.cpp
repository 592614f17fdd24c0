// help_names OUTPUT SOURCE_FOLDER CONTENT_FOLDER GAME_FOLDER
//
// Lists every help page id and every help keyword the game can open, taken
// from the game's own tables (feats, spells, conditions, the action bar) and
// from its texts (the log lines and help ids written in the code and the
// keywords those lines fill in from tables, the scripts of the adventures,
// the item tables). Reads the spell table from the game folder, so it runs
// after that is made; compile_help checks its pages against the list.
//
// Each line of the list: "id <page id> <where>" or "keyword <@KEYWORD@> <where>".
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <string>

#include "combat/resolution/log_keywords.h"
#include "combat/resolution/spell_keywords.h"
#include "creatures/creature_kinds.h"
#include "common/tool_files.h"
#include "helpmaker/help_names.h"
#include "party/page_controls.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_names.h"
#include "rules/item_tables.h"
#include "screens/game/action_menu.h"

namespace fs = std::filesystem;

namespace {

// Every file under the folder with one of the extensions, in name order.
std::set<fs::path> FilesUnder(const fs::path& folder, std::initializer_list<const char*> extensions) {
  std::set<fs::path> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (!it->is_regular_file()) continue;
    for (const char* e : extensions)
      if (it->path().extension() == e) files.insert(it->path());
  }
  return files;
}

// A failed run: its one fault, then the summary line every tool ends one with.
int Failed(const std::string& fault) {
  std::cerr << fault << "\n" << FaultSummary("help_names", 1) << "\n";
  return 1;
}


// The run, as main runs it (RunTool stops it on anything it throws).
int Make(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: help_names OUTPUT SOURCE_FOLDER CONTENT_FOLDER GAME_FOLDER\n";
    return 2;
  }
  const fs::path output = fs::absolute(argv[1]), src = fs::absolute(argv[2]), content = fs::absolute(argv[3]);
  std::error_code ec;
  fs::current_path(argv[4], ec);
  if (ec) return Failed(std::string("help_names: cannot enter the game folder ") + argv[4]);
  HelpNames names;
  // The code, read first: a name taken from one of its lists is said at the
  // line of the list that gives it.
  CodeLines code;
  std::map<fs::path, std::string> codeTexts;
  for (const fs::path& file : FilesUnder(src, {".cpp", ".h"})) {
    std::string& text = codeTexts[file];
    if (!ReadSourceFile(file.string(), &text)) return Failed("help_names: cannot read " + file.string());
    code.Add(fs::relative(file, src.parent_path()).generic_string(), text);
  }
  auto quoted = [](const std::string& text) { return "\"" + text + "\""; };

  // The feats: their index and one page each.
  names.AddId(kFeatIndexHelpPage, code.ListPlace("FeatNameTable", "") + " (the feat table)");
  for (int feat = 0; feat < kFeatFlags; ++feat)
    if (std::string(FeatNameTable[feat]).rfind("EXTRA", 0) != 0)
      names.AddId(kFeatHelpPageBase + feat, code.ListPlace("FeatNameTable", quoted(FeatNameTable[feat])) + " (feat " +
                                                FeatNameTable[feat] + ")");

  // The spells: one page each, opened by id and by the spell's keyword.
  if (!LoadSpellTable()) return Failed("help_names: the spell table (Spell1.sml) cannot be read");
  for (int spell = 0; spell < kSpellRows; ++spell) {
    // The spare rows at the end ("Extra Spell 1") are no spells yet.
    if (SpellKeywordTable[spell] == nullptr || SpellKeywordTable[spell][0] == '\0' ||
        std::string(SpellKeywordTable[spell]).find(' ') != std::string::npos)
      continue;
    const std::string where = code.ListPlace("SpellKeywordTable", quoted(SpellKeywordTable[spell])) + " (spell " +
                              SpellKeywordTable[spell] + ")";
    names.AddId(static_cast<uint32_t>(SpellHelpPage(spell)), where);
    names.AddKeyword(std::string("@") + SpellKeywordTable[spell] + "@", where);
  }

  // The keywords log lines fill in from tables as they are written (energies,
  // abilities, forms, the conditions that stop a counterspell).
  // Each at the line of the table row that gives it, or of the function that
  // adds it.
  for (const LogKeyword& k : RunTimeLogKeywords())
    names.AddKeyword(k.keyword, code.LinePlace(k.where, {quoted(k.keyword.substr(1, k.keyword.size() - 2)),
                                                         "LogKeywords(std::vector<LogKeyword>* out)"}) +
                                    " (filled in)");

  // The conditions and the sources of modifier breakdowns.
  for (int row = 0; row < kConditionNameCount; ++row)
    if (ConditionHelpPages[row] != 0)
      names.AddId(ConditionHelpPages[row], code.ListPlace("kHelpRuns", std::to_string(ConditionHelpPages[row])) +
                                               " (condition " + ConditionNames[row] + ")");

  // The orders of the action bar.
  for (int action = 0; action < kActionCount; ++action)
    names.AddId(static_cast<uint32_t>(ActionHelpPageIds[action]),
                code.ListPlace("ActionHelpPageIds", std::to_string(ActionHelpPageIds[action])) + " (action " +
                    ActionLabels[action] + ")");

  // The kinds of creature (races among them) and the creature types, as the
  // character record links them.
  for (int kind = 0; kind < kKindRows; ++kind)
    if (std::string(KindNames[kind]) != "-")
      names.AddId(kKindHelpPageBase + kind, code.ListPlace("KindNames", quoted(KindNames[kind])) + " (creature kind " +
                                    KindNames[kind] + ")");
  for (int type = 0; type < 9; ++type)
    names.AddId(kCreatureTypeHelpPageBase + type, code.ListPlace("CreatureTypeNames", quoted(CreatureTypeNames[type])) +
                                  " (creature type " + CreatureTypeNames[type] + ")");

  // The texts: the code's log lines and help ids, the scripts, the tables.
  // A text that cannot be read fails the list, which would want its names.
  for (const auto& [file, text] : codeTexts) {
    const std::string where = fs::relative(file, src.parent_path()).generic_string();
    names.ScanKeywords(text, where, true);
    if (!IsHelpRangeFile(file.filename().string())) names.ScanHelpIds(text, where);
  }
  std::string text;
  for (const char* folder : {"scripts", "tables"})
    for (const fs::path& file : FilesUnder(content / folder, {".txt"})) {
      if (!ReadSourceFile(file.string(), &text)) return Failed("help_names: cannot read " + file.string());
      names.ScanKeywords(text, fs::relative(file, content.parent_path()).generic_string());
    }

  OutputFiles files;
  std::string fault = files.Write(output.string(), names.Text());
  if (fault.empty()) fault = files.Commit();
  return fault.empty() ? 0 : Failed(fault);
}

}  // namespace

int main(int argc, char** argv) { return RunTool("help_names", Make, argc, argv); }
