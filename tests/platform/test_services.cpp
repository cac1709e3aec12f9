// The small system services: keys as the game polls them, the clocks, the random generator,
// the message queue, data paths, the JSON writer and the matrix helpers.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/clock.h"
#include "platform/d3dmath.h"
#include "platform/files.h"
#include "platform/json.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/random.h"

using namespace platform;

TEST(Keyboard, HeldKeysAndPressesSinceTheLastQuery) {
    Keyboard k;
    EXPECT_EQ(k.Query('Z'), 0);
    k.SetKey('Z', true);
    EXPECT_EQ(k.Query('Z') & 0xFFFF, 0x8001) << "held, and pressed since the last query";
    EXPECT_EQ(k.Query('Z') & 0xFFFF, 0x8000);
    k.SetKey('Z', false);
    EXPECT_EQ(k.Query('Z'), 0);
    // A tap between two queries still counts once.
    k.SetKey('X', true);
    k.SetKey('X', false);
    EXPECT_EQ(k.Query('X'), 1);
    EXPECT_EQ(k.Query('X'), 0);
    EXPECT_EQ(k.Query(-4), 0);
    EXPECT_EQ(k.Query(999), 0);
    EXPECT_EQ(KeyFromName("SHIFT"), VK_SHIFT);
    EXPECT_EQ(KeyFromName("Q"), 'Q');
    EXPECT_EQ(KeyFromName("shift"), -1);
}

TEST(Clock, VirtualClockMovesExactlyASecondEverySixtyFrames) {
    UseVirtualClock(500);
    EXPECT_EQ(timeGetTime(), 500u);
    for (int i = 0; i < 59; ++i) AdvanceFrame();
    EXPECT_EQ(timeGetTime(), 500u + 983u);
    AdvanceFrame();
    EXPECT_EQ(timeGetTime(), 1500u);
    UseRealClock();
    EXPECT_FALSE(VirtualClockInUse());
    EXPECT_EQ(timeBeginPeriod(1), 0u);
    EXPECT_EQ(timeEndPeriod(1), 0u);
}

TEST(Random, SameSeedSameGameAndTheOverrideWins) {
    platform::srand(42);
    std::vector<int> a;
    for (int i = 0; i < 100; ++i) a.push_back(platform::rand());
    for (int v : a) {
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 32767);
    }
    platform::srand(42);
    for (int v : a) EXPECT_EQ(platform::rand(), v);
    platform::srand(1);
    EXPECT_EQ(platform::rand(), 41) << "the classic first value for seed 1";

    OverrideSeed(42);
    platform::srand(7);
    EXPECT_EQ(platform::rand(), a[0]);
    ClearSeedOverride();
}

TEST(Messages, OneMessageAtATimeAndTheQuitMessageEndsTheLoop) {
    ResetMessages();
    static int dispatched = 0;
    SetWindowProc([](uint32_t, uintptr_t, intptr_t) -> intptr_t {
        ++dispatched;
        return 0;
    });
    Msg m;
    EXPECT_FALSE(PeekMessage(&m));
    PostMessage({WM_KEYDOWN, 'A', 0});
    PostQuitMessage(3);
    ASSERT_TRUE(PeekMessage(&m));
    EXPECT_EQ(m.message, static_cast<uint32_t>(WM_KEYDOWN));
    EXPECT_EQ(GetMessage(&m), 1);
    DispatchMessage(m);
    EXPECT_EQ(dispatched, 1);
    EXPECT_EQ(GetMessage(&m), 0);
    EXPECT_EQ(m.wParam, 3u);
    EXPECT_FALSE(PeekMessage(&m));
    SetWindowProc(nullptr);
}

TEST(Files, GamePathsAreTakenFromTheDataFolder) {
    SetDataRoot("/data/here");
    EXPECT_EQ(DataPath("./bmp/背景.bmp"), "/data/here/bmp/背景.bmp");
    EXPECT_EQ(DataPath("notepad/Hi Score.txt"), "/data/here/notepad/Hi Score.txt");
    EXPECT_EQ(DataPath("/abs/file"), "/abs/file");
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(ReadFileBytes("./missing.bin", bytes, 100));
    SetDataRoot("");
    EXPECT_EQ(DataRoot(), ".");
}

TEST(Json, WritesNestedValuesWithShortestFloats) {
    JsonWriter j;
    j.BeginObject()
        .Field("a", 1)
        .Field("f", 0.1f)
        .Field("s", "x\"y\n")
        .Key("v")
        .Value(Vector3{1.5f, -2.0f, 0.0f})
        .Key("n")
        .BeginArray()
        .Value(true)
        .Null()
        .EndArray()
        .EndObject();
    EXPECT_EQ(j.str(), R"({"a":1,"f":0.1,"s":"x\"y\n","v":[1.5,-2,0],"n":[true,null]})");
}

TEST(Matrices, StandardCameraPutsTheOriginInTheMiddleAndPlusXToTheRight) {
    Vector3 eye{0, 0, -20}, at{0, 0, 0}, up{0, 1, 0};
    Matrix view, proj;
    MatrixLookAtLH(&view, &eye, &at, &up);
    MatrixPerspectiveFovLH(&proj, 1.0471976f, 1.8333334f, 1.0f, 1000.0f);
    auto project = [&](Vector3 p) {
        Matrix vp = view * proj;
        float x = p.x * vp.m[0][0] + p.y * vp.m[1][0] + p.z * vp.m[2][0] + vp.m[3][0];
        float y = p.x * vp.m[0][1] + p.y * vp.m[1][1] + p.z * vp.m[2][1] + vp.m[3][1];
        float z = p.x * vp.m[0][2] + p.y * vp.m[1][2] + p.z * vp.m[2][2] + vp.m[3][2];
        float w = p.x * vp.m[0][3] + p.y * vp.m[1][3] + p.z * vp.m[2][3] + vp.m[3][3];
        return Vector3{x / w, y / w, z / w};
    };
    Vector3 o = project({0, 0, 0});
    EXPECT_NEAR(o.x, 0, 1e-6);
    EXPECT_NEAR(o.y, 0, 1e-6);
    EXPECT_GT(project({1, 0, 0}).x, 0) << "+x on the right";
    EXPECT_GT(project({0, 1, 0}).y, 0) << "+y at the top";
    EXPECT_NEAR(project({0, 0, -19}).z, 0, 1e-5) << "depth 0 at the near plane";
    EXPECT_NEAR(project({0, 0, 980}).z, 1, 1e-5) << "depth 1 at the far plane";
    // The screen position used to place pictures: x = 440 + 440 x / (1.05848 (z + 20)).
    Vector3 p = project({3, 2, 5});
    EXPECT_NEAR(440 + 440 * p.x, 440 + 440 * 3 / (1.05848 * 25), 0.05);
    EXPECT_NEAR(240 - 240 * p.y, 240 - 240 * 2 / (0.57735 * 25), 0.05);

    Matrix r = RotationY(0.5f) * RotationY(-0.5f);
    EXPECT_NEAR(r.m[0][0], 1, 1e-6);
    Vector3 moved = TransformCoord({1, 0, 0}, Scaling(2, 1, 1) * Translation(0, 5, 0));
    EXPECT_FLOAT_EQ(moved.x, 2);
    EXPECT_FLOAT_EQ(moved.y, 5);
    Plane plane;
    Vector3 point{0, -10.8f, 0}, normal{0, 1, 0};
    PlaneFromPointNormal(&plane, &point, &normal);
    EXPECT_FLOAT_EQ(plane.d, 10.8f);
}
