#include "fuzz/kept_inputs.h"

#include <fstream>
#include <iterator>
#include <exception>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool ReadBytes(const fs::path& path, std::vector<uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

uint32_t Crc32(const uint8_t* p, size_t n) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// Writes count bytes of value at at; false when they would run past the end.
bool Put(std::vector<uint8_t>* bytes, long long at, uint64_t value, int count, bool bigEndian) {
  if (at < 0 || static_cast<unsigned long long>(at) + count > bytes->size()) return false;
  for (int i = 0; i < count; ++i) {
    const int shift = 8 * (bigEndian ? count - 1 - i : i);
    (*bytes)[static_cast<size_t>(at) + i] = static_cast<uint8_t>(value >> shift);
  }
  return true;
}

// Appends the hexadecimal bytes of the rest of the line; false for a word
// that is no byte.
bool AppendHex(std::istringstream* words, std::vector<uint8_t>* out) {
  for (std::string hex; *words >> hex;) {
    size_t used = 0;
    unsigned long value = 0;
    try {
      value = std::stoul(hex, &used, 16);
    } catch (const std::exception&) {
      return false;
    }
    if (used != hex.size() || value > 0xFF) return false;
    out->push_back(static_cast<uint8_t>(value));
  }
  return true;
}

bool FollowRecipe(const fs::path& recipe, const fs::path& gameFolder, std::vector<uint8_t>* bytes,
                  std::string* fault) {
  std::ifstream in(recipe);
  if (!in) {
    *fault = "cannot read " + recipe.string();
    return false;
  }
  bytes->clear();
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string op;
    if (!(words >> op) || op[0] == '#') continue;
    long long a = 0, b = 0, c = 0;
    bool done = false;
    if (op == "base") {
      std::string file;
      if (words >> file) {
        done = ReadBytes(gameFolder / file, bytes) && !bytes->empty();
        if (!done) {
          *fault = recipe.string() + ": " + file + " is missing from the game folder " + gameFolder.string();
          return false;
        }
      }
    } else if (op == "bytes") {
      done = AppendHex(&words, bytes);
    } else if (op == "repeat" && words >> a && a >= 0) {
      std::vector<uint8_t> run;
      done = AppendHex(&words, &run);
      for (long long i = 0; done && i < a; ++i) bytes->insert(bytes->end(), run.begin(), run.end());
    } else if (op == "put32" && words >> a >> b) {
      done = Put(bytes, a, static_cast<uint64_t>(b), 4, false);
    } else if (op == "put32be" && words >> a >> b) {
      done = Put(bytes, a, static_cast<uint64_t>(b), 4, true);
    } else if (op == "put16be" && words >> a >> b) {
      done = Put(bytes, a, static_cast<uint64_t>(b), 2, true);
    } else if (op == "crc32" && words >> a >> b >> c) {
      done = 0 <= a && a <= b && b <= static_cast<long long>(bytes->size()) &&
             Put(bytes, c, Crc32(bytes->data() + a, static_cast<size_t>(b - a)), 4, true);
    }
    if (!done) {
      *fault = recipe.string() + ": cannot follow '" + line + "'";
      return false;
    }
  }
  return true;
}

}  // namespace

bool ReadKeptInput(const fs::path& file, const fs::path& gameFolder, std::vector<uint8_t>* bytes,
                   std::string* fault) {
  if (file.extension() == ".case") return FollowRecipe(file, gameFolder, bytes, fault);
  if (ReadBytes(file, bytes)) return true;
  *fault = "cannot read " + file.string();
  return false;
}
