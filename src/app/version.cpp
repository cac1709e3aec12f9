// The game's version.
#include "app/version.h"

#include "tess_version.h"

const char* GameVersion() {
    return TESS_VERSION;
}
