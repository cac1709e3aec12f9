// The entry point of tessarune: the command line, the choice of system services, the run.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/bench.h"
#include "app/data_files.h"
#include "app/harness.h"
#include "app/options.h"
#include "app/program.h"
#include "app/record_folder.h"
#include "app/replay.h"
#include "app/settings.h"
#include "app/solve.h"
#include "app/version.h"
#include "modes/versus/cpu.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/null_backend.h"
#include "platform/random.h"
#include "platform/sdl/sdl_backend.h"
#include "tess_version.h"

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
        std::printf("tessarune %s (commit %s)\n", GameVersion(), TESS_COMMIT);
        return 0;
    }

    if (options.solveLevel != 0) return PrintSolution(options.solveLevel, std::cout);

    platform::SetDataRoot(options.data.empty() ? platform::DefaultDataRoot() : options.data);
    if (options.checkData) {
        int result = CheckDataFiles(std::cout);
        std::cout << "record folder "
                  << platform::ChooseRecordFolder(platform::DataRoot(),
                                                  platform::CurrentUserEnvironment())
                  << "\n";
        return result;
    }
    SetUpRecordFolder(platform::CurrentUserEnvironment());
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
    LoadUserSettings(SettingsFolder(options));
    SetUpCpuVsCpu(options);

    Harness harness(options, std::move(script));
    if ((!options.replay.empty() && !StartReplay(options, harness, error)) ||
        (!options.record.empty() && !StartRecording(options, harness, error))) {
        std::fprintf(stderr, "tessarune: %s\n", error.c_str());
        return 2;
    }
    std::unique_ptr<platform::Backend> backend =
        options.headless ? platform::CreateNullBackend() : platform::CreateSdlBackend();
    RunResult run = RunProgram(*backend, harness);
    if (!run.started) return 1; // the start-up failure was shown
    int exitCode = harness.OutputFailed() ? 1 : run.exitCode;
    if (options.cpuLeft > 0) std::puts(CpuOutcomeText().c_str());

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
