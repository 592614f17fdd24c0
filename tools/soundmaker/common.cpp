#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "common/source_bytes.h"
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

std::vector<std::string> UncommentedLines(const std::string& text) {
  std::vector<std::string> lines = SourceLines(text);
  for (std::string& line : lines)
    // '#' starts a comment at the start of a line or after a space (a sharp
    // follows its note letter directly).
    for (size_t i = 0; i < line.size(); ++i)
      if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
        line.erase(i);
        break;
      }
  return lines;
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::stringstream s(line);
  std::string w;
  while (s >> w) words.push_back(w);
  return words;
}

int ParseInt(const std::string& where, const std::string& text) {
  long long v = 0;
  if (!ReadWholeNumber(text, &v)) Fail(where, QuotedBytes(text) + " is not a whole number");
  if (v < -1000000 || v > 1000000) Fail(where, QuotedBytes(text) + " is out of range");
  return static_cast<int>(v);
}

void CheckLineBytes(const std::string& where, const std::string& line) {
  const std::string fault = StrayControlByteMessage(line);
  if (!fault.empty()) Fail(where, fault);
}

static void PutU32(std::FILE* f, uint32_t v) {
  const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  std::fwrite(b, 1, 4, f);
}
static void PutU16(std::FILE* f, uint16_t v) {
  const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
  std::fwrite(b, 1, 2, f);
}

// The canonical 44-byte header: RIFF, WAVE, a 16-byte "fmt " chunk, "data".
bool WriteWav(const std::string& path, const Stereo& samples) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const uint32_t frames = static_cast<uint32_t>(samples.size() / 2);
  const uint32_t dataBytes = frames * 4;
  std::fwrite("RIFF", 1, 4, f);
  PutU32(f, 36 + dataBytes);
  std::fwrite("WAVEfmt ", 1, 8, f);
  PutU32(f, 16);
  PutU16(f, 1);  // PCM
  PutU16(f, 2);
  PutU32(f, kRate);
  PutU32(f, kRate * 4);
  PutU16(f, 4);
  PutU16(f, 16);
  std::fwrite("data", 1, 4, f);
  PutU32(f, dataBytes);
  std::vector<int16_t> pcm(samples.size());
  for (size_t i = 0; i < samples.size(); ++i) {
    float v = std::isfinite(samples[i]) ? samples[i] * 32767.0f : 0.0f;
    v = v > 32767.0f ? 32767.0f : (v < -32768.0f ? -32768.0f : v);
    pcm[i] = static_cast<int16_t>(v);
  }
  std::fwrite(pcm.data(), 2, pcm.size(), f);
  return std::fclose(f) == 0;
}
