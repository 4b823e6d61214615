#include "sound_wave.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "sound_layer.h"

const SoundFormat kSoundOutputFormat = {1, 1, 22050, 44100, 2, 16};

namespace {

uint32_t Get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
void Put16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

// The only layout the layer appends to: RIFF, WAVE, a 16-byte "fmt " chunk
// and "data" at 36, so the samples start at byte 44.
bool IsPlainWaveHeader(const uint8_t* h) {
  return std::memcmp(h, "RIFF", 4) == 0 && std::memcmp(h + 8, "WAVEfmt ", 8) == 0 && Get32(h + 16) == 16 &&
         std::memcmp(h + 36, "data", 4) == 0;
}

long FileSize(std::FILE* f) {
  std::fseek(f, 0, SEEK_END);
  return std::ftell(f);
}

}  // namespace

void WriteWaveHeader(uint8_t* h, uint32_t dataBytes, const SoundFormat& f) {
  std::memcpy(h, "RIFF", 4);
  Put32(h + 4, 36 + dataBytes);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  Put32(h + 16, 16);
  Put16(h + 20, f.formatTag);
  Put16(h + 22, f.channels);
  Put32(h + 24, f.samplesPerSec);
  Put32(h + 28, f.avgBytesPerSec);
  Put16(h + 32, f.blockAlign);
  Put16(h + 34, f.bitsPerSample);
  std::memcpy(h + 36, "data", 4);
  Put32(h + 40, dataBytes);
}

uint8_t* MakeWaveImage(const uint8_t* block, uint32_t size, const SoundFormat& format) {
  if (!block || size > 0xFFFFFFFFu - kWaveHeaderSize - 2) return nullptr;
  uint8_t* image = static_cast<uint8_t*>(SoundAlloc(size + kWaveHeaderSize));
  if (!image) return nullptr;
  WriteWaveHeader(image, size, format);
  std::memcpy(image + kWaveHeaderSize, block, size);
  return image;
}

bool IsRiffData(const void* block) { return block && std::memcmp(block, "RIFF", 4) == 0; }

long AppendWaveData(const uint8_t* block, uint32_t size, const char* path, uint32_t lead, uint32_t trail,
                    bool create) {
  if (!block || size == 0 || !path) return 0;
  // A block too short to hold "RIFF" can only be raw samples.
  bool raw = size < 4 || !IsRiffData(block);
  if (!raw && (size < kWaveHeaderSize || !IsPlainWaveHeader(block))) return 0;
  std::FILE* f = create ? nullptr : std::fopen(path, "r+b");
  if (!f) f = std::fopen(path, "w+b");
  if (!f) return 0;
  const uint8_t* samples = raw ? block : block + kWaveHeaderSize;
  uint32_t sampleBytes = raw ? size : size - kWaveHeaderSize;
  // Lead and trail longer than the samples leave nothing to append.
  uint64_t cut = uint64_t(lead) + trail;
  uint32_t count = cut >= sampleBytes ? 0 : uint32_t(sampleBytes - cut);
  long result = 0;
  long existing = FileSize(f);
  uint8_t header[kWaveHeaderSize];
  if (existing > 0) {
    std::fseek(f, 0, SEEK_SET);
    if (existing < kWaveHeaderSize || std::fread(header, 1, kWaveHeaderSize, f) != kWaveHeaderSize ||
        !IsPlainWaveHeader(header)) {
      std::fclose(f);
      return 0;
    }
    if (count > 0) {
      Put32(header + 40, Get32(header + 40) + count);
      Put32(header + 4, Get32(header + 4) + count);
      std::fseek(f, 0, SEEK_SET);
      bool ok = std::fwrite(header, 1, kWaveHeaderSize, f) == kWaveHeaderSize;
      std::fseek(f, 0, SEEK_END);
      ok = ok && std::fwrite(samples + lead, 1, count, f) == count;
      if (!ok) {
        std::fclose(f);
        return 0;
      }
    }
  } else {
    if (raw)
      WriteWaveHeader(header, count, kSoundOutputFormat);
    else {
      std::memcpy(header, block, kWaveHeaderSize);
      Put32(header + 40, count);
      Put32(header + 4, 36 + count);
    }
    bool ok = std::fwrite(header, 1, kWaveHeaderSize, f) == kWaveHeaderSize;
    ok = ok && (count == 0 || std::fwrite(samples + lead, 1, count, f) == count);
    if (!ok) {
      std::fclose(f);
      return 0;
    }
  }
  result = FileSize(f);
  if (std::fclose(f) != 0) return 0;
  return result;
}

long AppendWaveFile(const uint8_t* block, uint32_t size, const char* path) {
  return AppendWaveData(block, size, path, 0, 0, false);
}

long WriteWaveFile(const uint8_t* block, uint32_t size, const char* path, bool create) {
  return AppendWaveData(block, size, path, 0, 0, create);
}

int SoundKindForPath(const char* path) {
  if (!path) return 0;
  static const struct {
    const char* text;
    int kind;
  } kinds[] = {{".mp3", 6}, {".wav", 1}, {".raw", 2}, {".mid", 9}};
  for (const auto& k : kinds)
    if (std::strstr(path, k.text)) return k.kind;
  return 0;
}

int MapLibraryStatus(uint32_t s) {
  switch (s) {
    case 1: return 3;
    case 2: return 2;
    case 4: return 1;
    case 8: return 5;
    case 16: return 4;
    default: return 0;
  }
}

int DeleteStreamFiles(const char* folder) {
  if (!folder) return 0;
  namespace fs = std::filesystem;
  std::error_code ec;
  int deleted = 0;
  std::vector<fs::path> doomed;
  for (fs::directory_iterator it(fs::u8path(folder), ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().u8string();
    std::string lower;
    for (char c : name) lower += char(std::tolower(static_cast<unsigned char>(c)));
    if (lower.empty() || lower[0] == '.') continue;
    if (lower.size() >= 11 && lower.compare(0, 7, "stream_") == 0 && lower.compare(lower.size() - 4, 4, ".wav") == 0)
      doomed.push_back(it->path());
  }
  for (const fs::path& p : doomed)
    if (fs::remove(p, ec)) ++deleted;
  return deleted;
}
