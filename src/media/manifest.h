// The one manifest of data files: every model, picture and sound the game reads, with the
// texture size and colour key it is loaded with. Scenes, the data check and the generator
// all read this table.
#pragma once

#include <cstdint>

#include "platform/types.h"

enum class DataKind { Model, Texture, Sound };

struct DataFile {
    const char* path; // exactly as the game names it
    DataKind kind;
    const char* what; // a short English description for reports
    int width = 0;    // textures: the size the game loads the picture at
    int height = 0;
    uint32_t colorKey = 0; // textures: ARGB; texels of this opaque colour become transparent
};

namespace datakey {
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kCyan = 0xFF00FFFF;
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kNone = 0x64FFFFFF; // has alpha 0x64: matches no opaque texel
constexpr uint32_t kPanel = 0xFFFFFFFE;
} // namespace datakey

inline constexpr DataFile kDataFiles[] = {
    {"./xFile/パズル用図形１.x", DataKind::Model, "block kind 1"},
    {"./xFile/パズル用図形２.x", DataKind::Model, "block kind 2"},
    {"./xFile/パズル用図形３.x", DataKind::Model, "block kind 3"},
    {"./xFile/パズル用図形４.x", DataKind::Model, "block kind 4"},
    {"./xFile/パズル用図形５.x", DataKind::Model, "block kind 5"},
    {"./xFile/パズル用図形６.x", DataKind::Model, "neutral block"},
    {"./xFile/パズル用図形７.x", DataKind::Model, "garbage block"},
    {"./xFile/パズル用図形８.x", DataKind::Model, "warning ceiling"},
    {"./xFile/パズル用図形９.x", DataKind::Model, "vanishing kind 1"},
    {"./xFile/パズル用図形１０.x", DataKind::Model, "vanishing kind 2"},
    {"./xFile/パズル用図形１１.x", DataKind::Model, "vanishing kind 3"},
    {"./xFile/パズル用図形１２.x", DataKind::Model, "vanishing kind 4"},
    {"./xFile/パズル用図形１３.x", DataKind::Model, "vanishing kind 5"},
    {"./bmp/背景.bmp", DataKind::Texture, "background", 1012, 1012, datakey::kCyan},
    {"./bmp/タイトル.bmp", DataKind::Texture, "title logo", 1012, 256, datakey::kWhite},
    {"./bmp/タイトルの文字.bmp", DataKind::Texture, "title caption", 512, 128, datakey::kWhite},
    {"./bmp/セレクト.bmp", DataKind::Texture, "mode select board", 1012, 1012, datakey::kWhite},
    {"./bmp/対戦相手.bmp", DataKind::Texture, "versus opponent labels", 256, 256, datakey::kWhite},
    {"./bmp/オプション.bmp", DataKind::Texture, "options screen", 880, 480, datakey::kWhite},
    {"./bmp/オプションの文字.bmp", DataKind::Texture, "options glyphs", 880, 480, datakey::kWhite},
    {"./bmp/キー設定.bmp", DataKind::Texture, "key screen", 880, 480, datakey::kWhite},
    {"./bmp/キー設定の文字.bmp", DataKind::Texture, "key screen labels", 1024, 1024,
     datakey::kWhite},
    {"./bmp/カーソル.bmp", DataKind::Texture, "cursor frame 1", 512, 256, datakey::kBlack},
    {"./bmp/カーソル２.bmp", DataKind::Texture, "cursor frame 2", 512, 256, datakey::kBlack},
    {"./bmp/カーソル３.bmp", DataKind::Texture, "cursor frame 3", 512, 256, datakey::kBlack},
    {"./bmp/カーソル４.bmp", DataKind::Texture, "cursor frame 4", 512, 256, datakey::kBlack},
    {"./bmp/カーソル５.bmp", DataKind::Texture, "cursor frame 5", 512, 256, datakey::kBlack},
    {"./bmp/壁.bmp", DataKind::Texture, "wall", 512, 512, datakey::kNone},
    {"./bmp/スコア表示.bmp", DataKind::Texture, "score panel", 260, 460, datakey::kPanel},
    {"./bmp/数字.bmp", DataKind::Texture, "small digits", 512, 64, datakey::kWhite},
    {"./bmp/数字2.bmp", DataKind::Texture, "large digits", 660, 100, datakey::kWhite},
    {"./bmp/初め.bmp", DataKind::Texture, "start banner", 512, 512, datakey::kWhite},
    {"./bmp/ゲームオーバー.bmp", DataKind::Texture, "game-over banner", 512, 128, datakey::kWhite},
    {"./bmp/結果.bmp", DataKind::Texture, "results screen", 880, 480, datakey::kWhite},
    {"./bmp/記録更新.bmp", DataKind::Texture, "new-record label", 350, 50, datakey::kWhite},
    {"./bmp/ポーズ.bmp", DataKind::Texture, "pause screen", 880, 480, datakey::kWhite},
    {"./bmp/ゲーム終了画面.bmp", DataKind::Texture, "end screen", 880, 480, datakey::kWhite},
    {"./bmp/レベル選択.bmp", DataKind::Texture, "level select screen", 880, 480, datakey::kWhite},
    {"./bmp/枠.bmp", DataKind::Texture, "level select frame", 172, 227, datakey::kWhite},
    {"./bmp/正解、不正解.bmp", DataKind::Texture, "cleared / failed banner", 512, 512,
     datakey::kWhite},
    {"./bmp/回数.bmp", DataKind::Texture, "swap count label", 250, 150, datakey::kWhite},
    {"./bmp/連鎖.bmp", DataKind::Texture, "demanded chain label", 250, 150, datakey::kWhite},
    {"./bmp/説明.bmp", DataKind::Texture, "challenge explanation", 880, 480, datakey::kWhite},
    {"./bmp/ポーズ2.bmp", DataKind::Texture, "challenge pause screen", 880, 480, datakey::kWhite},
    {"./bmp/ゲーム終了画面2.bmp", DataKind::Texture, "challenge end screen", 880, 480,
     datakey::kWhite},
    {"./bmp/真ん中の枠.bmp", DataKind::Texture, "versus divider", 16, 480, datakey::kWhite},
    {"./bmp/勝敗.bmp", DataKind::Texture, "versus result banner", 512, 512, datakey::kWhite},
    {"./bgm/title.WAV", DataKind::Sound, "title music"},
    {"./bgm/game.WAV", DataKind::Sound, "play music"},
    {"./bgm/勝利時.WAV", DataKind::Sound, "victory music"},
    {"./bgm/敗北時.WAV", DataKind::Sound, "defeat music"},
    {"./bgm/消える音.WAV", DataKind::Sound, "vanish effect"},
    {"./bgm/入れ替え.WAV", DataKind::Sound, "swap effect"},
};

// The manifest entry of a game path, or null.
constexpr const DataFile* FindDataFile(const char* path) {
    for (const DataFile& file : kDataFiles) {
        const char* a = file.path;
        const char* b = path;
        while (*a != 0 && *a == *b) {
            ++a;
            ++b;
        }
        if (*a == 0 && *b == 0) return &file;
    }
    return nullptr;
}

// The manifest entry of a path, found while compiling: a path that is not in the manifest
// does not compile.
consteval const DataFile& DataEntry(const char* path) {
    const DataFile* file = FindDataFile(path);
    if (!file) throw "not in the data manifest";
    return *file;
}

// The digit sheets: the figures 1..9, 0, then a colon, left to right; source rectangles
// (left, top, right, bottom) and the step between the digits of a number on screen.
inline constexpr platform::Rect kSmallDigitRects[11] = {
    {0, 0, 25, 32},    {26, 0, 50, 32},   {51, 0, 75, 32},   {76, 0, 100, 32},
    {101, 0, 125, 32}, {126, 0, 150, 32}, {151, 0, 175, 32}, {176, 0, 200, 32},
    {201, 0, 225, 32}, {226, 0, 250, 32}, {251, 0, 275, 32}};
inline constexpr platform::Rect kLargeDigitRects[11] = {
    {0, 0, 60, 100},    {61, 0, 120, 100},  {121, 0, 180, 100}, {181, 0, 240, 100},
    {241, 0, 300, 100}, {301, 0, 360, 100}, {361, 0, 420, 100}, {421, 0, 480, 100},
    {481, 0, 540, 100}, {541, 0, 600, 100}, {601, 0, 660, 100}};
inline constexpr float kSmallDigitStep = 20.0f;
inline constexpr float kLargeDigitStep = 38.0f;
inline constexpr int kDigitColon = 10; // the colon's index in the sheets
