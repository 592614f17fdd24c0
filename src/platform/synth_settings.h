// The game's General MIDI synthesiser: its settings and the soundfonts it
// looks for, shared with the window the load measurements set the game
// against (which must play music exactly as the game does).
#pragma once
#include <fluidsynth.h>

#include <cstdio>
#include <cstdlib>

namespace platform {

constexpr int kSynthRate = 22050;  // the mixer's rate
inline const char* const kSoundFonts[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                          "/usr/share/sounds/sf2/default-GM.sf2",
                                          "/usr/share/sounds/sf2/FluidR3_GM.sf2"};

inline void ApplySynthSettings(fluid_settings_t* settings) {
  fluid_settings_setnum(settings, "synth.sample-rate", kSynthRate);
  fluid_settings_setnum(settings, "synth.gain", 0.6);
  fluid_settings_setint(settings, "synth.polyphony", 128);
  fluid_settings_setint(settings, "synth.chorus.active", 0);
  fluid_settings_setint(settings, "synth.threadsafe-api", 0);
  fluid_settings_setint(settings, "synth.cpu-cores", 1);
  fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
}

// Loads GREVENHOLT_SOUNDFONT when set and loadable, else the first of the
// soundfonts that loads. False when none did.
inline bool LoadSoundFont(fluid_synth_t* synth) {
  if (const char* chosen = std::getenv("GREVENHOLT_SOUNDFONT"))
    if (fluid_synth_sfload(synth, chosen, 1) != FLUID_FAILED) return true;
  for (const char* font : kSoundFonts)
    if (FILE* f = std::fopen(font, "rb")) {
      std::fclose(f);
      if (fluid_synth_sfload(synth, font, 1) != FLUID_FAILED) return true;
    }
  return false;
}

}  // namespace platform
