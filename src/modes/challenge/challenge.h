// The challenge mode: fifteen fixed puzzles chosen on a level select, each to be emptied with
// exactly its swaps while reaching exactly its demanded longest chain.
#pragma once

#include <cstdint>

#include "media/model.h"
#include "media/sound.h"
#include "platform/graphics.h"
#include "platform/json.h"
#include "play/board.h"
#include "play/draw.h"

struct ChallengeMode : PlayBoard {
    int32_t Difficulty = 1;             // the chosen level, 1..15
    float WakuX = 6.0f, WakuY = 119.0f; // the level-select frame
    int32_t BlockCnt = 0;               // swaps left
    int32_t TargetCombo = 0;            // demanded longest chain
    int32_t Hcom[5] = {};               // digits of BlockCnt, [0] the ones
    int32_t HcomSu = 1;                 // digits shown
    int32_t DeleteComboSu = 0;          // the running chain's factor
    int32_t ComboFlg = 0;               // 1 while something is left to fall
    int32_t ComboSu = 0;                // the factor after the last pass
    int32_t MaxCombo = 0;               // longest chain of the attempt
    int32_t ResultFlg = 0;              // 0 undecided, 1 cleared, 2 failed
    int32_t LoadFlg = 0;                // 1 once the level is placed
    int32_t GameFlg = 0;                // the phase, 0..8 (ChallengeFrame)
    int32_t SelectFlg = 0;              // pause item: 0 resume, 1 retry, 2 level select, 3 leave
    int32_t EndSelectFlg = 1;           // end item: 1 retry, 2 level select, 3 leave
    int32_t KeyLatch = 1;               // 1 while the Z press has been used
    platform::Vector3 MarkerL{-5.2f, 3.25f, -8.0f}, MarkerR{5.5f, 3.25f, -8.0f};
    int32_t MarkerAngle = 0;
    float BlockAlpha = 1.0f;
    int32_t CursorFrame = 0; // the cursor picture shown, 0..4

    // Frame counters kept from one visit to the next.
    int32_t LevelSelectWait = 0, MoveWait = 0, SwapWait = 0, PauseWait = 0, EndWait = 0;
    int32_t StartWidth = 0, StartWait = 0, AnimWait = 0;
    CursorPulse pulse;

    // Resources. Models 1..6 by file number.
    ModelRecord models[14];
    platform::TexturePtr cursor[5], background, wall, start, levelSelect, frame, verdict, count,
        digits, explanation, pause, endScreen, chainLabel;
    platform::SpritePtr startSprite, verdictSprite, levelSprite, frameSprite, countSprite,
        digitSprite, explanationSprite;
    SoundVar music, defeat, title, victory;
    SwapSound swapSound;
    SoundRecord vanish; // released at every attempt reset
};
extern ChallengeMode Challenge;

int32_t ChallengeInit(); // -> 9
void ChallengeRelease();
void ChallengeReleaseRun(); // the vanish sound and the swap-sound pool
// Writes level 1..15 onto the grid (the caller has emptied it) with its swaps and chain.
void PlaceLevel(int32_t level);
void ChallengeUpdate();
void ChallengeDraw();
int32_t ChallengeFrame(platform::PresentParameters params); // -> 9 or 2
void ChallengeDump(platform::JsonWriter& json);
