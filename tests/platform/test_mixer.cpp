// Tests of the software mixer: formats, resampling, volume, looping and the play state.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/mixer.h"

using namespace platform;
using Samples = std::vector<int16_t>;

namespace {

WaveFormat Format(uint16_t channels, uint16_t bits, uint32_t rate) {
    const auto align = static_cast<uint16_t>(channels * bits / 8);
    return {WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0};
}

// A buffer holding `size` bytes, filled through Lock / Unlock.
SoundBufferPtr Make(Mixer& mixer, const WaveFormat& format, const void* bytes, uint32_t size) {
    BufferDesc desc;
    desc.dwBufferBytes = size;
    desc.lpwfxFormat = &format;
    SoundBufferPtr b;
    void *p1, *p2;
    uint32_t n1, n2;
    if (mixer.CreateSoundBuffer(desc, b) != S_OK || b->Lock(0, size, &p1, &n1, &p2, &n2, 0)) {
        ADD_FAILURE() << "cannot make a buffer";
        return nullptr;
    }
    std::memcpy(p1, bytes, n1);
    b->Unlock(p1, n1, p2, n2);
    return b;
}

// 16-bit stereo at the mix rate: what goes in comes out unchanged.
SoundBufferPtr Stereo(Mixer& mixer, const Samples& s) {
    return Make(mixer, Format(2, 16, Mixer::kRate), s.data(), static_cast<uint32_t>(2 * s.size()));
}

Samples Mixed(Mixer& mixer, size_t frames) {
    Samples out(2 * frames, 12345);
    mixer.Mix(out.data(), frames);
    return out;
}

// Status bits and play position of a buffer.
std::pair<uint32_t, uint32_t> State(SoundBuffer& b) {
    uint32_t status = 99, position = 99;
    b.GetStatus(&status), b.GetCurrentPosition(&position, nullptr);
    return {status, position};
}

} // namespace

TEST(Mixer, PlayStopLoopAndPosition) {
    Mixer mixer;
    auto b = Stereo(mixer, {10, -10, 20, -20, 30, -30});
    EXPECT_EQ(Mixed(mixer, 1), Samples(2, 0)); // made stopped
    b->Play(0, 0, 0);
    EXPECT_EQ(Mixed(mixer, 4), (Samples{10, -10, 20, -20, 30, -30, 0, 0}));
    // A one-shot stops at its end wrapped to 0, so playing it again replays it.
    EXPECT_EQ(State(*b), std::pair(0u, 0u));

    b->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(State(*b).first, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    auto out = Mixed(mixer, 7);
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(out[2 * i], 10 * (1 + static_cast<int>(i % 3)));
    // Play on a playing buffer does not restart it; Stop keeps the position.
    b->Play(0, 0, DSBPLAY_LOOPING);
    b->Stop();
    EXPECT_EQ(State(*b), std::pair(0u, 4u));
    EXPECT_EQ(Mixed(mixer, 1), Samples(2, 0));
    b->Play(0, 0, 0); // the loop flag alone changes: it ends after frame 2
    EXPECT_EQ(Mixed(mixer, 3), (Samples{20, -20, 30, -30, 0, 0}));

    // Positions are bytes, rounded down to a frame; a trailing partial frame is not one.
    EXPECT_EQ(b->SetCurrentPosition(9), S_OK);
    EXPECT_EQ(State(*b).second, 8u);
    EXPECT_EQ(b->SetCurrentPosition(12), E_INVALIDARG);
    const uint8_t odd[6] = {1, 0, 2, 0, 3, 0};
    auto c = Make(mixer, Format(2, 16, Mixer::kRate), odd, sizeof odd);
    EXPECT_EQ(c->SetCurrentPosition(4), E_INVALIDARG);
}

TEST(Mixer, VolumeInHundredthsOfADecibelAndASaturatingSum) {
    Mixer mixer;
    auto a = Stereo(mixer, {20000, -20000, 1000, 7});
    auto b = Stereo(mixer, {20000, -20000, 2000, -7});
    a->Play(0, 0, DSBPLAY_LOOPING);
    b->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(Mixed(mixer, 2), (Samples{32767, -32768, 3000, 0}));

    b.reset(); // a destroyed buffer leaves the mix
    a->SetVolume(-2000);
    auto out = Mixed(mixer, 2);
    EXPECT_NEAR(out[0], 2000, 1);
    EXPECT_NEAR(out[1], -2000, 1);
    a->SetVolume(-10000);
    EXPECT_EQ(Mixed(mixer, 2), Samples(4, 0));
}

TEST(Mixer, ConvertsEightBitMonoAndResamples) {
    Mixer mixer;
    // 8-bit is unsigned (0x80 silence); at half the mix rate every other frame is interpolated.
    const uint8_t mono8[] = {0x80, 0xC0, 0x40};
    auto a = Make(mixer, Format(1, 8, 22050), mono8, sizeof mono8);
    a->Play(0, 0, 0);
    EXPECT_EQ(Mixed(mixer, 7), (Samples{0, 0, 8192, 8192, 16384, 16384, 0, 0, -16384, -16384,
                                        -16384, -16384, 0, 0}));
    // A one-frame loop at the highest rate wraps several times per output frame.
    const int16_t one = 500;
    auto c = Make(mixer, Format(1, 16, 192000), &one, 2);
    c->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(Mixed(mixer, 3), Samples(6, 500));
}

TEST(Mixer, RefusesFormatsAndSizesItCannotPlay) {
    Mixer mixer;
    WaveFormat adpcm = Format(2, 16, 44100), misaligned = adpcm;
    adpcm.wFormatTag = 2;
    misaligned.nBlockAlign = 2;
    const struct {
        WaveFormat format;
        uint32_t bytes;
    } cases[] = {{adpcm, 4},
                 {Format(3, 16, 44100), 6},
                 {Format(2, 24, 44100), 6},
                 {Format(2, 16, 0), 4},
                 {Format(2, 16, 192001), 4},
                 {misaligned, 4},
                 {Format(2, 16, 44100), 0},
                 {Format(2, 16, 44100), 3},
                 {Format(2, 16, 44100), Mixer::kMaxBufferBytes + 1}};
    for (const auto& c : cases) {
        BufferDesc desc;
        desc.dwBufferBytes = c.bytes;
        desc.lpwfxFormat = &c.format;
        SoundBufferPtr out = Stereo(mixer, {1, 1});
        EXPECT_TRUE(Failed(mixer.CreateSoundBuffer(desc, out)) && !out) << c.bytes;
    }
}

TEST(Mixer, LockWrapsAroundTheEndAndALockedBufferIsNotMixed) {
    Mixer mixer;
    auto b = Stereo(mixer, {1, 1, 2, 2, 3, 3, 4, 4});
    void *p1, *p2;
    uint32_t n1, n2;
    ASSERT_EQ(b->Lock(12, 8, &p1, &n1, &p2, &n2, 0), S_OK);
    EXPECT_EQ(n1, 4u);
    EXPECT_EQ(n2, 4u);
    EXPECT_EQ(static_cast<char*>(p1) - static_cast<char*>(p2), 12);
    b->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(Mixed(mixer, 1), Samples(2, 0));
    b->Unlock(p1, n1, p2, n2);
    EXPECT_EQ(Mixed(mixer, 1), (Samples{1, 1}));
}

// Streamed buffers: the same mix as a buffer holding the whole sound, a short stretch held
// ahead, silence (never noise) for what cannot be read, and the streaming thread.
namespace {

// Bytes in memory, read as a file would be; reads from `failFrom` on fail.
struct MemorySource final : StreamSource {
    const std::vector<uint8_t>* bytes;
    uint32_t failFrom;
    std::atomic<uint32_t>* furthest; // the end of the furthest read
    MemorySource(const std::vector<uint8_t>& b, uint32_t fail, std::atomic<uint32_t>* far)
        : bytes(&b), failFrom(fail), furthest(far) {}
    uint32_t Read(uint32_t offset, uint8_t* out, uint32_t n) override {
        if (offset + n > bytes->size()) return 0;
        if (furthest) *furthest = std::max(furthest->load(), offset + n);
        std::memcpy(out, bytes->data() + offset, n);
        if (offset + n <= failFrom) return n;
        // What a failed read leaves behind must not be heard.
        const uint32_t good = offset < failFrom ? failFrom - offset : 0;
        std::memset(out + good, 0x55, n - good);
        return good + 1; // and a partial frame is not one
    }
};

std::vector<uint8_t> Noise(size_t n) {
    std::vector<uint8_t> b(n);
    uint32_t x = 12345;
    for (uint8_t& v : b) v = static_cast<uint8_t>((x = x * 1103515245u + 12345u) >> 16);
    return b;
}

SoundBufferPtr Whole(Mixer& mixer, const WaveFormat& format, const std::vector<uint8_t>& b) {
    BufferDesc desc;
    desc.dwBufferBytes = static_cast<uint32_t>(b.size());
    desc.lpwfxFormat = &format;
    SoundBufferPtr out;
    void *p1, *p2;
    uint32_t n1, n2;
    EXPECT_EQ(mixer.CreateSoundBuffer(desc, out), S_OK);
    out->Lock(0, desc.dwBufferBytes, &p1, &n1, &p2, &n2, 0);
    std::memcpy(p1, b.data(), n1);
    out->Unlock(p1, n1, p2, n2);
    return out;
}

SoundBufferPtr Stream(Mixer& mixer, const WaveFormat& format, const std::vector<uint8_t>& b,
                      uint32_t failFrom = UINT32_MAX, std::atomic<uint32_t>* furthest = nullptr) {
    BufferDesc desc;
    desc.dwBufferBytes = static_cast<uint32_t>(b.size());
    desc.lpwfxFormat = &format;
    SoundBufferPtr out;
    EXPECT_EQ(
        mixer.CreateStreamBuffer(desc, std::make_unique<MemorySource>(b, failFrom, furthest), out),
        S_OK);
    return out;
}

// What a game does to its music, done to one buffer; the mix is read ahead before every
// sixtieth of a second, as the headless loop does.
Samples Played(Mixer& mixer, SoundBuffer& b, uint32_t frames, uint32_t align) {
    Samples out;
    auto mix = [&](int sixtieths) {
        for (int i = 0; i < sixtieths; ++i) {
            mixer.Refill();
            Samples piece(2 * 735);
            mixer.Mix(piece.data(), 735);
            out.insert(out.end(), piece.begin(), piece.end());
        }
    };
    b.Play(0, 0, DSBPLAY_LOOPING);
    mix(60 * (frames / 44100 + 1) + 30); // across the loop
    b.Stop();
    mix(3);
    b.SetVolume(-600);
    b.Play(0, 0, DSBPLAY_LOOPING); // resumed where it stopped
    mix(20);
    b.SetCurrentPosition(frames / 3 * align + align / 2); // moved back, to a whole frame
    mix(20);
    b.Play(0, 0, 0); // the loop flag dropped: it ends once, then replays from the start
    mix(60 * (frames / 44100 + 1));
    b.Play(0, 0, 0);
    mix(10);
    uint32_t position = 0;
    b.GetCurrentPosition(&position, nullptr);
    out.push_back(static_cast<int16_t>(position & 0x7FFF));
    out.push_back(static_cast<int16_t>(position >> 15));
    return out;
}

} // namespace

TEST(MixerStream, MixesExactlyAsTheWholeSoundWhileHoldingAFewTenthsOfASecond) {
    const struct {
        WaveFormat format;
        uint32_t frames;
    } cases[] = {{Format(2, 16, 44100), Mixer::MinStreamFrames(44100) + 777},
                 {Format(1, 8, 22050), Mixer::MinStreamFrames(22050) + 5},
                 {Format(2, 16, 48000), Mixer::MinStreamFrames(48000) + 4000}};
    for (const auto& c : cases) {
        const std::vector<uint8_t> bytes = Noise(size_t{c.frames} * c.format.nBlockAlign);
        Mixer wholeMixer, streamMixer;
        auto whole = Whole(wholeMixer, c.format, bytes);
        std::atomic<uint32_t> furthest = 0;
        auto stream = Stream(streamMixer, c.format, bytes, UINT32_MAX, &furthest);
        EXPECT_LT(streamMixer.BufferBytes() * 4, bytes.size());
        EXPECT_EQ(stream->Lock(0, 4, nullptr, nullptr, nullptr, nullptr, 0), E_FAIL);
        const uint32_t rate = c.format.nSamplesPerSec;
        EXPECT_LE(furthest, rate / 8 * c.format.nBlockAlign) << "made with its first piece only";

        const uint32_t align = c.format.nBlockAlign;
        const Samples expected = Played(wholeMixer, *whole, c.frames, align);
        ASSERT_TRUE(std::any_of(expected.begin(), expected.end(), [](int16_t s) { return s; }));
        EXPECT_TRUE(Played(streamMixer, *stream, c.frames, align) == expected) << rate;

        // Never more than 3/8 s read ahead of where it plays.
        Mixer third;
        furthest = 0;
        auto ahead = Stream(third, c.format, bytes, UINT32_MAX, &furthest);
        ahead->Play(0, 0, 0);
        for (int i = 0; i < 10; ++i) {
            Samples piece(2 * 735);
            third.Refill();
            third.Mix(piece.data(), 735);
        }
        uint32_t position = 0;
        ahead->GetCurrentPosition(&position, nullptr);
        EXPECT_GT(furthest, position);
        EXPECT_LE(furthest, position + rate * 3 / 8 * align);
    }
}

TEST(MixerStream, WhatIsNotReadInTimeOrCannotBeReadIsSilence) {
    const WaveFormat format = Format(2, 16, 44100);
    const uint32_t frames = Mixer::MinStreamFrames(44100) + 100;
    const std::vector<uint8_t> bytes(size_t{frames} * 4, 0x11); // every sample 0x1111
    Mixer mixer;
    const uint32_t piece = 44100 * 3 / 8 / 3, failFrom = 40000;
    auto b = Stream(mixer, format, bytes, failFrom * 4);
    b->Play(0, 0, DSBPLAY_LOOPING);
    // Nothing read after the first piece: the rest of this second is silent, in time.
    Samples out(2 * 44100);
    mixer.Mix(out.data(), 44100);
    EXPECT_TRUE(
        std::all_of(out.begin(), out.begin() + 2 * piece, [](int16_t s) { return s == 0x1111; }));
    EXPECT_TRUE(std::all_of(out.begin() + 2 * piece, out.end(), [](int16_t s) { return s == 0; }));
    uint32_t position = 0;
    b->GetCurrentPosition(&position, nullptr);
    EXPECT_EQ(position, 44100u * 4);

    // A source failing from frame 40000 on: sound up to there, silence up to the loop's end,
    // then the sound again.
    const uint32_t from = failFrom - piece - 100;
    b->SetCurrentPosition(from * 4);
    Samples loop;
    for (uint32_t done = 0; done < frames - from + 2000; done += 512) {
        mixer.Refill();
        Samples part(2 * 512);
        mixer.Mix(part.data(), 512);
        loop.insert(loop.end(), part.begin(), part.end());
    }
    const auto end = loop.begin() + 2 * (frames - from);
    EXPECT_TRUE(std::all_of(loop.begin(), loop.begin() + 2 * (failFrom - from),
                            [](int16_t s) { return s == 0x1111; }));
    EXPECT_TRUE(
        std::all_of(loop.begin() + 2 * (failFrom - from), end, [](int16_t s) { return s == 0; }));
    EXPECT_TRUE(std::all_of(end, loop.end(), [](int16_t s) { return s == 0x1111; }));
}

// The streaming thread reads while another thread mixes, moves and replays the music and the
// game makes and releases other streams: every frame mixed is the right one or silence.
TEST(MixerStream, TheStreamingThreadFeedsAMixPulledByAnotherThread) {
    const WaveFormat format = Format(2, 16, 44100);
    const uint32_t frames = Mixer::MinStreamFrames(44100) + 1000;
    std::vector<uint8_t> bytes(size_t{frames} * 4);
    for (uint32_t f = 0; f < frames; ++f) {
        const auto v = static_cast<uint16_t>(f % 30000 + 1);
        std::memcpy(&bytes[4 * f], &v, 2);
        std::memcpy(&bytes[4 * f + 2], &v, 2);
    }
    Mixer mixer;
    mixer.StartStreaming();
    auto music = Stream(mixer, format, bytes);
    music->Play(0, 0, DSBPLAY_LOOPING);
    std::atomic<bool> done = false;
    int wrong = 0, heard = 0;
    std::thread output([&] {
        Samples out(2 * 1024);
        for (int i = 0; i < 300; ++i) {
            if (i % 50 == 49) music->SetCurrentPosition((i * 7919u % frames) * 4);
            uint32_t position = 0;
            music->GetCurrentPosition(&position, nullptr);
            mixer.Mix(out.data(), 1024);
            for (uint32_t k = 0; k < 1024; ++k) {
                const int16_t s = out[2 * k];
                heard += s != 0;
                wrong +=
                    s != 0 && s != static_cast<int16_t>((position / 4 + k) % frames % 30000 + 1);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        done = true;
    });
    while (!done) {
        auto other = Stream(mixer, format, bytes);
        other->SetCurrentPosition(frames / 2 * 4);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    output.join();
    mixer.StopStreaming();
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(heard, 0);
}
