// The entry point of tessarune: the command line, the choice of system services, the run.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/bench.h"
#include "app/data_files.h"
#include "app/harness.h"
#include "app/options.h"
#include "app/program.h"
#include "app/replay.h"
#include "app/solve.h"
#include "app/version.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/null_backend.h"
#include "platform/random.h"
#include "platform/sdl/sdl_backend.h"

namespace {

bool StartReplay(const CommandLine& options, Harness& harness) {
    Recording recording;
    std::string error;
    if (!LoadRecording(options.replay, recording, error)) {
        std::fprintf(stderr, "tessarune: %s\n", error.c_str());
        return false;
    }
    if (recording.version != GameVersion() && !options.replayAnyVersion) {
        std::fprintf(stderr,
                     "tessarune: '%s' was recorded by tessarune %s, and this is tessarune %s; a "
                     "replay may differ from what was played (--replay-any-version plays it "
                     "anyway)\n",
                     options.replay.c_str(), recording.version.c_str(), GameVersion());
        return false;
    }
    auto replayer = std::make_unique<Replayer>(std::move(recording));
    if (!replayer->Start(error)) {
        std::fprintf(stderr, "tessarune: %s\n", error.c_str());
        return false;
    }
    harness.Replay(std::move(replayer));
    return true;
}

bool StartRecording(const CommandLine& options, Harness& harness) {
    // The seed is chosen now, so that the recording names it from its first line.
    uint32_t seed =
        options.seed ? *options.seed
                     : static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch() /
                                             std::chrono::milliseconds(1));
    platform::OverrideSeed(seed);
    auto recorder = std::make_unique<Recorder>();
    std::string error;
    if (!recorder->Start(options.record, seed, options.debugKeys, error)) {
        std::fprintf(stderr, "tessarune: %s\n", error.c_str());
        return false;
    }
    harness.Record(std::move(recorder));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    auto start = std::chrono::steady_clock::now();
    CommandLine options;
    std::string error;
    if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "tessarune: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tessarune %s\n", GameVersion());
        return 0;
    }

    if (options.solveLevel != 0) return PrintSolution(options.solveLevel, std::cout);

    platform::SetDataRoot(options.data.empty() ? platform::DefaultDataRoot() : options.data);
    if (options.checkData) return CheckDataFiles(std::cout);
    if (options.bench) {
        auto backend = platform::CreateSdlBackend();
        return RunBench(*backend, start);
    }

    ReportMissingDataFiles();

    KeyScript script;
    if (!options.keys.empty() && !LoadKeyScript(options.keys, script, error)) {
        std::fprintf(stderr, "tessarune: %s\n", error.c_str());
        return 2;
    }
    if (options.seed) platform::OverrideSeed(*options.seed);
    platform::EnableDebugKeys(options.debugKeys);
    if (options.headless) platform::UseVirtualClock(0);

    Harness harness(options, std::move(script));
    if (!options.replay.empty() && !StartReplay(options, harness)) return 2;
    if (!options.record.empty() && !StartRecording(options, harness)) return 2;
    std::unique_ptr<platform::Backend> backend =
        options.headless ? platform::CreateNullBackend() : platform::CreateSdlBackend();
    RunResult run = RunProgram(*backend, harness);
    if (!run.started) return 1; // the start-up failure was shown
    int exitCode = harness.OutputFailed() ? 1 : run.exitCode;

    if (!options.dump.empty()) {
        std::ofstream out(options.dump, std::ios::binary | std::ios::trunc);
        out << DumpState(run.frames) << '\n';
        if (!out) {
            std::fprintf(stderr, "tessarune: cannot write '%s'\n", options.dump.c_str());
            return 1;
        }
    }
    return exitCode;
}
