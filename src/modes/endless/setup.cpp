// The endless mode's set-up and release.
#include <algorithm>

#include "media/texture.h"
#include "modes/endless/endless.h"
#include "platform/system.h"
#include "play/files.h"

using namespace platform;

EndlessMode Endless;

int32_t EndlessInit() {
    EndlessMode& e = Endless;
    GraphicsDevice& device = *Device();
    for (int i = 1; i < 14; ++i) // the garbage block (7) never shows in this mode
        if (i != 7) LoadModel(e.models[i], kBlockModelFiles[i]->path, device);
    for (int i = 0; i < 5; ++i) e.cursor[i] = LoadTexture(device, *kCursorPictureFiles[i]);
    e.background = LoadTexture(device, DataEntry("./bmp/背景.bmp"));
    e.wall = LoadTexture(device, DataEntry("./bmp/壁.bmp"));
    e.panel = LoadTexture(device, DataEntry("./bmp/スコア表示.bmp"));
    e.digits = LoadTexture(device, DataEntry("./bmp/数字.bmp"));
    e.start = LoadTexture(device, DataEntry("./bmp/初め.bmp"));
    e.gameOver = LoadTexture(device, DataEntry("./bmp/ゲームオーバー.bmp"));
    e.results = LoadTexture(device, DataEntry("./bmp/結果.bmp"));
    e.digits2 = LoadTexture(device, DataEntry("./bmp/数字2.bmp"));
    e.newRecord = LoadTexture(device, DataEntry("./bmp/記録更新.bmp"));
    e.pause = LoadTexture(device, DataEntry("./bmp/ポーズ.bmp"));
    e.endScreen = LoadTexture(device, DataEntry("./bmp/ゲーム終了画面.bmp"));
    // One sprite batch serves every 2D element.
    CreateSprite(device, e.sprite);
    e.sprite->OnResetDevice();
    LoadSound(e.music, DataEntry("./bgm/game.WAV").path);
    SetVolume(e.music, Vol);
    LoadSound(e.defeat, DataEntry("./bgm/敗北時.WAV").path);
    SetVolume(e.defeat, Vol);

    FillCellPositions(e);
    DealBoard(e.grid);

    e.NextRowReady = 0;
    ResetCursor(e);
    e.TopRowFree = 1;
    e.TopWarn = 0;
    e.CursorFrame = 0;
    ResetPairs(e);
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
    return scene::kEndlessFrame;
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

void EndlessReleaseRun() {
    ReleaseSoundRecord(Endless.vanish);
    ReleaseSwapSound(Endless.swapSound);
}
