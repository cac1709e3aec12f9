// Whole runs of the program through the headless harness: the state they start from, and a
// run driven by a key script.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/program.h"
#include "media/sound.h"
#include "menus/options.h"
#include "menus/select.h"
#include "menus/title.h"
#include "modes/challenge/challenge.h"
#include "modes/endless/endless.h"
#include "modes/versus/cpu.h"
#include "modes/versus/versus.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/null_backend.h"
#include "platform/random.h"

// Every scene and the run's state as at program start, whatever earlier tests left behind.
inline void ResetProgramState() {
    Title = {}, Select = {}, Options = {}, Endless = {}, Records = {}, Versus = {}, Challenge = {};
    Cpu = {}, Opponents = {};
    Vol = SeVol = 0;
    ResetRecordFiles();
    platform::TheKeyboard().Restore({});
    platform::ClearSeedOverride();
    platform::EnableDebugKeys(false);
}

// Runs from the title with the script's keys; ends after `frames` frames at the latest, so a
// fault fails and never hangs.
inline RunResult RunScript(const std::string& keys, int64_t frames = 10000) {
    CommandLine options;
    options.headless = true;
    options.frames = frames;
    KeyScript script;
    std::string error;
    EXPECT_TRUE(ParseKeyScript(keys, script, error)) << error;
    platform::UseVirtualClock(0);
    platform::TheKeyboard().ReleaseAll();
    auto backend = platform::CreateNullBackend();
    Harness harness(options, std::move(script));
    RunResult r = RunProgram(*backend, harness);
    platform::UseRealClock();
    return r;
}
