// The endless mode's set-up, release and record files.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "media/texture.h"
#include "modes/endless/endless.h"
#include "platform/files.h"
#include "platform/system.h"
#include "play/files.h"

using namespace platform;

EndlessMode Endless;
EndlessRecords Records;

namespace {

const char kScoreFile[] = "./notepad/Hi Score.txt";
const char kKetaFile[] = "./notepad/Max keta.txt";

// Reads up to `count` whitespace-separated whole numbers; returns how many were read.
// Numbers beyond the 32-bit range are taken as its limits.
int ReadNumbers(const char* path, int64_t* out, int count, bool& opened) {
    std::vector<uint8_t> bytes;
    opened = ReadFileBytes(path, bytes, 1 << 16);
    if (!opened) return 0;
    std::string text(bytes.begin(), bytes.end());
    size_t pos = 0;
    int n = 0;
    while (n < count) {
        pos = text.find_first_not_of(" \t\r\n\f\v", pos);
        if (pos == std::string::npos) break;
        size_t end = text.find_first_of(" \t\r\n\f\v", pos);
        if (end == std::string::npos) end = text.size();
        const char* first = text.data() + pos;
        if (*first == '+') ++first;
        int64_t v = 0;
        auto r = std::from_chars(first, text.data() + end, v);
        if (r.ec == std::errc::result_out_of_range)
            v = *first == '-' ? std::numeric_limits<int32_t>::min()
                              : std::numeric_limits<int32_t>::max();
        else if (r.ec != std::errc() || r.ptr != text.data() + end)
            break;
        out[n++] = std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max());
        pos = end;
    }
    return n;
}

int32_t NonNegative(int64_t v) {
    return static_cast<int32_t>(std::max<int64_t>(v, 0));
}

// A digit count as the panel can show it: within the digit arrays and the value's own digits.
int32_t ValidKeta(int64_t keta, int32_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(keta, 0, std::min(15, DigitCount(value))));
}

bool WriteAtomically(const char* path, const std::string& text) {
    std::string target = DataPath(path);
    std::string temp = target + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    std::error_code ec;
    if (ok) std::filesystem::rename(temp, target, ec);
    if (!ok || ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

} // namespace

void ReadRecords() {
    int64_t v[6];
    bool opened = false;
    int n = ReadNumbers(kScoreFile, v, 6, opened);
    if (!opened) std::fputs("エラー", stdout);
    int32_t* scoreFields[6] = {&Records.RecScore, &Records.RecCombo, &Records.RecLevel,
                               &Records.RecHour,  &Records.RecMin,   &Records.RecSec};
    for (int i = 0; i < n; ++i) *scoreFields[i] = NonNegative(v[i]);

    n = ReadNumbers(kKetaFile, v, 3, opened);
    if (!opened) std::fputs("エラー", stdout);
    int32_t* ketaFields[3] = {&Records.RecScoreKeta, &Records.RecComboKeta, &Records.RecLevelKeta};
    for (int i = 0; i < n; ++i) *ketaFields[i] = NonNegative(v[i]);
    // Counts never show more digits than the arrays hold or the records have.
    Records.RecScoreKeta = ValidKeta(Records.RecScoreKeta, Records.RecScore);
    Records.RecComboKeta = ValidKeta(Records.RecComboKeta, Records.RecCombo);
    Records.RecLevelKeta = ValidKeta(Records.RecLevelKeta, Records.RecLevel);
    std::fflush(stdout);
}

void WriteRecords() {
    std::error_code ec;
    std::filesystem::create_directories(DataPath("./notepad"), ec);
    const EndlessRecords& r = Records;
    char text[160];
    std::snprintf(text, sizeof text, "%d %d %d %d %d %d", r.RecScore, r.RecCombo, r.RecLevel,
                  r.RecHour, r.RecMin, r.RecSec);
    if (!WriteAtomically(kScoreFile, text)) std::fputs("エラー", stdout);
    std::snprintf(text, sizeof text, "%d %d %d", r.RecScoreKeta, r.RecComboKeta, r.RecLevelKeta);
    if (!WriteAtomically(kKetaFile, text)) std::fputs("エラー", stdout);
    std::fflush(stdout);
}

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
