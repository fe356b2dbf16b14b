#include "platform/BuildConstants.h"

#include "version.h"

const int g_nSetupVersion = SETUP_VERSION;
const int g_nTargetBits = TRABEX_TARGET_BITS;
