// Sounds: WAVE files read into sound buffers; the vanish-sound record; volumes.
#pragma once

#include <cstdint>

#include "platform/mmio.h"
#include "platform/sound.h"

// Program-wide music and effects volumes in hundredths of a decibel (0 = full).
extern int32_t Vol;
extern int32_t SeVol;

using SoundVar = platform::SoundBufferPtr;

struct WaveReader {
    platform::WaveFormat* format = nullptr; // owned: 18 bytes, or 18 + extra for non-PCM
    platform::HMMIO file = nullptr;
    platform::MMCKINFO dataChunk{};
    platform::MMCKINFO riffChunk{};
};

platform::HRESULT OpenWave(WaveReader& reader, const char* path);
platform::HRESULT ReadWaveFormat(WaveReader& reader, platform::HMMIO file);
platform::HRESULT ReadWaveData(platform::MMCKINFO& dataChunk, platform::HMMIO file,
                               uint8_t* destination, uint32_t size, uint32_t* bytesRead);
void CloseWave(WaveReader& reader);

// Makes `var` a fresh buffer holding the whole file, stopped at position 0; absent when the
// file cannot be read as WAVE.
void LoadSound(SoundVar& var, const char* path);

struct SoundRecord {
    SoundVar buffer;
    int32_t loaded = 0;
};
void ReleaseSoundRecord(SoundRecord& record);

// Playing rules. Absent buffers are ignored.
void PlayLooping(SoundVar& var); // music: starts, or goes on if playing
void PlayOnce(SoundVar& var);    // effects: starts unless already playing
void PlayEffect(SoundVar& var);  // PlayOnce at the effects volume SeVol
void SetVolume(SoundVar& var, int32_t volume);
void StopAndRewind(SoundVar& var);
