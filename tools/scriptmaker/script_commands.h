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
  // i a number, l a local, f a flag, b a label, t a text, a digit that
  // fixed number (not written in the source); '+' one to five answer texts.
  const char* arguments;
};

// The form of a command name; null for a name no command has.
const CommandForm* FindCommandForm(const std::string& name);
