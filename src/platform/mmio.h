// Buffered multimedia-file I/O with RIFF chunk navigation (the subset the WAVE reader uses).
#pragma once

#include <cstdint>

namespace platform {

using FOURCC = uint32_t;
constexpr FOURCC mmioFOURCC(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}
constexpr FOURCC FOURCC_RIFF = mmioFOURCC('R', 'I', 'F', 'F');
constexpr FOURCC FOURCC_LIST = mmioFOURCC('L', 'I', 'S', 'T');

struct MmioFile;
using HMMIO = MmioFile*;

struct MMCKINFO {
    FOURCC ckid = 0;
    uint32_t cksize = 0;
    FOURCC fccType = 0;
    uint32_t dwDataOffset = 0;
    uint32_t dwFlags = 0;
};

// The I/O-buffer state handed out by mmioGetInfo: bytes pchNext .. pchEndRead are read data
// not yet consumed.
struct MMIOINFO {
    uint32_t dwFlags = 0;
    int32_t cchBuffer = 0;
    char* pchBuffer = nullptr;
    char* pchNext = nullptr;
    char* pchEndRead = nullptr;
    char* pchEndWrite = nullptr;
    int32_t lBufOffset = 0;
    int32_t lDiskOffset = 0;
    HMMIO hmmio = nullptr;
};

constexpr uint32_t MMIO_READ = 0x00000000;
constexpr uint32_t MMIO_ALLOCBUF = 0x00010000;
constexpr uint32_t MMIO_FINDCHUNK = 0x0010;
constexpr uint32_t MMIO_FINDRIFF = 0x0020;
constexpr uint32_t MMIO_FINDLIST = 0x0040;
constexpr uint32_t MMIO_DIRTY = 0x10000000;

constexpr uint32_t MMSYSERR_NOERROR = 0;
constexpr uint32_t MMSYSERR_INVALHANDLE = 5;
constexpr uint32_t MMSYSERR_INVALPARAM = 11;
constexpr uint32_t MMIOERR_CANNOTREAD = 259;
constexpr uint32_t MMIOERR_CANNOTSEEK = 262;
constexpr uint32_t MMIOERR_CHUNKNOTFOUND = 265;

// `path` is a game path (see files.h). Null on failure.
HMMIO mmioOpen(const char* path, MMIOINFO* info, uint32_t flags);
uint32_t mmioClose(HMMIO file, uint32_t flags);
// Bytes read (0 at the end), or -1 on error.
int32_t mmioRead(HMMIO file, char* buffer, int32_t count);
// The new position, or -1 on error. `origin` is SEEK_SET, SEEK_CUR or SEEK_END.
int32_t mmioSeek(HMMIO file, int32_t offset, int origin);
uint32_t mmioDescend(HMMIO file, MMCKINFO* chunk, const MMCKINFO* parent, uint32_t flags);
uint32_t mmioAscend(HMMIO file, MMCKINFO* chunk, uint32_t flags);
uint32_t mmioGetInfo(HMMIO file, MMIOINFO* info, uint32_t flags);
uint32_t mmioSetInfo(HMMIO file, const MMIOINFO* info, uint32_t flags);
uint32_t mmioAdvance(HMMIO file, MMIOINFO* info, uint32_t flags);

} // namespace platform
