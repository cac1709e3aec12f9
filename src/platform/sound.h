// The sound device interface: secondary buffers of PCM data that play once or looping at a
// volume in hundredths of a decibel. Implemented by the software mixer (mixer.h).
#pragma once

#include <memory>

#include "platform/types.h"

namespace platform {

constexpr uint16_t WAVE_FORMAT_PCM = 1;

#pragma pack(push, 1)
// The 18-byte format header; non-PCM formats are followed by cbSize extra bytes.
struct WaveFormat {
    uint16_t wFormatTag = 0;
    uint16_t nChannels = 0;
    uint32_t nSamplesPerSec = 0;
    uint32_t nAvgBytesPerSec = 0;
    uint16_t nBlockAlign = 0;
    uint16_t wBitsPerSample = 0;
    uint16_t cbSize = 0;
};
#pragma pack(pop)
static_assert(sizeof(WaveFormat) == 18);

constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x00000001;
constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x00000020;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x00000040;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x00000080;
constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x00008000;
constexpr uint32_t DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;
constexpr uint32_t DSBPLAY_LOOPING = 0x00000001;
constexpr uint32_t DSBSTATUS_PLAYING = 0x00000001;
constexpr uint32_t DSBSTATUS_LOOPING = 0x00000004;
constexpr uint32_t DSSCL_PRIORITY = 2;
constexpr int32_t DSBVOLUME_MIN = -10000;
constexpr int32_t DSBVOLUME_MAX = 0;
constexpr HRESULT DSERR_BUFFERLOST = static_cast<HRESULT>(0x88780096u);

struct BufferDesc {
    uint32_t dwSize = 36;
    uint32_t dwFlags = 0;
    uint32_t dwBufferBytes = 0;
    uint32_t dwReserved = 0;
    const WaveFormat* lpwfxFormat = nullptr;
};

// One sound buffer. Thread-safe against the mixer's own thread.
class SoundBuffer {
  public:
    virtual ~SoundBuffer() = default;
    virtual HRESULT Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* bytes1,
                         void** ptr2, uint32_t* bytes2, uint32_t flags) = 0;
    virtual HRESULT Unlock(void* ptr1, uint32_t bytes1, void* ptr2, uint32_t bytes2) = 0;
    // Starts playing from the current position; a buffer already playing goes on undisturbed.
    virtual HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags) = 0;
    // Stops and keeps the position.
    virtual HRESULT Stop() = 0;
    virtual HRESULT SetCurrentPosition(uint32_t bytes) = 0;
    virtual HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write) = 0;
    // Hundredths of a decibel, -10000 (silent) .. 0 (full).
    virtual HRESULT SetVolume(int32_t volume) = 0;
    virtual HRESULT GetVolume(int32_t* volume) = 0;
    virtual HRESULT GetStatus(uint32_t* status) = 0;
    virtual HRESULT Restore() = 0;
    // Primary buffer only: the output format.
    virtual HRESULT SetFormat(const WaveFormat* format) = 0;
};
using SoundBufferPtr = std::unique_ptr<SoundBuffer>;

// Where a streamed buffer's sound data comes from (a file read piece by piece as it plays).
// Read is called by one thread at a time and never by the thread that pulls the mix.
class StreamSource {
  public:
    virtual ~StreamSource() = default;
    // Copies `bytes` bytes of the sound data, from byte `offset` of it, to `out`; returns how
    // many it copied, fewer when the rest cannot be read (a file damaged or cut short since it
    // was opened).
    virtual uint32_t Read(uint32_t offset, uint8_t* out, uint32_t bytes) = 0;
};
using StreamSourcePtr = std::unique_ptr<StreamSource>;

// The sound object.
class SoundDevice {
  public:
    virtual ~SoundDevice() = default;
    virtual HRESULT SetCooperativeLevel(void* window, uint32_t level) = 0;
    virtual HRESULT CreateSoundBuffer(const BufferDesc& desc, SoundBufferPtr& out) = 0;
    // A buffer that plays `desc.dwBufferBytes` bytes of `source` as if it held them all, while
    // it keeps only a short stretch ahead of its play position. It cannot be locked. Made
    // stopped at position 0 with its first piece read; fails when that cannot be read.
    virtual HRESULT CreateStreamBuffer(const BufferDesc& desc, StreamSourcePtr source,
                                       SoundBufferPtr& out) = 0;
};

} // namespace platform
