// The scene table: which initialiser or frame function each SceneId runs, the releases the
// shut-down calls, and the scenes' parts of the state dump.
#pragma once

#include <cstdint>

#include "platform/graphics.h"
#include "platform/json.h"

using SceneInitFn = int32_t (*)();
using SceneFrameFn = int32_t (*)(platform::PresentParameters);

struct SceneEntry {
    SceneInitFn init = nullptr;   // even SceneIds
    SceneFrameFn frame = nullptr; // odd SceneIds
};

constexpr int32_t kSceneCount = 12; // SceneIds 0..11 run scene functions; 12 and 13 quit
constexpr int32_t kQuitScene1 = 12;
constexpr int32_t kQuitScene2 = 13;

// Entries for SceneIds 0..11; an empty entry runs nothing, like an unknown SceneId.
// Tests may replace entries.
SceneEntry& SceneAt(int32_t sceneId);
void RestoreDefaultScenes();

// Whether the SceneId has a function to run.
bool SceneRuns(int32_t sceneId);
// Runs the function of the SceneId and returns the next SceneId.
int32_t RunScene(int32_t sceneId, const platform::PresentParameters& params);

// Every scene's release, in the shut-down order (also for scenes that never ran).
void ReleaseAllScenes();

// Every scene's state as members of the dump object ("title":{...}, ...).
void DumpScenes(platform::JsonWriter& json);
