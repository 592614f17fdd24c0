// The MP3 player: the stream is decoded whole (libmpg123, resampled to the
// mix rate) when opened and mixed at full level while it runs.
#include <mpg123.h>

#include <vector>

#include "platform/audio.h"
#include "platform/audio_internal.h"

namespace platform {
namespace {

std::vector<int16_t> g_pcm;  // interleaved stereo
size_t g_frame = 0;
bool g_open = false;
bool g_running = false;
bool g_completed = false;

bool Decode(const char* path, std::vector<int16_t>* out) {
#if MPG123_API_VERSION < 46
  mpg123_init();
#endif
  int error = 0;
  mpg123_handle* mh = mpg123_new(nullptr, &error);
  if (!mh) return false;
  mpg123_param(mh, MPG123_FLAGS, MPG123_FORCE_STEREO | MPG123_QUIET, 0);
  mpg123_param(mh, MPG123_FORCE_RATE, kMixRate, 0);
  mpg123_format_none(mh);
  mpg123_format(mh, kMixRate, MPG123_STEREO, MPG123_ENC_SIGNED_16);
  bool ok = mpg123_open(mh, path) == MPG123_OK;
  if (ok) {
    long rate = 0;
    int channels = 0, encoding = 0;
    ok = mpg123_getformat(mh, &rate, &channels, &encoding) == MPG123_OK && rate == kMixRate &&
         channels == 2 && encoding == MPG123_ENC_SIGNED_16;
  }
  unsigned char chunk[16384];
  while (ok) {
    size_t got = 0;
    const int r = mpg123_read(mh, chunk, sizeof chunk, &got);
    const auto* s = reinterpret_cast<const int16_t*>(chunk);
    out->insert(out->end(), s, s + got / 2);
    if (r == MPG123_DONE) break;
    if (r != MPG123_OK && r != MPG123_NEW_FORMAT) ok = false;
  }
  mpg123_close(mh);
  mpg123_delete(mh);
  if (out->size() % 2) out->pop_back();
  return ok && !out->empty();
}

}  // namespace

bool OpenMp3(const char* path) {
  std::vector<int16_t> pcm;
  if (!Decode(path, &pcm)) return false;
  std::lock_guard<std::mutex> hold(AudioLock());
  g_pcm.swap(pcm);
  g_frame = 0;
  g_open = true;
  g_running = false;
  g_completed = false;
  return true;
}

void CloseMp3() {
  std::lock_guard<std::mutex> hold(AudioLock());
  g_pcm.clear();
  g_pcm.shrink_to_fit();
  g_frame = 0;
  g_open = g_running = g_completed = false;
}

bool Mp3IsOpen() { return g_open; }

// Runs from where the stream stands: a stream at its end stays there (and
// silent) until it is stopped, which rewinds it, or opened again.
bool RunMp3() {
  std::lock_guard<std::mutex> hold(AudioLock());
  if (!g_open) return false;
  g_running = g_frame * 2 < g_pcm.size();
  return true;
}

bool PauseMp3() {
  std::lock_guard<std::mutex> hold(AudioLock());
  if (!g_open) return false;
  g_running = false;
  return true;
}

bool StopMp3() {
  std::lock_guard<std::mutex> hold(AudioLock());
  if (!g_open) return false;
  g_running = false;
  g_frame = 0;
  return true;
}

bool Mp3IsRunning() {
  std::lock_guard<std::mutex> hold(AudioLock());
  return g_running;
}

bool TakeMp3Completion() {
  std::lock_guard<std::mutex> hold(AudioLock());
  const bool completed = g_completed;
  g_completed = false;
  return completed;
}

void MixMp3(float* mix, int frames) {
  if (!g_running) return;
  const size_t total = g_pcm.size() / 2;
  for (int i = 0; i < frames && g_frame < total; ++i, ++g_frame) {
    mix[i * 2] += g_pcm[g_frame * 2] * (1.0f / 32768.0f);
    mix[i * 2 + 1] += g_pcm[g_frame * 2 + 1] * (1.0f / 32768.0f);
  }
  if (g_frame >= total) {
    g_running = false;  // the stream stays at its end until it is stopped
    g_completed = true;
  }
}

}  // namespace platform
