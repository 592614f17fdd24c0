// The numbers of a content source, each read whole or refused: a whole
// number is a sign or not, then digits, and nothing else (no blank, no zero
// byte, no letter after them; a reader that stopped at a zero byte took "2"
// followed by one and junk as 2).
#pragma once
#include <charconv>
#include <climits>
#include <string_view>
#include <system_error>

// False for anything but a sign ('-' or '+') or none and one digit or more.
// A number too long for 64 bits is read as the largest (or smallest) one, so
// that a range refuses it as the source spells it.
inline bool ReadWholeNumber(std::string_view text, long long* out) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) i = 1;
  if (i == text.size()) return false;
  unsigned long long value = 0;
  const unsigned long long limit = negative ? 1ull + LLONG_MAX : LLONG_MAX;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    const unsigned digit = static_cast<unsigned>(text[i] - '0');
    value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
  }
  *out = negative ? (value == limit ? LLONG_MIN : -static_cast<long long>(value)) : static_cast<long long>(value);
  return true;
}

// The same within [low, high]: false outside it too.
inline bool ReadWholeNumber(std::string_view text, long long low, long long high, long long* out) {
  long long v = 0;
  if (!ReadWholeNumber(text, &v) || v < low || v > high) return false;
  *out = v;
  return true;
}

// A number written in hexadecimal digits alone (no sign, no "0x"; upper or
// lower case), read whole or refused; false too when it passes 64 bits.
inline bool ReadHexNumber(std::string_view text, unsigned long long* out) {
  const char* end = text.data() + text.size();
  const auto [stop, fault] = std::from_chars(text.data(), end, *out, 16);
  return !text.empty() && fault == std::errc() && stop == end;
}

// The byte the two hexadecimal digits at `at` in `text` write, as a "\xNN"
// escape of a source writes one after its "\x"; -1 when there are not two.
inline int HexByteAt(std::string_view text, size_t at) {
  unsigned long long byte = 0;
  if (at > text.size() || text.size() - at < 2 || !ReadHexNumber(text.substr(at, 2), &byte)) return -1;
  return static_cast<int>(byte);
}
