// The files every play mode loads for its board: the block models by file number and the five
// cursor pictures.
#pragma once

#include "media/manifest.h"

// Models 1..5 the kinds, 6 neutral (vanishing cells, markers, lid), 7 garbage, 8 the warning
// ceiling, 9..13 the vanishing overlays; index 0 unused.
inline constexpr const DataFile* kBlockModelFiles[14] = {
    nullptr,
    &DataEntry("./xFile/パズル用図形１.x"),
    &DataEntry("./xFile/パズル用図形２.x"),
    &DataEntry("./xFile/パズル用図形３.x"),
    &DataEntry("./xFile/パズル用図形４.x"),
    &DataEntry("./xFile/パズル用図形５.x"),
    &DataEntry("./xFile/パズル用図形６.x"),
    &DataEntry("./xFile/パズル用図形７.x"),
    &DataEntry("./xFile/パズル用図形８.x"),
    &DataEntry("./xFile/パズル用図形９.x"),
    &DataEntry("./xFile/パズル用図形１０.x"),
    &DataEntry("./xFile/パズル用図形１１.x"),
    &DataEntry("./xFile/パズル用図形１２.x"),
    &DataEntry("./xFile/パズル用図形１３.x"),
};

inline constexpr const DataFile* kCursorPictureFiles[5] = {
    &DataEntry("./bmp/カーソル.bmp"), &DataEntry("./bmp/カーソル２.bmp"),
    &DataEntry("./bmp/カーソル３.bmp"), &DataEntry("./bmp/カーソル４.bmp"),
    &DataEntry("./bmp/カーソル５.bmp")};
