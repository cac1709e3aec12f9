// The data check: every file of the manifest loaded with the game's own loaders.
#include "app/data_files.h"

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "media/model.h"
#include "media/sound.h"
#include "media/texture.h"
#include "media/xfile.h"
#include "platform/files.h"
#include "platform/mixer.h"
#include "platform/recording_device.h"
#include "platform/system.h"

namespace {

constexpr size_t kMaxCheckedBytes = 64u << 20;

bool Exists(const char* gamePath) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(platform::DataPath(gamePath), ignored);
}

// Texture files named by a model's materials that cannot be loaded.
std::vector<std::string> BrokenModelTextures(const char* path, platform::GraphicsDevice& device) {
    std::vector<std::string> broken;
    std::vector<uint8_t> bytes;
    XModel model;
    if (!platform::ReadFileBytes(path, bytes, kMaxCheckedBytes) ||
        !ParseXFile(bytes.data(), bytes.size(), model))
        return broken;
    for (const XMaterial& m : model.materials)
        if (!m.textureFile.empty() && !LoadTextureFile(device, m.textureFile.c_str()))
            broken.push_back(m.textureFile);
    return broken;
}

// A note when a picture is larger than the texture it is loaded into (the game cuts it).
std::string OversizeNote(const DataFile& file) {
    std::vector<uint8_t> bytes;
    int width = 0, height = 0;
    if (!platform::ReadFileBytes(file.path, bytes, kMaxCheckedBytes) ||
        !BmpSize(bytes.data(), bytes.size(), width, height) ||
        (width <= file.width && height <= file.height))
        return {};
    return std::to_string(width) + "x" + std::to_string(height) + " is larger than its " +
           std::to_string(file.width) + "x" + std::to_string(file.height) +
           " texture; the rest is cut off";
}

} // namespace

int CheckDataFiles(std::ostream& report) {
    platform::RecordingDevice device;
    platform::Mixer mixer;
    platform::SoundDevice* previousSound = platform::Sound();
    platform::SetSound(&mixer);
    int bad = 0, count = 0;
    for (const DataFile& file : kDataFiles) {
        ++count;
        std::string problem, note;
        if (!Exists(file.path)) {
            problem = "missing";
        } else if (file.kind == DataKind::Model) {
            ModelRecord record;
            LoadModel(record, file.path, device);
            if (!record.mesh) problem = "unreadable";
            for (const std::string& texture : BrokenModelTextures(file.path, device))
                problem = "unreadable texture " + texture;
            ReleaseModel(record);
        } else if (file.kind == DataKind::Texture) {
            if (!LoadTexture(device, file.path, file.width, file.height, file.colorKey))
                problem = "unreadable";
            else
                note = OversizeNote(file);
        } else {
            SoundVar sound;
            LoadSound(sound, file.path);
            if (!sound) problem = "unreadable";
        }
        if (!problem.empty()) {
            ++bad;
            report << problem << ": " << file.path << " (" << file.what << ")\n";
        } else if (!note.empty()) {
            report << "note: " << file.path << " (" << file.what << ") " << note << "\n";
        }
    }
    platform::SetSound(previousSound);
    report << "data folder " << platform::DataRoot() << ": ";
    if (bad == 0)
        report << "all " << count << " files good\n";
    else
        report << bad << " of " << count << " files missing or unreadable\n";
    return bad == 0 ? 0 : 1;
}

int ReportMissingDataFiles() {
    int missing = 0, count = 0;
    for (const DataFile& file : kDataFiles) {
        ++count;
        if (!Exists(file.path)) ++missing;
    }
    if (missing == 0) return 0;
    const std::string& root = platform::DataRoot();
    std::error_code ec;
    if (!std::filesystem::is_directory(root, ec))
        std::fprintf(stderr, "tessarune: there is no data folder '%s'", root.c_str());
    else
        std::fprintf(stderr, "tessarune: %d of %d data files are missing from '%s'", missing, count,
                     root.c_str());
    std::fprintf(stderr, "; the game runs without them (choose the folder with --data DIR; "
                         "tessarune --check-data --data DIR lists the files)\n");
    return missing;
}
