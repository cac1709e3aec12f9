// The endless mode's part of the state dump.
#include "modes/endless/endless.h"

using namespace platform;

void EndlessDump(JsonWriter& json) {
    const EndlessMode& e = Endless;
    const EndlessRecords& r = Records;
    json.BeginObject().Field("GameFlg", e.GameFlg);
    json.Key("grid").BeginArray();
    for (const auto& slice : e.grid) {
        json.BeginArray();
        for (const auto& row : slice) {
            json.BeginArray();
            for (int32_t v : row) json.Value(v);
            json.EndArray();
        }
        json.EndArray();
    }
    json.EndArray().Key("pairs").BeginArray();
    for (const auto& slice : e.pairs) {
        json.BeginArray();
        for (const auto& row : slice) {
            json.BeginArray();
            for (const auto& pair : row) json.BeginArray().Value(pair[0]).Value(pair[1]).EndArray();
            json.EndArray();
        }
        json.EndArray();
    }
    json.EndArray().Key("NextRow").BeginArray();
    for (const auto& slice : e.NextRow) {
        json.BeginArray();
        for (int32_t v : slice) json.Value(v);
        json.EndArray();
    }
    json.EndArray()
        .Field("NextRowReady", e.NextRowReady)
        .Field("BlockX", e.BlockX)
        .Field("BlockY", e.BlockY)
        .Field("BlockZ", e.BlockZ)
        .Field("CursorFlg", e.CursorFlg)
        .Field("CursorPos", e.CursorPos)
        .Field("LeftClearFlg", e.LeftClearFlg)
        .Field("RightClearFlg", e.RightClearFlg)
        .Field("cc", e.cc)
        .Field("TopRowFree", e.TopRowFree)
        .Field("TopWarn", e.TopWarn)
        .Field("EndCnt", e.EndCnt)
        .Field("CursorFrame", e.CursorFrame)
        .Field("ScoreValue", e.ScoreValue)
        .Field("combo", e.combo)
        .Field("ComboFlg", e.ComboFlg)
        .Field("ComboSum", e.ComboSum)
        .Field("LvSum", e.LvSum)
        .Field("LvSu", e.Lv.count)
        .Field("Time", e.Hour * 3600 + e.Min * 60 + e.Sec)
        .Field("Hour", e.Hour)
        .Field("Min", e.Min)
        .Field("Sec", e.Sec)
        .Field("PauseSelect", e.PauseSelect)
        .Field("EndSelect", e.EndSelect)
        .Field("MarkerL", e.MarkerL)
        .Field("MarkerR", e.MarkerR)
        .Field("MarkerAngle", e.MarkerAngle)
        .Field("ScoreRecFlg", e.ScoreRecFlg)
        .Field("ComboRecFlg", e.ComboRecFlg)
        .Field("TimeRecFlg", e.TimeRecFlg)
        .Field("LevelRecFlg", e.LevelRecFlg)
        .Field("MoveWait", e.MoveWait)
        .Field("SwapWait", e.SwapWait)
        .Field("ZKeyWait", e.ZKeyWait)
        .Field("StartWidth", e.StartWidth)
        .Field("StartWait", e.StartWait)
        .Field("ResultSlideY", e.ResultSlideY)
        .Field("ResultHold", e.ResultHold)
        .Field("RecScore", r.RecScore)
        .Field("RecCombo", r.RecCombo)
        .Field("RecLevel", r.RecLevel)
        .Field("RecHour", r.RecHour)
        .Field("RecMin", r.RecMin)
        .Field("RecSec", r.RecSec)
        .Field("RecScoreKeta", r.RecScoreKeta)
        .Field("RecComboKeta", r.RecComboKeta)
        .Field("RecLevelKeta", r.RecLevelKeta)
        .EndObject();
}
