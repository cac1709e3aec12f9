// Sounds: the RIFF/WAVE reader, files loaded into sound buffers (music streamed from its file,
// effects held whole), and the playing rules.
#include "media/sound.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/mixer.h"
#include "platform/startup.h"
#include "platform/system.h"

using platform::E_FAIL;
using platform::HMMIO;
using platform::HRESULT;
using platform::MMCKINFO;
using platform::mmioFOURCC;
using platform::MMIOINFO;
using platform::S_OK;
using platform::WaveFormat;

int32_t Vol = 0, SeVol = 0;

namespace {

constexpr uint32_t kFormatHeader = 16; // the PCM part of the format: all but cbSize
constexpr uint32_t kBufferFlags = platform::DSBCAPS_CTRLFREQUENCY | platform::DSBCAPS_CTRLPAN |
                                  platform::DSBCAPS_CTRLVOLUME | platform::DSBCAPS_GLOBALFOCUS |
                                  platform::DSBCAPS_GETCURRENTPOSITION2;

void FreeFormat(WaveReader& reader) {
    std::free(reader.format);
    reader.format = nullptr;
}

// The bytes of the data chunk that the file really holds, in whole sample frames: a chunk
// that claims more than the rest of the file (a truncated file, or an absurd claim of 4 GB)
// gives what is there. Leaves the file at the start of the data.
uint32_t DataInFile(const WaveReader& reader) {
    const int32_t end = platform::mmioSeek(reader.file, 0, SEEK_END);
    const uint32_t start = reader.dataChunk.dwDataOffset;
    if (end < 0 || platform::mmioSeek(reader.file, static_cast<int32_t>(start), SEEK_SET) < 0)
        return 0;
    uint32_t bytes = std::min(reader.dataChunk.cksize, static_cast<uint32_t>(end) - start);
    uint32_t frame = reader.format && reader.format->nBlockAlign ? reader.format->nBlockAlign : 1;
    return bytes - bytes % frame;
}

// A WAVE file's data read piece by piece as its buffer plays. A file damaged or cut short since
// it was opened gives silence from there, and says so once.
class WaveStream final : public platform::StreamSource {
  public:
    WaveStream(WaveReader& reader, const char* path) : reader_(reader), path_(path) {
        reader = WaveReader{}; // the file and its format are this stream's now
    }
    ~WaveStream() override { CloseWave(reader_); }

    uint32_t Read(uint32_t offset, uint8_t* out, uint32_t bytes) override {
        const int64_t at = int64_t{reader_.dataChunk.dwDataOffset} + offset;
        int32_t read = -1;
        if (at <= INT32_MAX &&
            platform::mmioSeek(reader_.file, static_cast<int32_t>(at), SEEK_SET) >= 0) {
            read = platform::mmioRead(reader_.file, reinterpret_cast<char*>(out),
                                      static_cast<int32_t>(bytes));
        }
        if (read == static_cast<int32_t>(bytes)) return bytes;
        if (!reported_) {
            std::fprintf(stderr, "tessarune: %s: the sound data cannot be read from byte %u on\n",
                         path_.c_str(), offset + static_cast<uint32_t>(std::max(read, 0)));
            reported_ = true;
        }
        return static_cast<uint32_t>(std::max(read, 0));
    }

  private:
    WaveReader reader_;
    std::string path_;
    bool reported_ = false;
};

// Music and other sounds of more than two seconds are read from their file as they play.
bool Streamed(const WaveFormat& format, uint32_t bytes) {
    const uint32_t frames = bytes / format.nBlockAlign;
    return frames > 2 * format.nSamplesPerSec &&
           frames >= platform::Mixer::MinStreamFrames(format.nSamplesPerSec);
}

} // namespace

HRESULT OpenWave(WaveReader& reader, const char* path) {
    FreeFormat(reader);
    HMMIO file = platform::mmioOpen(path, nullptr, platform::MMIO_ALLOCBUF | platform::MMIO_READ);
    if (!file) return E_FAIL;
    if (HRESULT hr = ReadWaveFormat(reader, file); platform::Failed(hr)) {
        platform::mmioClose(file, 0);
        return hr;
    }
    reader.file = file;
    if (platform::mmioSeek(file, static_cast<int32_t>(reader.riffChunk.dwDataOffset + 4),
                           SEEK_SET) < 0) {
        return E_FAIL;
    }
    reader.dataChunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (platform::mmioDescend(file, &reader.dataChunk, &reader.riffChunk,
                              platform::MMIO_FINDCHUNK) != 0) {
        return E_FAIL;
    }
    return S_OK;
}

HRESULT ReadWaveFormat(WaveReader& reader, HMMIO file) {
    FreeFormat(reader);
    if (platform::mmioDescend(file, &reader.riffChunk, nullptr, 0) != 0 ||
        reader.riffChunk.ckid != platform::FOURCC_RIFF ||
        reader.riffChunk.fccType != mmioFOURCC('W', 'A', 'V', 'E')) {
        return E_FAIL;
    }
    MMCKINFO fmt;
    fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (platform::mmioDescend(file, &fmt, &reader.riffChunk, platform::MMIO_FINDCHUNK) != 0 ||
        fmt.cksize < kFormatHeader) {
        return E_FAIL;
    }
    WaveFormat pcm;
    if (platform::mmioRead(file, reinterpret_cast<char*>(&pcm), kFormatHeader) !=
        static_cast<int32_t>(kFormatHeader)) {
        return E_FAIL;
    }
    uint16_t extra = 0;
    if (pcm.wFormatTag != platform::WAVE_FORMAT_PCM &&
        platform::mmioRead(file, reinterpret_cast<char*>(&extra), 2) != 2) {
        return E_FAIL;
    }
    auto* block = static_cast<WaveFormat*>(std::malloc(sizeof(WaveFormat) + extra));
    if (!block) return E_FAIL;
    *block = pcm;
    block->cbSize = extra;
    if (extra > 0 && platform::mmioRead(file, reinterpret_cast<char*>(block + 1), extra) != extra) {
        std::free(block);
        return E_FAIL;
    }
    reader.format = block;
    if (platform::mmioAscend(file, &fmt, 0) != 0) {
        FreeFormat(reader);
        return E_FAIL;
    }
    return S_OK;
}

HRESULT ReadWaveData(MMCKINFO& dataChunk, HMMIO file, uint8_t* destination, uint32_t size,
                     uint32_t* bytesRead) {
    if (bytesRead) *bytesRead = 0;
    MMIOINFO info;
    if (platform::mmioGetInfo(file, &info, 0) != 0) return E_FAIL;
    const uint32_t n = size < dataChunk.cksize ? size : dataChunk.cksize;
    dataChunk.cksize -= n;
    // What the I/O buffer holds is copied at once; the buffer is refilled when it runs out.
    for (uint32_t i = 0; i < n;) {
        if (info.pchNext == info.pchEndRead) {
            if (platform::mmioAdvance(file, &info, platform::MMIO_READ) != 0 ||
                info.pchNext == info.pchEndRead) {
                return E_FAIL; // the file ended before the chunk did
            }
        }
        auto run = std::min<size_t>(n - i, static_cast<size_t>(info.pchEndRead - info.pchNext));
        std::memcpy(destination + i, info.pchNext, run);
        info.pchNext += run;
        i += static_cast<uint32_t>(run);
    }
    if (platform::mmioSetInfo(file, &info, 0) != 0) return E_FAIL;
    if (bytesRead) *bytesRead = n;
    return S_OK;
}

void CloseWave(WaveReader& reader) {
    if (reader.file) platform::mmioClose(reader.file, 0);
    reader.file = nullptr;
    FreeFormat(reader);
}

void LoadSound(SoundVar& var, const char* path) {
    var.reset();
    platform::SoundDevice* sound = platform::Sound();
    if (!sound) return;
    WaveReader reader;
    uint32_t bytes = platform::Failed(OpenWave(reader, path)) ? 0 : DataInFile(reader);
    if (bytes == 0) {
        CloseWave(reader);
        return;
    }
    platform::BufferDesc desc;
    desc.dwFlags = kBufferFlags;
    desc.dwBufferBytes = bytes;
    desc.lpwfxFormat = reader.format;
    if (reader.format->wFormatTag == platform::WAVE_FORMAT_PCM && Streamed(*reader.format, bytes)) {
        const WaveFormat format = *reader.format;
        desc.lpwfxFormat = &format;
        if (platform::Failed(
                sound->CreateStreamBuffer(desc, std::make_unique<WaveStream>(reader, path), var))) {
            var.reset();
        }
        platform::MarkStartup(path);
        return;
    }
    if (platform::Failed(sound->CreateSoundBuffer(desc, var))) {
        var.reset();
        CloseWave(reader);
        return;
    }
    void* ptr1 = nullptr;
    void* ptr2 = nullptr;
    uint32_t bytes1 = 0, bytes2 = 0;
    HRESULT hr = var->Lock(0, desc.dwBufferBytes, &ptr1, &bytes1, &ptr2, &bytes2, 0);
    if (hr == platform::DSERR_BUFFERLOST) {
        var->Restore();
        hr = var->Lock(0, desc.dwBufferBytes, &ptr1, &bytes1, &ptr2, &bytes2, 0);
    }
    if (!platform::Failed(hr)) {
        // A short read keeps what was copied; the rest of the buffer stays silent.
        uint32_t read = 0;
        ReadWaveData(reader.dataChunk, reader.file, static_cast<uint8_t*>(ptr1), bytes1, &read);
        if (ptr2 && bytes2 > 0) {
            ReadWaveData(reader.dataChunk, reader.file, static_cast<uint8_t*>(ptr2), bytes2, &read);
        }
        var->Unlock(ptr1, bytes1, ptr2, bytes2);
    }
    CloseWave(reader);
    platform::MarkStartup(path);
}

void ReleaseSoundRecord(SoundRecord& record) {
    record.loaded = 0;
    record.buffer.reset();
}

void PlayLooping(SoundVar& var) {
    if (var) var->Play(0, 0, platform::DSBPLAY_LOOPING);
}

void PlayOnce(SoundVar& var) {
    if (var) var->Play(0, 0, 0);
}

void PlayEffect(SoundVar& var) {
    SetVolume(var, SeVol);
    PlayOnce(var);
}

void SetVolume(SoundVar& var, int32_t volume) {
    if (var) var->SetVolume(volume);
}

void StopAndRewind(SoundVar& var) {
    if (!var) return;
    var->Stop();
    var->SetCurrentPosition(0);
}
