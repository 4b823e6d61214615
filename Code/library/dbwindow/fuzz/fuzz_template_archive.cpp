// Template archives from outside bytes, extracted into memory: no fault, a
// result in 0-4, and nothing left behind unless the whole run succeeded.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "template_archive.h"

namespace {

class MemoryFiles final : public TemplateFiles {
 public:
  std::string archive;
  std::map<std::string, std::string> written;

  std::unique_ptr<TemplateInput> OpenRead(const std::string&) override { return std::make_unique<Input>(&archive); }
  std::unique_ptr<TemplateOutput> Create(const std::string& path) override {
    if (written.size() > 16) return nullptr;
    written[path].clear();
    return std::make_unique<Output>(&written[path]);
  }
  void Remove(const std::string& path) override { written.erase(path); }
  bool MakeFolder(const std::string&) override { return true; }

 private:
  struct Input final : TemplateInput {
    explicit Input(const std::string* d) : data(d) {}
    size_t Read(void* into, size_t size) override {
      size_t n = size < data->size() - at ? size : data->size() - at;
      data->copy(static_cast<char*>(into), n, at);
      at += n;
      return n;
    }
    bool Skip(uint32_t size) override {
      if (data->size() - at < size) return false;
      at += size;
      return true;
    }
    const std::string* data;
    size_t at = 0;
  };
  struct Output final : TemplateOutput {
    explicit Output(std::string* t) : target(t) {}
    bool Write(const void* d, size_t size) override {
      if (target->size() + size > (1u << 20)) return false;
      target->append(static_cast<const char*>(d), size);
      return true;
    }
    bool Close() override { return true; }
    std::string* target;
  };
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFiles files;
  files.archive.assign(reinterpret_cast<const char*>(data), size);
  const int result = ExtractTemplateMembers(&files, "NewBase.dat", "C:\\db\\x.gdg", "new", "C:\\db\\GdIndex\\",
                                            nullptr, nullptr);
  if (result < 0 || result > 4) std::abort();
  if (result != kTemplateDone && !files.written.empty()) std::abort();
  for (const auto& w : files.written)
    if (w.first.find("..") != std::string::npos) std::abort();
  return 0;
}
