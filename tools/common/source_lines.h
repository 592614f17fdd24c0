// The lines of a content source as every tool reads them: the file read
// whole, cut at its newlines, each line without the carriage return of a
// CRLF line end (one inside a line is a byte of it).
#pragma once
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "common/tool_files.h"

inline std::vector<std::string> SourceLines(std::string_view text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

// The lines of the source at `path`; false when it cannot be read.
inline bool ReadSourceLines(const std::string& path, std::vector<std::string>* lines) {
  std::string text;
  if (!ReadSourceFile(path, &text)) return false;
  *lines = SourceLines(text);
  return true;
}
