// The endless mode's set-up and release.
#include <algorithm>

#include "media/texture.h"
#include "modes/endless/endless.h"
#include "platform/random.h"
#include "platform/system.h"

using namespace platform;

EndlessMode Endless;

namespace {

constexpr int32_t kEndlessFrame = 5;

const char* const kModelFiles[14] = {
    nullptr,
    "./xFile/パズル用図形１.x",
    "./xFile/パズル用図形２.x",
    "./xFile/パズル用図形３.x",
    "./xFile/パズル用図形４.x",
    "./xFile/パズル用図形５.x",
    "./xFile/パズル用図形６.x",
    nullptr, // the garbage block never shows in this mode
    "./xFile/パズル用図形８.x",
    "./xFile/パズル用図形９.x",
    "./xFile/パズル用図形１０.x",
    "./xFile/パズル用図形１１.x",
    "./xFile/パズル用図形１２.x",
    "./xFile/パズル用図形１３.x",
};

const char* const kCursorFiles[5] = {"./bmp/カーソル.bmp", "./bmp/カーソル２.bmp",
                                     "./bmp/カーソル３.bmp", "./bmp/カーソル４.bmp",
                                     "./bmp/カーソル５.bmp"};

int32_t RandomKind() {
    return platform::rand() % 5 + 1;
}

// Three rows of random blocks, then one forward pass that breaks up lines of three.
void DealBoard(BlockGrid g) {
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) g[x][y][z] = y <= 2 ? RandomKind() : 0;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y <= 2; ++y)
            for (int z = 0; z < kDepth; ++z) {
                int32_t& c = g[x][y][z];
                if (x <= 3 && c == g[x + 1][y][z] && c == g[x + 2][y][z])
                    while (c == g[x + 1][y][z]) c = RandomKind();
                if (c == g[x][y + 1][z] && c == g[x][y + 2][z])
                    while (c == g[x][y + 1][z]) c = RandomKind();
                if (z <= 2 && c == g[x][y][z + 1] && c == g[x][y][z + 2])
                    while (c == g[x][y][z + 1]) c = RandomKind();
            }
}

} // namespace

int32_t EndlessInit() {
    EndlessMode& e = Endless;
    GraphicsDevice& device = *Device();
    for (int i = 1; i < 14; ++i)
        if (kModelFiles[i]) LoadModel(e.models[i], kModelFiles[i], device);
    for (int i = 0; i < 5; ++i)
        e.cursor[i] = LoadTexture(device, kCursorFiles[i], 512, 256, 0xFF000000);
    e.background = LoadTexture(device, "./bmp/背景.bmp", 1012, 1012, 0xFF00FFFF);
    e.wall = LoadTexture(device, "./bmp/壁.bmp", 512, 512, 0x64FFFFFF);
    e.panel = LoadTexture(device, "./bmp/スコア表示.bmp", 260, 460, 0xFFFFFFFE);
    e.digits = LoadTexture(device, "./bmp/数字.bmp", 512, 64, 0xFFFFFFFF);
    e.start = LoadTexture(device, "./bmp/初め.bmp", 512, 512, 0xFFFFFFFF);
    e.gameOver = LoadTexture(device, "./bmp/ゲームオーバー.bmp", 512, 128, 0xFFFFFFFF);
    e.results = LoadTexture(device, "./bmp/結果.bmp", 880, 480, 0xFFFFFFFF);
    e.digits2 = LoadTexture(device, "./bmp/数字2.bmp", 660, 100, 0xFFFFFFFF);
    e.newRecord = LoadTexture(device, "./bmp/記録更新.bmp", 350, 50, 0xFFFFFFFF);
    e.pause = LoadTexture(device, "./bmp/ポーズ.bmp", 880, 480, 0xFFFFFFFF);
    e.endScreen = LoadTexture(device, "./bmp/ゲーム終了画面.bmp", 880, 480, 0xFFFFFFFF);
    // One sprite batch serves every 2D element.
    CreateSprite(device, e.sprite);
    e.sprite->OnResetDevice();
    LoadSound(e.music, "./bgm/game.WAV");
    SetVolume(e.music, Vol);
    LoadSound(e.defeat, "./bgm/敗北時.WAV");
    SetVolume(e.defeat, Vol);

    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                e.CellPos[x][y][z] = {static_cast<float>(x), static_cast<float>(y),
                                      static_cast<float>(z)};
    DealBoard(e.grid);

    e.NextRowReady = 0;
    e.CursorPos = e.CellPos[0][0][0];
    e.BlockX = e.BlockY = e.BlockZ = 0;
    e.CursorFlg = 0;
    e.LeftClearFlg = -1;
    e.RightClearFlg = 6;
    e.TopRowFree = 1;
    e.TopWarn = 0;
    e.CursorFrame = 0;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) {
                e.pairs[x][y][z][0] = 0;
                e.pairs[x][y][z][1] = kVanishFrames;
            }
    e.ScoreDigits = Digits{};
    e.ScoreValue = 0;
    e.ComboFlg = e.ComboSum = e.ComboSu2 = 0;
    e.Combo = Digits{};
    e.LvSum = 0;
    e.Lv = Digits{};
    e.Lv.d[0] = 1;
    std::fill(std::begin(e.Time), std::end(e.Time), 0);
    e.Hour = e.Min = e.Sec = 0;
    e.GameFlg = 0;
    e.PauseSelect = 0;
    e.EndSelect = 1;
    e.ScoreRecFlg = e.ComboRecFlg = e.TimeRecFlg = e.LevelRecFlg = 0;

    ReadRecords();

    Plane plane;
    Vector3 point{0.0f, -10.8f, 0.0f}, normal{0.0f, 1.0f, 0.0f};
    device.SetClipPlane(0, *PlaneFromPointNormal(&plane, &point, &normal));
    device.SetRenderState(RS_CLIPPLANEENABLE, CLIPPLANE0);

    e.BlockAlpha = 1.0f;
    e.EndCnt = 0;
    e.MarkerAngle = 0;
    e.cc = 0.0f;
    e.combo = 0;
    e.ModifierLatch = 0;
    e.MarkerL = {-5.7f, 1.7f, -8.0f};
    e.MarkerR = {5.5f, 1.7f, -8.0f};
    return kEndlessFrame;
}

void EndlessRelease() {
    EndlessMode& e = Endless;
    for (ModelRecord& m : e.models) ReleaseModel(m);
    for (TexturePtr& t : e.cursor) t.reset();
    for (TexturePtr* t : {&e.background, &e.wall, &e.panel, &e.digits, &e.start, &e.gameOver,
                          &e.results, &e.digits2, &e.newRecord, &e.pause, &e.endScreen})
        t->reset();
    e.sprite.reset();
    e.music.reset();
    e.defeat.reset();
    if (e.GameFlg >= 4) WriteRecords();
}
