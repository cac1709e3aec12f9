// A small deterministic synthesiser: instruments, a note list and a looping renderer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace synth {

enum class Voice { Lead, Bell, Pad, Bass, Pluck, Kick, Snare, Hat };

struct Note {
    double beat;   // start, in beats from the start of the piece
    double length; // in beats
    int key;       // MIDI note number (drums ignore it)
    Voice voice;
    float velocity;
};

struct Piece {
    double bpm;
    int bars;     // of four beats
    bool loop;    // tails that run past the end wrap to the start
    float reverb; // wet share
    std::vector<Note> notes;

    double Seconds() const { return bars * 4 * 60.0 / bpm; }
    // Adds a melody written as "A4:1 C5:0.5 -:1 ..." (note:beats, "-" a rest) from `beat` on.
    void Melody(double beat, const std::string& text, Voice voice, float velocity,
                int transpose = 0);
    // One chord per bar from `bar` on, written as "Am F C G"; each bar's chord is played by
    // `pattern`: "pad" (held), "arp" (eighth-note arpeggio), "bass" (root line), "stab".
    void Chords(int bar, const std::string& chords, const std::string& pattern, float velocity);
    // A drum bar pattern over 16 sixteenths: "k" kick, "s" snare, "h" hat, "." rest; each
    // string is one voice's line, repeated for `count` bars from `bar` on.
    void Drums(int bar, int count, const std::string& kick, const std::string& snare,
               const std::string& hat, float velocity);
};

// Renders to interleaved 16-bit stereo at 44100 Hz, peak-normalised.
std::vector<int16_t> Render(const Piece& piece, float peak = 0.84f);

// The MIDI number of a name like "C#5" or "Bb3".
int Key(const std::string& name);

} // namespace synth
