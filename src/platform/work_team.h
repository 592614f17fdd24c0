// A few helper threads, started on first use and kept, that take parts of a
// job beside the thread that asked for it: the reading of a saved game's
// files and the filling of the game's large tables from them run on several
// of the processor's cores at once.
#pragma once
#include <cstddef>
#include <functional>

namespace platform {

// Runs part(i) for every i below count, on the helpers and the calling
// thread together, in no set order; returns once every part is done. The
// parts must not touch the same memory, and must not run parts themselves.
// One job runs at a time: a second caller waits for the first job to end.
// Without helpers (none could be started) the caller runs every part.
void RunParts(size_t count, const std::function<void(size_t)>& part);
// The same, the calling thread first doing work of its own beside the
// helpers' parts (work that touches none of their memory), then taking
// parts too.
void RunParts(size_t count, const std::function<void(size_t)>& part, const std::function<void()>& own);

}  // namespace platform
