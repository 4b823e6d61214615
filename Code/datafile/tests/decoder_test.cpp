// The ADPCM and implode decoders, alone and through packed items.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "adpcm.h"
#include "heapkit.h"
#include "implode.h"
#include "pack_fixture.h"
#include "pack_writer.h"
#include "packfile.h"

using namespace packtest;

namespace {

Bytes Explode(const Bytes& in, size_t capacity, packfile::ExplodeCode* code) {
  Bytes out(capacity);
  std::vector<uint8_t> work(packfile::ExplodeWorkSize());
  auto r = packfile::Explode(reinterpret_cast<packfile::ExplodeWork*>(work.data()), in.data(), in.size(),
                             out.data(), out.size());
  *code = r.code;
  out.resize(r.written);
  return out;
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(Adpcm, FirstSampleComesFromTheHighNibble) {
  Bytes stored(17, 0);
  stored[0] = 0x70;  // high nibble 7, low nibble 0
  uint8_t out[4];
  ASSERT_EQ(packfile::AdpcmDecodeItem(stored.data(), stored.size(), out, sizeof out), 4u);
  // 7 with step 7: 7/8 + 7 + 7/2 + 7/4 = 11; then 0 with step 16: 16/8 = 2.
  EXPECT_EQ(out[0] | out[1] << 8, 11);
  EXPECT_EQ(out[2] | out[3] << 8, 13);
}

TEST(Adpcm, TrailerIsNeverDecodedAndCapacityHolds) {
  struct Case {
    size_t stored, capacity, produced;
  } cases[] = {{0, 100, 0},        {1, 100, 0},         {16, 100, 0}, {17, 100, 4},
               {516, 10000, 2000}, {1016, 10000, 4000}, {1016, 3, 3}, {1016, 0, 0}};
  for (const Case& c : cases) {
    Bytes stored(c.stored, 0x5A);
    Bytes out(c.capacity + 1, 0xEE);
    EXPECT_EQ(packfile::AdpcmDecodeItem(stored.data(), stored.size(), out.data(), c.capacity), c.produced)
        << c.stored << " bytes into " << c.capacity;
    EXPECT_EQ(out[c.capacity], 0xEE) << "no byte beyond the capacity";
  }
}

TEST(Adpcm, EncodedSoundDecodesCloseToTheOriginal) {
  std::vector<int16_t> samples(22050);
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<int16_t>(12000 * std::sin(i * 2 * 3.14159265 * 440 / 22050));
  }
  Bytes stored = packfile::AdpcmEncode(samples.data(), samples.size());
  ASSERT_EQ(stored.size(), samples.size() / 2 + 16);
  Bytes out(samples.size() * 2);
  ASSERT_EQ(packfile::AdpcmDecodeItem(stored.data(), stored.size(), out.data(), out.size()), out.size());
  double error = 0;
  for (size_t i = 0; i < samples.size(); ++i) {
    error += std::abs(static_cast<int16_t>(out[2 * i] | out[2 * i + 1] << 8) - samples[i]);
  }
  EXPECT_LT(error / samples.size(), 150.0);
}

TEST(Explode, PublishedExample) {
  packfile::ExplodeCode code;
  Bytes out = Explode({0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F}, 100, &code);
  EXPECT_EQ(code, packfile::kExplodeDone);
  EXPECT_EQ(std::string(out.begin(), out.end()), "AIAIAIAIAIAIA");
}

TEST(Explode, BadStreamsEndWithTheirCode) {
  struct Case {
    const char* what;
    Bytes in;
    packfile::ExplodeCode code;
  } cases[] = {
      {"four bytes", {0x00, 0x04, 0x82, 0x24}, packfile::kExplodeShortInput},
      {"dictionary 7", {0x00, 0x07, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F}, packfile::kExplodeBadDictionary},
      {"dictionary 3", {0x00, 0x03, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F}, packfile::kExplodeBadDictionary},
      {"literal mode 2", {0x02, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F}, packfile::kExplodeBadLiteralMode},
      {"no end code", {0x00, 0x04, 0x82, 0x24, 0x25, 0x8F}, packfile::kExplodeBadData},
      {"copy before the start", {0x00, 0x04, 0x1F, 0x00, 0x00}, packfile::kExplodeBadData},
  };
  for (const Case& c : cases) {
    packfile::ExplodeCode code;
    Explode(c.in, 100, &code);
    EXPECT_EQ(code, c.code) << c.what;
  }
  packfile::ExplodeCode code;
  Bytes out = Explode({0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F}, 5, &code);
  EXPECT_EQ(code, packfile::kExplodeOutputFull);
  EXPECT_EQ(std::string(out.begin(), out.end()), "AIAIA");
}

TEST(Explode, ImplodedDataComesBackWhole) {
  std::mt19937 rng(7);
  Bytes noise(70000);
  for (auto& b : noise) b = static_cast<uint8_t>(rng());
  Bytes pgn = ReadFileBytes(RW_ECO_FILE);
  if (pgn.size() > 300000) pgn.resize(300000);
  ASSERT_FALSE(pgn.empty());
  std::vector<Bytes> inputs = {
      {}, {42}, Bytes(2047, 'a'), Bytes(2048, 'b'), Bytes(4095, 'c'), Bytes(4096, 0), noise, pgn};
  for (int mode : {0, 1}) {
    for (const Bytes& in : inputs) {
      Bytes packed = packfile::Implode(in.data(), in.size(), mode);
      packfile::ExplodeCode code;
      Bytes out = Explode(packed, in.size(), &code);
      EXPECT_EQ(code, packfile::kExplodeDone) << in.size() << " bytes, mode " << mode;
      EXPECT_TRUE(out == in) << in.size() << " bytes, mode " << mode;
    }
  }
  Bytes packed = packfile::Implode(pgn.data(), pgn.size(), 1);
  EXPECT_LT(packed.size(), pgn.size() / 2);
}

TEST(PackedItems, AdpcmAndImplodedItemsDecode) {
  Bytes pcm(1000);
  for (size_t i = 0; i < pcm.size(); i += 2) pcm[i + 1] = static_cast<uint8_t>(i / 8);  // a slow ramp
  Bytes text(5000);
  for (size_t i = 0; i < text.size(); ++i) text[i] = "Rookwell "[i % 9];
  PackFiles files =
      WritePack("decoded", {packfile::AdpcmItem("voice", pcm), packfile::ImplodedItem("text", text)});
  MessageCapture capture;
  DatIndexEntry info;
  auto* sound =
      static_cast<uint8_t*>(datLoadItem(files.index.c_str(), files.data.c_str(), "VOICE", nullptr, &info));
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(info.unpackedSize, pcm.size());
  EXPECT_EQ(memSize_rel(sound), pcm.size() + 4008);
  datUnloadItem(sound);
  auto* t =
      static_cast<uint8_t*>(datLoadItem(files.index.c_str(), files.data.c_str(), "text", nullptr, &info));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(memSize_rel(t), text.size() + 32);
  EXPECT_EQ(Bytes(t, t + text.size()), text);
  datUnloadItem(t);
  EXPECT_TRUE(MessageCapture::Messages().empty());
}

// An imploded item whose output is not its unpacked size shows the mismatch
// and is still handed out; nothing is written beyond the unpacked size.
TEST(PackedItems, ExplodeSizeMismatch) {
  const Bytes example = {0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F};  // 13 bytes of output
  Bytes badDictionary = example;
  badDictionary[1] = 7;
  struct Case {
    const char* what;
    Bytes stored;
    uint32_t unpacked;
    std::string expected;
  } cases[] = {
      {"output longer than the entry says", example, 6, "AIAIAI"},
      {"output shorter than the entry says", example, 20, "AIAIAIAIAIAIA"},
      {"dictionary byte 7", badDictionary, 10, ""},
  };
  for (const Case& c : cases) {
    PackFiles files =
        WritePack("mismatch", {packfile::PackItem{"x", DAT_KIND_IMPLODE, c.stored, c.unpacked}});
    MessageCapture capture;
    DatIndexEntry info;
    auto* out =
        static_cast<uint8_t*>(datLoadItem(files.index.c_str(), files.data.c_str(), "x", nullptr, &info));
    ASSERT_NE(out, nullptr) << c.what;
    EXPECT_EQ(memSize_rel(out), c.unpacked + 32u) << c.what;
    EXPECT_EQ(std::string(out, out + c.expected.size()), c.expected) << c.what;
    for (size_t i = c.expected.size(); i < c.unpacked + 32u; ++i)
      ASSERT_EQ(out[i], 0) << c.what << " at " << i;
    ASSERT_EQ(MessageCapture::Messages().size(), 1u) << c.what;
    EXPECT_EQ(MessageCapture::Messages()[0].text, "Explode size mismatch");
    EXPECT_EQ(MessageCapture::Messages()[0].caption, "Oops");
    datUnloadItem(out);
  }
}
