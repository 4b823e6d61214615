// mkpack run as the build runs it, its packs read back through Packfile.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "packfile.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Write(const std::string& path, const Bytes& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int RunMkpack(const std::string& args) {
  return std::system((std::string(MKPACK_PATH) + " " + args + " 2>/dev/null").c_str());
}

Bytes Load(const char* name, DatIndexEntry* info) {
  auto* p = static_cast<uint8_t*>(datLoadItem("mk_out.idx", "mk_out.dat", name, nullptr, info));
  if (p == nullptr) return {};
  Bytes b(p, p + (info->kind == DAT_KIND_ADPCM || info->kind == DAT_KIND_IMPLODE ? info->unpackedSize
                                                                                 : info->storedSize));
  datUnloadItem(p);
  return b;
}

}  // namespace

TEST(Mkpack, WritesEveryKindAndTheReaderFindsThem) {
  Bytes text(10000);
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<uint8_t>("e4 e5 Nf3 Nc6 "[i % 14]);
  Write("mk_text.txt", text);
  Bytes raw = {1, 2, 3};
  Write("mk_raw.bin", raw);
  // A WAVE file of 8 silent samples.
  Bytes wave = {'R', 'I', 'F', 'F', 52, 0, 0,   0,   'W', 'A',  'V',  'E', 'f', 'm',  't',
                ' ', 16,  0,   0,   0,  1, 0,   1,   0,   0x22, 0x56, 0,   0,   0x44, 0xAC,
                0,   0,   2,   0,   16, 0, 'd', 'a', 't', 'a',  16,   0,   0,   0};
  wave.resize(wave.size() + 16, 0);
  Write("mk_sound.wav", wave);
  Write("mk_list.txt", {'#', ' ', 'c', '\n', 'M', 'P', '3', ' ', ':', 'm', 'k', '_', 'r',
                        'a', 'w', '.', 'b',  'i', 'n', '=', 'T', 'u', 'n', 'e', '\n'});

  ASSERT_EQ(RunMkpack("-l mk_list.txt mk_out implode:mk_text.txt=Lesson_1 adpcm:mk_sound.wav mk_raw.bin"), 0);
  DatIndexEntry info;
  EXPECT_EQ(Load("LESSON_1", &info), text);
  EXPECT_EQ(info.kind, DAT_KIND_IMPLODE);
  EXPECT_LT(info.storedSize, text.size() / 4);
  EXPECT_EQ(Load("mk_sound.wav", &info), Bytes(16, 0));
  EXPECT_EQ(info.kind, DAT_KIND_ADPCM);
  EXPECT_EQ(info.storedSize, 4u + 16);
  EXPECT_EQ(Load("tune", &info), raw);
  EXPECT_EQ(info.kind, DAT_KIND_MP3);
  EXPECT_EQ(Load("MK_RAW.BIN", &info), raw);
  EXPECT_EQ(info.kind, DAT_KIND_RAW);
}

TEST(Mkpack, RefusesBadInput) {
  Write("mk_a.bin", {1});
  const char* cases[] = {
      "",                                    // no output name
      "mk_bad mk_missing.bin",               // unreadable file
      "mk_bad mk_a.bin=Same mk_a.bin=SAME",  // names differing only in case
      "mk_bad mk_a.bin=",                    // empty name
  };
  for (const char* args : cases) EXPECT_NE(RunMkpack(args), 0) << args;
}
