// The challenge mode's part of the state dump.
#include "modes/challenge/challenge.h"

using namespace platform;

void ChallengeDump(JsonWriter& json) {
    const ChallengeMode& c = Challenge;
    json.BeginObject()
        .Field("GameFlg", c.GameFlg)
        .Field("Difficulty", c.Difficulty)
        .Field("WakuX", c.WakuX)
        .Field("WakuY", c.WakuY)
        .Field("BlockCnt", c.BlockCnt)
        .Field("TargetCombo", c.TargetCombo)
        .Field("MaxCombo", c.MaxCombo)
        .Field("ResultFlg", c.ResultFlg)
        .Field("LoadFlg", c.LoadFlg)
        .Field("grid", c.grid)
        .Field("pairs", c.pairs)
        .Field("BlockX", c.BlockX)
        .Field("BlockY", c.BlockY)
        .Field("BlockZ", c.BlockZ)
        .Field("CursorFlg", c.CursorFlg)
        .Field("CursorPos", c.CursorPos)
        .Field("LeftClearFlg", c.LeftClearFlg)
        .Field("RightClearFlg", c.RightClearFlg)
        .Field("SelectFlg", c.SelectFlg)
        .Field("EndSelectFlg", c.EndSelectFlg)
        .Field("KeyLatch", c.KeyLatch)
        .Field("Hcom", c.Hcom)
        .Field("HcomSu", c.HcomSu)
        .Field("MarkerL", c.MarkerL)
        .Field("MarkerR", c.MarkerR)
        .Field("MarkerAngle", c.MarkerAngle)
        .Field("StartWidth", c.StartWidth)
        .Field("StartWait", c.StartWait)
        .Field("DeleteComboSu", c.DeleteComboSu)
        .Field("ComboFlg", c.ComboFlg)
        .Field("ComboSu", c.ComboSu)
        .Field("CursorFrame", c.CursorFrame)
        .Field("LevelSelectWait", c.LevelSelectWait)
        .Field("MoveWait", c.MoveWait)
        .Field("SwapWait", c.SwapWait)
        .Field("PauseWait", c.PauseWait)
        .Field("EndWait", c.EndWait)
        .EndObject();
}
