// The generated music and effects as the game's WAVE reader sees them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <tuple>

#include "generated_data.h"
#include "media/sound.h"

namespace assets {
namespace {

struct Wave {
    platform::WaveFormat format{};
    std::vector<int16_t> samples; // interleaved stereo
    double Seconds() const { return samples.size() / 2.0 / format.nSamplesPerSec; }
    int Peak() const {
        int p = 0;
        for (int16_t s : samples) p = std::max(p, std::abs(int(s)));
        return p;
    }
};

class Sounds : public GeneratedData {
  protected:
    Wave Read(const char* path) {
        Wave w;
        WaveReader reader;
        EXPECT_EQ(OpenWave(reader, path), platform::S_OK) << path;
        if (!reader.format) return w;
        w.format = *reader.format;
        std::vector<uint8_t> bytes(reader.dataChunk.cksize);
        uint32_t got = 0;
        EXPECT_EQ(ReadWaveData(reader.dataChunk, reader.file, bytes.data(),
                               static_cast<uint32_t>(bytes.size()), &got),
                  platform::S_OK);
        CloseWave(reader);
        w.samples.resize(got / 2);
        for (size_t i = 0; i < w.samples.size(); ++i)
            w.samples[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
        return w;
    }
};

TEST_F(Sounds, AreStereo16BitPcmAt44100WithRoomBelowFullScale) {
    for (const DataFile& f : kDataFiles) {
        if (f.kind != DataKind::Sound) continue;
        Wave w = Read(f.path);
        const platform::WaveFormat& m = w.format;
        EXPECT_EQ(std::tuple(m.wFormatTag, m.nChannels, m.nSamplesPerSec, m.wBitsPerSample,
                             m.nBlockAlign, m.nAvgBytesPerSec),
                  std::tuple(platform::WAVE_FORMAT_PCM, 2, 44100u, 16, 4, 176400u))
            << f.path;
        // Loud enough to hear, never clipped.
        EXPECT_GT(w.Peak(), 16000) << f.path;
        EXPECT_LT(w.Peak(), 32000) << f.path;
    }
}

TEST_F(Sounds, MusicIsLongAndLoopsWithoutAClick) {
    struct Music {
        const char* path;
        double minSeconds;
    };
    for (Music m : {Music{"./bgm/title.WAV", 30},
                    {"./bgm/game.WAV", 30},
                    {"./bgm/勝利時.WAV", 6},
                    {"./bgm/敗北時.WAV", 6}}) {
        Wave w = Read(m.path);
        ASSERT_GE(w.Seconds(), m.minSeconds) << m.path;
        // From the last frame back to the first the wave moves no more than it does between
        // neighbouring samples anywhere in the piece.
        size_t frames = w.samples.size() / 2;
        for (int ch = 0; ch < 2; ++ch) {
            int biggestStep = 0;
            for (size_t i = 1; i < frames; ++i)
                biggestStep = std::max(
                    biggestStep, std::abs(w.samples[2 * i + ch] - w.samples[2 * (i - 1) + ch]));
            int seam = std::abs(w.samples[ch] - w.samples[2 * (frames - 1) + ch]);
            EXPECT_LE(seam, biggestStep / 2) << m.path << " channel " << ch;
            EXPECT_LT(seam, 1200) << m.path << " channel " << ch;
        }
    }
}

TEST_F(Sounds, EffectsAreShortAndStartAndEndInSilence) {
    for (const char* path : {"./bgm/消える音.WAV", "./bgm/入れ替え.WAV"}) {
        Wave w = Read(path);
        EXPECT_GT(w.Seconds(), 0.05) << path;
        EXPECT_LT(w.Seconds(), 0.8) << path;
        for (int ch = 0; ch < 2; ++ch) {
            EXPECT_LT(std::abs(w.samples[ch]), 100) << path << ": clicks as it starts";
            EXPECT_LT(std::abs(w.samples[w.samples.size() - 2 + ch]), 100)
                << path << ": clicks as it stops";
        }
    }
}

} // namespace
} // namespace assets
