#include "pack_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace packtest {

namespace {

void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void Hook(const char* text, const char* caption, unsigned style) {
  MessageCapture::Messages().push_back({text, caption, style});
}

}  // namespace

std::string WriteFile(const std::string& name, const Bytes& bytes) {
  std::string path = "packfile_test_" + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  EXPECT_NE(f, nullptr) << path;
  if (f != nullptr) {
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  return path;
}

PackFiles WritePack(const std::string& base, std::vector<packfile::PackItem> items) {
  Bytes index, data;
  std::string error;
  EXPECT_TRUE(packfile::BuildPack(std::move(items), &index, &data, &error)) << error;
  return PackFiles{WriteFile(base + ".idx", index), WriteFile(base + ".dat", data)};
}

MessageCapture::MessageCapture() {
  Messages().clear();
  datSetMessageHook(Hook);
}
MessageCapture::~MessageCapture() { datSetMessageHook(nullptr); }
std::vector<MessageCapture::Message>& MessageCapture::Messages() {
  static std::vector<Message> messages;
  return messages;
}

Bytes BitmapFile(const Bytes& info, const Bytes& table, const Bytes& pixels, size_t gap) {
  Bytes b(14, 0);
  b[0] = 'B';
  b[1] = 'M';
  b.insert(b.end(), info.begin(), info.end());
  b.insert(b.end(), table.begin(), table.end());
  b.insert(b.end(), gap, 0xEE);
  Put32(b, 10, static_cast<uint32_t>(b.size()));
  b.insert(b.end(), pixels.begin(), pixels.end());
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  return b;
}

Bytes InfoHeader(int32_t width, int32_t height, uint16_t bits, uint32_t colorsUsed) {
  Bytes h(40, 0);
  Put32(h, 0, 40);
  Put32(h, 4, static_cast<uint32_t>(width));
  Put32(h, 8, static_cast<uint32_t>(height));
  h[12] = 1;
  h[14] = static_cast<uint8_t>(bits);
  Put32(h, 32, colorsUsed);
  return h;
}

}  // namespace packtest
