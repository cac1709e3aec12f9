// The scene table: which initialiser or frame function each SceneId runs, the releases the
// shut-down calls, and the scenes' parts of the state dump.
#pragma once

#include <cstdint>

#include "platform/graphics.h"
#include "platform/json.h"
#include "ui/scene_id.h"

using SceneInitFn = int32_t (*)();
using SceneFrameFn = int32_t (*)(platform::PresentParameters);

struct SceneEntry {
    SceneInitFn init = nullptr;   // even SceneIds
    SceneFrameFn frame = nullptr; // odd SceneIds
};

using scene::kSceneCount;

// One scene: its initialiser (at an even SceneId) and frame function (the next SceneId), its
// release, what it keeps for the whole run (released at shut-down only; may be null) and its
// part of the dump. A new mode is one row of the table in scenes.cpp.
struct SceneRow {
    const char* dumpKey;
    int32_t initId;
    SceneInitFn init;
    SceneFrameFn frame;
    void (*release)();
    void (*releaseRun)();
    void (*dump)(platform::JsonWriter&);
};

// Entries for SceneIds 0..15; an empty entry runs nothing, like an unknown SceneId.
// Tests may replace entries.
SceneEntry& SceneAt(int32_t sceneId);
void RestoreDefaultScenes();

// Whether the SceneId has a function to run.
bool SceneRuns(int32_t sceneId);
// Runs the function of the SceneId and returns the next SceneId.
int32_t RunScene(int32_t sceneId, const platform::PresentParameters& params);

// Every scene's release, in the shut-down order (also for scenes that never ran), then what
// the scenes keep for the run; called before the sound and graphics devices go.
void ReleaseAllScenes();

// Every scene's state as members of the dump object ("title":{...}, ...).
void DumpScenes(platform::JsonWriter& json);
