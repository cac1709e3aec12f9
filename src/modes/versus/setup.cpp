// The versus mode's set-up and release: resources, both boards dealt, the clip plane.
#include <array>

#include "media/manifest.h"
#include "media/texture.h"
#include "modes/versus/cpu.h"
#include "modes/versus/versus.h"
#include "platform/keyboard.h"
#include "platform/random.h"
#include "platform/system.h"

using namespace platform;

VersusMode Versus;

const VersusKeys kLeftKeys = {&kVersusLeftKeys, -1, 'A', 'Q', 'Q'};
const VersusKeys kRightKeys = {&kVersusRightKeys, 'K', 'J', 'U', 'W'};

namespace {

// Models 1..13 are the manifest's models in their order.
constexpr auto kModelFiles = [] {
    std::array<const DataFile*, 14> files{};
    size_t n = 1;
    for (const DataFile& file : kDataFiles)
        if (file.kind == DataKind::Model && n < files.size()) files[n++] = &file;
    return files;
}();
static_assert(kModelFiles[7] == &DataEntry("./xFile/パズル用図形７.x"));
static_assert(kModelFiles[13] == &DataEntry("./xFile/パズル用図形１３.x"));

int32_t RandomKind() {
    return platform::rand() % 5 + 1;
}

// The cursor on the front face at (0, 0, 0), nothing cut away, nothing owed.
void ResetSide(VersusSide& s) {
    FillCellPositions(s);
    ResetCursor(s);
    s.BlockAlpha = 1.0f;
    s.cc = 0.0f;
    s.EndCnt = 0;
    s.NextRowReady = 0;
    s.lastCombo = s.chainFlag = s.maxCombo = s.combo = 0;
    s.Disturbance = 0;
    s.ModifierLatch = 0;
}

} // namespace

void DealBoards(BlockGrid left, BlockGrid right) {
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) {
                left[x][y][z] = y <= 2 ? RandomKind() : 0;
                right[x][y][z] = y <= 2 ? RandomKind() : 0;
            }
    BreakUpLines(left);
    BreakUpLines(right);
}

int32_t VersusInit() {
    VersusMode& v = Versus;
    GraphicsDevice& device = *Device();
    for (int i = 1; i < 14; ++i) LoadModel(v.models[i], kModelFiles[i]->path, device);
    v.cursor = LoadTexture(device, DataEntry("./bmp/カーソル.bmp"));
    v.background = LoadTexture(device, DataEntry("./bmp/背景.bmp"));
    v.wall = LoadTexture(device, DataEntry("./bmp/壁.bmp"));
    v.start = LoadTexture(device, DataEntry("./bmp/初め.bmp"));
    v.divider = LoadTexture(device, DataEntry("./bmp/真ん中の枠.bmp"));
    v.pause = LoadTexture(device, DataEntry("./bmp/ポーズ.bmp"));
    v.endScreen = LoadTexture(device, DataEntry("./bmp/ゲーム終了画面.bmp"));
    v.result = LoadTexture(device, DataEntry("./bmp/勝敗.bmp"));
    // A batch that could not be made stays empty and is never used.
    for (SpritePtr* sprite : {&v.startSprite, &v.dividerSprite, &v.resultSprite})
        if (Failed(CreateSprite(device, *sprite)) || !*sprite)
            sprite->reset();
        else
            (*sprite)->OnResetDevice();
    LoadSound(v.music, DataEntry("./bgm/game.WAV").path);
    SetVolume(v.music, Vol);
    LoadSound(v.defeat, DataEntry("./bgm/敗北時.WAV").path);
    SetVolume(v.defeat, Vol);

    ResetPairs(v.left);
    ResetPairs(v.right);
    DealBoards(v.left.grid, v.right.grid);
    ResetSide(v.left);
    ResetSide(v.right);
    v.GameFlg = 0;
    v.PauseSelect = 0;
    v.EndSelect = 1;
    v.MarkerPos[0] = {-5.7f, 1.7f, -8.0f};
    v.MarkerPos[1] = {5.5f, 1.7f, -8.0f};
    v.MenuSpin = 0;

    // Everything below world height -9 is cut off while clipping is on: the coming row rises
    // into view from below.
    Plane plane;
    Vector3 point{0.0f, -9.0f, 0.0f}, normal{0.0f, 1.0f, 0.0f};
    device.SetClipPlane(0, *PlaneFromPointNormal(&plane, &point, &normal));
    device.SetRenderState(RS_CLIPPLANEENABLE, CLIPPLANE0);
    CpuStart();
    return scene::kVersusFrame;
}

void VersusRelease() {
    VersusMode& v = Versus;
    CpuRelease();
    for (ModelRecord& m : v.models) ReleaseModel(m);
    for (TexturePtr* t : {&v.cursor, &v.background, &v.wall, &v.start, &v.divider, &v.pause,
                          &v.endScreen, &v.result})
        t->reset();
    v.startSprite.reset();
    v.dividerSprite.reset();
    v.resultSprite.reset();
    v.music.reset();
    v.defeat.reset();
}

void VersusReleaseRun() {
    ReleaseSoundRecord(Versus.vanish);
    ReleaseSwapSound(Versus.swapSound);
}
