// assetgen: writes every data file the game reads into a data folder; optionally a PNG preview.
//   assetgen DATA_DIR [--preview DIR] [--icons DIR]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "icon.h"
#include "models.h"
#include "output.h"
#include "pictures.h"
#include "preview.h"
#include "sounds.h"

int main(int argc, char** argv) {
    const char* dataDir = nullptr;
    const char* previewDir = nullptr;
    const char* iconDir = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc)
            previewDir = argv[++i];
        else if (std::strcmp(argv[i], "--icons") == 0 && i + 1 < argc)
            iconDir = argv[++i];
        else if (argv[i][0] != '-' && !dataDir)
            dataDir = argv[i];
        else {
            dataDir = nullptr;
            break;
        }
    }
    if (!dataDir) {
        std::fprintf(stderr, "usage: assetgen DATA_DIR [--preview DIR] [--icons DIR]\n"
                             "  writes xFile/, bmp/, bgm/ and notepad/ into DATA_DIR;\n"
                             "  --preview writes PNG views of every picture and model into DIR;\n"
                             "  --icons writes the application icon as DIR/NxN/apps/*.png\n");
        return 2;
    }
    auto start = std::chrono::steady_clock::now();
    std::filesystem::create_directories(dataDir);
    out::SetRoot(dataDir);
    std::filesystem::create_directories(out::PathOf("./notepad"));
    auto lap = [t = std::chrono::steady_clock::now()](const char* what) mutable {
        auto now = std::chrono::steady_clock::now();
        if (std::getenv("ASSETGEN_TIMES"))
            std::printf("  %-10s %.2f s\n", what, std::chrono::duration<double>(now - t).count());
        t = now;
    };
    models::MakeModels();
    lap("models");
    pics::MakeMenuPictures();
    pics::MakeKeyPictures();
    lap("menus");
    pics::MakePlayPictures();
    lap("play");
    pics::MakeChallengePictures();
    lap("challenge");
    sounds::MakeSounds();
    lap("sounds");
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("assetgen: data files written to %s in %.2f s\n", dataDir, seconds);
    if (previewDir && !preview::Write(previewDir)) return 1;
    if (iconDir && !icon::Write(iconDir)) {
        std::fprintf(stderr, "assetgen: cannot write the icons into %s\n", iconDir);
        return 1;
    }
    return 0;
}
