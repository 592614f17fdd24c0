// Opening the game's files: paths are written with backslashes as the game's
// data tables spell them and map to '/' here.
#pragma once
#include <cstdio>
#include <string>

namespace platform {

// "Graphics\\0.dat" -> "Graphics/0.dat".
std::string GamePath(const char* path);
FILE* OpenGameFile(const char* path, const char* mode);
bool GameFileExists(const char* path);
// Size in bytes, or -1 when the file cannot be read.
long GameFileSize(const char* path);
// Creates the folder and its parents; true when it exists afterwards.
bool MakeGameFolder(const char* path);
// Writes a whole file through a temporary file renamed into place, so that a
// failed write never leaves a truncated file. True on success.
bool WriteGameFileAtomically(const char* path, const void* data, size_t size);

}  // namespace platform
