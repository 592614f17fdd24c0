#include "frontend/front_screens.h"

#include "engine/page_placeholder.h"

int SplashScreen() { return DrawPagePlaceholder("SplashScreen"); }
int TitleScreen() { return DrawPagePlaceholder("TitleScreen"); }
int DrawMainMenuScreen() { return DrawPagePlaceholder("DrawMainMenuScreen"); }
int GameOptionsScreen() { return DrawPagePlaceholder("GameOptionsScreen"); }
int CreditsScreen() { return DrawPagePlaceholder("CreditsScreen"); }
int RankingScreen() { return DrawPagePlaceholder("RankingScreen"); }
