// A name declared and a name used that one damaged byte tells apart: the
// declaration used nowhere and the uses declared nowhere are one fault, said
// once at the declaration, which may be the one damaged.
#pragma once
#include <string>

// Whether two names are one byte apart: one lost, put in or (`changed`)
// changed.
inline bool OneByteApart(const std::string& a, const std::string& b, bool changed = true) {
  if (a.size() > b.size()) return OneByteApart(b, a, changed);
  if (b.size() - a.size() > 1 || a == b || (!changed && a.size() == b.size())) return false;
  size_t i = 0;
  while (i < a.size() && a[i] == b[i]) ++i;
  return a.compare(i, std::string::npos, b, i + b.size() - a.size(), std::string::npos) == 0 ||
         (a.size() == b.size() && a.compare(i + 1, std::string::npos, b, i + 1, std::string::npos) == 0);
}

// How a name's uses are said: "Map21.txt:48", "Map21.txt:48 and 3 more uses".
inline std::string UsesSaid(const std::string& first, size_t uses, const char* use = "use") {
  const size_t more = uses - 1;
  return first + (more == 0 ? "" : " and " + std::to_string(more) + " more " + use + (more == 1 ? "" : "s"));
}
