// The inputs kept under tests/fuzz/cases/<target>/: inputs that once crashed,
// hung or misbehaved a reader or a tool, each fed to its target again by the
// regression test (test_fuzz) and by the replay through the fuzzing programs
// (scripts/fuzz --replay).
//
// A kept input is the input's bytes as they are, or, for a file named *.case,
// a recipe that makes them from one of the game's own files (so that no game
// file is kept twice):
//   base <file of the game folder>     start from its bytes
//   bytes <hex> ...                    append bytes
//   repeat <count> <hex> ...           append the bytes so many times
//   put32 <offset> <value>             a little-endian 32-bit word
//   put32be / put16be <offset> <value> big-endian words
//   crc32 <from> <to> <at>             the CRC-32 of bytes [from, to), big-endian at <at>
// Lines that start with '#' and empty lines are passed over.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The bytes of the kept input in file; a recipe's base files are read from
// gameFolder. False, with what went wrong in *fault, when the file cannot be
// read or the recipe cannot be followed.
bool ReadKeptInput(const std::filesystem::path& file, const std::filesystem::path& gameFolder,
                   std::vector<uint8_t>* bytes, std::string* fault);
