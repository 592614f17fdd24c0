// The saved games a play script keeps (keep-game) for the scripts that take
// up where it stopped (take-up), in the folder play-games/ beside the built
// game's folder.
#pragma once
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace harness {

// The set kept as `name`.
std::filesystem::path KeptGames(const std::string& name);
// The folder a keep of `name` by process `keeper` writes before it is put in place.
std::filesystem::path FreshKeptGames(const std::string& name, pid_t keeper);
// Removes the set kept as `name`, as the script that keeps it starts, so
// that no script takes up a set its keeper did not make this time; and what a
// keep stopped midway by a process now gone left beside it.
void ForgetKeptGames(const std::string& name);
// Puts the games of `fresh` in place as the set kept as `name`, whole: the
// new set and the one before are swapped in one step, so that a script
// taking up finds the one or the other, never none and never half of one;
// then the set before goes. False when it cannot be; `fresh` is gone either way.
bool PutKeptGames(const std::filesystem::path& fresh, const std::string& name);
// Brings the set kept as `name` into the saved-games folder `to`, in place
// of the player's games there; false when there is none, or none held still
// while it was copied.
bool TakeUpKeptGames(const std::string& name, const std::filesystem::path& to);

// Each player's saved game (the slots from 1 up of each adventure) of a
// saved-games folder.
std::vector<std::filesystem::path> PlayersGames(const std::filesystem::path& folder);
// Copies the player's saved games from one saved-games folder into another,
// each slot replacing its like.
bool CopyPlayersGames(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace harness
