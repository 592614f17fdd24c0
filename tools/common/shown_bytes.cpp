// The bytes the game shows (see shown_bytes.h), from the font sources the
// build copies in.
#include "common/shown_bytes.h"

#include <algorithm>
#include <bitset>
#include <sstream>
#include <string>

#include "common/source_bytes.h"
#include "common/source_lines.h"
#include "common/source_numbers.h"

namespace {

#include "common/font_sources.inc"

// The characters a font source gives a glyph: the names of its "chars" lines.
std::bitset<256> Glyphs(const char* source) {
  std::bitset<256> glyphs;
  for (const std::string& line : SourceLines(source)) {
    if (line.rfind("chars ", 0) != 0) continue;
    std::istringstream names(line.substr(6));
    for (std::string name; names >> name;) {
      const int code = FontCharCode(name);
      if (code >= 0) glyphs.set(static_cast<size_t>(code));
    }
  }
  return glyphs;
}

const std::bitset<256>& ShownSet() {
  static const std::bitset<256> shown = [] {
    std::bitset<256> s = Glyphs(kLargeFontSource) & Glyphs(kSmallFontSource);
    s.set(' ');
    s.set('_');
    return s;
  }();
  return shown;
}

}  // namespace

bool GameShowsByte(unsigned char c) { return ShownSet().test(c); }

size_t UnshownByte(std::string_view text, bool lineEnds) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (!GameShowsByte(c) && !(lineEnds && c == '\r')) return i;
  }
  return std::string_view::npos;
}

std::string UnshownByteMessage(std::string_view field, std::string_view text, size_t at) {
  if (IsControlByte(static_cast<unsigned char>(text[at]))) return ControlByteMessage(field, text, at);
  const std::string said = " holds the byte " + ShownBytes(text.substr(at, 1)) + ", which the game cannot show";
  if (field.empty()) return QuotedBytes(text) + said;
  return QuotedBytes(field) + said + ": " + QuotedBytes(text);
}

bool MayBeWord(std::string_view written, std::string_view word) {
  if (written == word) return true;
  std::string kept;
  for (const char c : written)
    if (GameShowsByte(static_cast<unsigned char>(c))) kept += c;
  if (kept.size() == written.size()) return false;  // a sound word is only itself
  if (kept == word) return true;
  if (written.size() != word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (GameShowsByte(static_cast<unsigned char>(written[i])) && written[i] != word[i]) return false;
  return true;
}

bool MayBeWordAndDamagedBlank(std::string_view written, std::string_view word, std::string_view* rest) {
  if (written.size() <= word.size() + 1 || written.substr(0, word.size()) != word ||
      GameShowsByte(static_cast<unsigned char>(written[word.size()])))
    return false;
  if (rest) *rest = written.substr(word.size() + 1);
  return true;
}

bool MayBeginWithWord(std::string_view written, std::string_view word) {
  return MayBeWord(written, word) || MayBeWordAndDamagedBlank(written, word);
}

std::string WithGamePoundSigns(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA3') ++i;
    out += text[i];
  }
  return out;
}

int FontCharCode(std::string_view name) {
  if (name.size() == 1) return static_cast<unsigned char>(name[0]);
  if (name.size() == 4 && name.substr(0, 2) == "\\x") return HexByteAt(name, 2);
  return -1;
}
