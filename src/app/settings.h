// The settings file settings.ini: sound levels, window, versus opponent, key bindings. Read at
// start; the levels are written when the options scene is left, the opponent when the mode
// select is left, both again and the window at the end of the run.
// Lines the game does not understand are reported and ignored; the game never stops for them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/bindings.h"
#include "app/options.h"
#include "platform/system.h"

struct SettingsValues {
    int32_t music = 3, effects = 3;    // options levels 0..3
    int32_t width = 880, height = 480; // the window's client size when not full screen
    bool fullscreen = false;
    int32_t opponent = 0; // the versus opponent, a CpuLevel (0: a person)
    bool operator==(const SettingsValues&) const = default;
};

constexpr size_t kMaxSettingsBytes = size_t{64} << 10;
constexpr size_t kMaxSettingsLine = 512;
constexpr int32_t kMinWindowSide = 160, kMaxWindowSide = 16384;

struct SettingsFile {
    std::vector<std::string> lines; // the text as read, kept when the file is written again
    SettingsValues values;
    KeyBindings bindings = DefaultKeyBindings();
    // One per ignored line: "line N: why: the line".
    std::vector<std::string> messages;
};

// A setting to put in place: [section] name = value.
struct SettingLine {
    std::string section, name, value;
};
// A binding line's value: "C, X, pad:west", "none, pad:none".
std::string BindingValue(const ActionBinding& binding);

// Reads a settings text; never fails: what it cannot use is reported and left at its default.
SettingsFile ParseSettings(std::string_view text);
// The text to write: `lines` with the values and `more` put in place of their old lines (or
// added to their sections), every other line kept as it was.
std::string SettingsText(const std::vector<std::string>& lines, const SettingsValues& values,
                         const std::vector<SettingLine>& more = {});

// The folder whose settings.ini a run uses: --config, else the user's own; none ("") for a
// headless run without --config (its result depends on its command line alone) and for a
// replay (it starts from what its recording names and must not keep what the recorded player
// chose).
std::string SettingsFolder(const CommandLine& options);

// The run's settings. `folder` "" means none: the defaults, nothing read or written.
// Reports what it ignored on standard error; installs the bindings in the input map, the
// levels in the options scene and the volumes, and the versus opponent.
void LoadUserSettings(const std::string& folder);
// The options levels (0..3) the run starts with, and their volumes.
void UseSoundLevels(int32_t music, int32_t effects);
const SettingsValues& UserSettings();
// The run's key bindings; UseKeyBindings installs new ones in the input map and writes the
// lines of the actions that changed (the key screen).
const KeyBindings& UserKeyBindings();
void UseKeyBindings(const KeyBindings& bindings);
// The file the run reads and writes ("" when none).
const std::string& UserSettingsPath();

// Hooks of the main loop: the window as the settings want it at start-up; the levels kept
// when the options scene is left, the opponent when the mode select is left; the window, the
// opponent (and the levels, if the options scene is still running) at the end of the run.
// Each writes the file only when something changed. A computer-against-computer run
// (--cpu-vs-cpu) never keeps its opponent.
void ApplyWindowSettings(platform::Window& window);
void SettingsAfterOptions();
void SettingsAfterSelect();
void KeepSettingsAtExit(const platform::Window& window, bool inOptions);
