// The game's version.
#include "app/version.h"

const char* GameVersion() {
    return TESS_VERSION;
}
