// The challenge mode's set-up, release and the placing of a level.
#include <cstring>

#include "media/texture.h"
#include "modes/challenge/challenge.h"
#include "modes/challenge/levels.h"
#include "platform/system.h"
#include "play/files.h"
#include "ui/scene_id.h"

using namespace platform;

ChallengeMode Challenge;

int32_t ChallengeInit() {
    ChallengeMode& c = Challenge;
    GraphicsDevice& device = *Device();
    for (int i = 1; i <= 6; ++i) LoadModel(c.models[i], kBlockModelFiles[i]->path, device);
    for (int i = 0; i < 5; ++i) c.cursor[i] = LoadTexture(device, *kCursorPictureFiles[i]);
    c.background = LoadTexture(device, DataEntry("./bmp/背景.bmp"));
    c.wall = LoadTexture(device, DataEntry("./bmp/壁.bmp"));
    c.start = LoadTexture(device, DataEntry("./bmp/初め.bmp"));
    c.levelSelect = LoadTexture(device, DataEntry("./bmp/レベル選択.bmp"));
    c.frame = LoadTexture(device, DataEntry("./bmp/枠.bmp"));
    c.verdict = LoadTexture(device, DataEntry("./bmp/正解、不正解.bmp"));
    c.count = LoadTexture(device, DataEntry("./bmp/回数.bmp"));
    c.digits = LoadTexture(device, DataEntry("./bmp/数字2.bmp"));
    c.explanation = LoadTexture(device, DataEntry("./bmp/説明.bmp"));
    c.pause = LoadTexture(device, DataEntry("./bmp/ポーズ2.bmp"));
    c.endScreen = LoadTexture(device, DataEntry("./bmp/ゲーム終了画面2.bmp"));
    c.chainLabel = LoadTexture(device, DataEntry("./bmp/連鎖.bmp"));
    for (SpritePtr* s : {&c.startSprite, &c.verdictSprite, &c.levelSprite, &c.frameSprite,
                         &c.countSprite, &c.digitSprite, &c.explanationSprite}) {
        CreateSprite(device, *s);
        if (*s) (*s)->OnResetDevice();
    }
    LoadSound(c.music, DataEntry("./bgm/game.WAV").path);
    LoadSound(c.defeat, DataEntry("./bgm/敗北時.WAV").path);
    LoadSound(c.title, DataEntry("./bgm/title.WAV").path);
    LoadSound(c.victory, DataEntry("./bgm/勝利時.WAV").path);
    for (SoundVar* s : {&c.music, &c.defeat, &c.title, &c.victory}) SetVolume(*s, Vol);

    FillCellPositions(c);
    std::memset(c.grid, 0, sizeof c.grid);
    ResetPairs(c);
    ResetCursor(c);
    c.ModifierLatch = 0;
    c.BlockAlpha = 1.0f;
    c.Difficulty = 1;
    c.WakuX = 6.0f;
    c.WakuY = 119.0f;
    c.BlockCnt = c.TargetCombo = 0;
    for (int32_t& d : c.Hcom) d = 0;
    c.HcomSu = 1;
    c.DeleteComboSu = c.ComboFlg = c.ComboSu = c.MaxCombo = 0;
    c.ResultFlg = c.LoadFlg = c.GameFlg = c.SelectFlg = 0;
    c.EndSelectFlg = 1;
    c.KeyLatch = 1;
    c.MarkerL = {-5.2f, 3.25f, -8.0f};
    c.MarkerR = {5.5f, 3.25f, -8.0f};
    c.MarkerAngle = 0;
    c.CursorFrame = 0;
    return scene::kChallengeFrame;
}

void ChallengeRelease() {
    ChallengeMode& c = Challenge;
    for (ModelRecord& m : c.models) ReleaseModel(m);
    for (TexturePtr& t : c.cursor) t.reset();
    for (TexturePtr* t :
         {&c.background, &c.wall, &c.start, &c.levelSelect, &c.frame, &c.verdict, &c.count,
          &c.digits, &c.explanation, &c.pause, &c.endScreen, &c.chainLabel})
        t->reset();
    for (SpritePtr* s : {&c.startSprite, &c.verdictSprite, &c.levelSprite, &c.frameSprite,
                         &c.countSprite, &c.digitSprite, &c.explanationSprite})
        s->reset();
    for (SoundVar* s : {&c.music, &c.defeat, &c.title, &c.victory}) s->reset();
}

void ChallengeReleaseRun() {
    ReleaseSoundRecord(Challenge.vanish);
    ReleaseSwapSound(Challenge.swapSound);
}

void PlaceLevel(int32_t level) {
    if (level < 1 || level > kLevelCount) return;
    ChallengeMode& c = Challenge;
    const ChallengeLevel& lv = kChallengeLevels[level - 1];
    for (int i = 0; i < lv.count; ++i) {
        const LevelBlock& b = lv.blocks[i];
        c.grid[b.x][b.y][b.z] = b.kind;
    }
    c.BlockCnt = lv.swaps;
    c.TargetCombo = lv.chain;
    c.LoadFlg = 1;
}
