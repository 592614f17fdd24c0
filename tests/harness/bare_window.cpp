// The reference for the game's first picture and idle figures: a window of
// the given size made the way the game makes its own (SDL, an accelerated
// renderer or else a software one; SDL's hints choose as for the game),
// showing one black picture and then doing nothing but wait for events for
// the given seconds. Prints the milliseconds from the program's start to its
// picture, its peak resident size and the share of a core it cost while
// waiting.
//   bare_window [WIDTH HEIGHT SECONDS]   (960 720 3 when not given)
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "harness/process_figures.h"

int main(int argc, char** argv) {
  const auto started = std::chrono::steady_clock::now();
  const int width = argc > 2 ? std::atoi(argv[1]) : 960;
  const int height = argc > 2 ? std::atoi(argv[2]) : 720;
  const double seconds = argc > 3 ? std::atof(argv[3]) : 3.0;
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    std::fprintf(stderr, "bare_window: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, 0);
  if (!window) {
    std::fprintf(stderr, "bare_window: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
  if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer) {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
  }
  const double firstPresentMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  const double cpuBefore = figures::ProcessCpuSeconds();
  const Uint64 start = SDL_GetTicks64();
  const Uint64 wait = static_cast<Uint64>(seconds * 1000.0);
  SDL_Event event;
  for (Uint64 now = start; now - start < wait; now = SDL_GetTicks64())
    if (SDL_WaitEventTimeout(&event, static_cast<int>(wait - (now - start))) && event.type == SDL_QUIT) break;
  const double wall = static_cast<double>(SDL_GetTicks64() - start) / 1000.0;
  std::printf("first-present-ms %.2f\npeak-resident-kib %ld\nidle-core-share %.4f\n", firstPresentMs, figures::StatusKiB("VmHWM"),
              wall > 0 ? (figures::ProcessCpuSeconds() - cpuBefore) / wall : 0.0);
  if (renderer) SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
