// The versus mode under test: a scene with the mode's state reset, and helpers to set up
// boards and run frames.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "modes/versus/versus.h"
#include "support/scene.h"

class VersusTest : public SceneTest {
  protected:
    void SetUp() override {
        SceneTest::SetUp();
        platform::EnableDebugKeys(false);
        Versus = VersusMode{};
    }
    void TearDown() override {
        VersusRelease();
        VersusReleaseRun();
        platform::EnableDebugKeys(false);
        SceneTest::TearDown();
    }

    // Set up, then straight into play on two empty boards.
    void StartPlaying() {
        VersusInit();
        Clear(Versus.left);
        Clear(Versus.right);
        Versus.GameFlg = 2;
    }
    static void Clear(VersusSide& s) {
        for (int x = 0; x < kSlices; ++x)
            for (int y = 0; y < kRows; ++y)
                for (int z = 0; z < kDepth; ++z) {
                    s.grid[x][y][z] = 0;
                    s.pairs[x][y][z][0] = 0;
                    s.pairs[x][y][z][1] = kVanishFrames;
                }
    }
    // Sets a cell, marking its pair when the value is negative.
    static void Put(VersusSide& s, int x, int y, int z, int32_t value) {
        s.grid[x][y][z] = value;
        s.pairs[x][y][z][0] = value < 0 ? 1 : 0;
    }
    static void Updates(int n) {
        for (int i = 0; i < n; ++i) VersusUpdate();
    }
    static int32_t Frame() { return VersusFrame(platform::PresentParameters{}); }
    static void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
    // Frames run until the mode reaches the phase `flag` (-1: not within `limit`).
    static int FramesUntil(int flag, int limit = 2000) {
        for (int n = 1; n <= limit; ++n)
            if (Frame(), Versus.GameFlg == flag) return n;
        return -1;
    }
    static int Count(const VersusSide& s, int32_t value) {
        int n = 0;
        for (int x = 0; x < kSlices; ++x)
            for (int y = 0; y < kRows; ++y)
                for (int z = 0; z < kDepth; ++z) n += s.grid[x][y][z] == value;
        return n;
    }
    // The game path of block model `n` ("１" .. "１３").
    static std::string Model(const char* n) {
        return std::string("./xFile/パズル用図形") + n + ".x";
    }
};
