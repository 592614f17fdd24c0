// The suite's check of the game folder, after its last test:
//   game_folder_check FOLDER MADE HASHES
// MADE lists the files the build puts in FOLDER, one a line; HASHES holds
// their hashes as the build made them (see harness/game_folder.h). Exits 1,
// naming every fault, when the tests left the folder otherwise.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "harness/game_folder.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: game_folder_check FOLDER MADE HASHES\n";
    return 2;
  }
  std::ifstream list(argv[2]);
  if (!list) {
    std::cerr << "game_folder_check: " << argv[2] << " cannot be read\n";
    return 2;
  }
  std::vector<std::string> made;
  for (std::string line; std::getline(list, line);)
    if (!line.empty()) made.push_back(line);
  const std::vector<std::string> faults = harness::GameFolderFaults(argv[1], made, argv[3]);
  if (faults.empty()) return 0;
  std::cerr << "the tests left " << argv[1] << " otherwise than the build made it:\n";
  for (const std::string& fault : faults) std::cerr << "  " << fault << "\n";
  std::cerr << "(a file of the build's changed or missing is made again by removing it and building)\n";
  return 1;
}
