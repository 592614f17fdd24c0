// The suite's check of the game folder: after the last test, the folder
// holds what the build made there and nothing else, each file of the build's
// byte for byte as the build made it.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace harness {

// The SHA-1 of a file's bytes in 40 lowercase hexadecimal digits; empty when
// it cannot be read.
std::string FileSha1(const std::filesystem::path& file);

// What differs in `folder` from what the build made: `made` names the files
// the build puts there (paths relative to it, '/' between folders); they and
// the folders that hold them are the folder's own, and nothing else is. Each
// file's hash as the build made it stands in `hashes` (the file's path with
// ".sha1" added), written by the build alone as it makes the file, so that a
// file a test changed is named by every check until the build makes it again.
// One line for each entry the build did not make (a test's, this run's or an
// earlier one's), each file of the build's changed, missing or never hashed;
// the pictures a failed picture comparison keeps for a look
// (NAME_device.png) are left out: that test fails on its own. So is an entry
// named after a process still at work that runs a program of the folder's
// build (the folder's parent holds it): a test of another run going on in
// the same build folder, whose own check names what it leaves.
std::vector<std::string> GameFolderFaults(const std::filesystem::path& folder, const std::vector<std::string>& made,
                                          const std::filesystem::path& hashes);

}  // namespace harness
