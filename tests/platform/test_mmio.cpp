// Tests of the buffered multimedia-file I/O and its RIFF chunk navigation.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "platform/mmio.h"
#include "support/files.h"

using namespace platform;
using namespace testfiles;

namespace {

// Opens a game path with an I/O buffer of `bufferBytes` (0: the default).
HMMIO Open(const std::string& path, int32_t bufferBytes = 0) {
    MMIOINFO info;
    info.cchBuffer = bufferBytes;
    return mmioOpen(path.c_str(), &info, MMIO_READ | MMIO_ALLOCBUF);
}

int32_t Tell(HMMIO f) {
    return mmioSeek(f, 0, SEEK_CUR);
}

// Looks for a chunk (or a form type) from the current position; `found` tells the result.
MMCKINFO Find(HMMIO f, const MMCKINFO* parent, const char* id, uint32_t flags,
              uint32_t found = MMSYSERR_NOERROR) {
    MMCKINFO ck;
    ck.ckid = ck.fccType = mmioFOURCC(id[0], id[1], id[2], id[3]);
    EXPECT_EQ(mmioDescend(f, &ck, parent, flags), found) << id;
    return ck;
}

} // namespace

TEST(Mmio, WalksTheChunksOfAForm) {
    DataDir dir;
    // RIFF WAVE { "junk" (odd, padded), "fmt ", LIST INFO { "INAM" }, "data" } then "xtra".
    std::string body = Chunk("junk", "abc") + Chunk("fmt ", std::string(16, 'f')) +
                       Form("LIST", "INFO", Chunk("INAM", "name")) + Chunk("data", "12345678");
    HMMIO f = Open(dir.Put("a.wav", Form("RIFF", "WAVE", body) + Chunk("xtra", "zz")));
    ASSERT_NE(f, nullptr);
    MMCKINFO riffChunk;
    ASSERT_EQ(mmioDescend(f, &riffChunk, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_TRUE(riffChunk.ckid == FOURCC_RIFF &&
                riffChunk.fccType == mmioFOURCC('W', 'A', 'V', 'E'));
    EXPECT_EQ(riffChunk.cksize, 4 + body.size());
    EXPECT_EQ(riffChunk.dwDataOffset, 8u);

    MMCKINFO fmt = Find(f, &riffChunk, "fmt ", MMIO_FINDCHUNK);
    EXPECT_EQ(fmt.dwDataOffset, 32u); // behind the padded "junk"
    ASSERT_EQ(mmioAscend(f, &fmt, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(Tell(f), 48);
    Find(f, &riffChunk, "adtl", MMIO_FINDLIST, MMIOERR_CHUNKNOTFOUND);
    MMCKINFO list = Find(f, &riffChunk, "INFO", MMIO_FINDLIST);
    EXPECT_EQ(list.dwDataOffset, 56u);
    EXPECT_EQ(Find(f, &list, "INAM", MMIO_FINDCHUNK).cksize, 4u);
    ASSERT_EQ(mmioAscend(f, &list, 0), MMSYSERR_NOERROR);
    Find(f, &riffChunk, "data", MMIO_FINDCHUNK);
    char bytes[8];
    ASSERT_EQ(mmioRead(f, bytes, 8), 8);
    EXPECT_EQ(std::string(bytes, 8), "12345678");

    // The search stops at the parent's end; without a parent it goes on to the file's end.
    ASSERT_EQ(mmioSeek(f, 12, SEEK_SET), 12);
    Find(f, &riffChunk, "xtra", MMIO_FINDCHUNK, MMIOERR_CHUNKNOTFOUND);
    EXPECT_EQ(Find(f, nullptr, "xtra", MMIO_FINDCHUNK).cksize, 2u);
    mmioClose(f, 0);
}

TEST(Mmio, ChunkSizesFromTheFileAreNotTrusted) {
    DataDir dir;
    // A chunk claiming 4 GB hides what follows, and ascending out of it cannot leave the file.
    HMMIO f = Open(dir.Put("huge.wav", Form("RIFF", "WAVE",
                                            Chunk("fmt ", "x", 0xFFFFFFFFu) + Chunk("data", "1234"),
                                            0xFFFFFFFFu)));
    ASSERT_NE(f, nullptr);
    MMCKINFO riffChunk = Find(f, nullptr, "RIFF", 0);
    Find(f, &riffChunk, "data", MMIO_FINDCHUNK, MMIOERR_CHUNKNOTFOUND);
    MMCKINFO fmt = Find(f, &riffChunk, "fmt ", MMIO_FINDCHUNK);
    EXPECT_EQ(mmioAscend(f, &fmt, 0), MMIOERR_CANNOTSEEK);
    mmioClose(f, 0);
}

// Reads through a small buffer and seeks. Handing the buffer to the caller (GetInfo, Advance,
// SetInfo) is checked by the WAVE reader's tests, which read long data in pieces.
TEST(Mmio, ReadsThroughASmallBufferAndSeeks) {
    DataDir dir;
    std::string content;
    for (int i = 0; i < 40; ++i) content += static_cast<char>(i);
    HMMIO f = Open(dir.Put("bytes.bin", content), 16);
    ASSERT_NE(f, nullptr);
    std::string got;
    char piece[7];
    for (int32_t n; (n = mmioRead(f, piece, 7)) > 0;) got.append(piece, static_cast<size_t>(n));
    EXPECT_EQ(got, content);
    EXPECT_EQ(mmioSeek(f, -10, SEEK_END), 30);
    EXPECT_EQ(mmioSeek(f, -26, SEEK_CUR), 4);
    EXPECT_EQ(mmioSeek(f, -1, SEEK_SET), -1);
    EXPECT_EQ(mmioSeek(f, 1, SEEK_END), -1);
    EXPECT_EQ(Tell(f), 4);
    mmioClose(f, 0);
    EXPECT_EQ(Open("missing.bin"), nullptr);
}

TEST(Mmio, OnlyRegularFilesAreOpened) {
    DataDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.wav").c_str(), 0600), 0);
    std::filesystem::create_directories(dir / "folder.wav");
    for (const char* path : {"./pipe.wav", "./folder.wav", "/dev/zero"})
        EXPECT_EQ(Open(path), nullptr) << path;
}
