// Fuzzing targets: every reader of the game's files and every content tool's
// source reader is one target, a function of an input's bytes that must
// neither crash nor hang nor misbehave for any input. scripts/fuzz builds one
// libFuzzer program per target (clang only); the regression test feeds every
// input kept under tests/fuzz/cases/<target>/ to its target in the normal build.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

using FuzzFunction = void (*)(const uint8_t* data, size_t size);

// The targets linked into this program, by name.
std::map<std::string, FuzzFunction>& FuzzTargets();

struct FuzzRegistration {
  FuzzRegistration(const char* name, FuzzFunction function) { FuzzTargets()[name] = function; }
};

#define GH_FUZZ_TARGET(name)                                                 \
  static void FuzzTarget_##name(const uint8_t* data, size_t size);           \
  static const FuzzRegistration fuzzRegistration_##name(#name, FuzzTarget_##name); \
  static void FuzzTarget_##name(const uint8_t* data, size_t size)

// A wrong result the target itself finds (say a tool writes a file the game
// then refuses): reported, then the process aborts, as a crash would.
[[noreturn]] void FuzzFault(const std::string& what);

// The built game's folder (its data files and prepared starts): beside the
// program's own folder as "game", else the folder the process started in.
const std::string& GameFolder();

// Readers that open files by name read them in a scratch folder, made once;
// the process works in it from the first call on.
void EnterScratchFolder();
// Writes a file of the scratch folder (names with '/' get their folders).
void WriteScratchFile(const std::string& name, const uint8_t* data, size_t size);
// The input as text (a tool's source).
std::string InputText(const uint8_t* data, size_t size);
// Splits an input into its first line (a word choosing what the rest is) and the rest.
std::string TakeFirstLine(std::string* text);
