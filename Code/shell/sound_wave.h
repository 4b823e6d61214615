// Sound files and the layer's small rules, with no system underneath: the
// output format and its WAVE header, appending to the WAVE files that
// spoken clips are assembled in, the kind of a sound by its name, the size
// up to which a file is played from memory, and the library's states as the
// layer reports them.
//
// Interface: kSoundOutputFormat, MakeWaveImage, IsRiffData, AppendWaveData
// (AppendWaveFile, WriteWaveFile), SoundKindForPath, kWholeSampleLimit,
// MapLibraryStatus, DeleteStreamFiles.
#pragma once

#include <cstddef>
#include <cstdint>

struct SoundFormat {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
};

// PCM, 1 channel, 22,050 Hz, 16-bit: every sound the layer builds.
extern const SoundFormat kSoundOutputFormat;

enum { kWaveHeaderSize = 44 };

// Writes the standard 44-byte header for `dataBytes` of samples.
void WriteWaveHeader(uint8_t* header, uint32_t dataBytes, const SoundFormat& format);

// A new block (from SoundAlloc) of size + 44 bytes: the header and the
// samples behind it. None for no block or when memory is refused.
uint8_t* MakeWaveImage(const uint8_t* block, uint32_t size, const SoundFormat& format);

bool IsRiffData(const void* block);

// Appends the samples of a WAVE image or of raw PCM (in the output format)
// to a WAVE file, dropping `lead` bytes at the start and `trail` at the end.
// Returns the file's size afterwards, 0 on failure. A file or block whose
// samples do not start at byte 44 of a plain WAVE header is refused; when
// lead and trail leave nothing, nothing is appended.
long AppendWaveData(const uint8_t* block, uint32_t size, const char* path, uint32_t lead, uint32_t trail,
                    bool create);
long AppendWaveFile(const uint8_t* block, uint32_t size, const char* path);
long WriteWaveFile(const uint8_t* block, uint32_t size, const char* path, bool create);

// The sound object's kind from the first of ".mp3", ".wav", ".raw", ".mid"
// found in the path (as written); 0 when none is.
int SoundKindForPath(const char* path);

// Files up to this size are played from memory, larger ones as streams.
constexpr long kWholeSampleLimit = 102400;

// The library's sample or stream state as the layer reports it.
int MapLibraryStatus(uint32_t libraryStatus);

// Deletes every "stream_*.wav" in the folder; the number deleted.
int DeleteStreamFiles(const char* folder);
