// Tests of the software mixer: formats, resampling, volume, looping and the play state.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/mixer.h"

using namespace platform;

namespace {

WaveFormat Format(uint16_t channels, uint16_t bits, uint32_t rate) {
    WaveFormat f;
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = channels;
    f.wBitsPerSample = bits;
    f.nSamplesPerSec = rate;
    f.nBlockAlign = static_cast<uint16_t>(channels * bits / 8);
    f.nAvgBytesPerSec = rate * f.nBlockAlign;
    return f;
}

// A buffer holding `bytes`, filled through Lock / Unlock.
SoundBufferPtr Make(Mixer& mixer, const WaveFormat& format, const void* bytes, uint32_t size) {
    BufferDesc desc;
    desc.dwBufferBytes = size;
    desc.lpwfxFormat = &format;
    SoundBufferPtr buffer;
    EXPECT_EQ(mixer.CreateSoundBuffer(desc, buffer), S_OK);
    if (!buffer) return buffer;
    void *p1, *p2;
    uint32_t n1, n2;
    EXPECT_EQ(buffer->Lock(0, size, &p1, &n1, &p2, &n2, 0), S_OK);
    std::memcpy(p1, bytes, n1);
    EXPECT_EQ(buffer->Unlock(p1, n1, p2, n2), S_OK);
    return buffer;
}

// 16-bit stereo at the mix rate: what goes in comes out unchanged.
SoundBufferPtr Stereo(Mixer& mixer, const std::vector<int16_t>& samples) {
    return Make(mixer, Format(2, 16, Mixer::kRate), samples.data(),
                static_cast<uint32_t>(samples.size() * 2));
}

std::vector<int16_t> Mixed(Mixer& mixer, size_t frames) {
    std::vector<int16_t> out(2 * frames, 12345);
    mixer.Mix(out.data(), frames);
    return out;
}

uint32_t Status(SoundBuffer& b) {
    uint32_t status = 0;
    b.GetStatus(&status);
    return status;
}

uint32_t Position(SoundBuffer& b) {
    uint32_t play = 0;
    b.GetCurrentPosition(&play, nullptr);
    return play;
}

} // namespace

TEST(Mixer, OneShotPlaysOnceStopsAtItsEndAndReplaysFromTheStart) {
    Mixer mixer;
    auto b = Stereo(mixer, {1, -1, 2, -2, 3, -3});
    EXPECT_EQ(Mixed(mixer, 2), std::vector<int16_t>(4, 0)); // created stopped
    ASSERT_EQ(b->Play(0, 0, 0), S_OK);
    EXPECT_EQ(Status(*b), DSBSTATUS_PLAYING);
    EXPECT_EQ(Mixed(mixer, 5), (std::vector<int16_t>{1, -1, 2, -2, 3, -3, 0, 0, 0, 0}));
    EXPECT_EQ(Status(*b), 0u);
    EXPECT_EQ(Position(*b), 0u);
    b->Play(0, 0, 0);
    EXPECT_EQ(Mixed(mixer, 1), (std::vector<int16_t>{1, -1}));
}

TEST(Mixer, LoopingWrapsAndPlayOnAPlayingBufferOnlyChangesTheLoopFlag) {
    Mixer mixer;
    auto b = Stereo(mixer, {10, 10, 20, 20, 30, 30});
    b->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(Status(*b), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    auto out = Mixed(mixer, 7);
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(out[2 * i], 10 * (1 + static_cast<int>(i % 3)));
    EXPECT_EQ(Position(*b), 4u); // frame 1

    // Played again without the flag: it goes on from frame 1 and stops at the end.
    b->Play(0, 0, 0);
    EXPECT_EQ(Status(*b), DSBSTATUS_PLAYING);
    out = Mixed(mixer, 3);
    EXPECT_EQ(out[0], 20);
    EXPECT_EQ(out[2], 30);
    EXPECT_EQ(out[4], 0);
}

TEST(Mixer, StopKeepsThePositionAndSetCurrentPositionMovesIt) {
    Mixer mixer;
    std::vector<int16_t> ramp;
    for (int16_t i = 0; i < 8; ++i) ramp.insert(ramp.end(), {i, i});
    auto b = Stereo(mixer, ramp);
    b->Play(0, 0, 0);
    Mixed(mixer, 3);
    b->Stop();
    EXPECT_EQ(Status(*b), 0u);
    EXPECT_EQ(Position(*b), 12u);
    EXPECT_EQ(Mixed(mixer, 1)[0], 0);
    b->Play(0, 0, 0);
    EXPECT_EQ(Mixed(mixer, 1)[0], 3);

    // Bytes, rounded down to a whole frame.
    EXPECT_EQ(b->SetCurrentPosition(25), S_OK);
    EXPECT_EQ(Position(*b), 24u);
    EXPECT_EQ(Mixed(mixer, 1)[0], 6);
    EXPECT_EQ(b->SetCurrentPosition(32), E_INVALIDARG);
    EXPECT_EQ(Position(*b), 28u);

    // Two bytes past the last whole frame are not a frame to play from.
    const uint8_t bytes[6] = {1, 0, 2, 0, 3, 0};
    auto c = Make(mixer, Format(2, 16, Mixer::kRate), bytes, sizeof bytes);
    EXPECT_EQ(c->SetCurrentPosition(4), E_INVALIDARG);
    EXPECT_EQ(c->SetCurrentPosition(3), S_OK);
}

TEST(Mixer, VolumeIsInHundredthsOfADecibel) {
    Mixer mixer;
    auto b = Stereo(mixer, {20000, -20000});
    int32_t volume = 1;
    b->GetVolume(&volume);
    EXPECT_EQ(volume, 0);

    b->SetVolume(-2000); // a tenth
    b->Play(0, 0, DSBPLAY_LOOPING);
    auto out = Mixed(mixer, 1);
    EXPECT_NEAR(out[0], 2000, 1);
    EXPECT_NEAR(out[1], -2000, 1);
    b->SetVolume(-600); // about a half
    EXPECT_NEAR(Mixed(mixer, 1)[0], 10024, 2);

    b->SetVolume(-10000);
    EXPECT_EQ(Mixed(mixer, 1), (std::vector<int16_t>{0, 0}));

    // Out-of-range values are clamped.
    b->SetVolume(-20000);
    b->GetVolume(&volume);
    EXPECT_EQ(volume, -10000);
    b->SetVolume(300);
    b->GetVolume(&volume);
    EXPECT_EQ(volume, 0);
    EXPECT_EQ(Mixed(mixer, 1)[0], 20000);
}

TEST(Mixer, BuffersAreSummedWithSaturation) {
    Mixer mixer;
    auto a = Stereo(mixer, {20000, -20000, 1000, 7});
    auto b = Stereo(mixer, {20000, -20000, 2000, -7});
    a->Play(0, 0, 0);
    b->Play(0, 0, 0);
    EXPECT_EQ(Mixed(mixer, 2), (std::vector<int16_t>{32767, -32768, 3000, 0}));

    // A destroyed buffer leaves the mix.
    a->Play(0, 0, DSBPLAY_LOOPING);
    b->Play(0, 0, DSBPLAY_LOOPING);
    b.reset();
    EXPECT_EQ(Mixed(mixer, 1), (std::vector<int16_t>{20000, -20000}));
}

TEST(Mixer, ConvertsEightBitMonoAndResamplesOtherRates) {
    Mixer mixer;
    // 8-bit is unsigned: 0x80 is silence. Half the mix rate: every other frame is interpolated.
    const uint8_t mono8[] = {0x80, 0xC0, 0x40};
    auto a = Make(mixer, Format(1, 8, 22050), mono8, sizeof mono8);
    a->Play(0, 0, 0);
    auto out = Mixed(mixer, 7);
    EXPECT_EQ(out, (std::vector<int16_t>{0, 0, 8192, 8192, 16384, 16384, 0, 0, -16384, -16384,
                                         -16384, -16384, 0, 0}));
    EXPECT_EQ(Status(*a), 0u);

    // Twice the mix rate: every other frame is skipped.
    std::vector<int16_t> fast;
    for (int16_t i = 0; i < 8; ++i) fast.insert(fast.end(), {i, static_cast<int16_t>(-i)});
    auto b = Make(mixer, Format(2, 16, 2 * Mixer::kRate), fast.data(), 32);
    b->Play(0, 0, DSBPLAY_LOOPING);
    out = Mixed(mixer, 5);
    EXPECT_EQ(out, (std::vector<int16_t>{0, 0, 2, -2, 4, -4, 6, -6, 0, 0}));

    // A one-frame loop at the highest rate steps past its end many times per output frame.
    const int16_t one = 500;
    auto c = Make(mixer, Format(1, 16, 192000), &one, 2);
    b.reset();
    c->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(Mixed(mixer, 3), std::vector<int16_t>(6, 500));
}

TEST(Mixer, RefusesFormatsAndSizesItCannotPlay) {
    Mixer mixer;
    const WaveFormat good = Format(2, 16, 44100);
    auto refused = [&](WaveFormat f, uint32_t bytes) {
        BufferDesc desc;
        desc.dwBufferBytes = bytes;
        desc.lpwfxFormat = &f;
        SoundBufferPtr out = Stereo(mixer, {1, 1});
        HRESULT hr = mixer.CreateSoundBuffer(desc, out);
        return Failed(hr) && !out;
    };
    EXPECT_FALSE(refused(good, 4));
    WaveFormat f = good;
    f.wFormatTag = 2;
    EXPECT_TRUE(refused(f, 4));
    EXPECT_TRUE(refused(Format(3, 16, 44100), 6));
    EXPECT_TRUE(refused(Format(2, 24, 44100), 6));
    EXPECT_TRUE(refused(Format(2, 16, 0), 4));
    EXPECT_TRUE(refused(Format(2, 16, 192001), 4));
    f = good;
    f.nBlockAlign = 2;
    EXPECT_TRUE(refused(f, 4));
    EXPECT_TRUE(refused(good, 0));
    EXPECT_TRUE(refused(good, 3)); // less than one frame
    EXPECT_TRUE(refused(good, Mixer::kMaxBufferBytes + 1));
    EXPECT_TRUE(refused(good, 0xFFFFFFFFu));

    BufferDesc noFormat;
    noFormat.dwBufferBytes = 4;
    SoundBufferPtr out;
    EXPECT_EQ(mixer.CreateSoundBuffer(noFormat, out), E_INVALIDARG);
}

TEST(Mixer, LockHandsOutTwoRegionsWhenItWrapsAndLockedBuffersAreNotMixed) {
    Mixer mixer;
    auto b = Stereo(mixer, {1, 1, 2, 2, 3, 3, 4, 4});
    void *p1, *p2;
    uint32_t n1, n2;
    ASSERT_EQ(b->Lock(12, 8, &p1, &n1, &p2, &n2, 0), S_OK);
    EXPECT_EQ(n1, 4u);
    EXPECT_EQ(n2, 4u);
    EXPECT_EQ(static_cast<char*>(p1) - static_cast<char*>(p2), 12);
    b->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(Mixed(mixer, 1), (std::vector<int16_t>{0, 0}));
    ASSERT_EQ(b->Unlock(p1, n1, p2, n2), S_OK);
    EXPECT_EQ(Mixed(mixer, 1), (std::vector<int16_t>{1, 1}));
    EXPECT_EQ(b->Unlock(p1, n1, p2, n2), E_INVALIDARG);

    EXPECT_EQ(b->Lock(16, 4, &p1, &n1, &p2, &n2, 0), E_INVALIDARG);
    EXPECT_EQ(b->Lock(0, 17, &p1, &n1, &p2, &n2, 0), E_INVALIDARG);
    EXPECT_EQ(b->Lock(0, 0, &p1, &n1, &p2, &n2, 0), E_INVALIDARG);
}

TEST(Mixer, PrimaryBufferOnlyRecordsTheOutputFormat) {
    Mixer mixer;
    BufferDesc desc;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
    SoundBufferPtr primary;
    ASSERT_EQ(mixer.CreateSoundBuffer(desc, primary), S_OK);
    const WaveFormat f = Format(2, 16, 22050);
    EXPECT_EQ(primary->SetFormat(&f), S_OK);
    EXPECT_EQ(mixer.PrimaryFormat().nSamplesPerSec, 22050u);
    EXPECT_TRUE(Failed(primary->Play(0, 0, DSBPLAY_LOOPING)));

    // The mix stays at its own rate: a 44100 Hz buffer is not resampled.
    auto b = Stereo(mixer, {7, 8, 9, 10});
    b->Play(0, 0, 0);
    EXPECT_EQ(Mixed(mixer, 2), (std::vector<int16_t>{7, 8, 9, 10}));
    EXPECT_TRUE(Failed(b->SetFormat(&f)));
}

TEST(Mixer, BuffersComeAndGoWhileTheAudioThreadMixes) {
    Mixer mixer;
    std::atomic<bool> done{false};
    std::thread audio([&] {
        int16_t out[2 * 64];
        while (!done) mixer.Mix(out, 64);
    });
    for (int i = 0; i < 2000; ++i) {
        auto b = Stereo(mixer, {1, 2, 3, 4});
        b->Play(0, 0, i % 2 ? DSBPLAY_LOOPING : 0);
        b->SetVolume(-i);
    }
    // A buffer may outlive the mixer.
    auto survivor = Stereo(mixer, {1, 2});
    done = true;
    audio.join();
    EXPECT_EQ(Mixed(mixer, 1), (std::vector<int16_t>{0, 0}));
    {
        Mixer doomed;
        survivor = Stereo(doomed, {5, 6});
    }
    EXPECT_EQ(survivor->Play(0, 0, 0), S_OK);
    EXPECT_EQ(Status(*survivor), DSBSTATUS_PLAYING);
}
