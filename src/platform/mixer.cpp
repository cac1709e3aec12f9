// The software mixer: secondary buffers of 8/16-bit PCM summed into 44100 Hz 16-bit stereo.
#include "platform/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

namespace platform {

namespace {

constexpr uint32_t kMaxRate = 192000;
constexpr int32_t kUnityGain = 1 << 16;
constexpr uint64_t kFrameOne = uint64_t{1} << 32; // positions are frames in 32.32 fixed point
constexpr size_t kChunkFrames = 256;              // frames summed per pass of Mix

// Gain in 16.16 fixed point of a volume in hundredths of a decibel; the minimum is silence.
int32_t GainOf(int32_t volume) {
    if (volume <= DSBVOLUME_MIN) return 0;
    return static_cast<int32_t>(std::lround(kUnityGain * std::pow(10.0, volume / 2000.0)));
}

HRESULT CheckFormat(const WaveFormat* f) {
    if (!f || f->wFormatTag != WAVE_FORMAT_PCM) return E_INVALIDARG;
    if (f->nChannels != 1 && f->nChannels != 2) return E_INVALIDARG;
    if (f->wBitsPerSample != 8 && f->wBitsPerSample != 16) return E_INVALIDARG;
    if (f->nSamplesPerSec < 1 || f->nSamplesPerSec > kMaxRate) return E_INVALIDARG;
    if (f->nBlockAlign != f->nChannels * f->wBitsPerSample / 8) return E_INVALIDARG;
    return S_OK;
}

class SecondaryBuffer;

} // namespace

struct MixerState {
    std::mutex mutex;
    std::vector<SecondaryBuffer*> buffers; // live buffers; each removes itself when destroyed
    WaveFormat primary;
};

namespace {

// The primary buffer: only its format can be set (and is recorded); the mix does not change.
class PrimaryBuffer final : public SoundBuffer {
  public:
    explicit PrimaryBuffer(std::shared_ptr<MixerState> state) : state_(std::move(state)) {}

    HRESULT Lock(uint32_t, uint32_t, void**, uint32_t*, void**, uint32_t*, uint32_t) override {
        return E_FAIL;
    }
    HRESULT Unlock(void*, uint32_t, void*, uint32_t) override { return E_FAIL; }
    HRESULT Play(uint32_t, uint32_t, uint32_t) override { return E_FAIL; }
    HRESULT Stop() override { return E_FAIL; }
    HRESULT SetCurrentPosition(uint32_t) override { return E_FAIL; }
    HRESULT GetCurrentPosition(uint32_t*, uint32_t*) override { return E_FAIL; }
    HRESULT SetVolume(int32_t) override { return E_FAIL; }
    HRESULT GetVolume(int32_t*) override { return E_FAIL; }
    HRESULT GetStatus(uint32_t* status) override {
        if (!status) return E_INVALIDARG;
        *status = 0;
        return S_OK;
    }
    HRESULT Restore() override { return S_OK; }
    HRESULT SetFormat(const WaveFormat* format) override {
        if (!format) return E_INVALIDARG;
        std::lock_guard lock(state_->mutex);
        state_->primary = *format;
        return S_OK;
    }

  private:
    std::shared_ptr<MixerState> state_;
};

// One sample scaled to 16 bits: 8-bit samples are unsigned, 16-bit ones signed little-endian.
template <int Bits> int32_t ReadSample(const uint8_t* p) {
    if constexpr (Bits == 8) {
        return (static_cast<int32_t>(p[0]) - 128) * 256;
    } else {
        return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
    }
}

// A buffer of PCM frames with its play state. Every member is guarded by the mixer's mutex.
class SecondaryBuffer final : public SoundBuffer {
  public:
    SecondaryBuffer(std::shared_ptr<MixerState> state, std::unique_ptr<uint8_t[]> data,
                    uint32_t bytes, const WaveFormat& format)
        : state_(std::move(state)), data_(std::move(data)), bytes_(bytes),
          blockAlign_(format.nBlockAlign), frames_(bytes / format.nBlockAlign),
          channels_(format.nChannels), bits_(format.wBitsPerSample),
          step_((uint64_t{format.nSamplesPerSec} << 32) / Mixer::kRate) {
        std::lock_guard lock(state_->mutex);
        state_->buffers.push_back(this);
    }
    ~SecondaryBuffer() override {
        std::lock_guard lock(state_->mutex);
        auto& list = state_->buffers;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }

    HRESULT Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* bytes1, void** ptr2,
                 uint32_t* bytes2, uint32_t) override {
        std::lock_guard lock(state_->mutex);
        if (!ptr1 || !bytes1 || offset >= bytes_ || bytes == 0 || bytes > bytes_) {
            return E_INVALIDARG;
        }
        uint32_t first = std::min(bytes, bytes_ - offset);
        *ptr1 = data_.get() + offset;
        *bytes1 = first;
        if (ptr2) *ptr2 = bytes > first ? data_.get() : nullptr;
        if (bytes2) *bytes2 = ptr2 ? bytes - first : 0;
        ++locks_;
        return S_OK;
    }
    HRESULT Unlock(void*, uint32_t, void*, uint32_t) override {
        std::lock_guard lock(state_->mutex);
        if (locks_ == 0) return E_INVALIDARG;
        --locks_;
        return S_OK;
    }
    HRESULT Play(uint32_t, uint32_t, uint32_t flags) override {
        std::lock_guard lock(state_->mutex);
        playing_ = true;
        looping_ = (flags & DSBPLAY_LOOPING) != 0;
        return S_OK;
    }
    HRESULT Stop() override {
        std::lock_guard lock(state_->mutex);
        playing_ = false;
        return S_OK;
    }
    HRESULT SetCurrentPosition(uint32_t bytes) override {
        std::lock_guard lock(state_->mutex);
        // Whole frames only: a partial frame at the end of the buffer is never played.
        const uint32_t frame = bytes / blockAlign_;
        if (frame >= frames_) return E_INVALIDARG;
        pos_ = uint64_t{frame} << 32;
        return S_OK;
    }
    HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write) override {
        std::lock_guard lock(state_->mutex);
        uint32_t bytes = static_cast<uint32_t>(pos_ >> 32) * blockAlign_;
        if (play) *play = bytes;
        if (write) *write = bytes;
        return S_OK;
    }
    HRESULT SetVolume(int32_t volume) override {
        volume = std::clamp(volume, DSBVOLUME_MIN, DSBVOLUME_MAX);
        int32_t gain = GainOf(volume);
        std::lock_guard lock(state_->mutex);
        volume_ = volume;
        gain_ = gain;
        return S_OK;
    }
    HRESULT GetVolume(int32_t* volume) override {
        if (!volume) return E_INVALIDARG;
        std::lock_guard lock(state_->mutex);
        *volume = volume_;
        return S_OK;
    }
    HRESULT GetStatus(uint32_t* status) override {
        if (!status) return E_INVALIDARG;
        std::lock_guard lock(state_->mutex);
        *status = playing_ ? DSBSTATUS_PLAYING | (looping_ ? DSBSTATUS_LOOPING : 0) : 0;
        return S_OK;
    }
    HRESULT Restore() override { return S_OK; }
    HRESULT SetFormat(const WaveFormat*) override { return E_FAIL; }

    uint32_t Bytes() const { return bytes_; }

    // Adds `frames` output frames of this buffer to `acc` (interleaved stereo) and advances.
    // A buffer that is locked is being written by the game and is skipped.
    void MixInto(int32_t* acc, size_t frames) {
        if (!playing_ || locks_ > 0) return;
        if (bits_ == 8) {
            if (channels_ == 1) return MixFrames<1, 8>(acc, frames);
            return MixFrames<2, 8>(acc, frames);
        }
        if (channels_ == 1) return MixFrames<1, 16>(acc, frames);
        return MixFrames<2, 16>(acc, frames);
    }

  private:
    template <int Channels, int Bits> void MixFrames(int32_t* acc, size_t frames) {
        constexpr int kSampleBytes = Bits / 8;
        for (size_t i = 0; i < frames && playing_; ++i) {
            uint32_t f = static_cast<uint32_t>(pos_ >> 32);
            uint32_t g = f + 1 < frames_ ? f + 1 : (looping_ ? 0 : f);
            int64_t t = static_cast<int64_t>((pos_ >> 17) & 0x7FFF); // 15-bit fraction
            const uint8_t* a = data_.get() + size_t{f} * blockAlign_;
            const uint8_t* b = data_.get() + size_t{g} * blockAlign_;
            for (int c = 0; c < 2; ++c) {
                int off = (Channels == 2 ? c : 0) * kSampleBytes;
                int64_t sa = ReadSample<Bits>(a + off), sb = ReadSample<Bits>(b + off);
                int64_t s = sa + (((sb - sa) * t) >> 15);
                acc[2 * i + c] += static_cast<int32_t>((s * gain_) >> 16);
            }
            Advance();
        }
    }

    void Advance() {
        pos_ += step_;
        uint64_t f = pos_ >> 32;
        if (f < frames_) return;
        if (looping_) {
            pos_ = ((f % frames_) << 32) | (pos_ & (kFrameOne - 1));
        } else {
            // A one-shot stops with its position wrapped to the start, ready to play again.
            pos_ = 0;
            playing_ = false;
        }
    }

    std::shared_ptr<MixerState> state_;
    std::unique_ptr<uint8_t[]> data_;
    uint32_t bytes_;
    uint32_t blockAlign_;
    uint32_t frames_;
    int channels_;
    int bits_;
    uint64_t step_; // source frames per output frame
    uint64_t pos_ = 0;
    int32_t volume_ = DSBVOLUME_MAX;
    int32_t gain_ = kUnityGain;
    bool playing_ = false;
    bool looping_ = false;
    int locks_ = 0;
};

} // namespace

Mixer::Mixer() : state_(std::make_shared<MixerState>()) {}
Mixer::~Mixer() = default;

HRESULT Mixer::SetCooperativeLevel(void*, uint32_t) {
    return S_OK;
}

HRESULT Mixer::CreateSoundBuffer(const BufferDesc& desc, SoundBufferPtr& out) {
    out.reset();
    if (desc.dwFlags & DSBCAPS_PRIMARYBUFFER) {
        out = std::make_unique<PrimaryBuffer>(state_);
        return S_OK;
    }
    const WaveFormat* format = desc.lpwfxFormat;
    if (HRESULT hr = CheckFormat(format); Failed(hr)) return hr;
    if (desc.dwBufferBytes < format->nBlockAlign || desc.dwBufferBytes > kMaxBufferBytes) {
        return E_INVALIDARG;
    }
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[desc.dwBufferBytes]);
    if (!data) return E_OUTOFMEMORY;
    std::memset(data.get(), format->wBitsPerSample == 8 ? 0x80 : 0, desc.dwBufferBytes);
    out = std::make_unique<SecondaryBuffer>(state_, std::move(data), desc.dwBufferBytes, *format);
    return S_OK;
}

void Mixer::Mix(int16_t* out, size_t frames) {
    int32_t acc[2 * kChunkFrames];
    std::lock_guard lock(state_->mutex);
    while (frames > 0) {
        size_t n = std::min(frames, kChunkFrames);
        std::fill_n(acc, 2 * n, 0);
        for (SecondaryBuffer* buffer : state_->buffers) buffer->MixInto(acc, n);
        for (size_t i = 0; i < 2 * n; ++i) {
            out[i] = static_cast<int16_t>(std::clamp(acc[i], -32768, 32767));
        }
        out += 2 * n;
        frames -= n;
    }
}

size_t Mixer::BufferBytes() const {
    std::lock_guard lock(state_->mutex);
    size_t bytes = 0;
    for (const SecondaryBuffer* buffer : state_->buffers) bytes += buffer->Bytes();
    return bytes;
}

WaveFormat Mixer::PrimaryFormat() const {
    std::lock_guard lock(state_->mutex);
    return state_->primary;
}

} // namespace platform
