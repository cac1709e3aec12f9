// The small system services: keys as the game polls them, the frame slots, data paths and reading
// data files, the JSON writer and the sprite. The virtual clock, the random generator, the
// message queue and the matrix helpers are checked through whole runs (the records' playing time,
// runs repeated from their seed, the scene loop's quitting, and the whole game's traces, which
// hold each frame's camera and world matrices).
#include <gtest/gtest.h>

#include "platform/clock.h"
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
