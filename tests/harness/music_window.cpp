// The reference for the game's memory figure: a window of the given size
// that does what any game window does and nothing of the game's own, made
// the way the game makes its own (SDL, an accelerated renderer or else a
// software one; SDL's hints choose as for the game): it draws one streaming
// texture of the window's size each frame (a frame every 15 milliseconds)
// and plays the battle song (Midi/9.mid, run from the game's folder)
// through FluidSynth with the game's soundfont and settings, for the given
// seconds. Prints its peak resident size and the share of a core it cost.
//   music_window [WIDTH HEIGHT SECONDS]   (960 720 5 when not given)
#include <SDL.h>
#include <dlfcn.h>
#include <fluidsynth.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "harness/process_figures.h"
#include "platform/synth_settings.h"

namespace {

void KeepSynthesiserOnThisThread() {
  using SetThreadCount = void (*)(int);
  if (auto set = reinterpret_cast<SetThreadCount>(dlsym(RTLD_DEFAULT, "omp_set_num_threads"))) set(1);
}

void Mix(void* synth, Uint8* stream, int len) {
  static thread_local bool kept = false;
  if (!kept) {
    KeepSynthesiserOnThisThread();
    kept = true;
  }
  fluid_synth_write_s16(static_cast<fluid_synth_t*>(synth), len / 4, stream, 0, 2, stream, 1, 2);
}

}  // namespace

int main(int argc, char** argv) {
  const int width = argc > 2 ? std::atoi(argv[1]) : 960;
  const int height = argc > 2 ? std::atoi(argv[2]) : 720;
  const double seconds = argc > 3 ? std::atof(argv[3]) : 5.0;
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    std::fprintf(stderr, "music_window: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow("music", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, 0);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
  if (window && !renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                      SDL_TEXTUREACCESS_STREAMING, width, height)
                                  : nullptr;
  if (!texture) {
    std::fprintf(stderr, "music_window: %s\n", SDL_GetError());
    return 1;
  }

  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
  fluid_settings_t* settings = new_fluid_settings();
  platform::ApplySynthSettings(settings);
  fluid_settings_setstr(settings, "player.timing-source", "sample");
  KeepSynthesiserOnThisThread();
  fluid_synth_t* synth = new_fluid_synth(settings);
  const bool font = platform::LoadSoundFont(synth);
  fluid_player_t* player = new_fluid_player(synth);
  if (!font || fluid_player_add(player, "Midi/9.mid") != FLUID_OK) {
    std::fprintf(stderr, "music_window: no soundfont or no Midi/9.mid (run from the game's folder)\n");
    return 1;
  }
  fluid_player_set_loop(player, -1);
  fluid_player_play(player);
  SDL_AudioSpec want{}, have{};
  want.freq = platform::kSynthRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = Mix;
  want.userdata = synth;
  const SDL_AudioDeviceID audio = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (audio == 0 || have.format != AUDIO_S16SYS || have.channels != 2) {
    std::fprintf(stderr, "music_window: no sound output: %s\n", SDL_GetError());
    return 1;
  }
  SDL_PauseAudioDevice(audio, 0);

  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  const double cpuBefore = figures::ProcessCpuSeconds();
  const Uint64 start = SDL_GetTicks64();
  const Uint64 wait = static_cast<Uint64>(seconds * 1000.0);
  bool quit = false;
  for (uint32_t frame = 0; !quit && SDL_GetTicks64() - start < wait; ++frame) {
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u | (static_cast<uint32_t>(i) + frame * 4099u);
    SDL_UpdateTexture(texture, nullptr, pixels.data(), width * 4);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    const Uint64 due = start + (frame + 1) * 15ull;
    SDL_Event event;
    for (Uint64 now = SDL_GetTicks64(); now < due && !quit; now = SDL_GetTicks64())
      if (SDL_WaitEventTimeout(&event, static_cast<int>(due - now)) && event.type == SDL_QUIT) quit = true;
  }
  const double wall = static_cast<double>(SDL_GetTicks64() - start) / 1000.0;
  std::printf("peak-resident-kib %ld\ncore-share %.4f\n", figures::StatusKiB("VmHWM"),
              wall > 0 ? (figures::ProcessCpuSeconds() - cpuBefore) / wall : 0.0);
  SDL_CloseAudioDevice(audio);
  delete_fluid_player(player);
  delete_fluid_synth(synth);
  delete_fluid_settings(settings);
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
