// The list of everything the game names in the help: page ids and keywords,
// each with where it was found ("file:line", then what names it when a list
// of the code does: "src/rules/feat_names.cpp:19 (feat IRON WILL)"), and the
// check of the compiled pages against it.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class HelpNames {
 public:
  void AddId(uint32_t id, const std::string& where);
  void AddKeyword(const std::string& keyword, const std::string& where);
  // Every help keyword written in the text ("@IRON_WILL@"); rolled numbers
  // ("@%i|%.2i@") and format holes ("@%s@") are not keywords. In code, what
  // stands after "//" on a line is a comment and not the game's text.
  void ScanKeywords(const std::string& text, const std::string& where, bool code = false);
  // Every page id (10000 to 99999) on a line of code that speaks of help,
  // except the base of an id that is computed ("51001 + level").
  void ScanHelpIds(const std::string& text, const std::string& where);

  // One line each: "id <id> <where>" / "keyword <keyword> <where>".
  std::string Text() const;
  // Reads Text() back; false (and the line) on a line it does not know.
  bool Parse(const std::string& text, std::string* badLine);

  // The first place each was found.
  const std::map<uint32_t, std::string>& Ids() const { return ids_; }
  const std::map<std::string, std::string>& Keywords() const { return keywords_; }

 private:
  std::map<uint32_t, std::string> ids_;
  std::map<std::string, std::string> keywords_;
};

// The game's code as help_names reads it, to name the line of a list of the
// code (a table that names pages or keywords).
class CodeLines {
 public:
  // One file of the code, by the place the list names it by ("src/...").
  void Add(const std::string& file, const std::string& text);
  // "file:line" of the entry of a list: the first line holding `entry` from
  // the line that defines the list (its name, then "= {") up to the line
  // that ends it, or that line itself when none does
  // (an empty `entry`, an id the code computes); the list's name alone when
  // no file defines it.
  std::string ListPlace(const std::string& list, const std::string& entry) const;
  // "file:line" of the first line of `file` holding one of `texts` (the
  // first of them that one holds); `file` alone when none does.
  std::string LinePlace(const std::string& file, const std::vector<std::string>& texts) const;

 private:
  // The file and line that define a list; no file when none does.
  std::pair<const std::string*, size_t> FindList(const std::string& list) const;
  std::map<std::string, std::vector<std::string>> files_;  // each file's lines
  mutable std::map<std::string, std::pair<const std::string*, size_t>> lists_;  // the lists found so far
};

// Files whose help ids are ranges of a dispatch table or sizes, not pages.
bool IsHelpRangeFile(const std::string& fileName);

// What must have a page: the ids in these ranges (inclusive), the keywords
// found in places that start with one of these prefixes.
struct HelpRequirement {
  std::vector<std::pair<uint32_t, uint32_t>> idRanges;
  std::vector<std::string> keywordPlaces;
  bool Parse(const std::string& ids, const std::string& places);  // "a-b,c-d" and "p,q"
  bool RequiresId(uint32_t id) const;
  bool RequiresKeyword(const std::string& where) const;
};

struct HelpNameCheck {
  std::vector<std::string> errors;   // names required and without a page
  std::vector<std::string> missing;  // names without a page not (yet) required
};

HelpNameCheck CheckHelpNames(const HelpNames& names, const HelpRequirement& required,
                             const std::set<uint32_t>& pageIds, const std::set<std::string>& keywords);
