// The game's version: what --version shows and what recordings carry.
#pragma once

const char* GameVersion();
