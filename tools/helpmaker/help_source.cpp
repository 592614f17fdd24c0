// The help sources' reader and the help file's writer (see help_source.h).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/shown_bytes.h"
#include "common/source_bytes.h"
#include "common/source_lines.h"
#include "common/source_numbers.h"
#include "helpmaker/help_source.h"

namespace {

struct Page {
  uint32_t id = 0;
  std::string title;
  std::string text;
  std::vector<std::string> keywords;
  std::string where;   // file:line of the page line
  std::vector<std::string> paragraphs;
  bool lastWasItem = false;
};

struct Keyword {
  std::string keyword;
  uint32_t pageId;
  std::string where;
};

// The faults found so far, each "file:line: error: message".
std::vector<std::string>* g_errors = nullptr;
// The ids and keywords of refused lines and pages: named by the source all
// the same, so that no link to them nor name of them is reported for the one
// fault.
HelpResult* g_refused = nullptr;

void Error(const std::string& where, const std::string& what) {
  g_errors->push_back(where + ": error: " + what);
}

// The field a source line gives, and where its value starts: a page line
// its id and title, a keyword line its keywords, any other line the page's
// text.
const char* LineField(const std::string& line, size_t* value) {
  for (const char* field : {"page", "keyword"}) {
    const size_t length = std::strlen(field);
    if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ' ') {
      *value = length + 1;
      return field;
    }
  }
  *value = 0;
  return "text";
}

// The words of a line cut at its spaces. A tab is a byte the help refuses.
std::vector<std::string> SpacedWords(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream spaced(line);
  for (std::string word; std::getline(spaced, word, ' ');)
    if (!word.empty()) words.push_back(word);
  return words;
}

// What a word of a refused line may be: the word whole, and the parts a byte
// the game cannot show cuts it into, as it may stand inside the word ("314\t00"
// may be the id 31400) or for the blank after one ("31400\tMartial",
// "@MAGIC@\x00@WANDS@").
void AddMayBe(const std::string& word, std::vector<std::string>* given) {
  given->push_back(word);
  for (size_t start = 0, i = 0; i <= word.size(); ++i)
    if (i == word.size() || !GameShowsByte(static_cast<unsigned char>(word[i]))) {
      if (i > start && i - start < word.size()) given->push_back(word.substr(start, i - start));
      start = i + 1;
    }
}

// The first word of a line.
std::string FirstWord(const std::string& line) {
  const std::vector<std::string> words = SpacedWords(line);
  return words.empty() ? "" : words[0];
}
// Where the words of a page or keyword line begin after its first word,
// though it is refused: its first word may be "page" or "keyword", or the
// line begins with it and a damaged blank (common/shown_bytes.h); npos for
// another line.
size_t PageLineWords(const std::string& line) { return AfterWordItMayBe(line, "page"); }
size_t KeywordLineWords(const std::string& line) { return AfterWordItMayBe(line, "keyword"); }

// Source text is UTF-8; the game's text is bytes. "\xC2\xA3" (the pound
// sign, which marks terms) becomes 0xA3; any byte the game cannot show
// (common/shown_bytes.h) is refused, in the field that holds it (in the word
// itself when that is the first word of a page or keyword line).
bool ToGameBytes(const std::string& in, std::string* out, std::string* why) {
  *out = WithGamePoundSigns(in);
  const size_t at = UnshownByte(*out, false);
  if (at == std::string::npos) return true;
  const std::string first = FirstWord(*out);
  if (at < first.size() && (PageLineWords(*out) != std::string::npos || KeywordLineWords(*out) != std::string::npos)) {
    *why = UnshownByteMessage("", first, at);
    return false;
  }
  size_t start = 0;
  const char* field = LineField(*out, &start);
  *why = UnshownByteMessage(field, std::string_view(*out).substr(start), at - start);
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

// A page line after "page ": its id, a whole number from 1 to 4294967295
// written alone ("2000x" is no id), then its title.
bool ReadPageLine(const std::string& rest, long long* id, std::string* title) {
  const size_t start = rest.find_first_not_of(" \t");
  if (start == std::string::npos) return false;
  const size_t end = std::min(rest.find_first_of(" \t", start), rest.size());
  if (!ReadWholeNumber(std::string_view(rest).substr(start, end - start), 1, 0xFFFFFFFFll, id)) return false;
  *title = TrimBlanks(rest.substr(end));
  return true;
}

void ParseFile(const std::string& path, const std::string& source, std::vector<Page>* pages) {
  int number = 0;
  Page* page = nullptr;
  bool inParagraph = false;
  // A page line refused: the lines up to the next page line belong to no
  // page, read for faults of their own but not as text before the first page.
  bool pageRefused = false;
  auto RefusePage = [&]() {
    page = nullptr;
    pageRefused = true;
  };
  for (const std::string& raw : SourceLines(source)) {
    ++number;
    const std::string where = path + ":" + std::to_string(number);
    std::string line, why;
    if (!ToGameBytes(raw, &line, &why)) {
      Error(where, why);
      // The page or the keywords of a refused line are named by the source
      // all the same: no link to them is reported besides.
      if (const size_t rest = PageLineWords(line); rest != std::string::npos) {
        RefusePage();
        const std::vector<std::string> words = SpacedWords(line.substr(rest));
        std::vector<std::string> ids;
        AddMayBe(words.empty() ? "" : words[0], &ids);
        for (const std::string& id : ids) {
          long long read = 0;
          if (ReadWholeNumber(id, 1, 0xFFFFFFFFll, &read)) g_refused->pageIds.insert(static_cast<uint32_t>(read));
          else g_refused->refusedIds.push_back(id);
        }
      } else if (const size_t words = KeywordLineWords(line); words != std::string::npos) {
        for (const std::string& word : SpacedWords(line.substr(words))) AddMayBe(word, &g_refused->refusedKeywords);
      }
      continue;
    }
    if (!line.empty() && line[0] == '#') continue;
    if (line.rfind("page ", 0) == 0) {
      long long id = 0;
      std::string title;
      if (!ReadPageLine(line.substr(5), &id, &title)) {
        Error(where, "a page line needs a positive id: page <id> <title>");
        RefusePage();
        continue;
      }
      if (title.empty()) Error(where, "the page has no title");
      if (title.size() > kHelpTitleSize - 1)
        Error(where, "the title is longer than " + std::to_string(kHelpTitleSize - 1) + " characters");
      pages->push_back(Page{});
      page = &pages->back();
      pageRefused = false;
      page->id = static_cast<uint32_t>(id);
      page->title = title;
      page->where = where;
      inParagraph = false;
      continue;
    }
    if (page == nullptr) {
      if (pageRefused && line.rfind("keyword ", 0) == 0) {
        std::istringstream words(line.substr(8));
        for (std::string k; words >> k;) g_refused->refusedKeywords.push_back(k);
      } else if (!TrimBlanks(line).empty() && !pageRefused) {
        Error(where, "text before the first page line");
      }
      continue;
    }
    if (line.rfind("keyword ", 0) == 0) {
      std::istringstream words(line.substr(8));
      std::string k;
      while (words >> k) {
        if (!ValidKeyword(k)) {
          Error(where, "bad keyword " + QuotedBytes(k) + ": capitals, digits and _ ' - / + ( ) between two '@', at most " +
                           std::to_string(kHelpKeywordSize - 1) + " characters");
          g_refused->refusedKeywords.push_back(k);
        } else
          page->keywords.push_back(k + "\n" + where);
      }
      continue;
    }
    const std::string text = TrimBlanks(line);
    if (text.empty()) {
      inParagraph = false;
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
}

// Checks the marks of a page's text: '@' and 0xA3 come in pairs, and every
// link names a keyword of some page. A link lies within a line of the text
// as the game lays it out (the paragraphs and list items the tool joins with
// carriage returns): an '@' closed only past one is not closed.
void CheckMarks(const Page& page, const HelpResult& given) {
  const std::string& t = page.text;
  const std::string name = "page " + std::to_string(page.id) + ": ";
  size_t at = 0;
  while ((at = t.find('@', at)) != std::string::npos) {
    const size_t end = t.find('@', at + 1), lineEnd = t.find('\r', at);
    if (end == std::string::npos || lineEnd < end) {
      Error(page.where, name + "an '@' without its closing '@'");
      if (lineEnd == std::string::npos) break;
      at = lineEnd;  // the next line's marks are its own
      continue;
    }
    const std::string link = t.substr(at, end - at + 1);
    if (!ValidKeyword(link))
      Error(page.where, name + "bad link " + QuotedBytes(link));
    else if (!given.GivesKeyword(link))
      Error(page.where, name + "the link " + link + " names no page (add a keyword line to the page it should open)");
    at = end + 1;
  }
  size_t marks = 0;
  for (char c : t) marks += c == '\xA3';
  if (marks % 2)
    Error(page.where, name + "an odd number of \xC2\xA3 marks");
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

bool HelpResult::GivesPage(uint32_t id) const {
  if (pageIds.count(id)) return true;
  for (const std::string& written : refusedIds)
    if (MayBeWord(written, std::to_string(id))) return true;
  return false;
}

bool HelpResult::GivesKeyword(const std::string& keyword) const {
  if (keywords.count(keyword)) return true;
  for (const std::string& written : refusedKeywords)
    if (MayBeWord(written, keyword)) return true;
  return false;
}

HelpResult CompileHelp(const std::vector<HelpSource>& sources) {
  HelpResult result;
  g_errors = &result.errors;
  g_refused = &result;
  std::vector<Page> pages;
  pages.reserve(kHelpPageCount + 16);
  for (const HelpSource& s : sources) ParseFile(s.name, s.text, &pages);

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
    if (page.id == kBlankHelpId)
      Error(page.where, "page id " + std::to_string(page.id) + " draws nothing in the game: give the page another id");
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
  if (pages.size() > kHelpPageCount)
    Error(sources.empty() ? std::string() : sources[0].name, std::to_string(pages.size()) + " pages, at most " + std::to_string(kHelpPageCount) + " fit");
  if (keywords.size() > kHelpKeywordCount)
    Error(sources.empty() ? std::string() : sources[0].name, std::to_string(keywords.size()) + " keywords, at most " + std::to_string(kHelpKeywordCount) +
                       " fit");
  for (const Keyword& k : keywords) result.keywords.insert(k.keyword);
  for (const auto& [id, where] : ids) result.pageIds.insert(id);
  for (const Page& page : pages) CheckMarks(page, result);
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
  g_errors = nullptr;
  g_refused = nullptr;
  return result;
}
