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

const char* const kMusic[] = {"./bgm/title.WAV", "./bgm/game.WAV", "./bgm/勝利時.WAV",
                              "./bgm/敗北時.WAV"};
const char* const kVanish = "./bgm/消える音.WAV";
const char* const kSwap = "./bgm/入れ替え.WAV";

// Root mean square of both channels from frame `first` over `count` frames, in full-scale units.
double Rms(const Wave& w, size_t first, size_t count) {
    double sum = 0;
    for (size_t i = 2 * first; i < 2 * (first + count); ++i)
        sum += double(w.samples[i]) * w.samples[i];
    return std::sqrt(sum / (2.0 * count)) / 32768;
}
// The loudest stretch of `seconds` (stepped by 10 ms).
double LoudestRms(const Wave& w, double seconds) {
    size_t frames = w.samples.size() / 2, span = std::min(frames, size_t(seconds * 44100));
    double best = 0;
    for (size_t f = 0; f + span <= frames; f += 441) best = std::max(best, Rms(w, f, span));
    return best;
}

TEST_F(Sounds, AreStereo16BitPcmAt44100AndSwingEvenlyRoundZero) {
    for (const DataFile& f : kDataFiles) {
        if (f.kind != DataKind::Sound) continue;
        Wave w = Read(f.path);
        const platform::WaveFormat& m = w.format;
        EXPECT_EQ(std::tuple(m.wFormatTag, m.nChannels, m.nSamplesPerSec, m.wBitsPerSample,
                             m.nBlockAlign, m.nAvgBytesPerSec),
                  std::tuple(platform::WAVE_FORMAT_PCM, 2, 44100u, 16, 4, 176400u))
            << f.path;
        EXPECT_GT(w.Peak(), 6000) << f.path << ": too quiet to hear";
        // No DC offset: a shifted wave wastes headroom and clicks where it starts and stops.
        size_t frames = w.samples.size() / 2;
        for (int ch = 0; ch < 2; ++ch) {
            double sum = 0;
            for (size_t i = 0; i < frames; ++i) sum += w.samples[2 * i + ch];
            EXPECT_LT(std::fabs(sum / frames / 32768), 0.005) << f.path << " channel " << ch;
        }
    }
}

TEST_F(Sounds, EffectsStandAboveTheMusicAndNothingClipsAtFullVolume) {
    // The mixer adds music, the vanish sound and a swap sound (played in the same update) at
    // full volume and cuts what passes full scale: the peaks together must stay below it.
    int music = 0;
    for (const char* path : kMusic) music = std::max(music, Read(path).Peak());
    Wave vanish = Read(kVanish), swap = Read(kSwap);
    EXPECT_LT(music + vanish.Peak() + swap.Peak(), 32767);
    // Louder than the music by what a player hears at once: 6 dB for the vanish sound over
    // its loudest fifth of a second, 3 dB for the short swap.
    Wave gameMusic = Read("./bgm/game.WAV");
    double game = Rms(gameMusic, 0, gameMusic.samples.size() / 2);
    EXPECT_GT(20 * std::log10(LoudestRms(vanish, 0.2) / game), 6.0);
    EXPECT_GT(20 * std::log10(LoudestRms(swap, 0.1) / game), 3.0);
}

TEST_F(Sounds, MusicIsLongAndLoopsWithoutAClick) {
    struct Music {
        const char* path;
        double minSeconds;
    };
    for (Music m : {Music{kMusic[0], 30}, {kMusic[1], 30}, {kMusic[2], 6}, {kMusic[3], 6}}) {
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

TEST_F(Sounds, SoundsPlayedOnceStartAndEndInSilence) {
    for (const char* path : {kVanish, kSwap, kMusic[3]}) {
        Wave w = Read(path);
        if (path != kMusic[3]) {
            EXPECT_GT(w.Seconds(), 0.05) << path;
            EXPECT_LT(w.Seconds(), 0.8) << path;
        }
        for (int ch = 0; ch < 2; ++ch) {
            EXPECT_LT(std::abs(w.samples[ch]), 100) << path << ": clicks as it starts";
            EXPECT_LT(std::abs(w.samples[w.samples.size() - 2 + ch]), 100)
                << path << ": clicks as it stops";
        }
    }
}

} // namespace
} // namespace assets
