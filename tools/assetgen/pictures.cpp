// Saving pictures against the game's manifest of texture sizes and colour keys.
#include "pictures.h"

#include <cstdio>
#include <cstdlib>

#include "media/manifest.h"
#include "output.h"

namespace pics {

namespace {
std::vector<Picture> saved;
}

void Save(const char* gamePath, const art::Canvas& canvas, art::Color matte) {
    const DataFile* file = FindDataFile(gamePath);
    if (!file || file->kind != DataKind::Texture) {
        std::fprintf(stderr, "assetgen: %s is not a picture the game reads\n", gamePath);
        std::exit(1);
    }
    if (canvas.width > file->width || canvas.height > file->height) {
        std::fprintf(stderr, "assetgen: %s is %dx%d, larger than its %dx%d texture\n", gamePath,
                     canvas.width, canvas.height, file->width, file->height);
        std::exit(1);
    }
    Picture p{gamePath, canvas.width, canvas.height, file->colorKey,
              art::Flatten(canvas, file->colorKey, matte)};
    out::WriteFile(gamePath, out::EncodeBmp(p.width, p.height, p.rgb));
    saved.push_back(std::move(p));
}

const std::vector<Picture>& Saved() {
    return saved;
}

} // namespace pics
