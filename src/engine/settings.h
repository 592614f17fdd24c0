// The player's settings: the option words, the display settings beside them,
// and the settings file "Config.dat" that keeps them between runs.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kOptionWordCount = 35;
enum OptionIndex : int {
  kOptionSoundVolume = 4,
  kOptionMusicVolume = 5,
  kOptionAmbientVolume = 6,
  kOptionSetOutAbilityRule = 9,
  kOptionScrollScribeCount = 10,
  kOptionDisplayThreatAreas = 11,
  kOptionDisplayColouredArrows = 12,
  kOptionAutoRecastMageArmor = 13,
  kOptionAutoRecastLight = 14,
  kOptionPathfindAvoidsEntangle = 15,
  kOptionAcceleratedCombat = 16,
  kOptionDoubleWalkSpeed = 17,
  kOptionMaxHitPointsOnLevelUp = 18,
  kOptionAutoRecastCure = 19,
  kOptionMaxAbilityScores = 20,
  kOptionIronmanMode = 21,
  kOptionBattleMusic = 22,
  kOptionCombatRollsPanelWord = 23,
  kOptionActionPanelWord = 24,
  kOptionConfirmPersonalSpells = 25,
  kOptionAutomaticEndOfTurn = 26,
  kOptionSelectedFighterModeWord = 27,
  kOptionDisplayExpandedTooltip = 28,
  kOptionLowResolutionText = 29,
  kOptionDisableMonsterSpawning = 30,
  kOptionDisableWorldMapEncounters = 31,
  kOptionRunningAwayCanFail = 32,
  kOptionSkipTurnAfterLeftClickAttack = 33,
  kOptionMultiplyStrengthOnCriticals = 34,
};

extern int32_t OptionWords[kOptionWordCount];
// The most scrolls counted as scribed (option word 10): the count stops there.
constexpr int32_t kLargestScrollScribeCount = 1000000;
// The values the block holds when no settings file exists.
extern const int32_t DefaultOptionWords[kOptionWordCount];
extern uint8_t WindowedFlag;    // 1 windowed, 0 full screen
extern uint32_t WindowSize;     // 1 "640x480", 2 "960x720 (a)", 3 "960x720 (b)"
extern uint8_t CursorFreeFlag;  // 1 free to leave the window, 0 bound to it
// The map view in use, the one answer every centring, every scroll limit and
// the mouse's map point read: 480 by 360 map pixels in the "960x720 (b)"
// window (windowed with window size 3), else 320 by 240 (full screen shows
// the 320 by 240 view whatever the window size says).
bool IsWideView();
int ViewWidth();
int ViewHeight();
// A length of the 320 by 240 picture in map pixels of the view in use (3/2
// in the wide view), and back (rounded down, below zero too): the one
// reading of the pointer on the map and of a map box on the picture.
int PictureToView(int picturePixels);
int ViewToPicture(int viewPixels);
// How many parties have set out in the main adventure on this installation.
extern uint32_t PartiesStartedCount;
// The game screen's two optional panels and its ready-action mode; option
// words 23 and 24 are their stored form.
extern uint8_t CombatRollsPanelShown;
extern uint8_t ActionsPanelShown;
extern uint8_t ReadyModeFlag;

// The settings file: its name (tests point it elsewhere) and its layout.
extern char SettingsFileName[260];
constexpr size_t kSettingsFileSize = 118;
constexpr size_t kSettingsOffsetWindowSize = 1;
constexpr size_t kSettingsOffsetCursor = 5;
constexpr size_t kSettingsOffsetVolumes = 6;
constexpr size_t kSettingsOffsetFirstRun = 18;   // words 11 to 25
constexpr size_t kSettingsOffsetSecondRun = 78;  // words 26 to 34
constexpr size_t kSettingsOffsetPartiesStarted = 114;
static_assert(kSettingsOffsetVolumes + 3 * 4 == kSettingsOffsetFirstRun);
static_assert(kSettingsOffsetFirstRun + 15 * 4 == kSettingsOffsetSecondRun);
static_assert(kSettingsOffsetSecondRun + 9 * 4 == kSettingsOffsetPartiesStarted);
static_assert(kSettingsOffsetPartiesStarted + 4 == kSettingsFileSize);

// Whether an option word may hold a value, the one rule of the settings
// file's reader and of the saved games' details: the volumes 0 to 100, since
// they scale every sound's level and a larger one overflows the product;
// every other word only ever is compared, or turned and counted in ways that
// cannot overflow, so it is taken as it stands.
bool OptionWordFits(int index, int32_t value);

// Reads "Config.dat" at start-up; a missing file keeps every default.
void ReadSettingsFile();
// Writes "Config.dat" at shutdown; a file that cannot be written is skipped.
void WriteSettingsFile();
// Builds the 118 bytes of the file from the current settings.
void PackSettingsFile(uint8_t out[kSettingsFileSize]);
// Sets the combat pacing and the walking steps from options 16 and 17.
void ApplyCombatSpeedOption();
void ApplyWalkSpeedOption();
// Scales the ambient channels by the ambient volume.
bool ApplyAmbientVolumes();
// Words 23 and 24 from the panel flags.
int DeriveDisplayOptionWords();
// Puts every setting back to its built-in default.
void ResetSettingsToDefaults();
