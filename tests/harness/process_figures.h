// Figures of this process for the load measurements (loadprobe, the harness
// and the reference windows it is set against).
#pragma once
#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace figures {

// A "Name: N kB" line of /proc/self/status (VmHWM, VmRSS...), in KiB; 0 when missing.
inline long StatusKiB(const char* name) {
  std::ifstream in("/proc/self/status");
  const std::string key = std::string(name) + ":";
  for (std::string line; std::getline(in, line);)
    if (line.compare(0, key.size(), key) == 0) return std::atol(line.c_str() + key.size());
  return 0;
}

// Processor seconds of the whole process, every thread.
inline double ProcessCpuSeconds() {
  rusage use{};
  getrusage(RUSAGE_SELF, &use);
  return static_cast<double>(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
         static_cast<double>(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

}  // namespace figures
