// A whole run of the program through the headless harness, driven by a key script.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/program.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/null_backend.h"

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
