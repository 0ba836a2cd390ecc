#include "game/match_flags.h"

uint8_t english = 0;
int32_t playerCount = 0;
uint8_t blobStyle = 0;
uint32_t lastTickTime = 0;
