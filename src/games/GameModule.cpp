#include "games/GameModule.h"

uint8_t MouseAction = 0;
int MouseX = 0, MouseY = 0;
