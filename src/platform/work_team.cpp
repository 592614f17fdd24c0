#include "platform/work_team.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace platform {
namespace {

// Three helpers and the caller: past four cores the copies out of the
// system's file cache gain little more (the memory's bandwidth is shared).
constexpr unsigned kMostHelpers = 3;
// How long a helper looks out for the next job before it sleeps.
constexpr std::chrono::microseconds kLookOut{300};

class WorkTeam {
 public:
  WorkTeam() {
    const unsigned cores = std::thread::hardware_concurrency();
    const unsigned wanted = std::min(kMostHelpers, cores > 1 ? cores - 1 : 0u);
    try {
      for (unsigned h = 0; h < wanted; ++h) helpers_.emplace_back([this] { Serve(); });
    } catch (const std::system_error&) {
      // Fewer helpers than asked for: those there and the callers do it all.
    }
  }
  ~WorkTeam() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : helpers_) t.join();
  }

  void Run(size_t count, const std::function<void(size_t)>& part, const std::function<void()>* own) {
    std::lock_guard<std::mutex> oneJob(jobMutex_);
    if (helpers_.empty() || count == 0 || (count == 1 && !own)) {
      if (own) (*own)();
      for (size_t i = 0; i < count; ++i) part(i);
      return;
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      part_ = &part;
      count_ = count;
      next_ = 0;
      done_ = 0;
      posted_.store(++job_, std::memory_order_release);
    }
    wake_.notify_all();
    if (own) (*own)();
    const size_t mine = TakeParts(part, count);
    std::unique_lock<std::mutex> lock(mutex_);
    done_ += mine;
    // A helper still inside the job may yet look at it: the job ends with
    // every part done and no helper at work.
    finished_.wait(lock, [this] { return done_ == count_ && working_ == 0; });
    part_ = nullptr;
    count_ = 0;
  }

 private:
  // Runs parts of the job until none is left; how many it ran.
  size_t TakeParts(const std::function<void(size_t)>& part, size_t count) {
    size_t ran = 0;
    for (size_t i; (i = next_++) < count; ++ran) part(i);
    return ran;
  }

  void Serve() {
    uint64_t seen = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      if (!stopping_ && job_ == seen) {
        // Jobs often come one after the other (a load runs three): a helper
        // looks out for the next a while before it sleeps.
        lock.unlock();
        const auto until = std::chrono::steady_clock::now() + kLookOut;
        while (posted_.load(std::memory_order_acquire) == seen && std::chrono::steady_clock::now() < until)
          std::this_thread::yield();
        lock.lock();
      }
      wake_.wait(lock, [&] { return stopping_ || job_ != seen; });
      if (stopping_) return;
      seen = job_;
      if (!part_) continue;  // woken after its job ended
      const std::function<void(size_t)>& part = *part_;
      const size_t count = count_;
      ++working_;
      lock.unlock();
      const size_t ran = TakeParts(part, count);
      lock.lock();
      --working_;
      done_ += ran;
      if (done_ == count_ && working_ == 0) finished_.notify_all();
    }
  }

  std::mutex jobMutex_;  // held by the caller of a job throughout
  std::mutex mutex_;     // guards what follows but the next part's number
  std::condition_variable wake_, finished_;
  const std::function<void(size_t)>* part_ = nullptr;
  size_t count_ = 0;
  std::atomic<size_t> next_{0};
  size_t done_ = 0;
  int working_ = 0;
  uint64_t job_ = 0;
  std::atomic<uint64_t> posted_{0};  // job_, for helpers looking out without the lock
  bool stopping_ = false;
  std::vector<std::thread> helpers_;
};

WorkTeam& Team() {
  static WorkTeam team;
  return team;
}

}  // namespace

void RunParts(size_t count, const std::function<void(size_t)>& part) { Team().Run(count, part, nullptr); }

void RunParts(size_t count, const std::function<void(size_t)>& part, const std::function<void()>& own) {
  Team().Run(count, part, &own);
}

}  // namespace platform
