// The suite's check of the game folder (see game_folder.h).
#include "harness/game_folder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <set>

namespace harness {

namespace {

namespace fs = std::filesystem;

uint32_t Rotate(uint32_t v, int by) { return (v << by) | (v >> (32 - by)); }

// Takes one 64-byte block into the SHA-1 state.
void Sha1Block(std::array<uint32_t, 5>& h, const unsigned char* block) {
  uint32_t w[80];
  for (int i = 0; i < 16; ++i)
    w[i] = uint32_t{block[4 * i]} << 24 | uint32_t{block[4 * i + 1]} << 16 | uint32_t{block[4 * i + 2]} << 8 |
           uint32_t{block[4 * i + 3]};
  for (int i = 16; i < 80; ++i) w[i] = Rotate(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
  uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
  for (int i = 0; i < 80; ++i) {
    const uint32_t f = i < 20 ? (b & c) | (~b & d) : i < 40 || i >= 60 ? b ^ c ^ d : (b & c) | (b & d) | (c & d);
    const uint32_t k = i < 20 ? 0x5A827999 : i < 40 ? 0x6ED9EBA1 : i < 60 ? 0x8F1BBCDC : 0xCA62C1D6;
    const uint32_t t = Rotate(a, 5) + f + e + k + w[i];
    e = d;
    d = c;
    c = Rotate(b, 30);
    b = a;
    a = t;
  }
  h[0] += a;
  h[1] += b;
  h[2] += c;
  h[3] += d;
  h[4] += e;
}

// The hash the build wrote for a file; empty when there is none.
std::string HashOfBuild(const fs::path& record) {
  std::string hash;
  std::ifstream(record) >> hash;
  return hash;
}

// Whether `name` holds, as a run of digits, the id of a process at work
// running a program under the folder `build`: a test of another run going on
// in the same build folder, whose files are named after its process and not
// yet removed.
bool NamedAfterProgramAtWork(const std::string& name, const fs::path& build) {
  static const char kDigits[] = "0123456789";
  if (build.empty()) return false;
  for (size_t at = name.find_first_of(kDigits); at != std::string::npos;) {
    const size_t end = name.find_first_not_of(kDigits, at);
    std::error_code ec;
    const fs::path program = fs::read_symlink(fs::path("/proc") / name.substr(at, end - at) / "exe", ec);
    if (!ec && program.string().starts_with(build.string() + "/")) return true;
    at = name.find_first_of(kDigits, end);
  }
  return false;
}

}  // namespace

std::string FileSha1(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return "";
  std::array<uint32_t, 5> h = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  unsigned char block[128];
  uint64_t bytes = 0;
  size_t filled = 0;
  while (in.read(reinterpret_cast<char*>(block), 64) || in.gcount() > 0) {
    filled = static_cast<size_t>(in.gcount());
    bytes += filled;
    if (filled < 64) break;
    Sha1Block(h, block);
    filled = 0;
  }
  if (in.bad()) return "";
  // The closing bit, zeros, and the length in bits: one block more or two.
  std::fill(block + filled, block + 128, 0);
  block[filled] = 0x80;
  const size_t end = filled < 56 ? 64 : 128;
  for (int i = 0; i < 8; ++i) block[end - 1 - i] = static_cast<unsigned char>((bytes * 8) >> (8 * i));
  for (size_t at = 0; at < end; at += 64) Sha1Block(h, block + at);
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const uint32_t word : h)
    for (int shift = 28; shift >= 0; shift -= 4) hex += kDigits[(word >> shift) & 15];
  return hex;
}

std::vector<std::string> GameFolderFaults(const std::filesystem::path& folder, const std::vector<std::string>& made,
                                          const std::filesystem::path& hashes) {
  std::set<std::string> own(made.begin(), made.end());
  for (const std::string& file : made)
    for (fs::path up = fs::path(file).parent_path(); !up.empty(); up = up.parent_path()) own.insert(up.generic_string());
  std::vector<std::string> faults;
  std::error_code ec;
  std::vector<std::string> entries;
  // Looked through again when a folder went as it was (a test of another run
  // removing its own).
  for (int looks = 0; looks < 10; ++looks) {
    entries.clear();
    ec.clear();
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
      entries.push_back(it->path().lexically_relative(folder).generic_string());
    if (ec != std::errc::no_such_file_or_directory) break;
  }
  if (ec) faults.push_back("cannot be looked through: " + ec.message());
  std::sort(entries.begin(), entries.end());
  const fs::path build = fs::weakly_canonical(folder, ec).parent_path();
  for (const std::string& entry : entries) {
    const bool kept_picture = entry.find('/') == std::string::npos && entry.ends_with("_device.png");
    // Asked after its process first, then whether it is still there: one
    // whose process removed it and ended meanwhile was never left.
    if (!own.count(entry) && !kept_picture && !NamedAfterProgramAtWork(entry, build) &&
        fs::exists(fs::symlink_status(folder / entry, ec)))
      faults.push_back("not made by the build: " + entry);
  }
  for (const std::string& file : made) {
    const fs::path path = folder / file;
    if (!fs::exists(fs::symlink_status(path, ec))) {
      faults.push_back("missing: " + file);
      continue;
    }
    const std::string built = HashOfBuild(hashes / (file + ".sha1"));
    if (built.empty()) faults.push_back("not hashed as the build made it: " + file);
    else if (FileSha1(path) != built) faults.push_back("changed: " + file);
  }
  return faults;
}

}  // namespace harness
