// The template archive "NewBase.dat" from which new databases are made: a
// row of stored members, each a small header and its bytes, checked with
// CRC-32. The reader runs over a file interface, so that tests and the fuzz
// target feed it from memory and the window from real files.
//
// Interface: TemplateCrc32, TemplateMember, ReadTemplateMember,
// TemplateFiles, ExtractTemplateMembers, WriteTemplateMember.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

constexpr uint16_t kTemplateMagic = 0x446D;
// Longest member name, its terminator included: a longer one is a bad member.
constexpr size_t kTemplateNameBytes = 64;
constexpr size_t kTemplateCopyStep = 4096;

// Results of ExtractTemplateMembers.
enum TemplateResult {
  kTemplateDone = 0,
  kTemplateNoArchive = 1,
  kTemplateTargetFailed = 2,  // also a bad magic
  kTemplateBadMember = 3,     // packed, cut short, or a name we refuse
  kTemplateChecksum = 4,
};

uint32_t TemplateCrc32(uint32_t crc, const void* data, size_t size);  // start with 0

struct TemplateMember {
  uint8_t method = 0;
  uint8_t flags = 0;
  uint32_t storedSize = 0;
  uint32_t unpackedSize = 0;
  uint32_t checksum = 0;
  std::string name;
};

class TemplateInput {
 public:
  virtual ~TemplateInput() = default;
  // Bytes read; fewer than asked at the end.
  virtual size_t Read(void* into, size_t size) = 0;
  // False when fewer than `size` bytes are left.
  virtual bool Skip(uint32_t size) = 0;
};

class TemplateOutput {
 public:
  virtual ~TemplateOutput() = default;
  virtual bool Write(const void* data, size_t size) = 0;
  virtual bool Close() = 0;
};

class TemplateFiles {
 public:
  virtual ~TemplateFiles() = default;
  virtual std::unique_ptr<TemplateInput> OpenRead(const std::string& path) = 0;
  virtual std::unique_ptr<TemplateOutput> Create(const std::string& path) = 0;
  virtual void Remove(const std::string& path) = 0;
  // True when the folder exists afterwards.
  virtual bool MakeFolder(const std::string& path) = 0;
};

// Reads one member header. 0 read; -1 a clean end of the archive (no byte
// left); 2 bad magic; 3 a packed member, a header cut short or a name over
// kTemplateNameBytes.
int ReadTemplateMember(TemplateInput* in, TemplateMember* member);

// Called with the target's path before each file, and with null after every
// kTemplateCopyStep bytes and for each member skipped.
using TemplateProgress = void (*)(const char* target, void* user);

// Writes every member whose name before its first dot is `base` (any case)
// to `target` with its extension replaced by the member's (lower case); the
// members of the key base (".gdk") and header index (".ghi") go to
// `indexFolder` (made when missing) under the target's file name, since the
// database module looks for them there. Other members are skipped. A member
// whose extension is not letters and digits is a bad member. On any failure
// the files this run wrote are removed again.
int ExtractTemplateMembers(TemplateFiles* files, const std::string& archive, const std::string& target,
                           const std::string& base, const std::string& indexFolder, TemplateProgress progress,
                           void* user);

// The header and bytes of one stored member, sizes written `width` wide
// (0 four bytes, 1 three, 2 two, 3 one); for the build tool and the tests.
std::string WriteTemplateMember(const std::string& name, const std::string& data, int width = 0,
                                const char* comment = nullptr, bool extraByte = false);

// Standard files through the C library.
TemplateFiles* StdioTemplateFiles();
