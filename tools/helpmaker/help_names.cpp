// The names the game gives the help, and their check (see help_names.h).
#include "helpmaker/help_names.h"

#include <cctype>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "common/source_bytes.h"
#include "common/source_lines.h"
#include "common/source_numbers.h"

namespace {

bool KeywordChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '\'' || c == '-' || c == '/' ||
         c == '+' || c == '(' || c == ')';
}

// A number of 32 bits written in decimal digits alone, read whole.
bool ReadDigits(std::string_view text, uint32_t* out) {
  long long n = 0;
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos ||
      !ReadWholeNumber(text, 0, UINT32_MAX, &n))
    return false;
  *out = static_cast<uint32_t>(n);
  return true;
}

bool SpeaksOfHelp(const std::string& line) {
  std::string lower;
  for (char c : line) lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  return lower.find("help") != std::string::npos;
}

}  // namespace

void HelpNames::AddId(uint32_t id, const std::string& where) { ids_.emplace(id, where); }

void HelpNames::AddKeyword(const std::string& keyword, const std::string& where) {
  keywords_.emplace(keyword, where);
}

void HelpNames::ScanKeywords(const std::string& text, const std::string& where, bool code) {
  int line = 1;
  size_t lineCounted = 0;
  size_t at = 0;
  while ((at = text.find('@', at)) != std::string::npos) {
    size_t end = at + 1;
    while (end < text.size() && KeywordChar(text[end])) ++end;
    if (end < text.size() && text[end] == '@' && end - at >= 2) {
      for (; lineCounted < at; ++lineCounted) line += text[lineCounted] == '\n';
      const size_t lineStart = text.rfind('\n', at) == std::string::npos ? 0 : text.rfind('\n', at) + 1;
      const bool comment = code && text.substr(lineStart, at - lineStart).find("//") != std::string::npos;
      if (!comment) AddKeyword(text.substr(at, end - at + 1), where + ":" + std::to_string(line));
      at = end + 1;
    } else {
      at = at + 1;
    }
  }
}

void HelpNames::ScanHelpIds(const std::string& text, const std::string& where) {
  int number = 0;
  for (const std::string& line : SourceLines(text)) {
    ++number;
    if (!SpeaksOfHelp(line)) continue;
    for (size_t i = 0; i < line.size();) {
      if (!std::isdigit(static_cast<unsigned char>(line[i]))) {
        ++i;
        continue;
      }
      size_t end = i;
      while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) ++end;
      const bool startsAlone = i == 0 || (!std::isalnum(static_cast<unsigned char>(line[i - 1])) &&
                                          line[i - 1] != '_' && line[i - 1] != '.');
      const bool endsAlone = end == line.size() || !std::isalnum(static_cast<unsigned char>(line[end]));
      size_t after = end;
      while (after < line.size() && (line[after] == ' ' || line[after] == ')')) ++after;
      const bool base = after < line.size() && line[after] == '+';
      const bool alone = startsAlone && endsAlone && !base;
      uint32_t id = 0;
      if (alone && end - i == 5 && ReadDigits(std::string_view(line).substr(i, 5), &id) && id >= 10000)
        AddId(id, where + ":" + std::to_string(number));
      i = end;
    }
  }
}

std::string HelpNames::Text() const {
  std::string out;
  for (const auto& [id, where] : ids_) out += "id " + std::to_string(id) + " " + where + "\n";
  for (const auto& [keyword, where] : keywords_) out += "keyword " + keyword + " " + where + "\n";
  return out;
}

bool HelpNames::Parse(const std::string& text, std::string* badLine) {
  for (const std::string& line : SourceLines(text)) {
    if (line.empty()) continue;
    std::istringstream words(line);
    std::string kind, name, where;
    words >> kind >> name;
    std::getline(words, where);
    if (!where.empty() && where[0] == ' ') where.erase(0, 1);
    uint32_t id = 0;
    if (kind == "id" && ReadDigits(name, &id)) {
      AddId(id, where);
    } else if (kind == "keyword" && name.size() >= 3 && name.front() == '@' && name.back() == '@') {
      AddKeyword(name, where);
    } else {
      *badLine = line;
      return false;
    }
  }
  return true;
}

void CodeLines::Add(const std::string& file, const std::string& text) {
  files_[file] = SourceLines(text);
  lists_.clear();
}

std::string CodeLines::ListPlace(const std::string& list, const std::string& entry) const {
  auto [known, fresh] = lists_.try_emplace(list);
  if (fresh) known->second = FindList(list);
  const auto& [file, start] = known->second;
  if (file == nullptr) return list;
  const std::vector<std::string>& lines = files_.at(*file);
  size_t at = start;
  for (size_t i = start; !entry.empty() && i < lines.size(); ++i) {
    if (lines[i].find(entry) != std::string::npos) {
      at = i;
      break;
    }
    if (i > start && TrimBlanks(lines[i]).rfind('}', 0) == 0) break;  // the list's end
  }
  return *file + ":" + std::to_string(at + 1);
}

std::pair<const std::string*, size_t> CodeLines::FindList(const std::string& list) const {
  for (const auto& [file, lines] : files_)
    for (size_t start = 0; start < lines.size(); ++start) {
      const std::string& line = lines[start];
      const size_t name = line.find(list);
      if (name == std::string::npos) continue;
      const char after = name + list.size() < line.size() ? line[name + list.size()] : '\0';
      if (TrimBlanks(line).rfind("//", 0) != 0 && (name == 0 || line[name - 1] == ' ') && (after == '[' || after == ' ') &&
          line.find("= {", name) != std::string::npos)
        return {&file, start};
    }
  return {nullptr, 0};
}

std::string CodeLines::LinePlace(const std::string& file, const std::vector<std::string>& texts) const {
  const auto found = files_.find(file);
  if (found == files_.end()) return file;
  for (const std::string& text : texts)
    for (size_t i = 0; i < found->second.size(); ++i)
      if (found->second[i].find(text) != std::string::npos) return file + ":" + std::to_string(i + 1);
  return file;
}

bool IsHelpRangeFile(const std::string& fileName) {
  return fileName == "page_dispatch.cpp" || fileName == "help_pages.h";
}

bool HelpRequirement::Parse(const std::string& ids, const std::string& places) {
  idRanges.clear();
  keywordPlaces.clear();
  std::istringstream in(ids);
  std::string range;
  while (std::getline(in, range, ',')) {
    if (range.empty()) continue;
    const size_t dash = range.find('-');
    const std::string a = range.substr(0, dash), b = dash == std::string::npos ? a : range.substr(dash + 1);
    uint32_t first = 0, last = 0;
    if (!ReadDigits(a, &first) || !ReadDigits(b, &last) || first > last) return false;
    idRanges.emplace_back(first, last);
  }
  std::istringstream p(places);
  std::string place;
  while (std::getline(p, place, ','))
    if (!place.empty()) keywordPlaces.push_back(place);
  return true;
}

bool HelpRequirement::RequiresId(uint32_t id) const {
  for (const auto& [first, last] : idRanges)
    if (id >= first && id <= last) return true;
  return false;
}

bool HelpRequirement::RequiresKeyword(const std::string& where) const {
  for (const std::string& p : keywordPlaces)
    if (where.rfind(p, 0) == 0) return true;
  return false;
}

HelpNameCheck CheckHelpNames(const HelpNames& names, const HelpRequirement& required,
                             const std::set<uint32_t>& pageIds, const std::set<std::string>& keywords) {
  HelpNameCheck check;
  // A place "file:line (what)": the message is said at the file and line,
  // of the page or keyword of what names it.
  auto placed = [](const std::string& where, const std::string& name) {
    const size_t label = where.find(" (");
    if (label == std::string::npos) return std::pair{where, name};
    return std::pair{where.substr(0, label), name + where.substr(label)};
  };
  for (const auto& [id, where] : names.Ids()) {
    if (pageIds.count(id)) continue;
    const auto [place, name] = placed(where, std::to_string(id));
    const std::string line = place + ": error: help page " + name + " is named here but has no page";
    (required.RequiresId(id) ? check.errors : check.missing).push_back(line);
  }
  for (const auto& [keyword, where] : names.Keywords()) {
    if (keywords.count(keyword)) continue;
    const auto [place, name] = placed(where, keyword);
    const std::string line = place + ": error: the help keyword " + name + " is used here but no page has it";
    (required.RequiresKeyword(where) ? check.errors : check.missing).push_back(line);
  }
  return check;
}
