// The SceneIds: the value the main loop holds selects the scene function it calls next. Even
// values are initialisers, odd ones frame functions; 12 and 13 end the program.
#pragma once

#include <cstdint>

namespace scene {
enum SceneId : int32_t {
    kTitleInit = 0,
    kTitleFrame = 1,
    kSelectInit = 2,
    kSelectFrame = 3,
    kEndlessInit = 4,
    kEndlessFrame = 5,
    kVersusInit = 6,
    kVersusFrame = 7,
    kChallengeInit = 8,
    kChallengeFrame = 9,
    kOptionsInit = 10,
    kOptionsFrame = 11,
    kQuit = 12,
    kQuitToo = 13,
    kKeysInit = 14, // the key screen, reached from the options
    kKeysFrame = 15,
};
constexpr int32_t kSceneCount = 16; // SceneIds 0..11, 14 and 15 run scene functions
} // namespace scene
