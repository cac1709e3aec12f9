// The scene table.
#include "app/scenes.h"

#include <array>

#include "menus/options.h"
#include "menus/select.h"
#include "menus/title.h"
#include "modes/endless/endless.h"

namespace {

struct SceneModule {
    const char* dumpKey;
    void (*release)();
    void (*dump)(platform::JsonWriter&);
};

// Shut-down order: title, mode select, endless, versus, challenge, options.
constexpr SceneModule kModules[] = {
    {"title", TitleRelease, TitleDump},
    {"select", SelectRelease, SelectDump},
    {"endless", EndlessRelease, EndlessDump},
    {"options", OptionsRelease, OptionsDump},
};

std::array<SceneEntry, kSceneCount> DefaultTable() {
    std::array<SceneEntry, kSceneCount> t{};
    t[0].init = TitleInit;
    t[1].frame = TitleFrame;
    t[2].init = SelectInit;
    t[3].frame = SelectFrame;
    t[4].init = EndlessInit;
    t[5].frame = EndlessFrame;
    t[10].init = OptionsInit;
    t[11].frame = OptionsFrame;
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
    for (const auto& m : kModules) m.release();
}

void DumpScenes(platform::JsonWriter& json) {
    for (const auto& m : kModules) {
        json.Key(m.dumpKey);
        m.dump(json);
    }
}
