// The command line of the game binary.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct FrameFile {
    int64_t frame = 0;
    std::string path;
};

struct CommandLine {
    std::string data;                   // --data DIR ("" = the default data folder)
    std::string config;                 // --config DIR ("" = the user's config folder)
    bool headless = false;              // --headless
    int64_t frames = -1;                // --frames N (-1 = no limit)
    std::string keys;                   // --keys FILE
    std::optional<uint32_t> seed;       // --seed N
    std::string dump;                   // --dump FILE
    std::vector<FrameFile> traces;      // --trace N:FILE (repeatable)
    std::vector<FrameFile> screenshots; // --screenshot N:FILE (repeatable)
    bool debugKeys = false;             // --debug-keys
    bool checkData = false;             // --check-data
    bool bench = false;                 // --bench
    int solveLevel = 0;                 // --solve LEVEL (0 = not asked)
    std::string record;                 // --record FILE
    std::string replay;                 // --replay FILE
    bool replayAnyVersion = false;      // --replay-any-version
    int32_t cpuLeft = 0, cpuRight = 0;  // --cpu-vs-cpu LEFT RIGHT (0 = not asked)
    bool help = false;
    bool version = false;
};

// False with a message in `error` for an unknown option or a bad value.
bool ParseOptions(const std::vector<std::string>& args, CommandLine& out, std::string& error);

const char* UsageText();
