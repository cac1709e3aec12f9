// Tests of the buffered multimedia-file I/O and its RIFF chunk navigation.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/mmio.h"
#include "platform/riff_builder.h"

using namespace platform;

namespace {

constexpr FOURCC kFmt = mmioFOURCC('f', 'm', 't', ' ');
constexpr FOURCC kData = mmioFOURCC('d', 'a', 't', 'a');
constexpr FOURCC kWave = mmioFOURCC('W', 'A', 'V', 'E');

// Opens a game path with an I/O buffer of `bufferBytes` (0: the default).
HMMIO Open(const std::string& path, int32_t bufferBytes = 0) {
    MMIOINFO info;
    info.cchBuffer = bufferBytes;
    return mmioOpen(path.c_str(), &info, MMIO_READ | MMIO_ALLOCBUF);
}

int32_t Tell(HMMIO f) {
    return mmioSeek(f, 0, SEEK_CUR);
}

std::string Bytes(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>(i);
    return s;
}

} // namespace

TEST(Mmio, WalksTheChunksOfAForm) {
    ScratchDir dir;
    // RIFF WAVE { "junk" (odd, padded), "fmt ", LIST INFO { "INAM" }, "data" } then "xtra"
    // outside the RIFF chunk.
    std::string body =
        riff::Chunk("junk", "abc") + riff::Chunk("fmt ", riff::PcmFormat(2, 44100, 16)) +
        riff::Form("LIST", "INFO", riff::Chunk("INAM", "name")) + riff::Chunk("data", "12345678");
    std::string path =
        riff::Put(dir, "a.wav", riff::Form("RIFF", "WAVE", body) + riff::Chunk("xtra", "zz"));
    HMMIO f = Open(path);
    ASSERT_NE(f, nullptr);

    MMCKINFO riffChunk;
    ASSERT_EQ(mmioDescend(f, &riffChunk, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(riffChunk.ckid, FOURCC_RIFF);
    EXPECT_EQ(riffChunk.fccType, kWave);
    EXPECT_EQ(riffChunk.cksize, 4 + body.size());
    EXPECT_EQ(riffChunk.dwDataOffset, 8u);
    EXPECT_EQ(Tell(f), 12);

    // The odd "junk" chunk is skipped with its pad byte.
    MMCKINFO fmt;
    fmt.ckid = kFmt;
    ASSERT_EQ(mmioDescend(f, &fmt, &riffChunk, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(fmt.dwDataOffset, 32u);
    EXPECT_EQ(fmt.cksize, 16u);
    char tag[2];
    ASSERT_EQ(mmioRead(f, tag, 2), 2);
    EXPECT_EQ(tag[0], 1);
    ASSERT_EQ(mmioAscend(f, &fmt, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(Tell(f), 48);

    // A LIST is found by its form type, and searched as a parent in turn.
    MMCKINFO list;
    list.fccType = mmioFOURCC('a', 'd', 't', 'l');
    EXPECT_EQ(mmioDescend(f, &list, &riffChunk, MMIO_FINDLIST), MMIOERR_CHUNKNOTFOUND);
    EXPECT_EQ(Tell(f), 48);
    list.fccType = mmioFOURCC('I', 'N', 'F', 'O');
    ASSERT_EQ(mmioDescend(f, &list, &riffChunk, MMIO_FINDLIST), MMSYSERR_NOERROR);
    EXPECT_EQ(list.dwDataOffset, 56u);
    MMCKINFO name;
    name.ckid = mmioFOURCC('I', 'N', 'A', 'M');
    ASSERT_EQ(mmioDescend(f, &name, &list, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(name.cksize, 4u);
    ASSERT_EQ(mmioAscend(f, &list, 0), MMSYSERR_NOERROR);

    MMCKINFO data;
    data.ckid = kData;
    ASSERT_EQ(mmioDescend(f, &data, &riffChunk, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    char bytes[9] = {};
    EXPECT_EQ(mmioRead(f, bytes, 8), 8);
    EXPECT_STREQ(bytes, "12345678");

    // The search stops at the parent's end; without a parent it goes on to the file's end.
    MMCKINFO xtra;
    xtra.ckid = mmioFOURCC('x', 't', 'r', 'a');
    ASSERT_EQ(mmioSeek(f, 12, SEEK_SET), 12);
    EXPECT_EQ(mmioDescend(f, &xtra, &riffChunk, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    EXPECT_EQ(mmioDescend(f, &xtra, nullptr, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(xtra.cksize, 2u);
    EXPECT_EQ(mmioClose(f, 0), MMSYSERR_NOERROR);
}

TEST(Mmio, ChunkSizesFromTheFileAreNotTrusted) {
    ScratchDir dir;
    // A chunk claiming 4 GB hides what follows; ascending out of it cannot leave the file.
    std::string huge = riff::Form(
        "RIFF", "WAVE", riff::Chunk("fmt ", "x", 0xFFFFFFFFu) + riff::Chunk("data", "1234"),
        0xFFFFFFFFu);
    HMMIO f = Open(riff::Put(dir, "huge.wav", huge));
    ASSERT_NE(f, nullptr);
    MMCKINFO riffChunk;
    ASSERT_EQ(mmioDescend(f, &riffChunk, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(riffChunk.cksize, 0xFFFFFFFFu);
    MMCKINFO data;
    data.ckid = kData;
    EXPECT_EQ(mmioDescend(f, &data, &riffChunk, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    MMCKINFO fmt;
    fmt.ckid = kFmt;
    ASSERT_EQ(mmioDescend(f, &fmt, &riffChunk, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioAscend(f, &fmt, 0), MMIOERR_CANNOTSEEK);
    mmioClose(f, 0);

    // Truncated headers: a chunk header cut short, and a RIFF chunk without its form type.
    for (std::string cut : {std::string("RIFF\x10\0", 6), std::string("RIFF\x10\0\0\0WA", 10)}) {
        HMMIO g = Open(riff::Put(dir, "cut.wav", cut));
        ASSERT_NE(g, nullptr);
        MMCKINFO ck;
        EXPECT_EQ(mmioDescend(g, &ck, nullptr, 0), MMIOERR_CHUNKNOTFOUND) << cut.size();
        mmioClose(g, 0);
    }

    // An odd chunk at the very end of the file may lack its pad byte.
    HMMIO h = Open(riff::Put(dir, "odd.bin", std::string("abcd\x03\0\0\0xyz", 11)));
    ASSERT_NE(h, nullptr);
    MMCKINFO odd;
    ASSERT_EQ(mmioDescend(h, &odd, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioAscend(h, &odd, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(Tell(h), 11);
    mmioClose(h, 0);
}

TEST(Mmio, ReadsAndSeeksAcrossBufferRefills) {
    ScratchDir dir;
    const std::string content = Bytes(100);
    HMMIO f = Open(riff::Put(dir, "bytes.bin", content), 16);
    ASSERT_NE(f, nullptr);
    std::string got;
    char piece[7];
    for (int32_t n; (n = mmioRead(f, piece, 7)) > 0;) got.append(piece, static_cast<size_t>(n));
    EXPECT_EQ(got, content);
    EXPECT_EQ(mmioRead(f, piece, 7), 0);

    EXPECT_EQ(mmioSeek(f, -10, SEEK_END), 90);
    EXPECT_EQ(mmioSeek(f, -85, SEEK_CUR), 5);
    ASSERT_EQ(mmioRead(f, piece, 3), 3);
    EXPECT_EQ(std::string(piece, 3), content.substr(5, 3));
    EXPECT_EQ(mmioSeek(f, 50, SEEK_SET), 50);
    ASSERT_EQ(mmioRead(f, piece, 7), 7);
    EXPECT_EQ(std::string(piece, 7), content.substr(50, 7));

    // Before the start or past the end is refused and the position stays.
    EXPECT_EQ(mmioSeek(f, -1, SEEK_SET), -1);
    EXPECT_EQ(mmioSeek(f, 1, SEEK_END), -1);
    EXPECT_EQ(mmioSeek(f, 0, 7), -1);
    EXPECT_EQ(Tell(f), 57);
    mmioClose(f, 0);

    EXPECT_EQ(Open("missing.bin"), nullptr);
    EXPECT_EQ(mmioOpen(riff::Put(dir, "w.bin", "x").c_str(), nullptr, 1 /* write */), nullptr);
}

TEST(Mmio, CallerConsumesTheBufferDirectly) {
    ScratchDir dir;
    const std::string content = Bytes(40);
    HMMIO f = Open(riff::Put(dir, "bytes.bin", content), 16);
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(mmioSeek(f, 4, SEEK_SET), 4);

    MMIOINFO info;
    ASSERT_EQ(mmioGetInfo(f, &info, 0), MMSYSERR_NOERROR);
    std::string got;
    while (got.size() < 36) {
        if (info.pchNext == info.pchEndRead) {
            ASSERT_EQ(mmioAdvance(f, &info, MMIO_READ), MMSYSERR_NOERROR);
            ASSERT_NE(info.pchNext, info.pchEndRead);
            EXPECT_EQ(info.lBufOffset, static_cast<int32_t>(4 + got.size()));
        }
        got += *info.pchNext++;
    }
    EXPECT_EQ(got, content.substr(4));
    // At the end of the file the refilled buffer is empty.
    ASSERT_EQ(mmioAdvance(f, &info, MMIO_READ), MMSYSERR_NOERROR);
    EXPECT_EQ(info.pchNext, info.pchEndRead);

    // What the caller consumed is taken back: reading goes on behind it.
    ASSERT_EQ(mmioSeek(f, 20, SEEK_SET), 20);
    ASSERT_EQ(mmioGetInfo(f, &info, 0), MMSYSERR_NOERROR);
    if (info.pchNext == info.pchEndRead) {
        ASSERT_EQ(mmioAdvance(f, &info, MMIO_READ), MMSYSERR_NOERROR);
    }
    info.pchNext += 3;
    ASSERT_EQ(mmioSetInfo(f, &info, 0), MMSYSERR_NOERROR);
    char c;
    ASSERT_EQ(mmioRead(f, &c, 1), 1);
    EXPECT_EQ(c, content[23]);

    // A next pointer outside the read data is refused.
    ASSERT_EQ(mmioGetInfo(f, &info, 0), MMSYSERR_NOERROR);
    info.pchNext = info.pchEndRead + 1;
    EXPECT_EQ(mmioSetInfo(f, &info, 0), MMSYSERR_INVALPARAM);
    mmioClose(f, 0);
}
