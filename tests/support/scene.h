// A scene under test: a recording device, a mixer, the scripted keyboard, the virtual clock and
// a data folder of small stand-ins for the game's files.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "media/manifest.h"
#include "media/sound.h"
#include "platform/clock.h"
#include "platform/d3dmath.h"
#include "platform/keyboard.h"
#include "platform/mixer.h"
#include "platform/recording_device.h"
#include "platform/system.h"
#include "support/files.h"

class SceneTest : public ::testing::Test {
  protected:
    // Every data file of the game as a small stand-in: a cube for each model, an 8 x 8 picture
    // for each bitmap, a tenth of a second of a tone for each sound.
    void SetUp() override {
        for (const DataFile& f : kDataFiles) {
            if (f.kind == DataKind::Model) data.Put(f.path, testfiles::kCubeX);
            if (f.kind == DataKind::Texture)
                data.Put(f.path, testfiles::Bmp(std::vector<uint32_t>(64, 0xFF336699), 8, 8));
            if (f.kind == DataKind::Sound)
                data.Put(f.path, testfiles::Wav16(2, 44100, std::vector<int16_t>(8820, 1000)));
        }
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

    // The recorded calls of a kind, of one resource when it is given.
    std::vector<platform::RecordedCall> Calls(platform::CallKind kind,
                                              const std::string& resource = {}) const {
        std::vector<platform::RecordedCall> out;
        for (const auto& c : device.Calls())
            if (c.kind == kind && (resource.empty() || c.resource == resource)) out.push_back(c);
        return out;
    }

    // Where a sprite is drawn (or a mesh or quad placed): the translation of its matrix.
    static std::pair<float, float> At(const platform::RecordedCall& c) {
        return {c.matrix.m[3][0], c.matrix.m[3][1]};
    }

    testfiles::DataDir data;
    platform::RecordingDevice device;
    platform::Mixer mixer;
};

// A menu scene under test: its state reset before, its files released and the volumes reset
// after.
template <auto& state, int32_t (*frame)(platform::PresentParameters), void (*release)()>
class MenuTest : public SceneTest {
  protected:
    void SetUp() override {
        SceneTest::SetUp();
        state = {};
    }
    void TearDown() override {
        release();
        Vol = SeVol = 0;
        SceneTest::TearDown();
    }
    static int32_t Frame() { return frame(platform::PresentParameters{}); }
    static void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
};

inline bool Near(const platform::Matrix& a, const platform::Matrix& b) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::abs(a.m[r][c] - b.m[r][c]) > 1e-4f) return false;
    return true;
}
