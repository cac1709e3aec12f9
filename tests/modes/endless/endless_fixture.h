// The endless mode under test: a scene with the mode's state reset, and helpers to set up boards
// and run frames.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "modes/endless/endless.h"
#include "platform/files.h"
#include "support/boards.h"
#include "support/scene.h"

using boards::Model;

class EndlessTest : public SceneTest {
  protected:
    void SetUp() override {
        SceneTest::SetUp();
        platform::EnableDebugKeys(false);
        Endless = EndlessMode{};
        Records = EndlessRecords{};
        ResetRecordFiles();
    }
    void TearDown() override {
        Endless.GameFlg = 0; // no record files from the release below
        EndlessRelease();
        ReleaseSoundRecord(Endless.vanish);
        ReleaseSwapSound(Endless.swapSound);
        SceneTest::TearDown();
    }

    // Set up, then straight into play on an empty board.
    void StartPlaying() {
        EndlessInit();
        Clear();
        Endless.GameFlg = 2;
        Endless.StartTime = platform::timeGetTime();
    }
    static void Clear() { boards::Clear(Endless); }
    static void Updates(int n) {
        for (int i = 0; i < n; ++i) EndlessUpdate();
    }
    // One frame of the mode, the clock moving on as in a run.
    int32_t Frame() {
        int32_t next = EndlessFrame(platform::PresentParameters{});
        platform::AdvanceFrame();
        return next;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
    // Frames run until the mode reaches the phase `flag` (-1: not within `limit`).
    int FramesUntil(int flag, int limit = 2000) {
        for (int n = 1; n <= limit; ++n)
            if (Frame(), Endless.GameFlg == flag) return n;
        return -1;
    }
    static std::string ReadData(const char* path) {
        std::vector<uint8_t> bytes;
        if (!platform::ReadFileBytes(path, bytes, 4096)) return "<missing>";
        return std::string(bytes.begin(), bytes.end());
    }
};
