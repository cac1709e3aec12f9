// Tests of the WAVE reader, LoadSound and the playing rules of sound buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "media/sound.h"
#include "platform/mixer.h"
#include "platform/system.h"
#include "support/files.h"

using namespace platform;
using namespace testfiles;

namespace {

std::string Wave(std::string_view fmtBody, std::string_view data) {
    return Form("RIFF", "WAVE",
                Chunk("fmt ", fmtBody) + Chunk("LIST", "skip") + Chunk("data", data));
}

// A file whose data chunk claims `claim` bytes and holds `data`.
std::string Claiming(uint32_t claim, std::string_view data) {
    return Form("RIFF", "WAVE",
                Chunk("fmt ", PcmFormat(1, 8000, 8)) + Chunk("data", "", claim) +
                    std::string(data));
}

struct Sound : ::testing::Test {
    DataDir dir;
    WaveReader reader;
    Mixer mixer;
    Sound() { SetSound(&mixer); }
    ~Sound() override {
        CloseWave(reader);
        SetSound(nullptr);
    }
    // Status bits, play position and volume of a buffer.
    static std::array<int64_t, 3> State(const SoundVar& v) {
        uint32_t status = 0, position = 0;
        int32_t volume = 0;
        v->GetStatus(&status), v->GetCurrentPosition(&position, nullptr), v->GetVolume(&volume);
        return {status, position, volume};
    }
};

} // namespace

TEST_F(Sound, ReadsThePcmFormatAndTheDataInPieces) {
    ASSERT_EQ(OpenWave(reader, dir.Put("a.wav", Wave(PcmFormat(1, 8000, 8), "0123456")).c_str()),
              S_OK);
    EXPECT_EQ(reader.format->nSamplesPerSec, 8000u);
    EXPECT_EQ(reader.format->cbSize, 0);
    // The chunk's size counts what is left: a request beyond it gets only the rest.
    uint8_t out[16];
    uint32_t read = 0;
    ASSERT_EQ(ReadWaveData(reader.dataChunk, reader.file, out, 4, &read), S_OK);
    ASSERT_EQ(ReadWaveData(reader.dataChunk, reader.file, out + 4, 16, &read), S_OK);
    EXPECT_EQ(read, 3u);
    EXPECT_EQ(reader.dataChunk.cksize, 0u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 7), "0123456");

    // Longer than the file's I/O buffer: pieces that end inside one refill and span the next.
    std::string data(20011, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + i / 251);
    CloseWave(reader);
    ASSERT_EQ(OpenWave(reader, dir.Put("b.wav", Wave(PcmFormat(1, 8000, 8), data)).c_str()), S_OK);
    std::string back(data.size(), '\0');
    auto* to = reinterpret_cast<uint8_t*>(back.data());
    ASSERT_EQ(ReadWaveData(reader.dataChunk, reader.file, to, 5000, &read), S_OK);
    ASSERT_EQ(ReadWaveData(reader.dataChunk, reader.file, to + 5000, 9000, &read), S_OK);
    ASSERT_EQ(ReadWaveData(reader.dataChunk, reader.file, to + 14000, 7000, &read), S_OK);
    EXPECT_EQ(read, 6011u);
    EXPECT_TRUE(back == data);
}

TEST_F(Sound, DamagedFilesAreRefused) {
    const std::string pcm = PcmFormat(2, 44100, 16), good = Wave(pcm, "abcd");
    std::string adpcm = pcm;
    adpcm[0] = 2;
    const std::string cases[] = {
        Wave(pcm.substr(0, 14), "abcd"),          // short "fmt "
        Form("RIFF", "WAVE", Chunk("fmt ", pcm)), // no "data"
        Form("RIFF", "WAVE", Chunk("fmt ", pcm)) + Chunk("data", "ab"),
        Form("RIFF", "AVI ", Chunk("fmt ", pcm) + Chunk("data", "ab")), // not WAVE
        "RIFX" + good.substr(4),                                        // not RIFF
        good.substr(0, 10),
        good.substr(0, 30),
        "",                                // truncated
        Wave(adpcm, "abcd").substr(0, 36), // no extra count
        Form("RIFF", "WAVE", Chunk("fmt ", adpcm + U16(99) + "abc")),
        Form("RIFF", "WAVE", Chunk("fmt ", pcm, 0xFFFFFFF0u)), // 4 GB "fmt "
    };
    for (const std::string& bytes : cases) {
        EXPECT_EQ(OpenWave(reader, dir.Put("bad.wav", bytes).c_str()), E_FAIL) << &bytes - cases;
        CloseWave(reader);
        EXPECT_EQ(reader.format, nullptr);
    }
}

TEST_F(Sound, ShortDataChunkFailsAfterCopyingWhatThereIs) {
    std::string file = Claiming(100, "0123456789");
    file.replace(4, 4, U32(static_cast<uint32_t>(file.size() - 8)));
    ASSERT_EQ(OpenWave(reader, dir.Put("short.wav", file).c_str()), S_OK);
    std::vector<uint8_t> out(100, 0xEE);
    uint32_t read = 99;
    EXPECT_EQ(ReadWaveData(reader.dataChunk, reader.file, out.data(), 100, &read), E_FAIL);
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 11), "0123456789\xEE");
}

TEST_F(Sound, LoadSoundMakesAStoppedBufferOrNothing) {
    const std::vector<int16_t> samples = {100, -100, 200, -200};
    const std::string path =
        dir.Put("a.wav", Wave(PcmFormat(2, 44100, 16),
                              std::string(reinterpret_cast<const char*>(samples.data()), 8)));
    SoundVar var;
    LoadSound(var, path.c_str());
    ASSERT_TRUE(var);
    EXPECT_EQ(State(var), (std::array<int64_t, 3>{0, 0, 0})) << "stopped at the start";
    PlayOnce(var);
    std::vector<int16_t> out(4);
    mixer.Mix(out.data(), 2);
    EXPECT_EQ(out, samples);

    // A data chunk claiming more than the file holds (truncated, or 4 GB) loads what is there.
    for (uint32_t claim : {5u, 0xFFFFFFFFu}) {
        LoadSound(var, dir.Put("short.wav", Claiming(claim, "1234")).c_str());
        ASSERT_TRUE(var) << claim;
        void *p1 = nullptr, *p2 = nullptr;
        uint32_t b1 = 0, b2 = 0;
        ASSERT_EQ(var->Lock(0, 4, &p1, &b1, &p2, &b2, 0), S_OK);
        EXPECT_EQ(std::string(static_cast<char*>(p1), b1), "1234");
        EXPECT_EQ(b2, 0u) << "the buffer holds exactly the bytes there are";
        var->Unlock(p1, b1, p2, b2);
    }
    // Unreadable files and a missing sound object leave the variable empty.
    for (const std::string& bad : {std::string("RIFF"), Claiming(40, "")}) {
        LoadSound(var, path.c_str());
        LoadSound(var, dir.Put("bad.wav", bad).c_str());
        EXPECT_FALSE(var) << bad.size();
    }
    SetSound(nullptr);
    LoadSound(var, path.c_str());
    EXPECT_FALSE(var);
}

TEST_F(Sound, PlayingRules) {
    const std::string path =
        dir.Put("m.wav", Wave(PcmFormat(2, 44100, 16), std::string(400, '\1')));
    SoundVar music, effect, absent;
    LoadSound(music, path.c_str());
    LoadSound(effect, path.c_str());
    ASSERT_TRUE(music && effect);
    int16_t out[2 * 10];

    // Music played every frame goes on without restarting; the mode select rewinds it.
    PlayLooping(music);
    mixer.Mix(out, 10);
    PlayLooping(music);
    EXPECT_EQ(State(music), (std::array<int64_t, 3>{DSBSTATUS_PLAYING | DSBSTATUS_LOOPING, 40, 0}));
    StopAndRewind(music);
    EXPECT_EQ(State(music), (std::array<int64_t, 3>{0, 0, 0}));

    // Effects play once at the effects level.
    SeVol = -2000;
    PlayEffect(effect);
    SeVol = 0;
    EXPECT_EQ(State(effect), (std::array<int64_t, 3>{DSBSTATUS_PLAYING, 0, -2000}));

    PlayLooping(absent); // absent buffers are ignored
    PlayEffect(absent);
    StopAndRewind(absent);
}

// Music (longer than two seconds) is read from its file as it plays: the buffer holds a few
// tenths of a second, and a file cut short while it plays gives silence there, said once.
TEST_F(Sound, LongSoundsAreStreamedFromTheirFile) {
    const uint32_t frames = 3 * 44100 + 7;
    std::vector<int16_t> samples(2 * frames);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i % 20011 + 1);
    const std::string data(reinterpret_cast<const char*>(samples.data()), 2 * samples.size());
    const std::string path = dir.Put("long.wav", Wave(PcmFormat(2, 44100, 16), data));
    SoundVar music;
    LoadSound(music, path.c_str());
    ASSERT_TRUE(music);
    void *p1 = nullptr, *p2 = nullptr;
    uint32_t b1 = 0, b2 = 0;
    EXPECT_EQ(music->Lock(0, 4, &p1, &b1, &p2, &b2, 0), E_FAIL) << "not held in memory";
    EXPECT_LT(mixer.BufferBytes(), 44100u * 4 / 2);

    auto play = [&](uint32_t n) {
        std::vector<int16_t> out;
        for (uint32_t done = 0; done < n; done += 735) {
            std::vector<int16_t> part(2 * 735);
            mixer.Refill();
            mixer.Mix(part.data(), 735);
            out.insert(out.end(), part.begin(), part.end());
        }
        out.resize(2 * n);
        return out;
    };
    // Across the loop: the data exactly, then its start again.
    PlayLooping(music);
    std::vector<int16_t> heard = play(frames + 1000), expected = samples;
    expected.insert(expected.end(), samples.begin(), samples.begin() + 2000);
    EXPECT_TRUE(heard == expected);

    // Cut short to one second while playing: the rest of the sound is silent, never noise.
    StopAndRewind(music);
    std::filesystem::resize_file(dir / path, 56 + 44100 * 4); // headers, a second of data
    testing::internal::CaptureStderr();
    PlayLooping(music);
    heard = play(frames);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::equal(heard.begin(), heard.begin() + 2 * 44100, samples.begin()));
    EXPECT_TRUE(
        std::all_of(heard.begin() + 2 * 44100, heard.end(), [](int16_t s) { return s == 0; }));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("long.wav"), std::string::npos) << said;
}
