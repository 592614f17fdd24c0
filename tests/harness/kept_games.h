// The saved games a play script keeps (keep-game) for the scripts that take
// up where it stopped (take-up), in the folder play-games/ beside the built
// game's folder. Two runs of the scripts may go on side by side in one build
// folder: a script that keeps a set holds a lock of the set's keepers
// (play-games/NAME.lock, shared) while it lives, taken while the folder is
// locked; a set is put in place, removed or brought in while the folder is
// locked (shared to bring one in). A script taking up brings in the set as it
// stands: the one its own run's keeper put in place, or a later one the
// keeper of the other run put there (the same script's games); it waits
// while there is none and a keeper is at work, and fails when there is none
// and no keeper is at work.
#pragma once
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace harness {

// A keeper's hold on the set kept as one name, given up as it goes.
class KeptGamesHold {
 public:
  KeptGamesHold() = default;
  explicit KeptGamesHold(int lock) : lock_(lock) {}
  KeptGamesHold(KeptGamesHold&& other) noexcept : lock_(other.lock_) { other.lock_ = -1; }
  KeptGamesHold& operator=(KeptGamesHold&&) = delete;
  ~KeptGamesHold();

 private:
  int lock_ = -1;  // the lock of the set's keepers, locked shared
};

// The set kept as `name`.
std::filesystem::path KeptGames(const std::string& name);
// A new empty folder, of a name of its own beside the set kept as `name`,
// that a keep of `name` writes before it is put in place; empty when none
// can be made (errno tells why).
std::filesystem::path MakeFreshKeptGames(const std::string& name);
// As the script that keeps `name` starts: removes the set kept as `name`, so
// that no script takes up a set its keeper did not make this time, and what
// keeps stopped midway left beside it; but while a keeper of another run is
// at work leaves them all alone (its scripts that take up use the set there
// until its own is put in place). The hold is this script's from then on.
KeptGamesHold ForgetKeptGames(const std::string& name);
// Puts the games of `fresh` in place as the set kept as `name`, whole: a
// script taking up finds the set before or the new one, never none and never
// half of one; then the set before goes. Empty when it is put in place; else
// why not, and the set before stands as it was. `fresh` is gone either way.
std::string PutKeptGames(const std::filesystem::path& fresh, const std::string& name);
// Brings the set kept as `name` into the saved-games folder `to`, in place of
// the player's games there; while there is none and a keeper of `name` is at
// work, waits for its set. Empty when it is brought in; else why not.
std::string TakeUpKeptGames(const std::string& name, const std::filesystem::path& to);
// Called by TakeUpKeptGames each time it is about to look for the set (none
// when null): lets a test start or end a keeper at that step.
void SetTakeUpHook(void (*hook)());

// Each player's saved game (the slots from 1 up of each adventure) of a
// saved-games folder.
std::vector<std::filesystem::path> PlayersGames(const std::filesystem::path& folder);
// Copies the player's saved games from one saved-games folder into another,
// each slot replacing its like; the error of the first that could not be.
std::error_code CopyPlayersGames(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace harness
