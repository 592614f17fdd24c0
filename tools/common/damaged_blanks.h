// A refused word of a source line that may be two: a word, then the blank
// after it damaged into a byte the game cannot show, then the next word
// ("creature\x004" may be "creature" and "4", "row\xe931" "row" and "31").
// A refused line counts as what its words may be, so that one damaged blank
// is one fault (common/shown_bytes.h `MayBeWord`, for a damaged byte of a
// word itself).
#pragma once
#include <string_view>

#include "common/shown_bytes.h"

// Whether `written` is `word`, a byte the game cannot show, and more; *rest
// (when given) is then what follows the byte.
inline bool MayBeWordAndDamagedBlank(std::string_view written, std::string_view word,
                                     std::string_view* rest = nullptr) {
  if (written.size() <= word.size() + 1 || written.substr(0, word.size()) != word ||
      GameShowsByte(static_cast<unsigned char>(written[word.size()])))
    return false;
  if (rest) *rest = written.substr(word.size() + 1);
  return true;
}
