// BMP decoding and the colour-keyed texture loader.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "media/texture.h"
#include "platform/recording_device.h"
#include "support/files.h"

namespace {

using namespace testfiles;

// White, cyan, black, (255, 255, 254), red, and a dark blue, in a 3 x 2 picture.
const std::vector<uint32_t> kKeyed = {0xFFFFFFFF, 0xFF00FFFF, 0xFF000000,
                                      0xFFFFFFFE, 0xFFFF0000, 0xFF000080};

TEST(Bmp, ReadsAHandWrittenFileBottomUpInBgrOrder) {
    // 2 x 2, 24 bits: the first row in the file is the bottom one; rows padded to 8 bytes.
    std::vector<uint8_t> file = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                                 0,   0,   0,  2, 0, 0, 0, 2, 0, 0, 0,  1, 0, 24, 0};
    file.resize(54, 0);
    const uint8_t pixels[] = {0,   0, 255, 0,  255, 0,  0, 0,  // bottom: red, green
                              255, 0, 0,   10, 20,  30, 0, 0}; // top: blue, (30, 20, 10)
    file.insert(file.end(), std::begin(pixels), std::end(pixels));
    platform::Image image;
    ASSERT_TRUE(DecodeBmp(file.data(), file.size(), image));
    EXPECT_EQ(image.pixels,
              (std::vector<uint32_t>{0xFF0000FF, 0xFF1E140A, 0xFFFF0000, 0xFF00FF00}));
}

TEST(Bmp, ReadsEveryDepthBothWaysUp) {
    const std::vector<uint32_t> two = {0xFFFFFFFF, 0xFF000000, 0xFF000000,
                                       0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000};
    platform::Image image;
    for (int bits : {1, 4, 8, 24, 32})
        for (bool topDown : {false, true})
            for (uint32_t header : {40u, 124u}) {
                const auto& src = bits == 1 ? two : kKeyed;
                auto file = Bmp(src, 3, 2, bits, topDown, header);
                ASSERT_TRUE(DecodeBmp(file.data(), file.size(), image))
                    << bits << " bits, header " << header;
                EXPECT_EQ(image.width * 10 + image.height, 32);
                EXPECT_EQ(image.pixels, src) << bits << " bits, top-down " << topDown;
            }
}

TEST(Bmp, ReadsSixteenBitPixels) {
    // Plain 16 bits are 5-5-5; bit fields (the masks after the header) give others, here 5-6-5.
    platform::Image image;
    auto file = Bmp(std::vector<uint32_t>(2, 0), 2, 1, 16);
    Set16(file, 54, 0x7C00), Set16(file, 56, 0x03FF);
    ASSERT_TRUE(DecodeBmp(file.data(), file.size(), image));
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF00FFFF}));
    file = Bmp(std::vector<uint32_t>(4, 0), 4, 1, 16);
    file.insert(file.begin() + 54, 12, 0);
    Set32(file, 30, 3), Set32(file, 10, 66);
    const uint32_t words[] = {0xF800, 0x07E0, 0x001F, 0x8410}; // three masks; four pixels
    for (size_t i = 0; i < 4; ++i) Set16(file, 66 + 2 * i, words[i]);
    for (size_t i = 0; i < 3; ++i) Set32(file, 54 + 4 * i, words[i]);
    ASSERT_TRUE(DecodeBmp(file.data(), file.size(), image));
    EXPECT_EQ(image.pixels,
              (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF838183}));
}

TEST(Bmp, RefusesDamagedAndAbsurdFiles) {
    const auto good = Bmp(kKeyed, 3, 2, 8);
    platform::Image image;
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(DecodeBmp(good.data(), n, image)) << "cut at " << n;

    auto damaged = [&](auto change) {
        auto file = good;
        change(file);
        return !DecodeBmp(file.data(), file.size(), image);
    };
    EXPECT_TRUE(damaged([](auto& f) { f[0] = 'X'; }));
    EXPECT_TRUE(damaged([](auto& f) { Set32(f, 14, 64); }));          // unknown header
    EXPECT_TRUE(damaged([](auto& f) { Set32(f, 18, 20000); }));       // too wide
    EXPECT_TRUE(damaged([](auto& f) { Set32(f, 18, 0); }));           // no width
    EXPECT_TRUE(damaged([](auto& f) { Set32(f, 22, 0x80000000u); })); // most negative height
    EXPECT_TRUE(damaged([](auto& f) { Set32(f, 18, 16384), Set32(f, 22, 16384); })); // 256 MB
    EXPECT_TRUE(damaged([](auto& f) { Set32(f, 10, 0xFFFFFFF0u); })); // pixels past the end
    EXPECT_TRUE(damaged([](auto& f) { Set32(f, 30, 1); }));           // run-length coded
    EXPECT_TRUE(damaged([](auto& f) { Set16(f, 28, 7); }));           // no such depth
    EXPECT_TRUE(damaged([](auto& f) { Set32(f, 46, 0), f.resize(54 + 100); })); // palette cut
    EXPECT_FALSE(DecodeBmp(nullptr, 0, image));
}

TEST(Texture, ColourKeysOnEveryDepth) {
    DataDir dir;
    platform::RecordingDevice device;
    // Each key and the picture indices it clears; 0x64FFFFFF matches no opaque pixel.
    const std::pair<uint32_t, std::set<size_t>> keys[] = {
        {0xFFFFFFFF, {0}}, {0xFF00FFFF, {1}}, {0xFF000000, {2}},
        {0x64FFFFFF, {}},  {0xFFFFFFFE, {3}},
    };
    for (int bits : {24, 32, 8, 4}) {
        const std::string path = "./bmp/keyed" + std::to_string(bits) + ".bmp";
        dir.Put(path, Bmp(kKeyed, 3, 2, bits));
        for (const auto& [key, cleared] : keys) {
            auto texture = LoadTexture(device, path.c_str(), 3, 2, key);
            ASSERT_TRUE(texture) << path;
            std::vector<uint32_t> want = kKeyed;
            for (size_t i : cleared) want[i] = 0;
            EXPECT_EQ(texture->pixels, want) << bits << " bits, key " << std::hex << key;
        }
    }
}

TEST(Texture, BitmapSitsTopLeftOfTheRequestedSizeTransparentBlackAround) {
    DataDir dir;
    platform::RecordingDevice device;
    const std::string path = dir.Put("./bmp/背景.bmp", Bmp(kKeyed, 3, 2));
    auto big = LoadTexture(device, path.c_str(), 5, 4, 0xFF00FFFF);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->name, path);
    EXPECT_EQ(big->width * 10 + big->height, 54);
    EXPECT_EQ(big->pixels,
              (std::vector<uint32_t>{0xFFFFFFFF, 0, 0xFF000000, 0, 0, 0xFFFFFFFE, 0xFFFF0000,
                                     0xFF000080, 0, 0,          0, 0, 0,          0,
                                     0,          0, 0,          0, 0, 0}));
    auto small = LoadTexture(device, path.c_str(), 2, 1, 0xFFFFFFFF);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->pixels, (std::vector<uint32_t>{0, 0xFF00FFFF}));
    // A material's texture: the file's own size, nothing keyed.
    auto own = LoadTextureFile(device, path.c_str());
    ASSERT_TRUE(own);
    EXPECT_EQ(own->width, 3);
    EXPECT_EQ(own->pixels, kKeyed);

    dir.Put("./bmp/broken.bmp", "BM not really");
    EXPECT_FALSE(LoadTexture(device, "./bmp/broken.bmp", 4, 4, 0xFFFFFFFF));
    EXPECT_FALSE(LoadTexture(device, "./bmp/none.bmp", 4, 4, 0xFFFFFFFF));
    EXPECT_FALSE(LoadTexture(device, path.c_str(), 16385, 4, 0xFFFFFFFF)) << "absurd size";
    EXPECT_FALSE(LoadTextureFile(device, "./bmp/none.bmp"));
}

// Only what the texture shows is decoded: a picture far larger than its texture costs no more
// than the texture; one loaded at its own size is refused beyond a sane side.
TEST(Texture, OnlyTheTexturesPartIsDecodedAndHugeOwnSizePicturesAreRefused) {
    for (bool topDown : {false, true}) {
        std::vector<uint8_t> file = Bmp(kKeyed, 3, 2, 24, topDown);
        platform::Image part;
        ASSERT_TRUE(DecodeBmp(file.data(), file.size(), part, 2, 1));
        EXPECT_EQ((std::array{part.width, part.height}), (std::array{2, 1}));
        EXPECT_EQ(part.pixels, (std::vector<uint32_t>{kKeyed[0], kKeyed[1]})) << topDown;
        int w = 0, h = 0;
        EXPECT_TRUE(BmpSize(file.data(), file.size(), w, h));
        EXPECT_EQ((std::array{w, h}), (std::array{3, 2}));
    }

    DataDir dir;
    platform::RecordingDevice device;
    const int side = kMaxOwnSizeTexture + 1;
    const std::string wide =
        dir.Put("./bmp/wide.bmp", Bmp(std::vector<uint32_t>(side, kKeyed[4]), side, 1, 1));
    auto cut = LoadTexture(device, wide.c_str(), 4, 4, 0);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->pixels[3], kKeyed[4]);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadTextureFile(device, wide.c_str()));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("wide.bmp"), std::string::npos);
}

} // namespace
