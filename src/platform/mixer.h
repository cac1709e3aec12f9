// The software mixer: the sound object of the game. Every buffer is mixed into 44100 Hz
// 16-bit stereo; the output thread (or the headless loop, which discards it) pulls the mix.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/sound.h"

namespace platform {

class Mixer final : public SoundDevice {
  public:
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;

    Mixer();
    ~Mixer() override;

    HRESULT SetCooperativeLevel(void* window, uint32_t level) override;
    HRESULT CreateSoundBuffer(const BufferDesc& desc, SoundBufferPtr& out) override;

    // Mixes `frames` stereo frames of every playing buffer into `out` (2 * frames samples),
    // advancing their positions. Called from the audio thread.
    void Mix(int16_t* out, size_t frames);
};

} // namespace platform
