// The scene table.
#include "app/scenes.h"

#include <array>

#include "app/key_screen.h"
#include "menus/options.h"
#include "menus/select.h"
#include "menus/title.h"
#include "modes/challenge/challenge.h"
#include "modes/endless/endless.h"
#include "modes/versus/versus.h"

namespace {

using namespace scene;

// In the shut-down order: title, mode select, endless, versus, challenge, options, keys. The
// key screen's state is not dumped (it is reached from the options only, by hand).
constexpr SceneRow kScenes[] = {
    {"title", kTitleInit, TitleInit, TitleFrame, TitleRelease, nullptr, TitleDump},
    {"select", kSelectInit, SelectInit, SelectFrame, SelectRelease, nullptr, SelectDump},
    {"endless", kEndlessInit, EndlessInit, EndlessFrame, EndlessRelease, EndlessReleaseRun,
     EndlessDump},
    {"versus", kVersusInit, VersusInit, VersusFrame, VersusRelease, VersusReleaseRun, VersusDump},
    {"challenge", kChallengeInit, ChallengeInit, ChallengeFrame, ChallengeRelease,
     ChallengeReleaseRun, ChallengeDump},
    {"options", kOptionsInit, OptionsInit, OptionsFrame, OptionsRelease, nullptr, OptionsDump},
    {"keys", kKeysInit, KeysInit, KeysFrame, KeysRelease, nullptr, nullptr},
};

std::array<SceneEntry, kSceneCount> DefaultTable() {
    std::array<SceneEntry, kSceneCount> t{};
    for (const SceneRow& row : kScenes) {
        t[static_cast<size_t>(row.initId)].init = row.init;
        t[static_cast<size_t>(row.initId) + 1].frame = row.frame;
    }
    return t;
}

std::array<SceneEntry, kSceneCount>& Table() {
    static std::array<SceneEntry, kSceneCount> table = DefaultTable();
    return table;
}

} // namespace

SceneEntry& SceneAt(int32_t sceneId) {
    return Table().at(static_cast<size_t>(sceneId));
}

void RestoreDefaultScenes() {
    Table() = DefaultTable();
}

bool SceneRuns(int32_t sceneId) {
    if (sceneId < 0 || sceneId >= kSceneCount) return false;
    const SceneEntry& e = Table()[static_cast<size_t>(sceneId)];
    return sceneId % 2 == 0 ? e.init != nullptr : e.frame != nullptr;
}

int32_t RunScene(int32_t sceneId, const platform::PresentParameters& params) {
    const SceneEntry& e = Table()[static_cast<size_t>(sceneId)];
    return sceneId % 2 == 0 ? e.init() : e.frame(params);
}

void ReleaseAllScenes() {
    for (const SceneRow& row : kScenes) row.release();
    for (const SceneRow& row : kScenes)
        if (row.releaseRun) row.releaseRun();
}

void DumpScenes(platform::JsonWriter& json) {
    for (const SceneRow& row : kScenes) {
        if (!row.dump) continue;
        json.Key(row.dumpKey);
        row.dump(json);
    }
}
