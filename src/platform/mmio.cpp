// Buffered multimedia-file I/O: reads a data file through one I/O buffer and walks its RIFF
// chunks. Every chunk size is taken from the file and never trusted.
#include "platform/mmio.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/files.h"

namespace platform {

struct MmioFile {
    std::FILE* file = nullptr;
    int64_t size = 0;         // bytes in the file
    std::vector<char> buffer; // the I/O buffer
    int64_t bufStart = 0;     // file offset of buffer[0]
    int32_t filled = 0;       // bytes of read data in the buffer
    int32_t next = 0;         // the next unread byte of the buffer

    int64_t Position() const { return bufStart + next; }
};

namespace {

constexpr int32_t kDefaultBuffer = 8192;
constexpr int32_t kMaxBuffer = 1 << 20;
constexpr uint32_t kWriteModes = 0x3; // MMIO_WRITE, MMIO_READWRITE

// Reloads the buffer with the file's bytes from `pos` on; empty at the end of the file.
bool Fill(MmioFile& f, int64_t pos) {
    f.bufStart = pos;
    f.filled = 0;
    f.next = 0;
    if (std::fseek(f.file, static_cast<long>(pos), SEEK_SET) != 0) return false;
    size_t n = std::fread(f.buffer.data(), 1, f.buffer.size(), f.file);
    if (n < f.buffer.size() && std::ferror(f.file)) return false;
    f.filled = static_cast<int32_t>(n);
    return true;
}

bool ReadFourcc(HMMIO f, uint32_t& value) {
    uint8_t b[4];
    if (mmioRead(f, reinterpret_cast<char*>(b), 4) != 4) return false;
    value = static_cast<uint32_t>(b[0] | b[1] << 8 | b[2] << 16) | static_cast<uint32_t>(b[3])
                                                                       << 24;
    return true;
}

bool IsForm(FOURCC id) {
    return id == FOURCC_RIFF || id == FOURCC_LIST;
}

} // namespace

HMMIO mmioOpen(const char* path, MMIOINFO* info, uint32_t flags) {
    if (!path || (flags & kWriteModes)) return nullptr;
    int32_t bufferSize = info && info->cchBuffer > 0 ? info->cchBuffer : kDefaultBuffer;
    if (bufferSize > kMaxBuffer) return nullptr;
    std::FILE* file = OpenRegularFile(DataPath(path));
    if (!file) return nullptr;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    // Offsets are 32-bit: larger files are not opened.
    if (size < 0 || size > INT32_MAX) {
        std::fclose(file);
        return nullptr;
    }
    auto* f = new MmioFile;
    f->file = file;
    f->size = size;
    f->buffer.resize(static_cast<size_t>(bufferSize));
    if (info) mmioGetInfo(f, info, 0);
    return f;
}

uint32_t mmioClose(HMMIO file, uint32_t) {
    if (!file) return MMSYSERR_INVALHANDLE;
    std::fclose(file->file);
    delete file;
    return MMSYSERR_NOERROR;
}

int32_t mmioRead(HMMIO file, char* buffer, int32_t count) {
    if (!file || count < 0 || (!buffer && count > 0)) return -1;
    int32_t total = 0;
    while (total < count) {
        if (file->next == file->filled) {
            if (!Fill(*file, file->Position())) return -1;
            if (file->filled == 0) break;
        }
        int32_t n = std::min(count - total, file->filled - file->next);
        std::memcpy(buffer + total, file->buffer.data() + file->next, static_cast<size_t>(n));
        file->next += n;
        total += n;
    }
    return total;
}

// Positions run from 0 to the end of the file: a read-only file has nothing beyond it.
int32_t mmioSeek(HMMIO file, int32_t offset, int origin) {
    if (!file) return -1;
    int64_t base = 0;
    switch (origin) {
    case SEEK_SET:
        base = 0;
        break;
    case SEEK_CUR:
        base = file->Position();
        break;
    case SEEK_END:
        base = file->size;
        break;
    default:
        return -1;
    }
    int64_t target = base + offset;
    if (target < 0 || target > file->size) return -1;
    if (target >= file->bufStart && target <= file->bufStart + file->filled) {
        file->next = static_cast<int32_t>(target - file->bufStart);
    } else {
        // Left empty: the next read fills the buffer from here.
        file->bufStart = target;
        file->filled = 0;
        file->next = 0;
    }
    return static_cast<int32_t>(target);
}

uint32_t mmioDescend(HMMIO file, MMCKINFO* chunk, const MMCKINFO* parent, uint32_t flags) {
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!chunk) return MMSYSERR_INVALPARAM;
    const int64_t start = file->Position();
    int64_t limit = file->size;
    if (parent) limit = std::min(limit, int64_t{parent->dwDataOffset} + parent->cksize);

    FOURCC wantId = 0;
    if (flags & MMIO_FINDCHUNK) wantId = chunk->ckid;
    if (flags & MMIO_FINDRIFF) wantId = FOURCC_RIFF;
    if (flags & MMIO_FINDLIST) wantId = FOURCC_LIST;
    const bool find = (flags & (MMIO_FINDCHUNK | MMIO_FINDRIFF | MMIO_FINDLIST)) != 0;
    const bool matchType = (flags & (MMIO_FINDRIFF | MMIO_FINDLIST)) != 0;
    const FOURCC wantType = chunk->fccType;

    for (;;) {
        const int64_t pos = file->Position();
        MMCKINFO found;
        if (pos + 8 > limit || !ReadFourcc(file, found.ckid) || !ReadFourcc(file, found.cksize)) {
            break;
        }
        found.dwDataOffset = static_cast<uint32_t>(pos + 8);
        if (IsForm(found.ckid) && !ReadFourcc(file, found.fccType)) break;
        if (!find || (found.ckid == wantId && (!matchType || found.fccType == wantType))) {
            *chunk = found;
            return MMSYSERR_NOERROR;
        }
        const int64_t after = pos + 8 + found.cksize + (found.cksize & 1);
        if (after + 8 > limit || mmioSeek(file, static_cast<int32_t>(after), SEEK_SET) < 0) break;
    }
    mmioSeek(file, static_cast<int32_t>(start), SEEK_SET);
    return MMIOERR_CHUNKNOTFOUND;
}

uint32_t mmioAscend(HMMIO file, MMCKINFO* chunk, uint32_t) {
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!chunk) return MMSYSERR_INVALPARAM;
    int64_t end = int64_t{chunk->dwDataOffset} + chunk->cksize;
    // The pad byte of an odd-sized chunk may be missing at the very end of the file.
    if ((chunk->cksize & 1) && end < file->size) ++end;
    if (end > file->size || mmioSeek(file, static_cast<int32_t>(end), SEEK_SET) < 0) {
        return MMIOERR_CANNOTSEEK;
    }
    return MMSYSERR_NOERROR;
}

uint32_t mmioGetInfo(HMMIO file, MMIOINFO* info, uint32_t) {
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!info) return MMSYSERR_INVALPARAM;
    char* base = file->buffer.data();
    *info = MMIOINFO{};
    info->cchBuffer = static_cast<int32_t>(file->buffer.size());
    info->pchBuffer = base;
    info->pchNext = base + file->next;
    info->pchEndRead = base + file->filled;
    info->pchEndWrite = base + file->buffer.size();
    info->lBufOffset = static_cast<int32_t>(file->bufStart);
    info->lDiskOffset = static_cast<int32_t>(file->bufStart + file->filled);
    info->hmmio = file;
    return MMSYSERR_NOERROR;
}

uint32_t mmioSetInfo(HMMIO file, const MMIOINFO* info, uint32_t) {
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!info) return MMSYSERR_INVALPARAM;
    const char* base = file->buffer.data();
    if (info->pchBuffer != base || info->pchNext < base || info->pchNext > base + file->filled) {
        return MMSYSERR_INVALPARAM;
    }
    file->next = static_cast<int32_t>(info->pchNext - base);
    return MMSYSERR_NOERROR;
}

uint32_t mmioAdvance(HMMIO file, MMIOINFO* info, uint32_t flags) {
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!info || (flags & kWriteModes)) return MMSYSERR_INVALPARAM;
    if (!Fill(*file, file->bufStart + file->filled)) {
        mmioGetInfo(file, info, 0);
        return MMIOERR_CANNOTREAD;
    }
    return mmioGetInfo(file, info, 0);
}

} // namespace platform
