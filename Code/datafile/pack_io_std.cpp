// The platform edge of Packfile for the native build: C stdio files, and
// messages on the standard error stream.
#include <cstdio>

#include "pack_io.h"

namespace packfile {

namespace {

class StdFile : public InputFile {
 public:
  explicit StdFile(std::FILE* f) : f_(f) {
    if (std::fseek(f_, 0, SEEK_END) == 0) {
      long end = std::ftell(f_);
      size_ = end < 0 ? 0 : static_cast<uint64_t>(end);
    }
    std::fseek(f_, 0, SEEK_SET);
  }
  ~StdFile() override { std::fclose(f_); }
  uint64_t Size() const override { return size_; }
  bool Seek(uint64_t position) override {
    return position <= size_ && std::fseek(f_, static_cast<long>(position), SEEK_SET) == 0;
  }
  size_t Read(void* buffer, size_t count) override { return std::fread(buffer, 1, count, f_); }

 private:
  std::FILE* f_;
  uint64_t size_ = 0;
};

}  // namespace

std::unique_ptr<InputFile> OpenInputFile(const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return nullptr;
  return std::make_unique<StdFile>(f);
}

void ShowBox(const char* text, const char* caption, unsigned) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
}

}  // namespace packfile
