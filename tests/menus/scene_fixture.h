// A scene under test: a recording device, a mixer, the virtual clock and a data folder with
// small stand-ins for the files the menus load.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "platform/clock.h"
#include "platform/d3dmath.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/mixer.h"
#include "platform/recording_device.h"
#include "platform/system.h"
#include "support/test_files.h"

class SceneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto dir =
            testfiles::FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        for (const char* model :
             {"xFile/パズル用図形１.x", "xFile/パズル用図形３.x", "xFile/パズル用図形５.x"})
            testfiles::WriteText(dir / model, testfiles::CubeX());
        std::vector<uint32_t> px(8 * 8, 0xFF336699);
        for (const char* name :
             {"bmp/背景.bmp", "bmp/タイトル.bmp", "bmp/タイトルの文字.bmp", "bmp/セレクト.bmp",
              "bmp/オプション.bmp", "bmp/オプションの文字.bmp"})
            testfiles::WriteBytes(dir / name, testfiles::Bmp24(8, 8, px));
        std::vector<int16_t> tone(2 * 4410, 1000);
        testfiles::WriteBytes(dir / "bgm/title.WAV", testfiles::Wav16(2, 44100, tone));
        platform::SetDataRoot(dir.string());
        platform::SetDevice(&device);
        platform::SetSound(&mixer);
        platform::TheKeyboard().ReleaseAll();
        platform::UseVirtualClock(0);
    }
    void TearDown() override {
        platform::TheKeyboard().ReleaseAll();
        platform::SetDevice(nullptr);
        platform::SetSound(nullptr);
        platform::UseRealClock();
    }
    static void Hold(int vk, bool down = true) { platform::TheKeyboard().SetKey(vk, down); }
    static void ReleaseKeys() { platform::TheKeyboard().ReleaseAll(); }

    platform::RecordingDevice device;
    platform::Mixer mixer;
};

inline bool Near(const platform::Matrix& a, const platform::Matrix& b) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::abs(a.m[r][c] - b.m[r][c]) > 1e-4f) return false;
    return true;
}
