#include "frontend/adventure_folder.h"

char AdventureFolder[12] = "DemoVersion";
uint8_t IntroductoryAdventureFlag = 1;
