// The named forms of the script commands the compiler knows. Besides them
// it reads three of its own: "ask TEXT ANSWER..." (one to five answers,
// codes 11 to 15), "if_answer N" (N 1 to 5, codes 16 to 20) and "op CODE
// ARGUMENT..." (any code with numbers and texts as written).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct CommandForm {
  const char* name;
  uint32_t op;
  // l a local, f a flag, b a label, t a text, a digit that fixed number (not
  // written in the source); '+' one to five answer texts; any other letter a
  // number or constant, 'i' any 32-bit number, the others of the range the
  // game takes (ArgumentRangeOf).
  const char* arguments;
};

// The form of a command name; null for a name no command has.
const CommandForm* FindCommandForm(const std::string& name);

// The numbers a number argument may be, as the game takes them when the
// script runs: the spans from `low` to `high` in order (an item code, 1 to
// 4,999 or 5,001 to 6,999; a map, 0 to 40 or the world map's 99; an
// achievement, the numbers the game grants by); `what` names it in a fault
// ("a square's x").
struct ArgumentSpan {
  int64_t low, high;
};
struct ArgumentRange {
  const char* what;
  std::vector<ArgumentSpan> spans;
  bool Holds(int64_t value) const {
    for (const ArgumentSpan& s : spans)
      if (value >= s.low && value <= s.high) return true;
    return false;
  }
  // "from 0 to 59", "from 1 to 4999 or 5001 to 6999", "60 at most", "0, 3,
  // 5, 12 to 14 ... or 103 to 116".
  std::string Said() const;
};

// Every number argument is a 32-bit signed number in the compiled script,
// as the game reads it: a value only compared, a label's number, a name's.
extern const ArgumentRange kAnyArgument;

// The range of an argument kind; null for a kind that is no number. An
// argument whose range hangs on the one before it (set_behaviour's index,
// by its table) takes that one's value as `before`.
const ArgumentRange* ArgumentRangeOf(char kind, int64_t before = 0);

// Whether a command of the operation code opens a block that 'endif' closes.
bool OpensBlock(uint32_t op);
