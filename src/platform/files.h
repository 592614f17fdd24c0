// Opening the game's files: paths are written with backslashes as the game's
// data tables spell them and map to '/' here.
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// "Graphics\\0.dat" -> "Graphics/0.dat".
std::string GamePath(const char* path);
FILE* OpenGameFile(const char* path, const char* mode);
bool GameFileExists(const char* path);
// Anything by that name: a file, a folder or another kind.
bool GamePathExists(const char* path);
// Size in bytes, or -1 when the file cannot be read.
long GameFileSize(const char* path);
// Creates the folder and its parents; true when it exists afterwards.
bool MakeGameFolder(const char* path);
// Writes a whole file through a temporary file renamed into place, so that a
// failed write or a crash never leaves a truncated file. True on success.
bool WriteGameFileAtomically(const char* path, const void* data, size_t size);

// Writes a whole file straight to its place (for the files of a folder that
// is put in place once it is complete). True on success; a failed write
// leaves no file behind. SyncGameFile then flushes it to the disk.
bool WriteGameFile(const char* path, const void* data, size_t size);
bool SyncGameFile(const char* path);
// Flushes a folder to the disk with everything in it: each file's data and
// each folder's list of names, and no other file of the disk. True on success.
bool SyncGameFolderTree(const char* path);
// How much of a file a read takes: the whole file, which must hold at most
// the limit, or its first bytes up to the limit, the rest of a longer file
// not read.
enum class ReadExtent { kWhole, kStart };
// Reads a whole file (or its start). False when it cannot be opened or, read
// whole, holds more than `limit` bytes (*out then holds nothing).
bool ReadGameFile(const char* path, size_t limit, std::vector<uint8_t>* out, ReadExtent extent = ReadExtent::kWhole);
// Where room for a large file read whole should start: the system copies
// from its file cache several times slower into room that starts off such a
// boundary (measured tenfold on some processors).
constexpr size_t kFileRoomAlignment = 64;
// The files of one folder, read whole through the folder opened once (a
// saved game's many files). Names are relative to the folder and may hold
// backslashes.
class GameFolderFiles {
 public:
  explicit GameFolderFiles(const char* folder);
  ~GameFolderFiles();
  GameFolderFiles(const GameFolderFiles&) = delete;
  GameFolderFiles& operator=(const GameFolderFiles&) = delete;
  enum Result { kRead, kMissing, kFailed };
  // kRead with the whole file in *out; kMissing when nothing by that name is
  // there; kFailed when it cannot be read, is not a file or holds more than
  // `limit` bytes (*out then holds nothing).
  Result Read(const char* name, size_t limit, std::vector<uint8_t>* out) const;
  // The same into `limit` bytes of room at `into`; *size is what was read
  // (0 unless kRead). With kStart a longer file gives its first `limit` bytes.
  Result Read(const char* name, size_t limit, uint8_t* into, size_t* size,
              ReadExtent extent = ReadExtent::kWhole) const;
  // A file for ReadMany: its name, the most bytes it may hold and the room
  // for them; then what Read would have given: the result and the size.
  struct Wanted {
    const char* name = nullptr;
    size_t limit = 0;
    uint8_t* into = nullptr;
    Result result = kFailed;
    size_t size = 0;
    ReadExtent extent = ReadExtent::kWhole;
  };
  // Reads each file as Read would, several at once, a large one in slices
  // side by side (the system's copies out of its file cache run on several
  // cores).
  void ReadMany(Wanted* files, size_t count) const;
  // The same while the calling thread first does `beside` (work that touches
  // none of the files' room but what an earlier read filled).
  void ReadMany(Wanted* files, size_t count, const std::function<void()>& beside) const;

 private:
  // The file opened for reading, or -1 with *missingOrFailed set.
  int Open(const char* name, Result* missingOrFailed) const;
  std::string path_;
  int folder_ = -1;
};
// Renames a file or a folder (the target must not exist as a folder with
// contents). True on success.
bool RenameGamePath(const char* from, const char* to);
// Removes one file; true when it was there and is gone.
bool RemoveGameFile(const char* path);
// Removes a folder with everything in it; true when nothing is left of it.
bool RemoveGameFolderTree(const char* path);
// Sets a folder aside at once and removes it with everything in it in the
// background (a saved game replaced by a newer one); false, with the folder
// still there, when it could not be set aside or removed.
bool DiscardGameFolder(const char* path);
// Waits until every folder set aside has been removed.
void FinishDiscardingFolders();
bool GameFolderExists(const char* path);
// Flushes a folder's list of names to the disk (after files were made or
// renamed in it). True on success.
bool SyncGameFolder(const char* path);

// A seam for tests of what a failed or interrupted save leaves behind. Off
// unless a test turns it on. Every file write and every rename is counted
// from 1 while it is on; the chosen one fails, and with `andLater` every
// later write, rename, removal and folder creation fails too, as if the
// machine had stopped there.
namespace file_faults {
void FailOperation(int operation, bool andLater);
void Clear();
// The writes and renames counted since the seam was last set.
int OperationsCounted();
}  // namespace file_faults

}  // namespace platform
