// The decimal numbers of a content source ("0.28", "-1", "+2.5", "1e3"),
// each read whole or refused: a sign or none, digits with a point among or
// after them, and an exponent or none; no blank, no hexadecimal, no "inf" or
// "nan", nothing after the number, and nothing too large for a double.
#pragma once
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

// False for anything but such a number.
inline bool ReadDecimal(std::string_view text, double* out) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  // A first byte past the sign that is a digit or a point, so that "inf",
  // "nan" and a second sign are none.
  const size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
  if (first >= text.size() || !((text[first] >= '0' && text[first] <= '9') || text[first] == '.')) return false;
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, fault] = std::from_chars(text.data(), end, value);
  if (fault != std::errc() || stop != end || !std::isfinite(value)) return false;
  *out = value;
  return true;
}

// The same within [low, high]: false outside it too.
inline bool ReadDecimal(std::string_view text, double low, double high, double* out) {
  double v = 0;
  if (!ReadDecimal(text, &v) || v < low || v > high) return false;
  *out = v;
  return true;
}
