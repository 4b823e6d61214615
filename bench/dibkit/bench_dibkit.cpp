// bench_dibkit: megapixels per second of the copies that sprite painting
// uses, and megabytes per second of the item decoders.
//   bench_dibkit [seconds per case]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

#include "adpcm.h"
#include "dibkit.h"
#include "implode.h"

namespace {

// Runs `step` repeatedly for about `seconds`; the rate of `units` per second.
double Rate(double seconds, double units, const std::function<void()>& step) {
  using Clock = std::chrono::steady_clock;
  auto start = Clock::now();
  long runs = 0;
  double elapsed = 0;
  do {
    step();
    ++runs;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < seconds);
  return runs * units / elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 0.5;
  const int w = 640, h = 480;
  PackedDib* src8 = dibCreateWithColors(w, h, 8);
  PackedDib* dst8 = dibCreateWithColors(w, h, 8);
  PackedDib* dst16 = dibCreateWithColors(w, h, 16);
  PackedDib* dst24 = dibCreateWithColors(w, h, 24);
  std::mt19937 rng(1);
  auto* bits = static_cast<uint8_t*>(dibGetBits(src8));
  for (uint32_t i = 0; i < src8->biSizeImage; ++i) bits[i] = static_cast<uint8_t>(rng() % 4 == 0 ? 0 : rng());
  const double mpix = w * h / 1e6;

  struct Case {
    const char* name;
    std::function<void()> step;
  } cases[] = {
      {"copy 8->8", [&] { dibCopyDIB(dst8, src8, 0, 0, 0, 0, w, h); }},
      {"transparent 8->8", [&] { dibTransCopyDIB(dst8, src8, 0, 0, 0, 0, w, h, 0); }},
      {"haze 8->8", [&] { dibFXCopyDIB(dst8, src8, 0, 0, 0, 0, w, h, DIB_FX_HAZE, 0, 7); }},
      {"transparent 8->16", [&] { dibTransCopyDIB(dst16, src8, 0, 0, 0, 0, w, h, 0); }},
      {"transparent 8->24", [&] { dibTransCopyDIB(dst24, src8, 0, 0, 0, 0, w, h, 0); }},
      {"copy 16->24", [&] { dibCopyDIB(dst24, dst16, 0, 0, 0, 0, w, h); }},
  };
  for (const Case& c : cases) std::printf("%-20s %8.1f Mpixel/s\n", c.name, Rate(seconds, mpix, c.step));

  std::vector<uint8_t> text(1 << 20);
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<uint8_t>("1. e4 e5 2. Nf3 Nc6 3. Bb5 "[i % 27] + (rng() % 16 == 0));
  std::vector<uint8_t> packed = packfile::Implode(text.data(), text.size());
  std::vector<uint8_t> out(text.size());
  std::vector<uint8_t> work(packfile::ExplodeWorkSize());
  std::printf("%-20s %8.1f MB/s (ratio %.2f)\n", "explode",
              Rate(seconds, text.size() / 1e6,
                   [&] {
                     packfile::Explode(reinterpret_cast<packfile::ExplodeWork*>(work.data()), packed.data(),
                                       packed.size(), out.data(), out.size());
                   }),
              static_cast<double>(packed.size()) / text.size());
  std::vector<int16_t> samples(1 << 19);
  for (auto& s : samples) s = static_cast<int16_t>(rng());
  std::vector<uint8_t> adpcm = packfile::AdpcmEncode(samples.data(), samples.size());
  std::vector<uint8_t> pcm(samples.size() * 2);
  std::printf("%-20s %8.1f MB/s of samples\n", "ADPCM decode", Rate(seconds, pcm.size() / 1e6, [&] {
                packfile::AdpcmDecodeItem(adpcm.data(), adpcm.size(), pcm.data(), pcm.size());
              }));
  dibDelete(src8);
  dibDelete(dst8);
  dibDelete(dst16);
  dibDelete(dst24);
  return 0;
}
