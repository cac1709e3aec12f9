// The software mixer: the sound object of the game. Every buffer is mixed into 44100 Hz
// 16-bit stereo; the output thread (or the headless loop, which discards it) pulls the mix.
// Streamed buffers are read ahead by Refill, on a streaming thread of the mixer's own when the
// mix is pulled by an output thread, else by the loop that pulls it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>

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
    // Streams hold about 3/8 s ahead and read 1/8 s at most at a time; only sounds several
    // times longer than that are accepted (shorter ones are simply held whole).
    HRESULT CreateStreamBuffer(const BufferDesc& desc, StreamSourcePtr source,
                               SoundBufferPtr& out) override;
    // The shortest sound CreateStreamBuffer accepts, in frames at `rate` frames a second.
    static uint32_t MinStreamFrames(uint32_t rate);

    // Reads every streamed buffer ahead as far as it holds, on the calling thread (never the
    // one that calls Mix). File reads happen outside the lock Mix takes.
    void Refill();
    // A thread that calls Refill every few milliseconds, and at once when a stream has been
    // moved; stopped by StopStreaming or the destructor.
    void StartStreaming();
    void StopStreaming();

    // Mixes `frames` stereo frames of every playing buffer into `out` (2 * frames samples),
    // advancing their positions. Called from the audio thread.
    void Mix(int16_t* out, size_t frames);

    // The bytes of every secondary buffer alive (the sound the game holds in memory; a
    // streamed buffer counts what it holds ahead).
    size_t BufferBytes() const;

    // The format last given to the primary buffer (all zero until then). The mix itself
    // stays 44100 Hz 16-bit stereo whatever is asked for.
    WaveFormat PrimaryFormat() const;

  private:
    // The buffer list and its lock, shared with the buffers so that one outliving the mixer
    // stays safe.
    std::shared_ptr<MixerState> state_;
    std::thread streamer_;
};

} // namespace platform
