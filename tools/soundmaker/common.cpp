#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/comment_joins.h"
#include "common/source_bytes.h"
#include "common/source_decimals.h"
#include "common/source_lines.h"
#include "common/source_numbers.h"
#include "common/tool_files.h"
#include "soundmaker.h"

void Fail(const std::string& where, const std::string& what) { throw SourceFault(where + ": " + what); }

std::string ReadTextFile(const std::string& path) {
  std::string text;
  if (!ReadSourceFile(path, &text)) Fail(path, "cannot be read");
  return text;
}

namespace {

size_t CommentMark(std::string_view line) {
  size_t mark = 0;
  while (mark < line.size() && !(line[mark] == '#' && (mark == 0 || line[mark - 1] == ' ' || line[mark - 1] == '\t'))) ++mark;
  return mark;
}

// A number as the messages write it: "5", "0.25", "-1".
std::string Shown(double v) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, v).ptr;
  return std::string(text, end);
}

}  // namespace

std::vector<SoundLine> SoundLines(const std::string& text, const IsSoundLine& isLine) {
  const auto wholeLine = [&](std::string_view tail, bool glued) {
    return isLine(LineWords(tail.substr(0, CommentMark(tail))), glued);
  };
  std::vector<SoundLine> lines;
  for (const ReadLine& read : LinesWithJoins(SourceLines(text), CommentMark, wholeLine))
    lines.push_back({read.number, CutLineAt(read.text, CommentMark(read.text)), read.joinFault, read.joined});
  return lines;
}

std::vector<std::string> Words(const std::string& line) { return LineWords(line); }

int ParseInt(const std::string& where, const std::string& text) {
  long long v = 0;
  if (!ReadWholeNumber(text, &v)) Fail(where, QuotedBytes(text) + " is not a whole number");
  if (v < -1000000 || v > 1000000) Fail(where, QuotedBytes(text) + " is out of range");
  return static_cast<int>(v);
}

int ParseInt(const std::string& where, const std::string& name, const std::string& text, int low, int high) {
  long long v = 0;
  if (!ReadWholeNumber(text, &v)) Fail(where, name + " wants a whole number, not " + QuotedBytes(text));
  if (v < low || v > high) Fail(where, name + " is " + std::to_string(low) + " to " + std::to_string(high) + ", not " + text);
  return static_cast<int>(v);
}

double ParseNumber(const std::string& where, const std::string& text) {
  double v = 0;
  if (!ReadDecimal(text, &v)) Fail(where, QuotedBytes(text) + " is not a number");
  if (std::fabs(v) > 1e6) Fail(where, QuotedBytes(text) + " is out of range");
  return v;
}

void NeedRange(const std::string& where, const std::string& name, double v, double low, double high) {
  if (v < low || v > high) Fail(where, name + " is " + Shown(low) + " to " + Shown(high) + ", not " + Shown(v));
}

void CheckLineBytes(const std::string& where, const CommentedLine& line) {
  if (const std::string fault = RefusedLineFault(line); !fault.empty()) Fail(where, fault);
}

// The canonical 44-byte header: RIFF, WAVE, a 16-byte "fmt " chunk, "data".
std::vector<uint8_t> WavBytes(const Stereo& samples) {
  std::vector<uint8_t> wav;
  auto put = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) wav.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto tag = [&](const char* four) {
    for (int i = 0; i < 4; ++i) wav.push_back(static_cast<uint8_t>(four[i]));
  };
  const uint32_t frames = static_cast<uint32_t>(samples.size() / 2);
  const uint32_t dataBytes = frames * 4;
  wav.reserve(44 + dataBytes);
  tag("RIFF");
  put(36 + dataBytes, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(2, 2);
  put(kRate, 4);
  put(kRate * 4, 4);
  put(4, 2);
  put(16, 2);
  tag("data");
  put(dataBytes, 4);
  for (size_t i = 0; i < size_t{frames} * 2; ++i) {
    float v = std::isfinite(samples[i]) ? samples[i] * 32767.0f : 0.0f;
    v = v > 32767.0f ? 32767.0f : (v < -32768.0f ? -32768.0f : v);
    put(static_cast<uint16_t>(static_cast<int16_t>(v)), 2);
  }
  return wav;
}
