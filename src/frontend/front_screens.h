// The front end's pages: splash, title, main menu, options, credits, ranking,
// and the save and load page.
#pragma once

int SplashScreen();        // page type 135
int TitleScreen();         // 118
int DrawMainMenuScreen();  // 102
int GameOptionsScreen();   // 106
int CreditsScreen();       // 134
int RankingScreen();       // 137
// Page type 103 (parameter 1 save, 2 load); 1 when it has already presented.
int SaveLoadScreen(int parameter);
