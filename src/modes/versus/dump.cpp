// The versus mode's part of the state dump: the shared phase and menus, then each side.
#include "modes/versus/cpu.h"
#include "modes/versus/versus.h"

using namespace platform;

namespace {

void DumpSide(JsonWriter& json, const VersusSide& s) {
    json.BeginObject()
        .Field("grid", s.grid)
        .Field("pairs", s.pairs)
        .Field("NextRow", s.NextRow)
        .Field("NextRowReady", s.NextRowReady)
        .Field("BlockX", s.BlockX)
        .Field("BlockY", s.BlockY)
        .Field("BlockZ", s.BlockZ)
        .Field("CursorFlg", s.CursorFlg)
        .Field("CursorPos", s.CursorPos)
        .Field("LeftClearFlg", s.LeftClearFlg)
        .Field("RightClearFlg", s.RightClearFlg)
        .Field("cc", s.cc)
        .Field("EndCnt", s.EndCnt)
        .Field("Disturbance", s.Disturbance)
        .Field("combo", s.combo)
        .Field("chainFlag", s.chainFlag)
        .Field("lastCombo", s.lastCombo)
        .Field("maxCombo", s.maxCombo)
        .Field("ModifierLatch", s.ModifierLatch)
        .Field("ResultSlideY", s.ResultSlideY)
        .Field("ResultHold", s.ResultHold)
        .EndObject();
}

} // namespace

void VersusDump(JsonWriter& json) {
    const VersusMode& v = Versus;
    json.BeginObject()
        .Field("GameFlg", v.GameFlg)
        .Field("PauseSelect", v.PauseSelect)
        .Field("EndSelect", v.EndSelect)
        .Key("MarkerPos")
        .BeginArray()
        .Value(v.MarkerPos[0])
        .Value(v.MarkerPos[1])
        .EndArray()
        .Field("MenuSpin", v.MenuSpin)
        .Field("StartReveal", v.StartReveal)
        .Field("StartHold", v.StartHold)
        .Field("ZKeyWait", v.ZKeyWait);
    json.Key("left");
    DumpSide(json, v.left);
    json.Key("right");
    DumpSide(json, v.right);
    json.Key("cpu").BeginObject().Field("outcome", Cpu.outcome).Key("left");
    CpuDump(json, Cpu.left);
    json.Key("right");
    CpuDump(json, Cpu.right);
    json.EndObject();
    json.EndObject();
}
