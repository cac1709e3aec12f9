// Tests of the software mixer: formats, resampling, volume, looping and the play state.
#include <gtest/gtest.h>

#include <cstring>
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
