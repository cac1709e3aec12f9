// The game's music and effects. Every piece is a whole number of bars rendered round its loop,
// so it repeats without a seam; the effects are short and start and end in silence.
#include "sounds.h"

#include <algorithm>
#include <cmath>

#include "output.h"
#include "synth.h"

namespace sounds {

using synth::Piece;
using synth::Voice;

namespace {

const char* const kHat8 = "h.h.h.h.h.h.h.h.";
const char* const kHat16 = "h.hhh.hhh.hhh.hH";

} // namespace

std::vector<int16_t> TitleMusic() {
    // D major, 96 beats a minute, sixteen bars (40 s): a bright, open theme.
    Piece p{96, 16, true, 0.22f, {}};
    const char* a = "D Bm G A D A G A";
    const char* b = "Bm G D A Bm G Em7 A";
    p.Chords(0, a, "pad", 1);
    p.Chords(8, b, "pad", 1);
    p.Chords(0, a, "arp", 0.9f);
    p.Chords(8, b, "arp", 0.9f);
    p.Chords(0, a, "bass", 0.9f);
    p.Chords(8, b, "bass", 0.9f);
    p.Melody(0,
             "F#5:1 A5:1 D6:1.5 C#6:0.5 B5:1 A5:1 F#5:2 "
             "G5:1 B5:1 D6:1 C#6:1 C#6:1.5 B5:0.5 A5:2 "
             "F#5:1 A5:1 D6:1 E6:1 C#6:1 A5:1 E5:1 A5:1 "
             "B5:1 D6:1 G6:1 F#6:0.5 E6:0.5 E6:3 -:1",
             Voice::Lead, 0.9f, -12);
    const char* answer = "D6:1.5 C#6:0.5 B5:1 F#5:1 G5:1 B5:1 D6:2 "
                         "A5:1.5 F#5:0.5 A5:1 D6:1 C#6:2 E6:2 "
                         "F#6:1.5 E6:0.5 D6:1 B5:1 D6:1 B5:1 G5:2 "
                         "E5:1 G5:1 B5:1 D6:1 C#6:2 A5:1 E5:1";
    p.Melody(32, answer, Voice::Lead, 0.9f, -12);
    // The bell doubles the answer an octave above the lead, softly.
    p.Melody(32, answer, Voice::Bell, 0.45f);
    p.Drums(0, 7, "k.......k.k.....", "....s.......s...", kHat8, 0.8f);
    p.Drums(7, 1, "k.......k.k.....", "....s.......s.gg", kHat8, 0.8f);
    p.Drums(8, 7, "k.....k.k.......", "....s.......s...", kHat16, 0.85f);
    p.Drums(15, 1, "k.....k.k.......", "....s...s.s.ssss", kHat16, 0.85f);
    return synth::Render(p, kMusicPeak);
}

std::vector<int16_t> GameMusic() {
    // A minor, 112 beats a minute, thirty-two bars (69 s): theme, answer, theme with bell,
    // and a quiet bridge. Calm enough to play under for an hour.
    Piece p{112, 32, true, 0.2f, {}};
    const char* a = "Am F C G Am F C G";
    const char* b = "F G Em Am F G Am E";
    const char* c = "Dm Am F G Dm Am F G";
    int bar = 0;
    for (const char* section : {a, b, a, c}) {
        p.Chords(bar, section, "pad", 0.9f);
        p.Chords(bar, section, section == c ? "slowbass" : "bass", 0.85f);
        if (section != c) p.Chords(bar, section, "arp", 0.75f);
        bar += 8;
    }
    const char* themeA = "A4:1 C5:1 E5:1.5 D5:0.5 C5:1.5 A4:0.5 F4:1 A4:1 "
                         "G4:1 C5:1 E5:1 G5:1 F5:1 E5:1 D5:2 "
                         "A4:1 C5:1 E5:1.5 G5:0.5 F5:1.5 E5:0.5 C5:1 A4:1 "
                         "G4:1 E5:1 D5:1 C5:1 B4:2 D5:1 B4:1";
    const char* themeB = "A5:1.5 G5:0.5 F5:1 C5:1 G5:1.5 F5:0.5 E5:1 D5:1 "
                         "E5:1 G5:1 B5:2 A5:1.5 G5:0.5 E5:2 "
                         "F5:1 A5:1 C6:1 A5:1 G5:1.5 F5:0.5 D5:1 B4:1 "
                         "C5:1 E5:1 A5:1 G5:1 G#5:2 B5:1 E5:1";
    p.Melody(0, themeA, Voice::Lead, 0.85f);
    p.Melody(32, themeB, Voice::Lead, 0.85f);
    p.Melody(64, themeA, Voice::Lead, 0.85f);
    p.Melody(64, themeA, Voice::Bell, 0.4f, 12);
    p.Melody(96,
             "D5:2 F5:2 E5:2 C5:2 A4:2 C5:2 B4:2 D5:2 "
             "F5:2 A5:2 G5:2 E5:2 F5:2 A5:2 G5:1 F5:1 E5:1 D5:1",
             Voice::Bell, 0.7f);
    p.Drums(0, 7, "k.......k.k.....", "....s.......s...", kHat8, 0.75f);
    p.Drums(7, 1, "k.......k.k.....", "....s.......s.ss", kHat8, 0.75f);
    p.Drums(8, 8, "k.......k.k.....", "....s.......s...", kHat8, 0.75f);
    p.Drums(16, 7, "k.....k.k.k.....", "....s.......s...", kHat16, 0.8f);
    p.Drums(23, 1, "k.....k.k.k.....", "....s.......s.ss", kHat16, 0.8f);
    p.Drums(24, 7, "k...............", "................", "....h.......h...", 0.6f);
    p.Drums(31, 1, "k.......k.......", "........s.s.ssss", kHat8, 0.7f);
    return synth::Render(p, kMusicPeak);
}

std::vector<int16_t> VictoryMusic() {
    // C major fanfare, 120 beats a minute, eight bars (16 s), looped while the cleared banner
    // shows.
    Piece p{120, 8, true, 0.22f, {}};
    const char* chords = "C F G C Am F G C";
    p.Chords(0, chords, "pad", 1);
    p.Chords(0, chords, "stab", 1);
    p.Chords(0, chords, "bass", 0.9f);
    p.Melody(0,
             "G4:0.5 C5:0.5 E5:0.5 G5:0.5 C6:2 A5:0.5 G5:0.5 F5:0.5 A5:0.5 C6:2 "
             "B5:0.5 A5:0.5 G5:0.5 B5:0.5 D6:1 B5:1 C6:3 -:1 "
             "E5:0.5 A5:0.5 C6:0.5 E6:0.5 E6:2 F5:0.5 A5:0.5 C6:0.5 F6:0.5 E6:1 D6:1 "
             "D6:1 B5:1 G5:1 B5:1 C6:3 -:1",
             Voice::Lead, 0.9f);
    p.Melody(0, "C6:4 C6:4 D6:4 E6:4 E6:4 F6:4 D6:4 E6:4", Voice::Bell, 0.35f);
    p.Drums(0, 3, "k...k...k...k...", "....s.......s...", kHat16, 0.85f);
    p.Drums(3, 1, "k...k...k.......", "....s...s.s.ssss", kHat16, 0.85f);
    p.Drums(4, 3, "k...k...k...k...", "....s.......s...", kHat16, 0.85f);
    p.Drums(7, 1, "k...k...k.......", "....s...s.s.ssss", kHat16, 0.85f);
    return synth::Render(p, kMusicPeak);
}

std::vector<int16_t> DefeatMusic() {
    // C minor lament, 72 beats a minute, four bars (13 s) closing on a quiet bar. Played once
    // when a game is lost: it starts and ends in silence.
    Piece p{72, 4, false, 0.3f, {}};
    p.Chords(0, "Cm Ab Fm G", "pad", 1);
    p.Chords(0, "Cm Ab Fm G", "slowbass", 0.8f);
    p.Melody(0, "G4:1 Eb4:1 C4:2 Ab4:1 G4:1 F4:2 Ab4:1 G4:1 F4:1 Eb4:1 D4:2 B3:1 -:1", Voice::Lead,
             0.85f);
    p.Melody(0, "C5:4 C5:4 C5:4 B4:3", Voice::Bell, 0.3f);
    return synth::Render(p, kMusicPeak * 0.85f);
}

namespace {

// Effects are rendered straight: a list of (time, sample) functions summed, then driven
// through a soft saturator so that they carry more loudness for their peak.
std::vector<int16_t> ToStereo(std::vector<float> left, std::vector<float> right, float peak,
                              float drive) {
    float top = 1e-9f;
    for (size_t i = 0; i < left.size(); ++i)
        top = std::max({top, std::fabs(left[i]), std::fabs(right[i])});
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = std::tanh(left[i] / top * drive);
        right[i] = std::tanh(right[i] / top * drive);
    }
    top = 1e-9f;
    for (size_t i = 0; i < left.size(); ++i)
        top = std::max({top, std::fabs(left[i]), std::fabs(right[i])});
    std::vector<int16_t> out(left.size() * 2);
    for (size_t i = 0; i < left.size(); ++i) {
        out[2 * i] = static_cast<int16_t>(std::lround(left[i] / top * peak * 32767));
        out[2 * i + 1] = static_cast<int16_t>(std::lround(right[i] / top * peak * 32767));
    }
    return out;
}

} // namespace

std::vector<int16_t> VanishEffect() {
    // A bright three-note chime rising over a soft sparkle: 0.55 s.
    const double kPi = 3.14159265358979;
    size_t n = static_cast<size_t>(0.55 * kRate);
    std::vector<float> l(n, 0.0f), r(n, 0.0f);
    const double notes[3] = {1318.5, 1975.5, 2637.0}; // E6 B6 E7
    for (int k = 0; k < 3; ++k) {
        double start = k * 0.04;
        for (size_t i = static_cast<size_t>(start * kRate); i < n; ++i) {
            double t = double(i) / kRate - start;
            double env = (1 - std::exp(-t * 900)) * std::exp(-t * 9);
            double v = std::sin(2 * kPi * notes[k] * t +
                                0.8 * std::exp(-t * 12) * std::sin(2 * kPi * notes[k] * 2.01 * t));
            float pan = k == 0 ? 0.3f : k == 1 ? 0.5f : 0.7f;
            l[i] += static_cast<float>(v * env * (1 - pan) * 0.9);
            r[i] += static_cast<float>(v * env * pan * 0.9);
        }
    }
    uint32_t s = 7;
    for (size_t i = 0; i < n; ++i) {
        double t = double(i) / kRate;
        // A bright tick on the first note: the moment the blocks break.
        double tick = std::sin(2 * kPi * 3520 * t) * (1 - std::exp(-t * 2000)) * std::exp(-t * 60);
        l[i] += static_cast<float>(tick * 0.45);
        r[i] += static_cast<float>(tick * 0.45);
        s = s * 1664525u + 1013904223u;
        double noise = ((s >> 8) / 8388608.0 - 1) * std::exp(-t * 14) * (1 - std::exp(-t * 300));
        double sparkle = noise * 0.12 * (0.5 + 0.5 * std::sin(2 * kPi * 38 * t));
        l[i] += static_cast<float>(sparkle);
        r[i] += static_cast<float>(sparkle);
    }
    for (size_t i = 0; i < n; ++i) { // fade the last 20 ms to silence
        double rest = double(n - i) / kRate;
        if (rest < 0.02) {
            l[i] *= static_cast<float>(rest / 0.02);
            r[i] *= static_cast<float>(rest / 0.02);
        }
    }
    return ToStereo(l, r, kVanishPeak, 2.2f);
}

std::vector<int16_t> SwapEffect() {
    // A short upward swish with a soft click: 0.13 s.
    const double kPi = 3.14159265358979;
    size_t n = static_cast<size_t>(0.13 * kRate);
    std::vector<float> l(n), r(n);
    double ph = 0;
    uint32_t s = 3;
    double lp = 0;
    for (size_t i = 0; i < n; ++i) {
        double t = double(i) / kRate;
        double f = 520 + 900 * (t / 0.13);
        ph += f / kRate;
        double env = (1 - std::exp(-t * 1500)) * std::exp(-t * 30);
        double tone = std::sin(2 * kPi * ph) * env;
        s = s * 1664525u + 1013904223u;
        double x = (s >> 8) / 8388608.0 - 1;
        lp += 0.25 * (x - lp);
        double click = lp * std::exp(-t * 160) * 0.6;
        double pan = t / 0.13; // swishes from left to right
        click *= std::min(1.0, t / 0.002);
        l[i] = static_cast<float>((tone + click) * (1.1 - pan * 0.6));
        r[i] = static_cast<float>((tone + click) * (0.5 + pan * 0.6));
        double rest = double(n - i) / kRate;
        if (rest < 0.01) {
            l[i] *= static_cast<float>(rest / 0.01);
            r[i] *= static_cast<float>(rest / 0.01);
        }
    }
    return ToStereo(l, r, kSwapPeak, 3.5f);
}

void MakeSounds() {
    auto write = [](const char* path, const std::vector<int16_t>& samples) {
        out::WriteFile(path, out::EncodeWave(2, kRate, samples));
    };
    write("./bgm/title.WAV", TitleMusic());
    write("./bgm/game.WAV", GameMusic());
    write("./bgm/勝利時.WAV", VictoryMusic());
    write("./bgm/敗北時.WAV", DefeatMusic());
    write("./bgm/消える音.WAV", VanishEffect());
    write("./bgm/入れ替え.WAV", SwapEffect());
}

} // namespace sounds
