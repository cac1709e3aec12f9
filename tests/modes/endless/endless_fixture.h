// The endless mode under test: small stand-ins for its files, a recording device, a mixer,
// the virtual clock, and helpers to set up boards and run frames.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "modes/endless/endless.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/mixer.h"
#include "platform/recording_device.h"
#include "platform/system.h"
#include "support/test_files.h"

class EndlessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = testfiles::FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        const char* digits[] = {"１", "２", "３",   "４",   "５",   "６",  "７",
                                "８", "９", "１０", "１１", "１２", "１３"};
        for (const char* d : digits)
            testfiles::WriteText(dir / (std::string("xFile/パズル用図形") + d + ".x"),
                                 testfiles::CubeX());
        std::vector<uint32_t> px(8 * 8, 0xFF808080);
        for (const char* name :
             {"カーソル.bmp", "カーソル２.bmp", "カーソル３.bmp", "カーソル４.bmp",
              "カーソル５.bmp", "背景.bmp", "壁.bmp", "スコア表示.bmp", "数字.bmp", "初め.bmp",
              "ゲームオーバー.bmp", "結果.bmp", "数字2.bmp", "記録更新.bmp", "ポーズ.bmp",
              "ゲーム終了画面.bmp"})
            testfiles::WriteBytes(dir / "bmp" / name, testfiles::Bmp24(8, 8, px));
        std::vector<int16_t> tone(2 * 4410, 800);
        for (const char* name : {"game.WAV", "敗北時.WAV", "消える音.WAV", "入れ替え.WAV"})
            testfiles::WriteBytes(dir / "bgm" / name, testfiles::Wav16(2, 44100, tone));
        platform::SetDataRoot(dir.string());
        platform::SetDevice(&device);
        platform::SetSound(&mixer);
        platform::TheKeyboard().ReleaseAll();
        platform::UseVirtualClock(0);
        platform::EnableDebugKeys(false);
        Endless = EndlessMode{};
        Records = EndlessRecords{};
    }
    void TearDown() override {
        Endless.GameFlg = 0; // no record files from the release below
        EndlessRelease();
        ReleaseSoundRecord(Endless.vanish);
        ReleaseSwapSound(Endless.swapSound);
        platform::TheKeyboard().ReleaseAll();
        platform::SetDevice(nullptr);
        platform::SetSound(nullptr);
        platform::UseRealClock();
    }

    // Set up, then straight into play on an empty board.
    void StartPlaying() {
        EndlessInit();
        Clear();
        Endless.GameFlg = 2;
        Endless.StartTime = platform::timeGetTime();
    }
    static void Clear() {
        for (int x = 0; x < kSlices; ++x)
            for (int y = 0; y < kRows; ++y)
                for (int z = 0; z < kDepth; ++z) {
                    Endless.grid[x][y][z] = 0;
                    Endless.pairs[x][y][z][0] = 0;
                    Endless.pairs[x][y][z][1] = kVanishFrames;
                }
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
    static void Hold(int vk, bool down = true) { platform::TheKeyboard().SetKey(vk, down); }
    static void ReleaseKeys() { platform::TheKeyboard().ReleaseAll(); }
    std::string ReadData(const char* path) {
        std::vector<uint8_t> bytes;
        if (!platform::ReadFileBytes(path, bytes, 4096)) return "<missing>";
        return std::string(bytes.begin(), bytes.end());
    }

    std::filesystem::path dir;
    platform::RecordingDevice device;
    platform::Mixer mixer;
};
