// Tests of the WAVE reader, LoadSound and the playing rules of sound buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "media/sound.h"
#include "platform/mixer.h"
#include "platform/riff_builder.h"
#include "platform/system.h"

using namespace platform;

namespace {

std::string Wave(std::string_view fmtBody, std::string_view data) {
    return riff::Form("RIFF", "WAVE",
                      riff::Chunk("fmt ", fmtBody) + riff::Chunk("LIST", "skip") +
                          riff::Chunk("data", data));
}

// 16-bit stereo samples at the mix rate, as the bytes of a data chunk.
std::string Samples(const std::vector<int16_t>& s) {
    return std::string(reinterpret_cast<const char*>(s.data()), s.size() * 2);
}

// Installs a sound object for the test and removes it afterwards.
class WithSound {
  public:
    explicit WithSound(SoundDevice* sound) { SetSound(sound); }
    ~WithSound() { SetSound(nullptr); }
};

// A sound object that records what LoadSound asks of it. Its buffers split a lock into two
// regions at `split` bytes and may report the buffer lost on the first lock.
class FakeSound final : public SoundDevice {
  public:
    struct Buffer final : SoundBuffer {
        FakeSound& owner;
        std::vector<uint8_t> bytes;
        explicit Buffer(FakeSound& o, uint32_t size) : owner(o), bytes(size, 0xEE) {}
        HRESULT Lock(uint32_t, uint32_t, void** p1, uint32_t* n1, void** p2, uint32_t* n2,
                     uint32_t) override {
            if (owner.loseFirstLock && owner.locks++ == 0) return DSERR_BUFFERLOST;
            uint32_t split = std::min<uint32_t>(owner.split, static_cast<uint32_t>(bytes.size()));
            *p1 = bytes.data() + (bytes.size() - split);
            *n1 = split;
            *p2 = bytes.data();
            *n2 = static_cast<uint32_t>(bytes.size()) - split;
            return S_OK;
        }
        HRESULT Unlock(void*, uint32_t, void*, uint32_t) override {
            ++owner.unlocks;
            return S_OK;
        }
        HRESULT Play(uint32_t, uint32_t, uint32_t) override { return S_OK; }
        HRESULT Stop() override { return S_OK; }
        HRESULT SetCurrentPosition(uint32_t) override { return S_OK; }
        HRESULT GetCurrentPosition(uint32_t*, uint32_t*) override { return S_OK; }
        HRESULT SetVolume(int32_t) override { return S_OK; }
        HRESULT GetVolume(int32_t*) override { return S_OK; }
        HRESULT GetStatus(uint32_t*) override { return S_OK; }
        HRESULT Restore() override {
            ++owner.restores;
            return S_OK;
        }
        HRESULT SetFormat(const WaveFormat*) override { return E_FAIL; }
    };

    HRESULT SetCooperativeLevel(void*, uint32_t) override { return S_OK; }
    HRESULT CreateSoundBuffer(const BufferDesc& desc, SoundBufferPtr& out) override {
        ++creates;
        flags = desc.dwFlags;
        format = *desc.lpwfxFormat;
        auto b = std::make_unique<Buffer>(*this, desc.dwBufferBytes);
        last = b.get();
        out = std::move(b);
        return S_OK;
    }

    uint32_t split = 0xFFFFFFFF;
    bool loseFirstLock = false;
    int creates = 0, locks = 0, unlocks = 0, restores = 0;
    uint32_t flags = 0;
    WaveFormat format;
    Buffer* last = nullptr;
};

struct WaveFile : ::testing::Test {
    ScratchDir dir;
    WaveReader reader;
    ~WaveFile() override { CloseWave(reader); }
};

} // namespace

TEST_F(WaveFile, PcmFormatAndDataAreRead) {
    const std::string data = "0123456789";
    ASSERT_EQ(
        OpenWave(reader, riff::Put(dir, "a.wav", Wave(riff::PcmFormat(1, 8000, 8), data)).c_str()),
        S_OK);
    ASSERT_NE(reader.format, nullptr);
    EXPECT_EQ(reader.format->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(reader.format->nChannels, 1);
    EXPECT_EQ(reader.format->nSamplesPerSec, 8000u);
    EXPECT_EQ(reader.format->cbSize, 0);
    EXPECT_EQ(reader.dataChunk.cksize, data.size());

    // The chunk's size counts what is left: a request beyond it gets only the rest.
    uint8_t out[16] = {};
    uint32_t read = 99;
    ASSERT_EQ(ReadWaveData(reader.dataChunk, reader.file, out, 4, &read), S_OK);
    EXPECT_EQ(read, 4u);
    EXPECT_EQ(reader.dataChunk.cksize, 6u);
    ASSERT_EQ(ReadWaveData(reader.dataChunk, reader.file, out + 4, 16, &read), S_OK);
    EXPECT_EQ(read, 6u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 10), data);
    ASSERT_EQ(ReadWaveData(reader.dataChunk, reader.file, out, 16, &read), S_OK);
    EXPECT_EQ(read, 0u);

    CloseWave(reader);
    EXPECT_EQ(reader.format, nullptr);
    EXPECT_EQ(reader.file, nullptr);
}

TEST_F(WaveFile, NonPcmFormatKeepsItsExtraBytes) {
    std::string fmt = riff::PcmFormat(2, 22050, 4);
    fmt[0] = 2; // an ADPCM tag
    fmt += riff::U16(5) + "extra";
    ASSERT_EQ(OpenWave(reader, riff::Put(dir, "adpcm.wav", Wave(fmt, "dd")).c_str()), S_OK);
    ASSERT_NE(reader.format, nullptr);
    EXPECT_EQ(reader.format->wFormatTag, 2);
    EXPECT_EQ(reader.format->cbSize, 5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(reader.format + 1), 5), "extra");
    EXPECT_EQ(reader.dataChunk.cksize, 2u);
}

TEST_F(WaveFile, DamagedFilesAreRefused) {
    const std::string pcm = riff::PcmFormat(2, 44100, 16);
    std::string noExtra = pcm;
    noExtra[0] = 2;
    std::string shortExtra = noExtra + riff::U16(100) + "abc";
    const std::string good = Wave(pcm, "abcd");
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"short fmt", Wave(pcm.substr(0, 14), "abcd")},
        {"no fmt", riff::Form("RIFF", "WAVE", riff::Chunk("data", "abcd"))},
        {"no data", riff::Form("RIFF", "WAVE", riff::Chunk("fmt ", pcm))},
        {"not WAVE", riff::Form("RIFF", "AVI ", riff::Chunk("fmt ", pcm))},
        {"not RIFF", "RIFX" + good.substr(4)},
        {"truncated header", good.substr(0, 10)},
        {"truncated fmt", good.substr(0, 30)},
        {"empty", ""},
        {"missing extra count", Wave(noExtra, "abcd").substr(0, 36)},
        {"short extra bytes", riff::Form("RIFF", "WAVE", riff::Chunk("fmt ", shortExtra))},
        {"fmt claims 4 GB",
         riff::Form("RIFF", "WAVE", riff::Chunk("fmt ", pcm, 0xFFFFFFF0u) + "data")},
        {"data after the RIFF end",
         riff::Form("RIFF", "WAVE", riff::Chunk("fmt ", pcm)) + riff::Chunk("data", "abcd")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OpenWave(reader, riff::Put(dir, "bad.wav", c.bytes).c_str()), E_FAIL) << c.what;
        CloseWave(reader);
        EXPECT_EQ(reader.format, nullptr) << c.what;
    }
    EXPECT_EQ(OpenWave(reader, "missing.wav"), E_FAIL);
}

TEST_F(WaveFile, ShortDataChunkFailsAfterCopyingWhatThereIs) {
    std::string file = riff::Form("RIFF", "WAVE", riff::Chunk("fmt ", riff::PcmFormat(1, 8000, 8)));
    file += riff::Chunk("data", "", 100) + "0123456789";
    // The RIFF size is patched to cover the data chunk's header.
    file.replace(4, 4, riff::U32(static_cast<uint32_t>(file.size() - 8)));
    ASSERT_EQ(OpenWave(reader, riff::Put(dir, "short.wav", file).c_str()), S_OK);
    std::vector<uint8_t> out(100, 0xEE);
    uint32_t read = 99;
    EXPECT_EQ(ReadWaveData(reader.dataChunk, reader.file, out.data(), 100, &read), E_FAIL);
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 10), "0123456789");
    EXPECT_EQ(out[10], 0xEE);
}

TEST_F(WaveFile, LoadSoundFillsAStoppedBufferOfTheMixer) {
    Mixer mixer;
    WithSound installed(&mixer);
    const std::vector<int16_t> samples = {100, -100, 200, -200, 300, -300};
    SoundVar var;
    LoadSound(
        var,
        riff::Put(dir, "a.wav", Wave(riff::PcmFormat(2, 44100, 16), Samples(samples))).c_str());
    ASSERT_TRUE(var);
    uint32_t status = 1, position = 1;
    var->GetStatus(&status);
    var->GetCurrentPosition(&position, nullptr);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(position, 0u);
    var->Play(0, 0, 0);
    std::vector<int16_t> out(6);
    mixer.Mix(out.data(), 3);
    EXPECT_EQ(out, samples);

    // A file that cannot be read empties the variable; so does a missing sound object.
    LoadSound(var, riff::Put(dir, "bad.wav", "RIFF").c_str());
    EXPECT_FALSE(var);
    LoadSound(var, "a.wav");
    ASSERT_TRUE(var);
    SetSound(nullptr);
    LoadSound(var, "a.wav");
    EXPECT_FALSE(var);
}

TEST_F(WaveFile, LoadSoundFillsBothLockRegionsAndRetriesALostBuffer) {
    FakeSound sound;
    sound.split = 3;
    sound.loseFirstLock = true;
    WithSound installed(&sound);
    SoundVar var;
    LoadSound(var, riff::Put(dir, "a.wav", Wave(riff::PcmFormat(1, 11025, 8), "abcdefgh")).c_str());
    ASSERT_TRUE(var);
    EXPECT_EQ(sound.creates, 1);
    EXPECT_EQ(sound.flags, 0x180E0u);
    EXPECT_EQ(sound.format.nSamplesPerSec, 11025u);
    EXPECT_EQ(sound.restores, 1);
    EXPECT_EQ(sound.locks, 2);
    EXPECT_EQ(sound.unlocks, 1);
    // The first region (the last 3 bytes) is filled first, then the second (the first 5).
    EXPECT_EQ(std::string(sound.last->bytes.begin(), sound.last->bytes.end()), "defghabc");
}

TEST_F(WaveFile, LoadSoundRefusesDataTheFileCannotHold) {
    FakeSound sound;
    WithSound installed(&sound);
    const std::string fmt = riff::Chunk("fmt ", riff::PcmFormat(2, 44100, 16));
    SoundVar var;
    for (uint32_t claim : {0xFFFFFFFFu, 0x80000000u, 5u}) {
        std::string file =
            riff::Form("RIFF", "WAVE", fmt) + riff::Chunk("data", "", claim) + "1234";
        file.replace(4, 4, riff::U32(0xFFFFFFFFu));
        LoadSound(var, riff::Put(dir, "claim.wav", file).c_str());
        EXPECT_FALSE(var) << claim;
    }
    EXPECT_EQ(sound.creates, 0);
}

TEST_F(WaveFile, PlayingRules) {
    Mixer mixer;
    WithSound installed(&mixer);
    std::vector<int16_t> samples(200, 1000);
    SoundVar music, effect, absent;
    const std::string path =
        riff::Put(dir, "m.wav", Wave(riff::PcmFormat(2, 44100, 16), Samples(samples)));
    LoadSound(music, path.c_str());
    LoadSound(effect, path.c_str());
    ASSERT_TRUE(music && effect);
    int16_t out[2 * 10];

    // Music called every frame goes on looping without restarting.
    PlayLooping(music);
    mixer.Mix(out, 10);
    PlayLooping(music);
    uint32_t status = 0, position = 0;
    music->GetStatus(&status);
    music->GetCurrentPosition(&position, nullptr);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    EXPECT_EQ(position, 40u);
    StopAndRewind(music);
    music->GetStatus(&status);
    music->GetCurrentPosition(&position, nullptr);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(position, 0u);

    // Effects play once at the effects level.
    SeVol = -2000;
    PlayEffect(effect);
    int32_t volume = 0;
    effect->GetVolume(&volume);
    effect->GetStatus(&status);
    EXPECT_EQ(volume, -2000);
    EXPECT_EQ(status, DSBSTATUS_PLAYING);
    SeVol = 0;

    // Nothing happens to an absent buffer.
    PlayLooping(absent);
    PlayEffect(absent);
    SetVolume(absent, -100);
    StopAndRewind(absent);

    SoundRecord record;
    record.buffer = std::move(music);
    record.loaded = 1;
    ReleaseSoundRecord(record);
    EXPECT_FALSE(record.buffer);
    EXPECT_EQ(record.loaded, 0);
}
