// Fuzz target: the key-script reader and the command line on arbitrary text. A script it
// accepts holds only whole lines with keys; options it accepts are consistent.
#include <cstdlib>
#include <string>
#include <vector>

#include "app/harness.h"
#include "app/options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    KeyScript script;
    std::string error;
    if (ParseKeyScript(text, script, error)) {
        for (const KeyScriptLine& line : script.lines) {
            if (line.from < 0 || line.to < line.from || line.keys.empty()) std::abort();
            std::vector<int> held = script.KeysAt(line.to);
            for (int key : line.keys)
                if (key < 1 || key > 255 || held.empty()) std::abort();
        }
        script.AllKeys();
    } else if (error.empty()) {
        std::abort();
    }

    // The same bytes as a command line, one argument per line.
    std::vector<std::string> args;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        args.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    CommandLine options;
    error.clear();
    if (ParseOptions(args, options, error)) {
        if (options.frames < -1) std::abort();
        for (const auto* list : {&options.traces, &options.screenshots})
            for (const FrameFile& f : *list)
                if (f.frame < 0 || f.path.empty()) std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
