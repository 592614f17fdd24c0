// A whole saved game of the introductory adventure, loaded by the game's load
// routine: a slot saved at the adventure's start, with the input's edits made
// to its files. The slot either loads, or is refused with its message and
// leaves the running game exactly as it was.
//
// The input is a run of edits, each: the file (a byte, its place among the
// slot's files in the order a save writes them: 0 "SaveChar.cml", 1
// "SaveWeapon.wml", 2 to 5 maps 21 to 24, 6 "MapMemory.dat", 7
// "GameFlags.dat", 8 "Journal.dat", 9 "Achievements.dat", 10 "Details.dat",
// counted round), what is done (a byte: 0 bytes put at the place, 1 the file
// cut at it, 2 the file removed, counted round), the place (a little-endian
// 32-bit word, counted round the file's length), and the bytes put (a count
// byte, then the bytes; past the file's end they lengthen it).
//
// A slot the game takes is then looked at as a player would: when the input
// ends in fewer bytes than an edit, its first such byte opens a page of a
// party member (even the character record, odd the inventory; the member the
// byte halved, counted round the party). Then the game is saved again, which
// must succeed, into a slot that must load.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "engine/frame.h"
#include "engine/page_history.h"
#include "fuzz/intro_game_fuzzing.h"
#include "fuzz/saved_game_fuzzing.h"
#include "screens/character/character_screens.h"
#include "screens/items/item_screens.h"

namespace {

constexpr int kEditedSlot = 2;
constexpr int kSavedAgainSlot = 3;
constexpr uint32_t kMarkedGold = 987654321;

enum EditKind { kPutBytes = 0, kCut = 1, kRemove = 2, kEditKinds = 3 };

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The files of the game saved at its start, once; the edited slot is a copy.
const std::vector<std::vector<uint8_t>>& StartFiles() {
  static std::vector<std::vector<uint8_t>> files;
  if (!files.empty()) return files;
  for (const std::string& name : introfuzz::SlotFileNames()) {
    files.push_back(ReadFile(introfuzz::SlotFile(introfuzz::kStartSlot, name)));
    if (files.back().empty()) FuzzFault("the saved game has no " + name);
    WriteScratchFile(introfuzz::SlotFile(kEditedSlot, name), files.back().data(), files.back().size());
  }
  return files;
}

uint32_t Word(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// The page the input's last byte chooses, drawn once.
void LookAtAPage(uint8_t choice) {
  const int member = (choice >> 1) % kPartySize;
  ScreenMode = kModePageView;
  if (choice % 2 == 0) {
    PushPage("Character Record", kPageCharacterRecord, member);
    DrawCharacterRecordScreen();
  } else {
    PushPage("Inventory", kPageInventory, member);
    DrawInventoryScreen(member, -1);
  }
}

}  // namespace

GH_FUZZ_TARGET(save_slot) {
  introfuzz::StartGame();
  const std::vector<std::vector<uint8_t>>& start = StartFiles();
  const size_t fileCount = start.size();

  // The edited files (a removed one has no entry in `present`).
  std::map<size_t, std::vector<uint8_t>> edited;
  std::map<size_t, bool> present;
  size_t at = 0;
  while (at + 7 <= size) {
    const size_t file = data[at] % fileCount;
    const int kind = data[at + 1] % kEditKinds;
    const uint32_t place = Word(data + at + 2);
    const size_t count = std::min<size_t>(data[at + 6], size - at - 7);
    const uint8_t* bytes = data + at + 7;
    at += 7 + count;
    if (!edited.count(file)) {
      edited[file] = start[file];
      present[file] = true;
    }
    std::vector<uint8_t>& f = edited[file];
    if (kind == kRemove) {
      present[file] = false;
    } else if (kind == kCut) {
      f.resize(place % (f.size() + 1));
    } else if (!f.empty() || count > 0) {
      const size_t from = f.empty() ? 0 : place % f.size();
      if (f.size() < from + count) f.resize(from + count);
      std::memcpy(f.data() + from, bytes, count);
    }
  }
  for (const auto& [file, bytes] : edited) {
    const std::string path = introfuzz::SlotFile(kEditedSlot, introfuzz::SlotFileNames()[file]);
    if (present[file])
      WriteScratchFile(path, bytes.data(), bytes.size());
    else
      std::filesystem::remove(path);
  }

  // The running game as the last slot taken left it, its gold marked so that
  // it differs from every slot; taken again only when a load changes it.
  static std::vector<uint8_t> running;
  auto markAndKeep = [] {
    PartyGold = kMarkedGold;
    running = savefuzz::RunningGame();
  };
  if (running.empty()) markAndKeep();
  const int result = LoadSavedGame(kEditedSlot);
  if (result == kSaveOk) {
    if (at < size) LookAtAPage(data[at]);
    const int saved = WriteSavedGame(kSavedAgainSlot);
    if (saved != kSaveOk)
      FuzzFault("a slot the game took could not be saved again (code " + std::to_string(saved) + ")");
    if (LoadSavedGame(kSavedAgainSlot) != kSaveOk) FuzzFault("a slot the game took was saved into one it refuses");
    markAndKeep();
  } else {
    if (!SavedGameMessage(result)) FuzzFault("a refused slot has no message");
    if (savefuzz::RunningGame() != running) FuzzFault("a refused slot changed the running game");
  }

  for (const auto& [file, bytes] : edited)
    WriteScratchFile(introfuzz::SlotFile(kEditedSlot, introfuzz::SlotFileNames()[file]), start[file].data(),
                     start[file].size());
}
