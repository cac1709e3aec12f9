// The small system services: keys as the game polls them, the frame slots, data paths, the JSON
// writer, the matrix helpers and the sprite. The virtual clock, the random generator and the
// message queue are checked through whole runs (the records' playing time, runs repeated from
// their seed, the scene loop's quitting).
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/d3dmath.h"
#include "platform/files.h"
#include "platform/json.h"
#include "platform/keyboard.h"
#include "platform/recording_device.h"
#include "support/files.h"

#include <sys/stat.h>

using namespace platform;

TEST(Keyboard, HeldKeysAndPressesSinceTheLastQuery) {
    Keyboard k;
    k.SetKey('Z', true);
    k.SetKey('Z', true); // a repeat is no new press
    EXPECT_EQ(k.Query('Z') & 0xFFFF, 0x8001) << "held, and pressed since the last query";
    EXPECT_EQ(k.Query('Z') & 0xFFFF, 0x8000);
    k.SetKey('Z', false);
    EXPECT_EQ(k.Query('Z'), 0);
    k.SetKey('X', true); // a tap between two queries still counts once
    k.SetKey('X', false);
    EXPECT_EQ(k.Query('X'), 1);
    EXPECT_EQ(k.Query('X'), 0);
    EXPECT_EQ(k.Query(-4) | k.Query(999), 0);
}

TEST(Clock, FrameSlotsKeepSixtyASecondAndNeverHurryAfterALongFrame) {
    using namespace std::chrono;
    FrameSlots slots;
    const auto origin = FrameSlots::Clock::time_point{} + hours(1);
    const auto period = FrameSlots::kPeriod;
    EXPECT_EQ(slots.Next(origin), origin) << "the first frame starts at once";
    // A minute of frames woken up to 1.9 ms late, each working 3 ms: no drift at all.
    auto now = origin;
    for (int i = 1; i <= 3600; ++i) {
        auto start = slots.Next(now + milliseconds(3));
        ASSERT_EQ(start, origin + i * period) << "frame " << i;
        now = start + microseconds(100 + (i * 37) % 1800);
    }
    // A frame of 40 ms: the next starts when it ends, then slots follow from there, one each.
    auto late = origin + 3600 * period + milliseconds(40);
    EXPECT_EQ(slots.Next(late), late);
    EXPECT_EQ(slots.Next(late + milliseconds(1)), late + period);
    EXPECT_EQ(slots.Next(late + period), late + 2 * period);
    EXPECT_NEAR(duration<double>(60 * period).count(), 1.0, 1e-6);
}

TEST(Files, GamePathsAreTakenFromTheDataFolder) {
    SetDataRoot("/data/here");
    EXPECT_EQ(DataPath("./bmp/背景.bmp"), "/data/here/bmp/背景.bmp");
    EXPECT_EQ(DataPath("notepad/Hi Score.txt"), "/data/here/notepad/Hi Score.txt");
    EXPECT_EQ(DataPath("/abs/file"), "/abs/file");
    SetDataRoot("");
    EXPECT_EQ(DataRoot(), ".");
}

// A pipe, device or folder in place of a data file would block the game or never end.
TEST(Files, OnlyRegularFilesWithinTheLimitAreRead) {
    testfiles::DataDir dir;
    std::vector<uint8_t> bytes;
    dir.Put("./a.bin", "abc");
    EXPECT_TRUE(ReadFileBytes("./a.bin", bytes, 3));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{'a', 'b', 'c'}));
    EXPECT_FALSE(ReadFileBytes("./a.bin", bytes, 2));
    EXPECT_TRUE(bytes.empty());

    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink("nowhere", dir / "dangling");
    const std::string root = dir.path().string();
    EXPECT_EQ(ReadRegularFile(root + "/missing", bytes, 100), ReadResult::kMissing);
    EXPECT_EQ(ReadRegularFile(root + "/no/folder/file", bytes, 100), ReadResult::kMissing);
    for (const std::string& bad :
         {root + "/pipe", root, root + "/dangling", std::string("/dev/zero"), root + "/a.bin/x"})
        EXPECT_EQ(ReadRegularFile(bad, bytes, 1 << 20), ReadResult::kFailed) << bad;
    EXPECT_EQ(OpenRegularFile(root + "/pipe"), nullptr);
}

TEST(Json, WritesNestedValuesWithShortestFloats) {
    JsonWriter j;
    j.BeginObject().Field("a", 1).Field("f", 0.1f).Field("s", "x\"y\n").Key("v");
    j.Value(Vector3{1.5f, -2.0f, 0.0f}).Key("n").BeginArray().Value(true).Null().EndArray();
    EXPECT_EQ(j.EndObject().str(),
              R"({"a":1,"f":0.1,"s":"x\"y\n","v":[1.5,-2,0],"n":[true,null]})");
}

// The standard camera: eye (0, 0, -20), 60 degrees high, 880 x 480. Its picture places the
// game's screens: x = 440 + 440 x / (1.05848 (z + 20)), y = 240 - 240 y / (0.57735 (z + 20)).
TEST(Matrices, StandardCameraAndTheTransformsTheGameBuildsOnIt) {
    Vector3 eye{0, 0, -20}, at{0, 0, 0}, up{0, 1, 0};
    Matrix view, proj;
    MatrixLookAtLH(&view, &eye, &at, &up);
    MatrixPerspectiveFovLH(&proj, 1.0471976f, 1.8333334f, 1.0f, 1000.0f);
    const Matrix vp = view * proj;
    auto project = [&](Vector3 p) {
        Vector3 c = TransformCoord(p, vp);
        float w = p.x * vp.m[0][3] + p.y * vp.m[1][3] + p.z * vp.m[2][3] + vp.m[3][3];
        return Vector3{440 + 440 * c.x / w, 240 - 240 * c.y / w, c.z / w};
    };
    Vector3 p = project({3, 2, 5});
    EXPECT_NEAR(p.x, 440 + 440 * 3 / (1.05848 * 25), 0.05) << "+x on the right";
    EXPECT_NEAR(p.y, 240 - 240 * 2 / (0.57735 * 25), 0.05) << "+y at the top";
    EXPECT_NEAR(project({0, 0, -19}).z, 0, 1e-5) << "depth 0 at the near plane";
    EXPECT_NEAR(project({0, 0, 980}).z, 1, 1e-5) << "depth 1 at the far plane";

    // A quarter turn about Y takes +x to -z (towards the eye), scaling acts before moving.
    Vector3 turned = TransformCoord({1, 0, 0}, RotationY(1.5707964f));
    EXPECT_NEAR(turned.z, -1, 1e-6);
    Vector3 moved = TransformCoord({1, 0, 0}, Scaling(2, 1, 1) * Translation(0, 5, 0));
    EXPECT_FLOAT_EQ(moved.x, 2);
    EXPECT_FLOAT_EQ(moved.y, 5);
    Plane plane;
    Vector3 point{0, -10.8f, 0}, normal{0, 1, 0};
    EXPECT_FLOAT_EQ(PlaneFromPointNormal(&plane, &point, &normal)->d, 10.8f);
}

TEST(Sprite, SourceRectanglesAreClampedToTheTexture) {
    RecordingDevice device;
    TexturePtr texture = device.CreateTexture(512, 128, {}, "banner");
    Sprite sprite(device);
    sprite.Begin(SPRITE_ALPHABLEND);
    Rect tall{0, 0, 512, 168}, outside{600, 0, 700, 10};
    sprite.Draw(texture.get(), &tall, nullptr, nullptr, 0xFFFFFFFF);
    sprite.Draw(texture.get(), &outside, nullptr, nullptr, 0xFFFFFFFF);
    sprite.Draw(nullptr, &tall, nullptr, nullptr, 0xFFFFFFFF);
    sprite.End();
    ASSERT_EQ(device.Count(CallKind::Sprite), 2u) << "nothing is left of a rectangle outside";
    EXPECT_EQ(device.Calls()[0].rect.bottom, 128) << "168 rows of a 128-row texture";
    EXPECT_FALSE(device.Calls()[1].hasTexture) << "a missing picture is passed on, showing nothing";
}
