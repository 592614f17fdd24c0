// The settings file "Config.dat": read, then packed again.
#include "engine/settings.h"
#include "fuzz/fuzz_target.h"

GH_FUZZ_TARGET(settings) {
  WriteScratchFile(SettingsFileName, data, size);
  ReadSettingsFile();
  uint8_t packed[kSettingsFileSize];
  PackSettingsFile(packed);
}
