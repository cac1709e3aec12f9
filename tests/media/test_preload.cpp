// Pictures read ahead while the game starts, handed to the texture loader.
#include <gtest/gtest.h>

#include "media/preload.h"
#include "media/texture.h"
#include "platform/recording_device.h"
#include "support/files.h"

namespace {

using namespace testfiles;

const DataFile& kBackground = DataEntry("./bmp/背景.bmp");
const DataFile& kLogo = DataEntry("./bmp/タイトル.bmp");
const DataFile& kCaption = DataEntry("./bmp/タイトルの文字.bmp");

// Red with one pixel of the background's colour key (cyan), 4 x 2.
const std::vector<uint32_t> kPicture = {0xFFFF0000, 0xFF00FFFF, 0xFFFF0000, 0xFFFF0000,
                                        0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000};

TEST(Preload, PicturesAreHandedOverOnceAsTheLoaderWouldReadThem) {
    DataDir dir;
    dir.Put(kBackground.path, Bmp(kPicture, 4, 2));
    dir.Put(kLogo.path, Bmp(kPicture, 4, 2, 8));
    // The caption is missing: the loader reads (and fails) on its own.
    PreloadPictures({&kBackground, &kLogo, &kCaption});

    platform::Image want;
    ASSERT_TRUE(ReadTextureFile(kBackground.path, kBackground.width, kBackground.height,
                                kBackground.colorKey, want));
    platform::Image got;
    ASSERT_TRUE(TakePreloadedTexture(kBackground, got));
    EXPECT_EQ(std::tie(got.width, got.height, got.pixels),
              std::tie(want.width, want.height, want.pixels));
    EXPECT_EQ(got.pixels[1], 0u) << "keyed";
    EXPECT_FALSE(TakePreloadedTexture(kBackground, got)) << "taken once";
    EXPECT_FALSE(TakePreloadedTexture(kCaption, got));
    EXPECT_FALSE(TakePreloadedTexture(DataEntry("./bmp/壁.bmp"), got)) << "not read ahead";

    // What was not taken is dropped: a later run reads the files as they are then.
    EndPreload();
    EXPECT_FALSE(TakePreloadedTexture(kLogo, got));

    // The loader uploads what was read ahead: once the logo (read after the background) is
    // in, the background's file can go.
    PreloadPictures({&kBackground, &kLogo});
    ASSERT_TRUE(TakePreloadedTexture(kLogo, got));
    std::filesystem::remove(dir / kBackground.path);
    platform::RecordingDevice device;
    auto texture = LoadTexture(device, kBackground);
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->pixels, want.pixels);
    EXPECT_FALSE(LoadTexture(device, kBackground)) << "the file is gone";
    EndPreload();
}

} // namespace
