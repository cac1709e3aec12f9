// The software mixer: the sound object of the game. Every buffer is mixed into 44100 Hz
// 16-bit stereo; the output thread (or the headless loop, which discards it) pulls the mix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/sound.h"

namespace platform {

struct MixerState;

class Mixer final : public SoundDevice {
  public:
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;
    // The largest secondary buffer accepted (bytes).
    static constexpr uint32_t kMaxBufferBytes = 256u << 20;

    Mixer();
    ~Mixer() override;

    HRESULT SetCooperativeLevel(void* window, uint32_t level) override;
    HRESULT CreateSoundBuffer(const BufferDesc& desc, SoundBufferPtr& out) override;

    // Mixes `frames` stereo frames of every playing buffer into `out` (2 * frames samples),
    // advancing their positions. Called from the audio thread.
    void Mix(int16_t* out, size_t frames);

    // The bytes of every secondary buffer alive (the sound the game holds in memory).
    size_t BufferBytes() const;

    // The format last given to the primary buffer (all zero until then). The mix itself
    // stays 44100 Hz 16-bit stereo whatever is asked for.
    WaveFormat PrimaryFormat() const;

  private:
    // The buffer list and its lock, shared with the buffers so that one outliving the mixer
    // stays safe.
    std::shared_ptr<MixerState> state_;
};

} // namespace platform
