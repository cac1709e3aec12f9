// Swaps: which are refused, what moves (values, never pairs), and the pooled swap sound.
#include <algorithm>
#include <array>
#include <vector>

#include "board_fixture.h"
#include "platform/mixer.h"
#include "platform/system.h"
#include "support/files.h"

namespace {

struct Swap {
    SwapSound sound;
    int32_t count = 10;
    void operator()(Board& b, int x, int y, int z, int direction) {
        SwapCells(sound, &count, b.grid, x, y, z, direction);
    }
};

} // namespace

TEST(SwapCells, RefusesVanishingOrEmptyPairsUnknownDirectionsAndCellsOffTheBoard) {
    Board b;
    b.Put(0, 0, 0, -2), b.Put(1, 0, 0, 3); // marked on the left
    b.Put(2, 0, 0, 3), b.Put(3, 0, 0, -1); // marked on the right
    b.Put(0, 0, 1, 4), b.Put(0, 0, 2, -4); // marked behind
    b.Put(5, 0, 0, 1), b.Put(0, 0, 4, 2), b.Put(2, 11, 4, 6);
    const Board before = b;
    Swap swap;
    swap(b, 0, 0, 0, 0), swap(b, 2, 0, 0, 0), swap(b, 0, 0, 1, 1);
    swap(b, 4, 4, 4, 0);                       // both empty
    swap(b, 1, 0, 0, 2), swap(b, 1, 0, 0, -1); // no such direction
    swap(b, 5, 0, 0, 0), swap(b, 0, 0, 4, 1), swap(b, 2, 11, 4, 1), swap(b, -1, 0, 0, 0),
        swap(b, 2, 12, 0, 0), swap(b, 2, -1, 0, 1);
    EXPECT_TRUE(b.SameCells(before));
    EXPECT_EQ(swap.count, 10);
    SwapCells(swap.sound, nullptr, b.grid, 5, 0, 0, 0); // no counter to decrement: still fine
    EXPECT_TRUE(b.SameCells(before));
}

TEST(SwapCells, ExchangesValuesLeavingPairsInPlace) {
    Board b;
    b.Put(1, 0, 1, 5), b.Put(2, 0, 1, 7); // a block and garbage, along X
    b.Put(1, 0, 2, 3);                    // a block and the empty cell behind it, along Z
    b.Put(3, 0, 0, 6), b.Put(3, 1, 0, 6), b.Put(3, 2, 0, 2); // a stack beside a deep hole
    b.pairs[3][2][0][1] = 11, b.pairs[4][2][0][1] = 22;
    Swap swap;
    swap(b, 1, 0, 1, 0);
    swap(b, 1, 0, 2, 1);
    swap(b, 3, 2, 0, 0);
    EXPECT_EQ(swap.count, 7);
    EXPECT_TRUE(b.grid[1][0][1] == 7 && b.grid[2][0][1] == 5);
    EXPECT_TRUE(b.grid[1][0][2] == 0 && b.grid[1][0][3] == 3);
    EXPECT_EQ(b.grid[4][2][0], 2);
    EXPECT_EQ(b.pairs[4][2][0][1], 22); // the block rests on the empty cell's former pair
    EXPECT_EQ(b.pairs[3][2][0][1], 11);

    FallStep(b.grid, b.pairs); // and falls from there, taking that pair along
    EXPECT_EQ(b.grid[4][1][0], 2);
    EXPECT_EQ(b.pairs[4][1][0][1], 22);
}

struct PuzzleSounds : ::testing::Test {
    PuzzleSounds() {
        const auto wav = testfiles::Wav16(1, 22050, std::vector<int16_t>(2000, 1000));
        data.Put("bgm/入れ替え.WAV", wav);
        data.Put("bgm/消える音.WAV", wav);
        platform::SetSound(&mixer);
        ReleaseSoundRecord(gVanish);
        SeVol = -1500;
    }
    ~PuzzleSounds() override {
        ReleaseSoundRecord(gVanish);
        platform::SetSound(nullptr);
        SeVol = 0;
    }
    // Status bits, play position and volume of a voice.
    static std::array<int64_t, 3> State(const SoundVar& v) {
        uint32_t status = 0, position = 0;
        int32_t volume = 0;
        v->GetStatus(&status), v->GetCurrentPosition(&position, nullptr), v->GetVolume(&volume);
        return {status, position, volume};
    }
    testfiles::DataDir data;
    platform::Mixer mixer;
    int16_t out[2 * 64];
};

// Every swap that takes place starts a voice from its beginning at the effects volume while
// the voices started before play on; the same few buffers serve however many swaps are made.
TEST_F(PuzzleSounds, EverySwapSoundsFromTheStartWithoutNewBuffers) {
    Board b;
    b.Put(0, 0, 0, 1);
    Swap swap;
    swap(b, 1, 0, 0, 0); // refused (both empty), but the voices are ready and silent
    const SoundVar* voices = swap.sound.voices;
    std::vector<const platform::SoundBuffer*> loaded;
    for (int i = 0; i < SwapSound::kVoices; ++i) {
        ASSERT_TRUE(voices[i]);
        EXPECT_EQ(State(voices[i])[0], 0);
        loaded.push_back(voices[i].get());
    }
    for (int n = 1; n <= 1000; ++n) {
        swap(b, 0, 0, 0, 0); // the block goes back and forth
        int playing = 0, fresh = 0;
        for (int i = 0; i < SwapSound::kVoices; ++i) {
            ASSERT_EQ(voices[i].get(), loaded[i]);
            auto [status, position, volume] = State(voices[i]);
            if (status == 0) continue;
            ++playing, fresh += position == 0;
            ASSERT_EQ(volume, -1500);
        }
        ASSERT_EQ(playing, std::min(n, SwapSound::kVoices)) << "an earlier swap was cut off";
        ASSERT_EQ(fresh, 1) << "swap " << n << " did not start from the beginning";
        mixer.Mix(out, 64);
    }
    ReleaseSwapSound(swap.sound);
    EXPECT_FALSE(voices[0]);
}

TEST_F(PuzzleSounds, VanishSoundIsLoadedOnFirstUseAndPlaysWhenALineIsFound) {
    Board b;
    b.Match();
    ASSERT_TRUE(gVanish.buffer);
    EXPECT_EQ(State(gVanish.buffer)[0], 0);
    for (int x = 0; x < 3; ++x) b.Put(x, 0, 0, 4);
    b.Match();
    mixer.Mix(out, 64);
    const auto playing = State(gVanish.buffer);
    EXPECT_NE(playing[0], 0);
    EXPECT_GT(playing[1], 0);
    b.Match(); // the line is found again: the sound goes on, neither reloaded nor restarted
    EXPECT_EQ(State(gVanish.buffer), playing);
    ReleaseSoundRecord(gVanish);
    b.Match();
    EXPECT_NE(State(gVanish.buffer)[0], 0);
}
