// Start-up, the main loop and the shut-down of the game.
#pragma once

#include <cstdint>

#include "app/harness.h"
#include "platform/graphics.h"
#include "platform/system.h"

// Program-wide state of the shell.
extern int32_t SceneId;
extern uint8_t QuitFlag;
extern platform::PresentParameters PresentParams;

// What a run leaves behind for the dump and the caller.
struct RunResult {
    bool started = false; // false: start-up failed (a message was shown)
    int exitCode = 0;     // the wParam of the last message retrieved
    int64_t frames = 0;   // scene-function calls made
    RunEnd end = RunEnd::kNone;
};

// Runs the game on the given system services: start-up, the loop until quit, shut-down.
RunResult RunProgram(platform::Backend& backend, Harness& harness);

// The window procedure: closing the window and Escape post the quit message.
intptr_t WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam);

// The state dump: {"SceneId":..,"frame":..,"Vol":..,"SeVol":..,"title":{..},...}.
std::string DumpState(int64_t frames);
