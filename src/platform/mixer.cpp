// The software mixer: secondary buffers of 8/16-bit PCM summed into 44100 Hz 16-bit stereo.
//
// Streamed buffers and their threads. A streamed buffer keeps a ring of the frames that follow
// its play position in play order (wrapping from the last frame to the first). Its window
// (first frame, count, ring slot, generation) and the ring's bytes are guarded by the mixer's
// mutex like every other play state, and that mutex is only ever held for a bounded moment:
// the audio thread holds it while it mixes, the game thread for one buffer operation, and the
// filler (the streaming thread, or the game loop when no output thread pulls the mix) only to
// look at a window and to copy one piece into the ring. Files are read with the mutex
// released, into the filler's own piece buffer: a piece whose window was dropped meanwhile (the
// game moved the position) is thrown away. Fillers take a second mutex, the fill mutex, for a
// whole pass; a streamed buffer's destructor takes it too, so its source is never freed under
// a read. The audio thread never takes the fill mutex, never reads a file and never waits for
// one. A frame not read in time is mixed as silence and its position still advances.
#include "platform/mixer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
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

    std::mutex fillMutex;       // held by a filler for a whole pass (never by the audio thread)
    std::vector<uint8_t> piece; // the filler's piece buffer, guarded by fillMutex
    std::mutex wakeMutex;       // guards the two flags below
    std::condition_variable wake;
    bool stop = false;  // the streaming thread ends
    bool moved = false; // a stream needs reading at once

    void Wake() {
        {
            std::lock_guard lock(wakeMutex);
            moved = true;
        }
        wake.notify_one();
    }
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

// Ring sizes of a stream at `rate` frames a second: what it holds ahead, and one read.
uint32_t RingFrames(uint32_t rate) {
    return std::max<uint32_t>(rate * 3 / 8, 64);
}
uint32_t PieceFrames(uint32_t rate) {
    return RingFrames(rate) / 3;
}

// The frames of a streamed buffer held ahead: `count` frames in play order from file frame
// `start`, the first at ring slot `slot`. `generation` changes whenever the window is dropped.
struct StreamRing {
    StreamSourcePtr source; // read by fillers only
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t capacity = 0; // frames
    uint32_t piece = 0;    // frames read at most at a time
    uint32_t start = 0;
    uint32_t count = 0;
    uint32_t slot = 0;
    uint32_t generation = 0;
};

// A buffer of PCM frames with its play state: all of them held, or streamed through a ring.
// Every member is guarded by the mixer's mutex, except a ring's source (see the top).
class SecondaryBuffer final : public SoundBuffer {
  public:
    SecondaryBuffer(std::shared_ptr<MixerState> state, std::unique_ptr<uint8_t[]> data,
                    uint32_t bytes, const WaveFormat& format,
                    std::unique_ptr<StreamRing> ring = nullptr)
        : state_(std::move(state)), data_(std::move(data)), ring_(std::move(ring)), bytes_(bytes),
          blockAlign_(format.nBlockAlign), frames_(bytes / format.nBlockAlign),
          channels_(format.nChannels), bits_(format.wBitsPerSample),
          step_((uint64_t{format.nSamplesPerSec} << 32) / Mixer::kRate) {
        std::lock_guard lock(state_->mutex);
        state_->buffers.push_back(this);
    }
    ~SecondaryBuffer() override {
        // A filler may be reading this stream's source: wait for its pass to end.
        std::unique_lock<std::mutex> fill;
        if (ring_) fill = std::unique_lock(state_->fillMutex);
        std::lock_guard lock(state_->mutex);
        auto& list = state_->buffers;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }

    HRESULT Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* bytes1, void** ptr2,
                 uint32_t* bytes2, uint32_t) override {
        std::lock_guard lock(state_->mutex);
        if (ring_) return E_FAIL; // its data is its source's
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
        // Whole frames only: a partial frame at the end of the buffer is never played.
        const uint32_t frame = bytes / blockAlign_;
        {
            std::lock_guard lock(state_->mutex);
            if (frame >= frames_) return E_INVALIDARG;
            pos_ = uint64_t{frame} << 32;
            if (!ring_ || !MoveWindow(frame)) return S_OK;
        }
        state_->Wake(); // the window was dropped: read from the new position now
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

    // The bytes held in memory: the whole sound, or a stream's ring.
    uint32_t Bytes() const { return ring_ ? ring_->capacity * blockAlign_ : bytes_; }
    bool Streamed() const { return ring_ != nullptr; }
    uint8_t Silence() const { return bits_ == 8 ? 0x80 : 0; }

    // Adds `frames` output frames of this buffer to `acc` (interleaved stereo) and advances.
    // A buffer that is locked is being written by the game and is skipped.
    void MixInto(int32_t* acc, size_t frames) {
        if (!playing_ || locks_ > 0) return;
        if (ring_) {
            MixFormat<true>(acc, frames);
            // The frames before the play position are no longer needed.
            MoveWindow(static_cast<uint32_t>(pos_ >> 32));
        } else {
            MixFormat<false>(acc, frames);
        }
    }

    // Reads ahead until the ring is full. Called by a filler, holding the fill mutex.
    void Fill(std::vector<uint8_t>& piece) {
        StreamRing& r = *ring_;
        for (;;) {
            uint32_t next = 0, want = 0, generation = 0;
            {
                std::lock_guard lock(state_->mutex);
                if (r.count == r.capacity) return;
                next = r.start + r.count; // below 2 * frames_: the ring is shorter than the sound
                if (next >= frames_) next -= frames_;
                want = std::min({r.capacity - r.count, r.piece, frames_ - next});
                generation = r.generation;
            }
            const size_t bytes = size_t{want} * blockAlign_;
            piece.resize(bytes);
            size_t read =
                r.source->Read(next * blockAlign_, piece.data(), static_cast<uint32_t>(bytes));
            // What cannot be read (damaged or cut short since it was opened) is silence, never
            // noise: whole frames only.
            read = std::min(read, bytes) / blockAlign_ * blockAlign_;
            std::fill(piece.begin() + static_cast<ptrdiff_t>(read), piece.end(), Silence());
            std::lock_guard lock(state_->mutex);
            if (r.generation != generation) continue; // moved meanwhile: read again from there
            uint32_t slot = r.slot + r.count;
            if (slot >= r.capacity) slot -= r.capacity;
            const uint32_t first = std::min(want, r.capacity - slot);
            std::memcpy(r.bytes.get() + size_t{slot} * blockAlign_, piece.data(),
                        size_t{first} * blockAlign_);
            std::memcpy(r.bytes.get(), piece.data() + size_t{first} * blockAlign_,
                        size_t{want - first} * blockAlign_);
            r.count += want;
        }
    }

  private:
    template <bool Streamed> void MixFormat(int32_t* acc, size_t frames) {
        if (bits_ == 8) {
            if (channels_ == 1) return MixFrames<1, 8, Streamed>(acc, frames);
            return MixFrames<2, 8, Streamed>(acc, frames);
        }
        if (channels_ == 1) return MixFrames<1, 16, Streamed>(acc, frames);
        return MixFrames<2, 16, Streamed>(acc, frames);
    }

    // The bytes of file frame `f`; for a stream, null when its ring does not hold it.
    template <bool Streamed> const uint8_t* FrameBytes(uint32_t f) const {
        if constexpr (!Streamed) {
            return data_.get() + size_t{f} * blockAlign_;
        } else {
            const StreamRing& r = *ring_;
            const uint32_t ahead = f >= r.start ? f - r.start : f + frames_ - r.start;
            if (ahead >= r.count) return nullptr;
            uint32_t slot = r.slot + ahead;
            if (slot >= r.capacity) slot -= r.capacity;
            return r.bytes.get() + size_t{slot} * blockAlign_;
        }
    }

    // Starts a stream's window at file frame `f`, keeping what it holds from there on. Returns
    // true when `f` lies outside the window, which is then dropped.
    bool MoveWindow(uint32_t f) {
        StreamRing& r = *ring_;
        const uint32_t ahead = f >= r.start ? f - r.start : f + frames_ - r.start;
        const bool dropped = ahead > r.count;
        if (dropped) {
            r.count = r.slot = 0;
            ++r.generation;
        } else {
            r.count -= ahead;
            r.slot = (r.slot + ahead) % r.capacity;
        }
        r.start = f;
        return dropped;
    }

    template <int Channels, int Bits, bool Streamed> void MixFrames(int32_t* acc, size_t frames) {
        constexpr int kSampleBytes = Bits / 8;
        for (size_t i = 0; i < frames && playing_; ++i) {
            uint32_t f = static_cast<uint32_t>(pos_ >> 32);
            uint32_t g = f + 1 < frames_ ? f + 1 : (looping_ ? 0 : f);
            int64_t t = static_cast<int64_t>((pos_ >> 17) & 0x7FFF); // 15-bit fraction
            const uint8_t* a = FrameBytes<Streamed>(f);
            const uint8_t* b = Streamed && t == 0 ? a : FrameBytes<Streamed>(g);
            if (Streamed && (!a || !b)) { // not read in time: silence
                Advance();
                continue;
            }
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
    std::unique_ptr<uint8_t[]> data_;  // the whole sound, or null for a stream
    std::unique_ptr<StreamRing> ring_; // a stream's frames ahead, or null
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
Mixer::~Mixer() {
    StopStreaming();
}

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

uint32_t Mixer::MinStreamFrames(uint32_t rate) {
    return 4 * RingFrames(rate);
}

HRESULT Mixer::CreateStreamBuffer(const BufferDesc& desc, StreamSourcePtr source,
                                  SoundBufferPtr& out) {
    out.reset();
    const WaveFormat* format = desc.lpwfxFormat;
    if (!source || (desc.dwFlags & DSBCAPS_PRIMARYBUFFER)) return E_INVALIDARG;
    if (HRESULT hr = CheckFormat(format); Failed(hr)) return hr;
    const uint32_t frames = desc.dwBufferBytes / format->nBlockAlign;
    if (frames < MinStreamFrames(format->nSamplesPerSec)) return E_INVALIDARG;
    auto ring = std::make_unique<StreamRing>();
    ring->capacity = RingFrames(format->nSamplesPerSec);
    ring->piece = PieceFrames(format->nSamplesPerSec);
    ring->bytes.reset(new (std::nothrow) uint8_t[size_t{ring->capacity} * format->nBlockAlign]);
    if (!ring->bytes) return E_OUTOFMEMORY;
    // The first piece now, on the caller's thread, so that playing can start at once.
    const uint32_t first = ring->piece * format->nBlockAlign;
    if (source->Read(0, ring->bytes.get(), first) != first) return E_FAIL;
    ring->count = ring->piece;
    ring->source = std::move(source);
    out = std::make_unique<SecondaryBuffer>(state_, nullptr, desc.dwBufferBytes, *format,
                                            std::move(ring));
    state_->Wake();
    return S_OK;
}

void Mixer::Refill() {
    std::lock_guard fill(state_->fillMutex);
    std::vector<SecondaryBuffer*> streams;
    {
        std::lock_guard lock(state_->mutex);
        for (SecondaryBuffer* buffer : state_->buffers)
            if (buffer->Streamed()) streams.push_back(buffer);
    }
    // None of them can be destroyed before the fill mutex is released.
    for (SecondaryBuffer* stream : streams) stream->Fill(state_->piece);
}

void Mixer::StartStreaming() {
    if (streamer_.joinable()) return;
    {
        std::lock_guard lock(state_->wakeMutex);
        state_->stop = false;
    }
    streamer_ = std::thread([state = state_.get(), this] {
        std::unique_lock lock(state->wakeMutex);
        while (!state->stop) {
            state->moved = false;
            lock.unlock();
            Refill();
            lock.lock();
            // Every 10 ms is well inside what a ring holds ahead (3/8 s).
            state->wake.wait_for(lock, std::chrono::milliseconds(10),
                                 [state] { return state->stop || state->moved; });
        }
    });
}

void Mixer::StopStreaming() {
    if (!streamer_.joinable()) return;
    {
        std::lock_guard lock(state_->wakeMutex);
        state_->stop = true;
    }
    state_->wake.notify_one();
    streamer_.join();
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
