#include "template_archive.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

uint32_t Crc32Table(int n) {
  uint32_t c = uint32_t(n);
  for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  return c;
}

struct CrcTable {
  uint32_t entries[256];
  CrcTable() {
    for (int n = 0; n < 256; ++n) entries[n] = Crc32Table(n);
  }
};

bool ReadBytes(TemplateInput* in, void* into, size_t size) { return in->Read(into, size) == size; }

bool ReadSize(TemplateInput* in, int width, uint32_t* value) {
  uint8_t b[4] = {};
  switch (width) {
    case 3:
      if (!ReadBytes(in, b, 1)) return false;
      *value = b[0];
      return true;
    case 2:
      if (!ReadBytes(in, b, 2)) return false;
      *value = uint32_t(b[0]) | uint32_t(b[1]) << 8;
      return true;
    case 1:  // a u16, then bits 16-23
      if (!ReadBytes(in, b, 3)) return false;
      *value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16;
      return true;
    default:
      if (!ReadBytes(in, b, 4)) return false;
      *value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
      return true;
  }
}

// A zero-terminated string of at most `limit` bytes with its terminator.
bool ReadName(TemplateInput* in, size_t limit, std::string* out) {
  out->clear();
  for (;;) {
    char c;
    if (!ReadBytes(in, &c, 1)) return false;
    if (c == 0) return true;
    if (out->size() + 1 >= limit) return false;
    out->push_back(c);
  }
}

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The position of the path's extension (its last dot after the last
// separator), or its end.
size_t ExtensionStart(const std::string& path) {
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path.size();
  return dot;
}

std::string FileNameOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsPlainExtension(const std::string& ext) {
  if (ext.empty()) return false;
  for (char c : ext)
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

void PutSize(std::string* out, int width, uint32_t v) {
  const int bytes = width == 3 ? 1 : width == 2 ? 2 : width == 1 ? 3 : 4;
  for (int i = 0; i < bytes; ++i) out->push_back(char((v >> (8 * i)) & 0xFF));
}

class StdioInput final : public TemplateInput {
 public:
  explicit StdioInput(std::FILE* f) : f_(f) {}
  ~StdioInput() override { std::fclose(f_); }
  size_t Read(void* into, size_t size) override { return std::fread(into, 1, size, f_); }
  bool Skip(uint32_t size) override {
    // Read over the bytes: a seek past the end would not say it fell short.
    char buffer[kTemplateCopyStep];
    while (size > 0) {
      size_t step = size < sizeof buffer ? size : sizeof buffer;
      if (std::fread(buffer, 1, step, f_) != step) return false;
      size -= uint32_t(step);
    }
    return true;
  }

 private:
  std::FILE* f_;
};

class StdioOutput final : public TemplateOutput {
 public:
  explicit StdioOutput(std::FILE* f) : f_(f) {}
  ~StdioOutput() override {
    if (f_) std::fclose(f_);
  }
  bool Write(const void* data, size_t size) override { return std::fwrite(data, 1, size, f_) == size; }
  bool Close() override {
    bool ok = std::fclose(f_) == 0;
    f_ = nullptr;
    return ok;
  }

 private:
  std::FILE* f_;
};

class StdioFiles final : public TemplateFiles {
 public:
  std::unique_ptr<TemplateInput> OpenRead(const std::string& path) override {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    return f ? std::make_unique<StdioInput>(f) : nullptr;
  }
  std::unique_ptr<TemplateOutput> Create(const std::string& path) override {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    return f ? std::make_unique<StdioOutput>(f) : nullptr;
  }
  void Remove(const std::string& path) override { std::remove(path.c_str()); }
  bool MakeFolder(const std::string& path) override;
};

}  // namespace

uint32_t TemplateCrc32(uint32_t crc, const void* data, size_t size) {
  static const CrcTable table;
  const auto* p = static_cast<const uint8_t*>(data);
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table.entries[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

int ReadTemplateMember(TemplateInput* in, TemplateMember* m) {
  uint8_t head[4];
  const size_t got = in->Read(head, sizeof head);
  if (got == 0) return -1;
  if (got < 2) return kTemplateBadMember;
  if ((uint32_t(head[0]) | uint32_t(head[1]) << 8) != kTemplateMagic) return kTemplateTargetFailed;
  if (got < 4) return kTemplateBadMember;
  m->method = head[2];
  m->flags = head[3];
  if (m->method & 0x0F) return kTemplateBadMember;
  const int width = (m->flags >> 1) & 3;
  uint8_t crc[4], words[4];
  if (!ReadSize(in, width, &m->storedSize) || !ReadSize(in, width, &m->unpackedSize) || !ReadBytes(in, crc, 4))
    return kTemplateBadMember;
  m->checksum = uint32_t(crc[0]) | uint32_t(crc[1]) << 8 | uint32_t(crc[2]) << 16 | uint32_t(crc[3]) << 24;
  if (m->flags & 8) {
    uint8_t extra;
    if (!ReadBytes(in, &extra, 1)) return kTemplateBadMember;
  }
  if (!ReadBytes(in, words, 4)) return kTemplateBadMember;
  if (!ReadName(in, kTemplateNameBytes, &m->name)) return kTemplateBadMember;
  if (m->flags & 1) {
    std::string comment;
    if (!ReadName(in, 0xFFFF, &comment)) return kTemplateBadMember;
  }
  return 0;
}

int ExtractTemplateMembers(TemplateFiles* files, const std::string& archive, const std::string& target,
                           const std::string& base, const std::string& indexFolder, TemplateProgress progress,
                           void* user) {
  auto in = files->OpenRead(archive);
  if (!in) return kTemplateNoArchive;
  const std::string stem = target.substr(0, ExtensionStart(target));
  const std::string wantedBase = Lower(base);
  std::vector<std::string> written;
  auto fail = [&](int result) {
    for (const std::string& path : written) files->Remove(path);
    return result;
  };
  std::vector<uint8_t> buffer(kTemplateCopyStep);
  for (;;) {
    TemplateMember m;
    const int read = ReadTemplateMember(in.get(), &m);
    if (read < 0) return kTemplateDone;
    if (read != 0) return fail(read);
    const size_t dot = m.name.find('.');
    const std::string name = Lower(m.name.substr(0, dot));
    if (name != wantedBase) {
      if (!in->Skip(m.storedSize)) return fail(kTemplateBadMember);
      if (progress) progress(nullptr, user);
      continue;
    }
    const std::string ext = dot == std::string::npos ? std::string() : Lower(m.name.substr(dot + 1));
    if (m.method != 0 || !IsPlainExtension(ext)) return fail(kTemplateBadMember);
    std::string path = stem + "." + ext;
    if (ext == "gdk" || ext == "ghi") {
      if (!files->MakeFolder(indexFolder)) return fail(kTemplateTargetFailed);
      path = indexFolder + FileNameOf(stem) + "." + ext;
    }
    auto out = files->Create(path);
    if (!out) return fail(kTemplateTargetFailed);
    written.push_back(path);
    if (progress) progress(path.c_str(), user);
    uint32_t crc = 0;
    for (uint32_t left = m.storedSize; left > 0;) {
      const size_t step = left < buffer.size() ? left : buffer.size();
      if (in->Read(buffer.data(), step) != step) return fail(kTemplateBadMember);
      crc = TemplateCrc32(crc, buffer.data(), step);
      if (!out->Write(buffer.data(), step)) return fail(kTemplateTargetFailed);
      left -= uint32_t(step);
      if (progress) progress(nullptr, user);
    }
    if (!out->Close()) return fail(kTemplateTargetFailed);
    if (crc != m.checksum) return fail(kTemplateChecksum);
  }
}

std::string WriteTemplateMember(const std::string& name, const std::string& data, int width, const char* comment,
                                bool extraByte) {
  std::string out;
  out.push_back(char(kTemplateMagic & 0xFF));
  out.push_back(char(kTemplateMagic >> 8));
  out.push_back(0);  // stored
  out.push_back(char((comment ? 1 : 0) | (width & 3) << 1 | (extraByte ? 8 : 0)));
  PutSize(&out, width, uint32_t(data.size()));
  PutSize(&out, width, uint32_t(data.size()));
  const uint32_t crc = TemplateCrc32(0, data.data(), data.size());
  for (int i = 0; i < 4; ++i) out.push_back(char((crc >> (8 * i)) & 0xFF));
  if (extraByte) out.push_back(0);
  out.append(4, '\0');
  out += name;
  out.push_back(0);
  if (comment) {
    out += comment;
    out.push_back(0);
  }
  return out + data;
}

bool StdioFiles::MakeFolder(const std::string& path) {
  std::string folder = path;
  while (folder.size() > 1 && IsSeparator(folder.back())) folder.pop_back();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return std::filesystem::is_directory(folder, error);
}

TemplateFiles* StdioTemplateFiles() {
  static StdioFiles files;
  return &files;
}
