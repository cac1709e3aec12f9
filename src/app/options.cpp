// The command line of the game binary.
#include "app/options.h"

#include <charconv>

#include "play/opponent.h"

namespace {

template <typename T> bool ParseNumber(const std::string& text, T& out) {
    const char* end = text.data() + text.size();
    auto r = std::from_chars(text.data(), end, out);
    return r.ec == std::errc() && r.ptr == end && !text.empty();
}

bool ParseFrameFile(const std::string& text, FrameFile& out) {
    auto colon = text.find(':');
    if (colon == std::string::npos || colon + 1 >= text.size()) return false;
    out.path = text.substr(colon + 1);
    return ParseNumber(text.substr(0, colon), out.frame) && out.frame >= 0;
}

} // namespace

bool ParseOptions(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            v = args[++i];
            return true;
        };
        std::string v;
        if (a == "--headless")
            out.headless = true;
        else if (a == "--debug-keys")
            out.debugKeys = true;
        else if (a == "--check-data")
            out.checkData = true;
        else if (a == "--bench")
            out.bench = true;
        else if (a == "--help" || a == "-h")
            out.help = true;
        else if (a == "--version")
            out.version = true;
        else if (a == "--replay-any-version")
            out.replayAnyVersion = true;
        else if (a == "--data") {
            if (!value(out.data)) return false;
        } else if (a == "--config") {
            if (!value(out.config)) return false;
            if (out.config.empty()) {
                error = "--config needs a folder";
                return false;
            }
        } else if (a == "--keys") {
            if (!value(out.keys)) return false;
        } else if (a == "--dump") {
            if (!value(out.dump)) return false;
        } else if (a == "--record") {
            if (!value(out.record)) return false;
        } else if (a == "--replay") {
            if (!value(out.replay)) return false;
        } else if (a == "--frames") {
            if (!value(v)) return false;
            if (!ParseNumber(v, out.frames) || out.frames < 0) {
                error = "--frames needs a whole number of 0 or more, not '" + v + "'";
                return false;
            }
        } else if (a == "--seed") {
            if (!value(v)) return false;
            uint32_t seed = 0;
            if (!ParseNumber(v, seed)) {
                error = "--seed needs a whole number from 0 to 4294967295, not '" + v + "'";
                return false;
            }
            out.seed = seed;
        } else if (a == "--solve") {
            if (!value(v)) return false;
            if (!ParseNumber(v, out.solveLevel) || out.solveLevel < 1 || out.solveLevel > 15) {
                error = "--solve needs a challenge level from 1 to 15, not '" + v + "'";
                return false;
            }
        } else if (a == "--cpu-vs-cpu") {
            std::string right;
            if (!value(v) || !value(right)) return false;
            out.cpuLeft = CpuLevelFromName(v);
            out.cpuRight = CpuLevelFromName(right);
            if (out.cpuLeft <= 0 || out.cpuRight <= 0) {
                error = "--cpu-vs-cpu needs two levels of easy, normal and hard, not '" + v +
                        "' '" + right + "'";
                return false;
            }
        } else if (a == "--trace" || a == "--screenshot") {
            if (!value(v)) return false;
            FrameFile f;
            if (!ParseFrameFile(v, f)) {
                error = a + " needs FRAME:FILE, not '" + v + "'";
                return false;
            }
            (a == "--trace" ? out.traces : out.screenshots).push_back(f);
        } else {
            error = "unknown option '" + a + "' (see --help)";
            return false;
        }
    }
    if (!out.replay.empty()) {
        // A replay brings its own keys, seed and cheat setting.
        const char* clash = !out.record.empty() ? "--record"
                            : !out.keys.empty() ? "--keys"
                            : out.seed          ? "--seed"
                            : out.debugKeys     ? "--debug-keys"
                                                : nullptr;
        if (clash) {
            error = std::string("--replay cannot be combined with ") + clash;
            return false;
        }
    }
    return true;
}

const char* UsageText() {
    return "Usage: tessarune [options]\n"
           "\n"
           "Play:\n"
           "  --data DIR            folder holding xFile/, bmp/, bgm/ and notepad/ (records)\n"
           "                        (default: the data folder next to the executable, else\n"
           "                        the installed one); an installed or read-only DIR keeps\n"
           "                        no records: they go to $XDG_DATA_HOME/tessarune/notepad/\n"
           "                        (by default ~/.local/share/tessarune/notepad/)\n"
           "  --config DIR          folder of settings.ini (default: $XDG_CONFIG_HOME/tessarune\n"
           "                        or ~/.config/tessarune; headless runs use none)\n"
           "  --debug-keys          enable the cheat keys that add score or garbage\n"
           "  --record FILE         keep what is played (seed, keys and clock readings of\n"
           "                        every frame) in FILE, to be watched again with --replay\n"
           "  --replay FILE         play a recording back (at 60 frames a second, or as fast\n"
           "                        as it runs with --headless); Escape ends it\n"
           "  --replay-any-version  replay a recording made by another version of the game\n"
           "\n"
           "Check and test:\n"
           "  --check-data          load every data file and report the bad ones (exit 1)\n"
           "  --headless            no window, no graphics, no sound device; virtual clock;\n"
           "                        frames run back to back\n"
           "  --frames N            leave through the normal shut-down after N frames\n"
           "  --keys FILE           key script: lines \"FROM TO KEY [KEY...]\" hold the keys\n"
           "                        during frames FROM..TO (from 0); keys: Z X A Q R W K J U G\n"
           "                        B V N UP DOWN LEFT RIGHT SHIFT RETURN ESCAPE; # comments\n"
           "  --seed N              seed the random generator with N instead of the clock\n"
           "  --dump FILE           write the state of every scene as JSON at shut-down\n"
           "  --trace N:FILE        write the graphics calls of frame N as JSON lines\n"
           "  --screenshot N:FILE   write the picture of frame N as PNG (not headless)\n"
           "  --bench               measure frame times, start-up time and memory\n"
           "  --solve LEVEL         print a sequence of swaps that clears challenge level\n"
           "                        LEVEL (1..15), with the keys that play it\n"
           "  --cpu-vs-cpu L R      a versus game from the start, both sides played by the\n"
           "                        computer at levels L and R (easy, normal, hard)\n"
           "  --help, --version\n";
}
