// Pictures read ahead on a thread of their own.
#include "media/preload.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "media/texture.h"

namespace {

struct Picture {
    const DataFile* file;
    bool done = false, ok = false;
    platform::Image texels;
};

struct Preload {
    std::mutex mutex;
    std::condition_variable ready;
    std::vector<Picture> pictures; // the list is fixed while the thread runs
    std::thread thread;
    ~Preload() {
        if (thread.joinable()) thread.join();
    }
};

Preload& ThePreload() {
    static Preload preload;
    return preload;
}

void ReadAll(Preload& p) {
    for (size_t i = 0;; ++i) {
        const DataFile* file;
        {
            std::lock_guard<std::mutex> hold(p.mutex);
            if (i == p.pictures.size()) return;
            file = p.pictures[i].file;
        }
        platform::Image texels;
        bool ok = ReadTextureFile(file->path, file->width, file->height, file->colorKey, texels);
        std::lock_guard<std::mutex> hold(p.mutex);
        p.pictures[i].ok = ok;
        p.pictures[i].texels = std::move(texels);
        p.pictures[i].done = true;
        p.ready.notify_all();
    }
}

} // namespace

void PreloadPictures(std::vector<const DataFile*> files) {
    EndPreload();
    Preload& p = ThePreload();
    {
        std::lock_guard<std::mutex> hold(p.mutex);
        for (const DataFile* file : files)
            if (file && file->kind == DataKind::Texture)
                p.pictures.push_back(Picture{file, false, false, {}});
    }
    if (!p.pictures.empty()) p.thread = std::thread(ReadAll, std::ref(p));
}

bool TakePreloadedTexture(const DataFile& file, platform::Image& out) {
    Preload& p = ThePreload();
    std::unique_lock<std::mutex> hold(p.mutex);
    for (Picture& picture : p.pictures) {
        if (picture.file != &file) continue;
        p.ready.wait(hold, [&] { return picture.done; });
        bool ok = picture.ok;
        out = std::move(picture.texels);
        picture.ok = false; // taken
        return ok;
    }
    return false;
}

void EndPreload() {
    Preload& p = ThePreload();
    if (p.thread.joinable()) p.thread.join();
    std::lock_guard<std::mutex> hold(p.mutex);
    p.pictures.clear();
}
