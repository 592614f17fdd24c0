// The named forms of the script commands the compiler knows. Besides them
// it reads three of its own: "ask TEXT ANSWER..." (one to five answers,
// codes 11 to 15), "if_answer N" (N 1 to 5, codes 16 to 20) and "op CODE
// ARGUMENT..." (any code with numbers and texts as written).
#pragma once
#include <cstdint>
#include <string>

struct CommandForm {
  const char* name;
  uint32_t op;
  // l a local, f a flag, b a label, t a text, a digit that fixed number (not
  // written in the source); '+' one to five answer texts; any other letter a
  // number or constant, 'i' any, the others of the range the game takes
  // (ArgumentRangeOf).
  const char* arguments;
};

// The form of a command name; null for a name no command has.
const CommandForm* FindCommandForm(const std::string& name);

// The numbers a number argument may be, as the game takes them when the
// script runs: from `low` to `high`, or `also` to `alsoHigh` besides (an
// item code, 1 to 4,999 or 5,001 to 6,999; a map, 0 to 40 or the world
// map's 99); `what` names it in a fault ("a square's x").
struct ArgumentRange {
  const char* what;
  int64_t low, high;
  int64_t also = 1, alsoHigh = 0;  // none when also > alsoHigh
  bool Holds(int64_t value) const {
    return (value >= low && value <= high) || (value >= also && value <= alsoHigh);
  }
  // "from 0 to 59", "from 1 to 4999 or 5001 to 6999", "60 at most".
  std::string Said() const;
};

// The range of an argument kind; null for one of any number ('i') or a
// kind that is no number.
const ArgumentRange* ArgumentRangeOf(char kind);

// Whether a command of the operation code opens a block that 'endif' closes.
bool OpensBlock(uint32_t op);
