// The versus mode under test: a scene with the mode's state reset, and helpers to set up
// boards and run frames.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "modes/versus/versus.h"
#include "support/boards.h"
#include "support/scene.h"

using boards::Clear, boards::Count, boards::CursorTuple, boards::FillColumn, boards::Model,
    boards::Put;

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
};
