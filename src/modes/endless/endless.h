// The endless mode: a rising board, score, chain, level and time, records kept in two files.
#pragma once

#include <cstdint>
#include <string>

#include "media/model.h"
#include "media/sound.h"
#include "platform/graphics.h"
#include "platform/json.h"
#include "play/board.h"
#include "play/draw.h"
#include "ui/digits.h"
#include "ui/scene_id.h"

struct EndlessMode : RisingBoard {
    float BlockAlpha = 1.0f;
    int32_t CursorFrame = 0;

    // Score, chain, level and time.
    Digits ScoreDigits; // MatchLines adds to slot 0
    int32_t ScoreValue = 0;
    int32_t combo = 0, ComboFlg = 0, ComboSum = 0, ComboSu2 = 0;
    Digits Combo; // ComboSum for display
    int32_t LvSum = 0;
    Digits Lv; // the level; its count is LvSu
    int32_t Time[15] = {};
    int32_t Hour = 0, Min = 0, Sec = 0;
    uint32_t StartTime = 0;
    int32_t GameFlg = 0; // 0,1 start banner, 2 play, 3 game over, 4 results, 5 pause, 6 end menu
    int32_t PauseSelect = 0; // 0 resume, 1 restart, 2 mode select
    int32_t EndSelect = 1;   // 1 play again, 2 mode select
    platform::Vector3 MarkerL, MarkerR;
    int32_t MarkerAngle = 0;
    int32_t ScoreRecFlg = 0, ComboRecFlg = 0, TimeRecFlg = 0, LevelRecFlg = 0;

    // Frame counters kept from one game to the next.
    int32_t MoveWait = 0, AnimWait = 0, SwapWait = 0, PauseMenuWait = 0, EndMenuWait = 0;
    int32_t ZKeyWait = 0, StartWidth = 0, StartWait = 0, ResultHold = 0;
    float ResultSlideY = -168.0f;
    CursorPulse pulse; // the cursor's colour pulse

    // Resources. Models are indexed by their file number (1..6, 8..13).
    ModelRecord models[14];
    platform::TexturePtr cursor[5], background, wall, panel, digits, start, gameOver, results,
        digits2, newRecord, pause, endScreen;
    platform::SpritePtr sprite;
    SoundVar music, defeat;
    SwapSound swapSound;
    SoundRecord vanish; // loaded on first use, kept for the run
};
extern EndlessMode Endless;

// The records, kept for the run and in the record folder (platform::RecordFolder, the data
// folder's notepad/ unless chosen otherwise); only a successful read replaces them.
struct EndlessRecords {
    int32_t RecScore = 0, RecCombo = 0, RecLevel = 0, RecHour = 0, RecMin = 0, RecSec = 0;
    int32_t RecScoreKeta = 0, RecComboKeta = 0, RecLevelKeta = 0;
};
extern EndlessRecords Records;

int32_t EndlessInit(); // -> 5
void EndlessRelease();
void EndlessReleaseRun(); // the vanish sound and the swap-sound pool, kept for the run
void EndlessUpdate();
void EndlessDraw();
int32_t EndlessFrame(platform::PresentParameters params); // -> 5, 4 (again) or 2
void EndlessDump(platform::JsonWriter& json);

// Records: read at set-up, written (through a temporary file) when the mode is left. A file
// that exists but cannot be read is never rewritten in that run.
void ReadRecords();
void WriteRecords();
// The record files, the scores first.
inline constexpr const char* kRecordFileNames[2] = {"Hi Score.txt", "Max keta.txt"};
// The records as the game reads them from the texts of the two files (null: not read),
// digit counts made valid; and the texts it writes.
void ParseRecordFiles(EndlessRecords& r, const std::string* scoreText, const std::string* ketaText);
std::string ScoreFileText(const EndlessRecords& r);
std::string KetaFileText(const EndlessRecords& r);
// Forgets which files failed to read, as at the start of a run.
void ResetRecordFiles();
