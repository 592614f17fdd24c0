#include "scriptmaker/script_source.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string_view>
#include <utility>

#include "common/comment_joins.h"
#include "common/near_names.h"
#include "common/shown_bytes.h"
#include "common/source_bytes.h"
#include "common/source_faults.h"
#include "common/source_lines.h"
#include "common/source_numbers.h"
#include "common/source_quotes.h"
#include "common/tool_files.h"
#include "scriptmaker/script_commands.h"

namespace {

constexpr int32_t kFlagCount = 500;
constexpr int32_t kLocalCount = 256;
constexpr uint32_t kLastOp = 109;
// The ends of a block: nested, and flat (which do not nest).
constexpr uint32_t kElse = 70, kEndIf = 71, kFlatElse = 1, kFlatEndIf = 2;
constexpr int kMostAnswers = 5;
// The buffers the game copies texts into (with their zero byte).
constexpr size_t kQuestionLimit = 999;
constexpr size_t kAnswerLimit = 39;
constexpr size_t kTextLimit = 9999;
// Named labels take numbers from here up.
constexpr int32_t kFirstNamedLabel = 100000;
// The entry of the names that says a names file had a refused line (no name is empty).
const std::string kRefusedNames;

std::string UndeclaredMessage(const std::string& name) {
  return QuotedBytes(name) + " is neither a number nor a declared name";
}

// The one message for a name declared and never used, one byte from a name
// used and declared nowhere (first at `file`:`line`, `uses` times in all):
// either may be damaged.
std::string UnusedNearMessage(const std::string& declared, const std::string& used, const std::string& file, int line,
                              size_t uses) {
  return QuotedBytes(declared) + " is declared and never used, and " + QuotedBytes(used) +
         ", one byte from it, is used and declared nowhere (" + UsesSaid(file + ":" + std::to_string(line), uses) + ")";
}

struct Token {
  bool text = false;
  std::string value;
};

struct Line {
  int number = 0;
  std::vector<Token> tokens;
};

struct Argument {
  bool text = false;
  int32_t value = 0;
  std::string bytes;
};

struct Command {
  uint32_t op = 0;
  std::vector<Argument> arguments;
};

class Compiler {
 public:
  explicit Compiler(const std::string& fileName) : file_(fileName) {}

  // A line's own fault (the line is refused whole), and a fault between
  // lines (a name or label another line gives or lacks).
  void Fault(int line, const std::string& message) { faults.Line(file_, line, message); }
  void Between(int line, const std::string& message) { faults.Between(file_, line, message); }

  LineFaults faults;
  // The shared names the script uses, and the names it uses that nothing
  // declares, each with the lines that use it (reported at them).
  std::set<std::string> usedShared;
  std::map<std::string, std::vector<int>> undeclared;

  // Splits the text into lines of tokens; a refused line (its fault
  // reported) is left out, and so is a line of no words.
  void Tokenise(const std::string& text, std::vector<Line>* lines) {
    int number = 0;
    for (const std::string& raw : SourceLines(text)) {
      Line line;
      line.number = ++number;
      ReadingAt(file_, number);
      if (const size_t at = RefusedLineByte(raw, true, true); at != std::string::npos)
        Fault(number, RefusedLineByteMessage(raw, at));
      else if (TokeniseLine(WithGamePoundSigns(raw), &line) && !line.tokens.empty())
        lines->push_back(std::move(line));
    }
    ReadingAt(file_, 0);
  }

  // Declarations: flag, local and const lines as written. Returns whether
  // the line is one.
  bool Declaration(const Line& line, ScriptNames* names, const ScriptNames* shared) {
    if (line.tokens[0].text) return false;
    const std::string& word = line.tokens[0].value;
    const NameKind kind = word == "flag" ? NameKind::kFlag : word == "local" ? NameKind::kLocal : NameKind::kConst;
    if (word != "flag" && word != "local" && word != "const") return false;
    if (DeclarationFault(line, kind, names, shared)) return true;
    (*names)[line.tokens[1].value] = {kind, Value(line.tokens[2].value), file_ + ":" + std::to_string(line.number),
                                      false, line.number};
    return true;
  }

  // Compiles the lines with the names of this script and the shared ones;
  // every line is compiled for its own faults (a name or label one lacks is
  // a fault only when no line was refused, see LineFaults).
  bool Compile(const std::vector<Line>& lines, const ScriptNames& shared, std::vector<uint8_t>* out) {
    ScriptNames own;
    std::vector<const Line*> body;
    for (const Line& line : lines)
      if (!Declaration(line, &own, &shared)) body.push_back(&line);
    names_[0] = &own;
    names_[1] = &shared;
    CollectLabels(body);
    std::vector<Command> commands;
    for (const Line* line : body) {
      Command command;
      if (CompileLine(*line, &command)) commands.push_back(std::move(command));
    }
    ReportUndeclared(own);
    // The blocks are checked once every line and name read soundly (each
    // line is then a command): a line with a name or label wanting may have
    // lost its end and the block's end with it ("goto Talkendif").
    if (faults.Clean() && commands.size() == body.size()) CheckBlocks(body, commands);
    if (!faults.Clean()) return false;
    Encode(commands, out);
    return true;
  }

 private:
  // Whether a line's words are a whole line of a script, read for its
  // shape: a command's (or a declaration's) word with the count and kinds of
  // words it takes, a text where it takes a text and a number or a name
  // elsewhere. A comment holding such a line is refused (JoinedLineAt).
  static bool IsLineShape(const std::vector<Token>& t) {
    if (t.empty() || t[0].text) return false;
    const std::string& name = t[0].value;
    const size_t count = t.size() - 1;
    int32_t n = 0;
    long long wide = 0;
    auto word = [&](size_t i) { return !t[i].text && (IsName(t[i].value) || ParseWide(t[i].value, &wide)); };
    auto texts = [&](size_t from) {
      return std::all_of(t.begin() + static_cast<std::ptrdiff_t>(from), t.end(), [](const Token& k) { return k.text; });
    };
    if (name == "flag" || name == "local" || name == "const")
      return count == 2 && !t[1].text && IsName(t[1].value) && !t[2].text && ParseWide(t[2].value, &wide);
    if (name == "label") return count == 1 && word(1);
    if (name == "if_answer") return count == 1 && !t[1].text && ParseNumber(t[1].value, &n) && n >= 1 && n <= kMostAnswers;
    if (name == "ask") return count >= 2 && count <= 1 + kMostAnswers && texts(1);
    if (name == "op") {
      if (count < 1 || t[1].text || !ParseNumber(t[1].value, &n) || n < 0 || static_cast<uint32_t>(n) > kLastOp) return false;
      for (size_t i = 2; i < t.size(); ++i)
        if (!t[i].text && !word(i)) return false;
      return true;
    }
    const CommandForm* form = FindCommandForm(name);
    if (!form) return false;
    size_t next = 1;
    for (const char* k = form->arguments; *k && *k != '+'; ++k) {
      if (std::isdigit(static_cast<unsigned char>(*k))) continue;
      if (next >= t.size() || (*k == 't' ? !t[next].text : !word(next))) return false;
      ++next;
    }
    const bool answers = std::strchr(form->arguments, '+') != nullptr;
    return answers ? count >= next && count < next + kMostAnswers && texts(next) : next == t.size();
  }

  static bool IsOwnCommand(const std::string& name) { return name == "ask" || name == "if_answer" || name == "op"; }

  static bool IsName(const std::string& s) {
    if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
    for (char c : s)
      if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return true;
  }

  // A decimal number of 32 bits, signed, as the compiled script holds it.
  static bool ParseNumber(const std::string& s, int32_t* out) {
    long long value = 0;
    if (!ReadWholeNumber(s, INT32_MIN, INT32_MAX, &value)) return false;
    *out = static_cast<int32_t>(value);
    return true;
  }
  // A whole number as written, of any size (one past 64 bits read as the
  // largest), for a range to refuse as the source spells it.
  static bool ParseWide(const std::string& s, long long* out) { return ReadWholeNumber(s, out); }
  static int32_t Value(const std::string& s) {
    int32_t value = 0;
    ParseNumber(s, &value);
    return value;
  }

  // Whether a declaration has a fault (reported): its own, or a name declared already.
  bool DeclarationFault(const Line& line, NameKind kind, const ScriptNames* names, const ScriptNames* shared) {
    const std::string& word = line.tokens[0].value;
    std::string fault;
    long long value = 0;
    if (line.tokens.size() != 3 || line.tokens[1].text || line.tokens[2].text) {
      fault = "'" + word + "' takes a name and a number";
    } else if (!IsName(line.tokens[1].value)) {
      fault = QuotedBytes(line.tokens[1].value) + " is not a name (a letter or '_', then letters, digits or '_')";
    } else if (!ParseWide(line.tokens[2].value, &value)) {
      fault = QuotedBytes(line.tokens[2].value) + " is not a number";
    } else if (kind == NameKind::kFlag && (value < 0 || value >= kFlagCount)) {
      fault = "flag " + std::to_string(value) + " is not one of the 500 (0 to 499)";
    } else if (kind == NameKind::kLocal && (value < 0 || value >= kLocalCount)) {
      fault = "local " + std::to_string(value) + " is not one of the 256 (0 to 255)";
    } else if (!kAnyArgument.Holds(value)) {
      fault = "'" + word + "' takes " + kAnyArgument.what + " " + kAnyArgument.Said() + ", not " + line.tokens[2].value;
    } else if (FindCommandForm(line.tokens[1].value) || IsOwnCommand(line.tokens[1].value)) {
      fault = "'" + line.tokens[1].value + "' is the name of a command";
    } else {
      for (const ScriptNames* table : {names, shared}) {
        if (!table) continue;
        const auto it = table->find(line.tokens[1].value);
        if (it == table->end()) continue;
        Between(line.number, "'" + line.tokens[1].value + "' is declared already (" + it->second.where + ")");
        return true;
      }
    }
    if (!fault.empty()) Fault(line.number, fault);
    return !fault.empty();
  }

  // A line's tokens and where its comment begins (npos for none); the
  // fault of a text that is not read whole, empty for none.
  static std::string Tokens(std::string_view raw, std::vector<Token>* tokens, size_t* comment) {
    *comment = std::string::npos;
    size_t i = 0;
    const size_t n = raw.size();
    while (i < n) {
      const char c = raw[i];
      if (BlankAt(raw, i)) {
        ++i;
        continue;
      }
      if (c == '#') {
        *comment = i;
        break;
      }
      Token token;
      if (c == '"') {
        QuotedValue value = ReadQuotedValue(raw, i);
        if (!value.fault.empty()) return value.fault;
        token.text = true;
        token.value = std::move(value.text);
        i = value.end;
      } else {
        while (i < n && !BlankAt(raw, i) && raw[i] != '#' && raw[i] != '"') token.value += raw[i++];
      }
      tokens->push_back(std::move(token));
    }
    return "";
  }

  // Whether a text reads whole as a line of a script (IsLineShape).
  static bool IsScriptLine(std::string_view text) {
    std::vector<Token> tokens;
    size_t comment = 0;
    return Tokens(text, &tokens, &comment).empty() && IsLineShape(tokens);
  }

  // A line's tokens; false after its fault (reported): a text not read
  // whole, or a comment that holds a whole line of a script.
  bool TokeniseLine(const std::string& raw, Line* line) {
    size_t comment = 0;
    if (const std::string fault = Tokens(raw, &line->tokens, &comment); !fault.empty()) {
      Fault(line->number, fault);
      return false;
    }
    if (comment == std::string::npos) return true;
    const std::string_view text = std::string_view(raw).substr(comment);
    if (const size_t at = JoinedLineAt(text, IsScriptLine, !line->tokens.empty()); at != std::string::npos) {
      Fault(line->number, JoinedLineMessage(text, at));
      return false;
    }
    return true;
  }

  // A declared name, of this script or shared.
  const ScriptName* FindName(const std::string& name) const {
    for (const ScriptNames* table : names_) {
      if (!table) continue;
      auto it = table->find(name);
      if (it != table->end()) return &it->second;
    }
    return nullptr;
  }
  // The same for a use of the name, which is counted.
  const ScriptName* UseName(const std::string& name) {
    const ScriptName* found = FindName(name);
    if (found) (names_[1] && names_[1]->count(name) ? usedShared : usedOwn_).insert(name);
    return found;
  }

  // The blocks of the script: each conditional ('if_...', or 'op' of its
  // code) opens a block that 'endif' (or 'endif_flat') closes, 'else' (or
  // 'else_flat') standing in an open one, and one 'else' at most in a block
  // (a second ends the block where the game skips to it). A fault between
  // lines: an 'else' or 'endif' where no block is open, or a second 'else',
  // at its line, and a block the script leaves open, at the line of its
  // conditional.
  void CheckBlocks(const std::vector<const Line*>& body, const std::vector<Command>& commands) {
    // A command as its line names it: "'endif'", "'op 4'".
    auto said = [](const Line* line) {
      const std::string& word = line->tokens[0].value;
      return "'" + (word == "op" ? word + " " + line->tokens[1].value : word) + "'";
    };
    struct Block {
      const Line* opening;
      const Line* otherwise = nullptr;  // its 'else'
    };
    std::vector<Block> open;
    for (size_t i = 0; i < body.size(); ++i) {
      const Line* line = body[i];
      const uint32_t op = commands[i].op;
      if (OpensBlock(op)) {
        open.push_back({line});
      } else if ((op == kElse || op == kFlatElse) && open.empty()) {
        Between(line->number, said(line) + " stands in no block: no 'if_' before it is open");
      } else if (op == kElse && open.back().otherwise) {
        Between(line->number, said(line) + " is a second 'else' of the block " + said(open.back().opening) +
                                  " opens at line " + std::to_string(open.back().opening->number) + " (its 'else' at line " +
                                  std::to_string(open.back().otherwise->number) + ")");
      } else if (op == kElse) {
        open.back().otherwise = line;
      } else if (op == kEndIf || op == kFlatEndIf) {
        if (open.empty()) Between(line->number, said(line) + " closes no block: no 'if_' before it is open");
        else open.pop_back();
      }
    }
    for (const Block& block : open)
      Between(block.opening->number, said(block.opening) + " opens a block that no 'endif' closes");
  }

  // The uses of names nothing declares, each at its line; or, where the
  // script declares a name it never uses one byte from it (a letter lost,
  // put in or changed), once at that declaration, which may be the one meant.
  void ReportUndeclared(const ScriptNames& own) {
    for (auto it = undeclared.begin(); it != undeclared.end();) {
      const auto& [name, lines] = *it;
      const auto near = std::find_if(own.begin(), own.end(), [&, &name = name](const auto& declared) {
        return !usedOwn_.count(declared.first) && OneByteApart(declared.first, name);
      });
      if (near == own.end()) {
        for (const int line : lines) Between(line, UndeclaredMessage(name));
        ++it;
        continue;
      }
      Between(near->second.line, UnusedNearMessage(near->first, name, file_, lines[0], lines.size()));
      it = undeclared.erase(it);
    }
  }

  // Labels: numbered ones as written, named ones numbered from kFirstNamedLabel
  // past every number written anywhere in the script, so that none collide.
  // A label line is "label NAME" (its own fault is said as it is compiled).
  void CollectLabels(const std::vector<const Line*>& body) {
    std::set<int32_t> numbers;
    std::vector<const Line*> named;
    for (const Line* line : body) {
      const std::vector<Token>& t = line->tokens;
      if (t[0].text || t[0].value != "label" || t.size() != 2 || t[1].text) continue;
      const std::string& name = t[1].value;
      int32_t number = 0;
      if (!ParseNumber(name, &number)) {
        named.push_back(line);
      } else if (!numbers.insert(number).second) {
        Between(line->number, "label " + ShownBytes(name) + " is set twice");
      }
    }
    numbered_ = numbers;
    int32_t next = kFirstNamedLabel;
    for (const Line* line : named) {
      const std::string& name = line->tokens[1].value;
      if (!IsName(name)) continue;  // refused as it is compiled
      if (FindName(name)) {
        Between(line->number, QuotedBytes(name) + " cannot name a label: it is a declared name");
        continue;
      }
      if (labels_.count(name)) {
        Between(line->number, "label " + ShownBytes(name) + " is set twice");
        continue;
      }
      while (numbers.count(next)) ++next;
      labels_[name] = next;
      numbers.insert(next++);
    }
  }

  // A number argument of the kind (`before` the value of the argument
  // before it, for a range that hangs on it): a number as written, or a
  // declared name of the kind, within the range the game takes. Every
  // number the compiled script holds is of 32 bits, signed, as the game
  // reads it: one outside is refused with its command's range, or with the
  // 32 bits' where that range says nothing of it (a flag, a label, extra
  // levels "60 at most").
  bool NumberArgument(const Line& line, const Token& token, char kind, Argument* out, int64_t before = 0) {
    if (token.text) {
      Fault(line.number, "a number is wanted here, not the text " + QuotedBytes(token.value));
      return false;
    }
    long long wide = 0;
    const bool literal = ParseWide(token.value, &wide);
    if (kind == 'b' && !literal && !IsName(token.value)) {
      Fault(line.number, QuotedBytes(token.value) + " cannot name a label");
      return false;
    }
    const ArgumentRange* range = ArgumentRangeOf(kind, before);
    if (literal && !kAnyArgument.Holds(wide) && (!range || range->spans.front().low == INT32_MIN)) range = &kAnyArgument;
    if (literal && range && !range->Holds(wide)) {
      Fault(line.number, "'" + line.tokens[0].value + "' takes " + range->what + " " + range->Said() + ", not " + token.value);
      return false;
    }
    int32_t value = static_cast<int32_t>(wide);
    if (kind == 'b') {
      const auto it = labels_.find(token.value);
      if (literal ? !numbered_.count(value) : it == labels_.end()) {
        Between(line.number, "label " + ShownBytes(token.value) + " is not set in this script");
        return false;
      }
      out->value = literal ? value : it->second;
      return true;
    }
    if (!literal) {
      const ScriptName* name = UseName(token.value);
      if (!name) {
        if (IsName(token.value)) undeclared[token.value].push_back(line.number);
        else Between(line.number, UndeclaredMessage(token.value));
        return false;
      }
      const NameKind wanted = kind == 'f' ? NameKind::kFlag : kind == 'l' ? NameKind::kLocal : NameKind::kConst;
      if (name->kind != wanted) {
        const char* what = kind == 'f' ? "a flag" : kind == 'l' ? "a local" : "a number or constant";
        Between(line.number, QuotedBytes(token.value) + " is not " + what);
        return false;
      }
      value = name->value;
      if (range && !range->Holds(value)) {
        Fault(line.number, "'" + line.tokens[0].value + "' takes " + range->what + " " + range->Said() + ", not " +
                               QuotedBytes(token.value) + " (" + std::to_string(value) + ")");
        return false;
      }
    }
    if (kind == 'f' && (value < 0 || value >= kFlagCount)) {
      Fault(line.number, "flag " + std::to_string(value) + " is not one of the 500 (0 to 499)");
      return false;
    }
    if (kind == 'l' && (value < 0 || value >= kLocalCount)) {
      Fault(line.number, "local " + std::to_string(value) + " is not one of the 256 (0 to 255)");
      return false;
    }
    out->value = value;
    return true;
  }

  // What a text may hold besides printable bytes: a question or journal text,
  // which the game lays out in lines, carriage returns (its line ends); an
  // answer, shown on one line, nothing; a text of `op`, written as it stands,
  // anything but a zero byte (which would end it).
  enum class Shown { kInLines, kOnOneLine, kAsWritten };

  bool TextArgument(const Line& line, const Token& token, size_t limit, const char* what, Argument* out,
                    Shown shown = Shown::kInLines) {
    if (!token.text) {
      Fault(line.number, "a quoted text is wanted here, not " + QuotedBytes(token.value));
      return false;
    }
    const size_t unshown = shown == Shown::kAsWritten ? token.value.find('\0')
                                                      : UnshownByte(token.value, shown == Shown::kInLines);
    if (unshown != std::string::npos) {
      Fault(line.number, UnshownByteMessage(line.tokens[0].value, token.value, unshown));
      return false;
    }
    if (token.value.size() > limit) {
      Fault(line.number, std::string(what) + " is " + std::to_string(token.value.size()) + " bytes long; at most " +
                             std::to_string(limit) + " fit");
      return false;
    }
    out->text = true;
    out->bytes = token.value;
    return true;
  }

  bool CompileLine(const Line& line, Command* command) {
    const Token& head = line.tokens[0];
    if (head.text) {
      Fault(line.number, "a line starts with a command, not a text");
      return false;
    }
    const std::string& name = head.value;
    const std::vector<Token> args(line.tokens.begin() + 1, line.tokens.end());
    if (name == "if_answer") {
      int32_t n = 0;
      if (args.size() != 1 || args[0].text || !ParseNumber(args[0].value, &n) || n < 1 || n > kMostAnswers) {
        Fault(line.number, "'if_answer' takes an answer number from 1 to 5");
        return false;
      }
      command->op = 15 + static_cast<uint32_t>(n);
      return true;
    }
    if (name == "op") {
      int32_t op = 0;
      if (args.empty() || args[0].text || !ParseNumber(args[0].value, &op) || op < 0 ||
          static_cast<uint32_t>(op) > kLastOp) {
        Fault(line.number, "'op' takes an operation code from 0 to 109, then its arguments");
        return false;
      }
      command->op = static_cast<uint32_t>(op);
      for (size_t i = 1; i < args.size(); ++i) {
        Argument a;
        if (args[i].text ? !TextArgument(line, args[i], kTextLimit, "the text", &a, Shown::kAsWritten)
                         : !NumberArgument(line, args[i], 'i', &a))
          return false;
        command->arguments.push_back(std::move(a));
      }
      return true;
    }
    if (name == "ask") {
      if (args.size() < 2 || args.size() > 1 + kMostAnswers) {
        Fault(line.number, "'ask' takes a question and one to five answers");
        return false;
      }
      command->op = 10 + static_cast<uint32_t>(args.size() - 1);
      for (size_t i = 0; i < args.size(); ++i) {
        Argument a;
        if (!TextArgument(line, args[i], i == 0 ? kQuestionLimit : kAnswerLimit, i == 0 ? "the question" : "an answer",
                          &a, i == 0 ? Shown::kInLines : Shown::kOnOneLine))
          return false;
        command->arguments.push_back(std::move(a));
      }
      return true;
    }
    const CommandForm* form = FindCommandForm(name);
    if (!form) {
      Fault(line.number, "unknown command " + QuotedBytes(name));
      return false;
    }
    command->op = form->op;
    const std::string kinds = form->arguments;
    const bool answers = !kinds.empty() && kinds.back() == '+';
    const std::string fixed = answers ? kinds.substr(0, kinds.size() - 1) : kinds;
    size_t written = 0;
    for (char k : fixed)
      if (!std::isdigit(static_cast<unsigned char>(k))) ++written;
    const bool countFits = answers ? args.size() >= written + 1 && args.size() <= written + kMostAnswers
                                   : args.size() == written;
    if (!countFits) {
      Fault(line.number, "'" + name + "' takes " +
                             (answers ? std::to_string(written) + " arguments and one to five answers"
                                      : std::to_string(written) + (written == 1 ? " argument" : " arguments")) +
                             ", not " + std::to_string(args.size()));
      return false;
    }
    const bool question = answers;  // the first text of an asking command is its question
    size_t next = 0;
    for (char k : fixed) {
      Argument a;
      if (std::isdigit(static_cast<unsigned char>(k))) {
        a.value = k - '0';
      } else if (k == 't') {
        const size_t limit = question ? kQuestionLimit : kTextLimit;
        if (!TextArgument(line, args[next++], limit, question ? "the question" : "the text", &a)) return false;
      } else if (!NumberArgument(line, args[next++], k, &a,
                                 command->arguments.empty() ? 0 : command->arguments.back().value)) {
        return false;
      }
      command->arguments.push_back(std::move(a));
    }
    while (answers && next < args.size()) {
      Argument a;
      if (!TextArgument(line, args[next++], kAnswerLimit, "an answer", &a, Shown::kOnOneLine)) return false;
      command->arguments.push_back(std::move(a));
    }
    return true;
  }

  static void Word(std::vector<uint8_t>* out, uint32_t w) {
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(w >> (8 * i)));
  }

  static void Encode(const std::vector<Command>& commands, std::vector<uint8_t>* out) {
    out->clear();
    Word(out, static_cast<uint32_t>(commands.size()));
    for (const Command& c : commands) {
      Word(out, c.op);
      Word(out, static_cast<uint32_t>(c.arguments.size()));
      for (const Argument& a : c.arguments) {
        if (!a.text) {
          Word(out, 0);
          Word(out, static_cast<uint32_t>(a.value));
          continue;
        }
        // A text is written with its zero byte; an empty one has no bytes.
        Word(out, 1);
        if (a.bytes.empty()) {
          Word(out, 0);
          continue;
        }
        Word(out, static_cast<uint32_t>(a.bytes.size() + 1));
        out->insert(out->end(), a.bytes.begin(), a.bytes.end());
        out->push_back(0);
      }
    }
  }

  std::string file_;
  const ScriptNames* names_[2] = {nullptr, nullptr};
  std::set<std::string> usedOwn_;
  std::map<std::string, int32_t> labels_;
  std::set<int32_t> numbered_;
};

// The faults of a source from `from` on in the order of its lines (each is
// "file:line: message"): a line is split before the script is compiled.
void InLineOrder(const std::string& fileName, std::vector<std::string>* errors, size_t from) {
  auto line = [&](const std::string& fault) { return std::atol(fault.c_str() + fileName.size() + 1); };
  std::stable_sort(errors->begin() + static_cast<std::ptrdiff_t>(from), errors->end(),
                   [&](const std::string& a, const std::string& b) { return line(a) < line(b); });
}

}  // namespace

bool ReadScriptNames(const std::string& fileName, const std::string& text, ScriptNames* names,
                     std::vector<std::string>* errors) {
  Compiler compiler(fileName);
  std::vector<Line> lines;
  compiler.Tokenise(text, &lines);
  for (const Line& line : lines)
    if (!compiler.Declaration(line, names, nullptr))
      compiler.Fault(line.number, "a names file holds only flag, local and const lines");
  // A names file with a refused line may have declared any name: the
  // scripts are then read for their own faults alone.
  if (names->count(kRefusedNames)) compiler.faults.DependsOnRefused();
  if (compiler.faults.Refused()) (*names)[kRefusedNames] = {NameKind::kConst, 0, fileName, true};
  std::vector<std::string> faults = compiler.faults.Messages();
  InLineOrder(fileName, &faults, 0);
  errors->insert(errors->end(), faults.begin(), faults.end());
  return faults.empty();
}

ScriptSourceResult CompileScriptSource(const std::string& fileName, const std::string& text,
                                       const ScriptNames& shared) {
  ScriptSourceResult result;
  Compiler compiler(fileName);
  std::vector<Line> lines;
  compiler.Tokenise(text, &lines);
  result.ok = compiler.Compile(lines, shared, &result.bytes);
  if (shared.count(kRefusedNames)) compiler.faults.DependsOnRefused();
  result.errors = compiler.faults.Messages();
  InLineOrder(fileName, &result.errors, 0);
  if (!result.ok) result.bytes.clear();
  result.usedShared = std::move(compiler.usedShared);
  result.undeclared = std::move(compiler.undeclared);
  return result;
}

ScriptSetResult CompileScriptSet(const std::vector<ScriptText>& namesFiles, const std::vector<ScriptText>& scripts) {
  ScriptSetResult set;
  ScriptNames names;
  for (const ScriptText& n : namesFiles) ReadScriptNames(n.file, n.text, &names, &set.errors);
  std::vector<ScriptSourceResult> results;
  std::set<std::string> used;
  for (const ScriptText& s : scripts) {
    results.push_back(CompileScriptSource(s.file, s.text, names));
    used.insert(results.back().usedShared.begin(), results.back().usedShared.end());
  }
  // A shared name no script uses, one byte from a name used and declared
  // nowhere whose uses are reported: one message at the declaration instead.
  for (const auto& [declared, entry] : names) {
    if (entry.refused || used.count(declared)) continue;
    std::string name, file;  // the first name used near it, and the script and line of its first use
    int line = 0;
    size_t uses = 0;
    for (size_t i = 0; i < scripts.size(); ++i) {
      std::vector<std::string>& errors = results[i].errors;
      for (const auto& [usedName, at] : results[i].undeclared) {
        if (!OneByteApart(declared, usedName) || (!name.empty() && usedName != name)) continue;
        const auto said = [&, &usedName = usedName, &at = at](const std::string& e) {
          for (const int line : at)
            if (e == scripts[i].file + ":" + std::to_string(line) + ": " + UndeclaredMessage(usedName)) return true;
          return false;
        };
        if (std::find_if(errors.begin(), errors.end(), said) == errors.end()) continue;
        errors.erase(std::remove_if(errors.begin(), errors.end(), said), errors.end());
        if (name.empty()) name = usedName, file = scripts[i].file, line = at[0];
        uses += at.size();
      }
    }
    if (!name.empty()) set.errors.push_back(entry.where + ": " + UnusedNearMessage(declared, name, file, line, uses));
  }
  for (size_t i = 0; i < scripts.size(); ++i) {
    set.errors.insert(set.errors.end(), results[i].errors.begin(), results[i].errors.end());
    set.compiled.push_back(std::move(results[i].bytes));
  }
  if (!set.errors.empty()) set.compiled.clear();
  return set;
}

std::string ScriptOutputName(const std::string& sourcePath) {
  const size_t slash = sourcePath.find_last_of("/\\");
  std::string base = slash == std::string::npos ? sourcePath : sourcePath.substr(slash + 1);
  const std::string suffix = ".txt";
  if (base.size() <= suffix.size() || base.compare(base.size() - suffix.size(), suffix.size(), suffix) != 0)
    return "";
  base.resize(base.size() - suffix.size());
  for (char c : base)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' || c == ' ')) return "";
  if (base.find("..") != std::string::npos) return "";
  return base + ".mls";
}
