// The synthesiser: band-limited oscillators, envelopes, drums, a small reverb, loop rendering.
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace synth {

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

double Frequency(int key) {
    return 440.0 * std::pow(2.0, (key - 69) / 12.0);
}

// PolyBLEP correction of a step at phase 0 (t in [0, 1), dt the phase step).
double Blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}
double Saw(double ph, double dt) {
    return 2 * ph - 1 - Blep(ph, dt);
}
double Pulse(double ph, double dt, double width) {
    double v = ph < width ? 1 : -1;
    v += Blep(ph, dt);
    double shifted = ph - width;
    if (shifted < 0) shifted += 1;
    v -= Blep(shifted, dt);
    return v;
}
double Triangle(double ph) {
    return ph < 0.5 ? 4 * ph - 1 : 3 - 4 * ph;
}

struct Lowpass {
    double a, y = 0;
    explicit Lowpass(double cutoff) : a(1 - std::exp(-2 * kPi * cutoff / kRate)) {}
    double operator()(double x) { return y += a * (x - y); }
    void Cutoff(double c) { a = 1 - std::exp(-2 * kPi * c / kRate); }
};

struct Noise {
    uint32_t s;
    explicit Noise(uint32_t seed) : s(seed * 2654435761u + 1) {}
    double operator()() {
        s = s * 1664525u + 1013904223u;
        return (s >> 8) / 8388608.0 - 1;
    }
};

// A sine from a table, for speed: phase in turns.
double Sine(double phase) {
    static const std::vector<float> table = [] {
        std::vector<float> t(4097);
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = static_cast<float>(std::sin(2 * kPi * i / 4096));
        return t;
    }();
    double p = (phase - std::floor(phase)) * 4096;
    size_t i = static_cast<size_t>(p);
    double f = p - i;
    return table[i] + (table[i + 1] - table[i]) * f;
}

// exp(-t * rate), advanced one sample at a time.
struct Decay {
    double value = 1, factor;
    explicit Decay(double rate) : factor(std::exp(-rate / kRate)) {}
    double Next() {
        double v = value;
        value *= factor;
        return v;
    }
};

// Attack, decay to a sustain level, release after `hold` seconds; one sample per call.
struct Adsr {
    double attackStep, sustain, decayFactor, releaseFactor;
    size_t holdSamples, n = 0;
    double level = 0, decayPart = 1;
    Adsr(double hold, double a, double d, double s, double r)
        : attackStep(1 / (a * kRate)), sustain(s), decayFactor(std::exp(-1 / (d * kRate))),
          releaseFactor(std::exp(-1 / (r * kRate))),
          holdSamples(static_cast<size_t>(hold * kRate)) {}
    double Next() {
        if (n++ >= holdSamples) return level *= releaseFactor;
        if (level < 1 && decayPart == 1) {
            level = std::min(1.0, level + attackStep);
            if (level >= 1) decayPart *= decayFactor;
            return level;
        }
        decayPart *= decayFactor;
        return level = sustain + (1 - sustain) * decayPart;
    }
};

// One note as mono samples, with its pan (-1 left .. 1 right).
struct Sound {
    std::vector<float> mono;
    float pan = 0;
};

Sound Play(const Note& n, double secondsPerBeat, uint32_t seed) {
    double hold = n.length * secondsPerBeat;
    double f = Frequency(n.key), dt = f / kRate;
    Sound out;
    auto make = [&](double seconds, auto sample) {
        size_t count = static_cast<size_t>(seconds * kRate);
        out.mono.resize(count);
        for (size_t i = 0; i < count; ++i)
            out.mono[i] = static_cast<float>(sample(i, double(i) / kRate));
    };
    double ph = 0, ph2 = 0, ph3 = 0;
    switch (n.voice) {
    case Voice::Lead: {
        Lowpass lp(2600);
        Adsr env(hold * 0.92, 0.012, 0.22, 0.6, 0.14);
        double vib = 1;
        out.pan = 0.15f;
        make(hold + 0.8, [&](size_t i, double t) {
            if (i % 64 == 0) // a slow vibrato that sets in after the attack
                vib = 1 + 0.006 * Sine(5.2 * t) * std::min(1.0, std::max(0.0, t - 0.18) * 4);
            double d = dt * vib;
            double v = 0.55 * Pulse(ph, d, 0.3) + 0.45 * Triangle(ph);
            ph += d;
            ph -= std::floor(ph);
            return 0.26 * lp(v) * env.Next();
        });
        break;
    }
    case Voice::Bell: {
        out.pan = -0.3f;
        Decay index(5), body(2.4), attack(600), release(4);
        make(hold + 1.6, [&](size_t, double t) {
            double v = Sine(ph + 1.6 * index.Next() * Sine(ph2) / (2 * kPi));
            ph += dt;
            ph2 += dt * 3.5;
            double env = (1 - attack.Next()) * body.Next();
            if (t > hold) env *= release.Next();
            return 0.22 * v * env;
        });
        break;
    }
    case Voice::Pad: {
        Lowpass lp1(1300), lp2(1300);
        Adsr env(hold, 0.35, 1.0, 1.0, 0.35);
        out.pan = (seed % 2 ? 0.45f : -0.45f);
        double d1 = dt * std::pow(2.0, 7 / 1200.0), d3 = dt * std::pow(2.0, -7 / 1200.0);
        make(hold + 0.7, [&](size_t, double) {
            double v = Saw(ph, dt) + Saw(ph2, d1) + Saw(ph3, d3);
            ph += dt;
            ph2 += d1;
            ph3 += d3;
            ph -= std::floor(ph);
            ph2 -= std::floor(ph2);
            ph3 -= std::floor(ph3);
            return 0.045 * lp2(lp1(v)) * env.Next();
        });
        break;
    }
    case Voice::Bass: {
        Lowpass lp(700);
        Adsr env(hold * 0.9, 0.004, 0.25, 0.55, 0.05);
        make(hold + 0.3, [&](size_t, double) {
            double v = 0.7 * Triangle(ph) + 0.5 * Sine(ph);
            ph += dt;
            ph -= std::floor(ph);
            return 0.36 * lp(v) * env.Next();
        });
        break;
    }
    case Voice::Pluck: {
        Lowpass lp(3000);
        Decay sweep(9), body(5.5), attack(800);
        out.pan = (seed % 2 ? 0.35f : -0.35f);
        make(std::min(hold, 0.5) + 0.5, [&](size_t i, double) {
            double s = sweep.Next();
            if (i % 32 == 0) lp.Cutoff(700 + 3300 * s);
            double v = Pulse(ph, dt, 0.5);
            ph += dt;
            ph -= std::floor(ph);
            return 0.11 * lp(v) * (1 - attack.Next()) * body.Next();
        });
        break;
    }
    case Voice::Kick: {
        Decay sweep(32), body(10), attack(2000);
        make(0.35, [&](size_t, double) {
            ph += (44 + 110 * sweep.Next()) / kRate;
            return 0.45 * Sine(ph) * body.Next() * (1 - attack.Next());
        });
        break;
    }
    case Voice::Snare: {
        Noise noise(seed);
        Lowpass bright(5000), low(900);
        Decay hiss(20), ring(28), attack(3000);
        make(0.25, [&](size_t, double) {
            double x = bright(noise());
            double h = x - low(x);
            double tone = Sine(ph);
            ph += 185.0 / kRate;
            return 0.24 * (0.8 * h * hiss.Next() + 0.5 * tone * ring.Next()) * (1 - attack.Next());
        });
        break;
    }
    case Voice::Hat: {
        Noise noise(seed);
        Lowpass low(7000);
        Decay body(70), attack(4000);
        out.pan = 0.25f;
        make(0.08, [&](size_t, double) {
            double x = noise();
            return 0.10 * (x - low(x)) * body.Next() * (1 - attack.Next());
        });
        break;
    }
    }
    for (float& v : out.mono) v *= n.velocity;
    return out;
}

// A Schroeder reverb run over a looping piece: two passes round the loop, so the tail at the
// end flows into the start; returns the wet signal of the second pass.
std::vector<float> Reverb(const std::vector<float>& stereo, bool loop) {
    size_t frames = stereo.size() / 2;
    std::vector<float> wet(stereo.size(), 0.0f);
    const int combs[4] = {1557, 1617, 1491, 1422}, allpass[2] = {225, 556};
    for (int ch = 0; ch < 2; ++ch) {
        std::vector<std::vector<float>> cb(4), ab(2);
        std::vector<float> damp(4, 0.0f);
        for (int i = 0; i < 4; ++i) cb[i].assign(combs[i] + ch * 23, 0.0f);
        for (int i = 0; i < 2; ++i) ab[i].assign(allpass[i] + ch * 23, 0.0f);
        std::vector<size_t> ci(4, 0), ai(2, 0);
        int passes = loop ? 2 : 1;
        for (int pass = 0; pass < passes; ++pass)
            for (size_t f = 0; f < frames; ++f) {
                float in = stereo[f * 2 + ch] * 0.25f, sum = 0;
                for (int i = 0; i < 4; ++i) {
                    float y = cb[i][ci[i]];
                    damp[i] = y * 0.7f + damp[i] * 0.3f;
                    cb[i][ci[i]] = in + damp[i] * 0.8f;
                    if (++ci[i] == cb[i].size()) ci[i] = 0;
                    sum += y;
                }
                for (int i = 0; i < 2; ++i) {
                    float b = ab[i][ai[i]];
                    float y = -sum + b;
                    ab[i][ai[i]] = sum + b * 0.5f;
                    if (++ai[i] == ab[i].size()) ai[i] = 0;
                    sum = y;
                }
                if (pass == passes - 1) wet[f * 2 + ch] = sum;
            }
    }
    return wet;
}

struct Chord {
    int root; // 0..11
    std::vector<int> intervals;
};

Chord ParseChord(const std::string& name) {
    static const int kSemis[7] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    Chord c{kSemis[name[0] - 'A'], {0, 4, 7}};
    size_t i = 1;
    if (i < name.size() && (name[i] == '#' || name[i] == 'b')) c.root += name[i++] == '#' ? 1 : -1;
    c.root = (c.root + 12) % 12;
    std::string q = name.substr(i);
    if (q.rfind("m", 0) == 0 && q.rfind("maj", 0) != 0) c.intervals = {0, 3, 7};
    if (q.find("sus4") != std::string::npos) c.intervals = {0, 5, 7};
    if (q == "7") c.intervals.push_back(10);
    if (q == "m7") c.intervals.push_back(10);
    if (q == "maj7") c.intervals.push_back(11);
    return c;
}

// Chord tones placed from `low` upwards.
std::vector<int> Voicing(const Chord& c, int low) {
    std::vector<int> keys;
    for (int iv : c.intervals) {
        int k = c.root + iv;
        while (k < low) k += 12;
        keys.push_back(k);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

} // namespace

int Key(const std::string& name) {
    static const int kSemis[7] = {9, 11, 0, 2, 4, 5, 7};
    int semi = kSemis[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == '#')
        ++semi, ++i;
    else if (name[i] == 'b')
        --semi, ++i;
    return 12 * (std::atoi(name.c_str() + i) + 1) + semi;
}

void Piece::Melody(double beat, const std::string& text, Voice voice, float velocity,
                   int transpose) {
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        size_t colon = token.find(':');
        double len = std::atof(token.c_str() + colon + 1);
        std::string name = token.substr(0, colon);
        if (name != "-") notes.push_back({beat, len, Key(name) + transpose, voice, velocity});
        beat += len;
    }
}

void Piece::Chords(int bar, const std::string& chords, const std::string& pattern, float vel) {
    std::istringstream in(chords);
    std::string name;
    for (; in >> name; ++bar) {
        Chord c = ParseChord(name);
        double b0 = bar * 4.0;
        if (pattern == "pad") {
            for (int k : Voicing(c, 55)) notes.push_back({b0, 4, k, Voice::Pad, vel});
        } else if (pattern == "arp") {
            std::vector<int> v = Voicing(c, 62);
            int seq[8] = {v[0], v[1], v[2], v[0] + 12, v[2], v[1], v[0] + 12, v[1]};
            for (int i = 0; i < 8; ++i)
                notes.push_back(
                    {b0 + i * 0.5, 0.5, seq[i], Voice::Pluck, vel * (i % 2 ? 0.75f : 1)});
        } else if (pattern == "bass") {
            int root = c.root + 36;
            if (root < 38) root += 12;
            notes.push_back({b0, 1.4, root, Voice::Bass, vel});
            notes.push_back({b0 + 1.5, 0.5, root, Voice::Bass, vel * 0.7f});
            notes.push_back({b0 + 2, 1.4, root + 7, Voice::Bass, vel * 0.85f});
            notes.push_back({b0 + 3.5, 0.5, root + 12, Voice::Bass, vel * 0.6f});
        } else if (pattern == "slowbass") {
            notes.push_back({b0, 3.8, c.root + (c.root + 36 < 38 ? 48 : 36), Voice::Bass, vel});
        } else if (pattern == "stab") {
            for (int k : Voicing(c, 60)) {
                notes.push_back({b0, 0.4, k, Voice::Pluck, vel});
                notes.push_back({b0 + 2.5, 0.4, k, Voice::Pluck, vel * 0.8f});
            }
        }
    }
}

void Piece::Drums(int bar, int count, const std::string& kick, const std::string& snare,
                  const std::string& hat, float vel) {
    for (int b = bar; b < bar + count; ++b)
        for (int s = 0; s < 16; ++s) {
            double beat = b * 4.0 + s * 0.25;
            if (s < int(kick.size()) && kick[s] != '.')
                notes.push_back({beat, 0.25, 0, Voice::Kick, vel});
            if (s < int(snare.size()) && snare[s] != '.')
                notes.push_back({beat, 0.25, 0, Voice::Snare, vel * (snare[s] == 'g' ? 0.35f : 1)});
            if (s < int(hat.size()) && hat[s] != '.')
                notes.push_back({beat, 0.25, 0, Voice::Hat, vel * (hat[s] == 'H' ? 1 : 0.6f)});
        }
}

std::vector<int16_t> Render(const Piece& piece, float peak) {
    double spb = 60.0 / piece.bpm;
    size_t frames = static_cast<size_t>(std::llround(piece.Seconds() * kRate));
    std::vector<float> mix(frames * 2, 0.0f);
    uint32_t seed = 1;
    for (const Note& n : piece.notes) {
        Sound s = Play(n, spb, seed++);
        size_t start = static_cast<size_t>(std::llround(n.beat * spb * kRate));
        float gl = std::sqrt((1 - s.pan) / 2) * 1.41421356f,
              gr = std::sqrt((1 + s.pan) / 2) * 1.41421356f;
        for (size_t i = 0; i < s.mono.size(); ++i) {
            size_t f = start + i;
            if (f >= frames) {
                if (!piece.loop) break;
                f %= frames;
            }
            mix[f * 2] += s.mono[i] * gl;
            mix[f * 2 + 1] += s.mono[i] * gr;
        }
    }
    if (piece.reverb > 0) {
        std::vector<float> wet = Reverb(mix, piece.loop);
        for (size_t i = 0; i < mix.size(); ++i) mix[i] += wet[i] * piece.reverb;
    }
    // No DC: each channel's mean is taken out, so the wave swings evenly round zero (a
    // constant shift keeps the loop seamless).
    for (int ch = 0; ch < 2; ++ch) {
        double sum = 0;
        for (size_t f = 0; f < frames; ++f) sum += mix[f * 2 + ch];
        float mean = static_cast<float>(sum / std::max<size_t>(frames, 1));
        for (size_t f = 0; f < frames; ++f) mix[f * 2 + ch] -= mean;
    }
    // A piece played once fades in over 5 ms and out over its last half second: it starts
    // and stops in silence.
    if (!piece.loop)
        for (size_t f = 0; f < frames; ++f) {
            double in = f / (0.005 * kRate), out = (frames - 1 - f) / (0.5 * kRate);
            float g = static_cast<float>(std::clamp(std::min(in, out), 0.0, 1.0));
            mix[f * 2] *= g;
            mix[f * 2 + 1] *= g;
        }
    float top = 1e-9f;
    for (float v : mix) top = std::max(top, std::fabs(v));
    std::vector<int16_t> out(mix.size());
    for (size_t i = 0; i < mix.size(); ++i)
        out[i] = static_cast<int16_t>(std::lround(mix[i] / top * peak * 32767));
    return out;
}

} // namespace synth
