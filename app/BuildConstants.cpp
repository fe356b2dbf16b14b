#include "app/BuildConstants.h"

const int g_nSetupVersion = 20260331;
const int g_nTargetBits = TRABEX_TARGET_BITS;
