// libFuzzer target: any bytes as a WAVE file, read by the WAVE reader and loaded and played
// through the mixer.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "media/sound.h"
#include "platform/files.h"
#include "platform/mixer.h"
#include "platform/system.h"

namespace {

// A data folder of this process holding the input file, and the installed mixer.
struct Scratch {
    std::filesystem::path dir;
    platform::Mixer mixer;

    Scratch() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fuzz_wave.XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        dir = pattern;
        platform::SetDataRoot(dir.string());
        platform::SetSound(&mixer);
    }
    ~Scratch() {
        platform::SetSound(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

Scratch& TheScratch() {
    static Scratch scratch;
    return scratch;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Scratch& scratch = TheScratch();
    std::ofstream(scratch.dir / "in.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    // The reader alone, in small odd steps through many refills of its I/O buffer.
    WaveReader reader;
    if (OpenWave(reader, "in.wav") == platform::S_OK) {
        uint8_t piece[37];
        uint32_t read = 0;
        for (int i = 0; i < 512; ++i) {
            if (ReadWaveData(reader.dataChunk, reader.file, piece, sizeof piece, &read) !=
                    platform::S_OK ||
                read == 0) {
                break;
            }
        }
    }
    CloseWave(reader);

    // The whole load, then a little of the mix from two places in the buffer.
    SoundVar var;
    LoadSound(var, "in.wav");
    if (var) {
        int16_t out[2 * 300];
        PlayLooping(var);
        scratch.mixer.Mix(out, 300);
        var->SetCurrentPosition(static_cast<uint32_t>(size / 2));
        SetVolume(var, -1234);
        PlayOnce(var);
        scratch.mixer.Mix(out, 300);
    }
    return 0;
}
