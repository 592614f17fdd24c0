// A quoted value of a content source line (a name or text of the tables, a
// script or a start) as every tool reads one: from a double quote to the next
// one not after a backslash, with the escapes \" \\ \r \n \t and \xNN (two
// hexadecimal digits) for any byte. Any other escape is refused: the table
// tool took "\n" as the letter n, the start tool "\x41" as four bytes.
#pragma once
#include <string>
#include <string_view>

#include "common/source_bytes.h"
#include "common/source_numbers.h"

struct QuotedValue {
  std::string text;   // the bytes it writes
  size_t end = 0;     // where the line goes on after its closing quote
  std::string fault;  // why it is refused, empty when it is read whole
  bool open = false;  // the line ends inside it (a text run past its line)
};

// The value whose opening quote stands at `at` of `line`.
inline QuotedValue ReadQuotedValue(std::string_view line, size_t at) {
  QuotedValue value;
  for (size_t i = at + 1; i < line.size();) {
    const char c = line[i++];
    if (c == '"') {
      value.end = i;
      return value;
    }
    if (c != '\\') {
      value.text += c;
      continue;
    }
    if (i == line.size()) break;  // a backslash at the line's end escapes no quote
    const char e = line[i++];
    switch (e) {
      case '"':
      case '\\': value.text += e; break;
      case 'r': value.text += '\r'; break;
      case 'n': value.text += '\n'; break;
      case 't': value.text += '\t'; break;
      case 'x': {
        const int byte = HexByteAt(line, i);
        if (byte < 0) {
          value.fault = "a \\x escape takes two hexadecimal digits";
          return value;
        }
        value.text += static_cast<char>(byte);
        i += 2;
        break;
      }
      default:
        value.fault = "unknown escape " + QuotedBytes(std::string("\\") + e);
        return value;
    }
  }
  value.end = line.size();
  value.fault = "a text is not closed";
  value.open = true;
  return value;
}
