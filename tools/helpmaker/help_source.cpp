// The help sources' reader and the help file's writer (see help_source.h).
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <iostream>
#include <list>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/comment_joins.h"
#include "common/near_names.h"
#include "common/shown_bytes.h"
#include "common/source_bytes.h"
#include "common/source_faults.h"
#include "common/source_lines.h"
#include "common/source_numbers.h"
#include "common/tool_files.h"
#include "helpmaker/help_source.h"

namespace {

struct Link {
  std::string keyword;
  std::string where;  // file:line of the text that holds it
};

struct Page {
  uint32_t id = 0;
  std::string title;
  std::string text;
  std::vector<std::string> keywords;  // each "keyword\nfile:line"
  std::vector<Link> links;
  std::string where;   // file:line of the page line
  std::vector<std::string> paragraphs;
  bool lastWasItem = false;
};

struct Keyword {
  std::string keyword;
  uint32_t pageId;
  std::string where;
};

// The words of a line cut at its spaces. A tab is a byte the help refuses.
std::vector<std::string> SpacedWords(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream spaced(line);
  for (std::string word; std::getline(spaced, word, ' ');)
    if (!word.empty()) words.push_back(word);
  return words;
}

// Source text is UTF-8; the game's text is bytes. "\xC2\xA3" (the pound
// sign, which marks terms) becomes 0xA3; any byte the game cannot show
// (common/shown_bytes.h) is refused, as a byte of the field that holds it:
// a page line's id and title, a keyword line's keywords, or the page's text.
// The message for the byte at `at` of a line, as a byte of its field.
std::string FieldByteMessage(const std::string& line, size_t at) {
  const char* field = "text";
  size_t start = 0;
  for (const char* heading : {"page ", "keyword "})
    if (line.rfind(heading, 0) == 0 && at >= std::strlen(heading)) {
      start = std::strlen(heading);
      field = line.compare(0, 4, "page") == 0 ? "page" : "keyword";
    }
  if (start == 0 && line.find(' ') >= at) return UnshownByteMessage("", line.substr(0, line.find(' ')), at);  // its first word
  return UnshownByteMessage(field, std::string_view(line).substr(start), at - start);
}

bool ToGameBytes(const std::string& in, std::string* out, std::string* why) {
  *out = WithGamePoundSigns(in);
  const size_t at = UnshownByte(*out, false);
  if (at == std::string::npos) return true;
  *why = FieldByteMessage(*out, at);
  return false;
}

bool ValidKeyword(const std::string& k) {
  if (k.size() < 3 || k.size() > kHelpKeywordSize - 1 || k.front() != '@' || k.back() != '@') return false;
  for (size_t i = 1; i + 1 < k.size(); ++i) {
    const char c = k[i];
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '\'' ||
                    c == '-' || c == '/' || c == '+' || c == '(' || c == ')';
    if (!ok) return false;
  }
  return true;
}

// A page line after "page ": its id, a whole number from 1 to 2147483647
// written alone ("2000x" is no id), then its title. The game carries a page
// id as a 32-bit signed number (the history's parameter): a larger one it
// could never open.
bool ReadPageLine(const std::string& rest, long long* id, std::string* title) {
  const size_t start = rest.find_first_not_of(' ');
  if (start == std::string::npos) return false;
  const size_t end = std::min(rest.find(' ', start), rest.size());
  if (!ReadWholeNumber(std::string_view(rest).substr(start, end - start), 1, INT32_MAX, id)) return false;
  *title = TrimBlanks(rest.substr(end));
  return true;
}

// Whether a text reads whole as a page line with its id and title, or a
// keyword line with its keywords (a text may hold anything).
bool IsHelpHeading(std::string_view text) {
  const std::string line(text);
  long long id = 0;
  std::string title;
  if (line.rfind("page ", 0) == 0) return ReadPageLine(line.substr(5), &id, &title) && !title.empty();
  if (line.rfind("keyword ", 0) != 0) return false;
  const std::vector<std::string> words = SpacedWords(line.substr(8));
  return !words.empty() && std::all_of(words.begin(), words.end(), ValidKeyword);
}

// The links of a line of a page's text: each "@KEYWORD@", within the line.
// False, with the fault, for an '@' without its closing '@' or a link that
// is no keyword.
bool ReadLinks(const std::string& line, const std::string& where, std::vector<Link>* links, std::string* why) {
  for (size_t at = line.find('@'); at != std::string::npos; at = line.find('@', at)) {
    const size_t end = line.find('@', at + 1);
    if (end == std::string::npos) {
      *why = "an '@' without its closing '@'";
      return false;
    }
    const std::string link = line.substr(at, end - at + 1);
    if (!ValidKeyword(link)) {
      *why = "bad link " + QuotedBytes(link);
      return false;
    }
    links->push_back({link, where});
    at = end + 1;
  }
  return true;
}

// Reads the pages of one source. A line's own fault refuses it whole, and
// the lines after it are passed over up to the next page line.
void ParseFile(const std::string& path, const std::string& source, std::list<Page>* pages, LineFaults* faults) {
  int number = 0;
  Page* page = nullptr;
  bool inParagraph = false, passing = false;
  auto Refuse = [&](const std::string& message) {
    faults->Line(path, number, "error: " + message);
    passing = true;
  };
  for (const std::string& raw : SourceLines(source)) {
    ++number;
    ReadingAt(path, number);
    const std::string where = path + ":" + std::to_string(number);
    if (const size_t at = RefusedLineByte(raw, false, false); at != std::string::npos) {
      Refuse(FieldByteMessage(raw, at));
      continue;
    }
    std::string line, why;
    if (!ToGameBytes(raw, &line, &why)) {
      Refuse(why);
      continue;
    }
    if (!line.empty() && line[0] == '#') {  // a comment, which holds no page or keyword line
      if (const size_t at = JoinedLineAt(line, IsHelpHeading); at != std::string::npos) Refuse(JoinedLineMessage(line, at));
      // A page line written out of use leaves its lines to the page before it.
      const std::string heading =
          HeadingOutOfUse(line, {"page"}, [](std::string_view h) { return h.rfind("page ", 0) == 0 && IsHelpHeading(h); });
      if (!heading.empty()) faults->OutOfUse(path, number, heading);
      continue;
    }
    // A page or keyword line is one whose first word is "page" or "keyword",
    // also when nothing follows it.
    const std::string firstWord = line.substr(0, line.find(' '));
    if (firstWord == "page") faults->BlockBegins(path, number);
    else if (!TrimBlanks(line).empty()) faults->LineOfWords(path, number, "error: ");
    if (firstWord == "page") {
      long long id = 0;
      std::string title;
      if (!ReadPageLine(line.substr(4), &id, &title)) {
        Refuse("a page line needs an id from 1 to 2147483647: page <id> <title>");
        continue;
      }
      if (title.empty()) {
        Refuse("the page has no title");
        continue;
      }
      // A line end lost after it joins the next line to it: "Drench#keyword @DRENCH@".
      if (const size_t at = HeldLineAt(title, IsHelpHeading); at != std::string::npos) {
        Refuse(JoinedLineMessage(title, at, "the title"));
        continue;
      }
      if (title.size() > kHelpTitleSize - 1) {
        Refuse("the title is longer than " + std::to_string(kHelpTitleSize - 1) + " characters");
        continue;
      }
      if (id == kBlankHelpId) {
        Refuse("page id " + std::to_string(id) + " draws nothing in the game: give the page another id");
        continue;
      }
      passing = false;
      pages->push_back(Page{});
      page = &pages->back();
      page->id = static_cast<uint32_t>(id);
      page->title = title;
      page->where = where;
      inParagraph = false;
      continue;
    }
    if (passing) continue;
    if (page == nullptr) {
      if (!TrimBlanks(line).empty()) Refuse("text before the first page line");
      continue;
    }
    const std::string name = "page " + std::to_string(page->id) + ": ";
    if (firstWord == "keyword") {
      const std::vector<std::string> words = SpacedWords(line.substr(7));
      if (words.empty()) {
        Refuse("a keyword line names one keyword or more: keyword @KEYWORD@ ...");
        continue;
      }
      const auto bad = std::find_if(words.begin(), words.end(), [](const std::string& k) { return !ValidKeyword(k); });
      if (bad != words.end()) {
        Refuse("bad keyword " + QuotedBytes(*bad) + ": capitals, digits and _ ' - / + ( ) between two '@', at most " +
               std::to_string(kHelpKeywordSize - 1) + " characters");
        continue;
      }
      for (const std::string& k : words) page->keywords.push_back(k + "\n" + where);
      continue;
    }
    const std::string text = TrimBlanks(line);
    if (text.empty()) {
      inParagraph = false;
      continue;
    }
    if (!ReadLinks(text, where, &page->links, &why)) {
      Refuse(name + why);
      continue;
    }
    const bool item = text.rfind("- ", 0) == 0;
    if (item || !inParagraph) {
      // A new paragraph, or a list item on a line of its own.
      const bool continuesList = item && page->lastWasItem && inParagraph;
      if (continuesList)
        page->paragraphs.back() += "\r" + text;
      else
        page->paragraphs.push_back(text);
      page->lastWasItem = item;
      inParagraph = true;
    } else {
      page->paragraphs.back() += " " + text;
      page->lastWasItem = false;
    }
  }
  ReadingAt(path, 0);
}

void PutU32(std::string* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 255));
}

void PutField(std::string* out, const std::string& s, size_t size) {
  std::string field = s;
  field.resize(size, '\0');
  out->append(field);
}

}  // namespace

HelpResult CompileHelp(const std::vector<HelpSource>& sources) {
  HelpResult result;
  LineFaults faults;
  auto Error = [&](const std::string& where, const std::string& what) {
    const size_t colon = where.rfind(':');
    long long line = 0;
    if (colon != std::string::npos && ReadWholeNumber(where.substr(colon + 1), 1, INT32_MAX, &line))
      faults.Between(where.substr(0, colon), static_cast<int>(line), "error: " + what);
    else
      faults.Between(where, 0, "error: " + what);
  };
  std::list<Page> pages;
  for (const HelpSource& s : sources) ParseFile(s.name, s.text, &pages, &faults);

  std::map<uint32_t, std::string> ids;
  std::map<std::string, std::string> keywordWhere;
  std::vector<Keyword> keywords;
  for (Page& page : pages) {
    for (size_t p = 0; p < page.paragraphs.size(); ++p) {
      if (p) page.text += "\r\r";
      page.text += page.paragraphs[p];
    }
    if (page.text.size() > HelpTextLimit(page.id))
      Error(page.where, "page " + std::to_string(page.id) + ": the text has " + std::to_string(page.text.size()) +
                            " characters, at most " + std::to_string(HelpTextLimit(page.id)) + " fit");
    auto [it, fresh] = ids.emplace(page.id, page.where);
    if (!fresh) Error(page.where, "page id " + std::to_string(page.id) + " is already used at " + it->second);
    for (const std::string& entry : page.keywords) {
      const size_t nl = entry.find('\n');
      const std::string k = entry.substr(0, nl), where = entry.substr(nl + 1);
      auto [kit, kfresh] = keywordWhere.emplace(k, where);
      if (!kfresh)
        Error(where, "the keyword " + k + " is already given at " + kit->second);
      else
        keywords.push_back(Keyword{k, page.id, where});
    }
  }
  // Too many pages or keywords: said at the first one that does not fit.
  if (pages.size() > kHelpPageCount)
    Error(std::next(pages.begin(), kHelpPageCount)->where,
          std::to_string(pages.size()) + " pages, at most " + std::to_string(kHelpPageCount) + " fit");
  if (keywords.size() > kHelpKeywordCount)
    Error(keywords[kHelpKeywordCount].where,
          std::to_string(keywords.size()) + " keywords, at most " + std::to_string(kHelpKeywordCount) + " fit");
  for (const Keyword& k : keywords) result.keywords.insert(k.keyword);
  for (const auto& [id, where] : ids) result.pageIds.insert(id);
  // Every link names a keyword of some page, and the highlight marks of a
  // page's text come in pairs. A keyword no link names, a byte lost or put
  // in from a link that names no page, is one fault at the keyword's line
  // (either may be the damaged one), not one at each link (a byte changed
  // may be another keyword's: @RACE@, @RAKE@).
  std::set<std::string> linked;
  std::map<std::string, std::vector<std::string>> unknown;  // the places of the links that name no page
  for (const Page& page : pages)
    for (const Link& link : page.links) {
      linked.insert(link.keyword);
      if (!result.keywords.count(link.keyword)) unknown[link.keyword].push_back(link.where);
    }
  std::set<std::string> near;  // the links said at a keyword
  for (const Keyword& k : keywords) {
    if (linked.count(k.keyword)) continue;
    const auto link = std::find_if(unknown.begin(), unknown.end(), [&](const auto& u) {
      return !near.count(u.first) && OneByteApart(k.keyword, u.first, false);
    });
    if (link == unknown.end()) continue;
    near.insert(link->first);
    const std::string links = UsesSaid(link->second[0], link->second.size(), "link");
    Error(k.where, "the keyword " + k.keyword + " is linked from no page, and the link " + link->first +
                       ", one byte from it, names no page (" + links + ")");
  }
  for (const Page& page : pages) {
    const std::string name = "page " + std::to_string(page.id) + ": ";
    for (const Link& link : page.links)
      if (!result.keywords.count(link.keyword) && !near.count(link.keyword))
        Error(link.where, name + "the link " + link.keyword + " names no page (add a keyword line to the page it should open)");
    if (std::count(page.text.begin(), page.text.end(), '\xA3') % 2)
      Error(page.where, name + "an odd number of \xC2\xA3 marks");
  }
  result.errors = faults.Messages();
  if (!result.errors.empty()) return result;

  std::string& out = result.file;
  out.assign(kHelpFileMagic, 4);
  PutU32(&out, kHelpFileVersion);
  PutU32(&out, static_cast<uint32_t>(pages.size()));
  PutU32(&out, static_cast<uint32_t>(keywords.size()));
  for (const Page& page : pages) {
    PutU32(&out, page.id);
    PutField(&out, page.title, kHelpTitleSize);
    PutU32(&out, static_cast<uint32_t>(page.text.size()));
    out += page.text;
  }
  for (const Keyword& k : keywords) {
    PutField(&out, k.keyword, kHelpKeywordSize);
    PutU32(&out, k.pageId);
  }
  return result;
}
