// The skinned dialog loader's template rewriter (no operating system calls).
#include "dialog_template.h"

#include <cstring>

namespace {

constexpr uint32_t kDsSetFont = 0x40;

// Reads from the source and writes to the target, both bounded; any step
// that would leave its buffer sets `ok` false and does nothing further.
class TemplateCopier {
 public:
  TemplateCopier(uint8_t* target, size_t capacity, const uint8_t* source, size_t size)
      : out_(target), cap_(capacity), in_(source), size_(size) {}

  bool ok() const { return ok_; }
  size_t written() const { return outPos_; }
  size_t readPos() const { return inPos_; }
  size_t writePos() const { return outPos_; }

  bool Need(size_t n) {
    if (ok_ && n > size_ - inPos_) ok_ = false;
    return ok_;
  }
  bool Room(size_t n) {
    if (ok_ && n > cap_ - outPos_) ok_ = false;
    return ok_;
  }
  uint16_t PeekWord(size_t at = 0) {
    if (!Need(at + 2)) return 0;
    return static_cast<uint16_t>(in_[inPos_ + at] | in_[inPos_ + at + 1] << 8);
  }
  uint16_t ReadWord() {
    const uint16_t w = PeekWord();
    if (ok_) inPos_ += 2;
    return w;
  }
  void Skip(size_t n) {
    if (Need(n)) inPos_ += n;
  }
  void Copy(size_t n) {
    if (!Need(n) || !Room(n)) return;
    std::memcpy(out_ + outPos_, in_ + inPos_, n);
    inPos_ += n;
    outPos_ += n;
  }
  void WriteWord(uint16_t w) {
    if (!Room(2)) return;
    out_[outPos_] = static_cast<uint8_t>(w);
    out_[outPos_ + 1] = static_cast<uint8_t>(w >> 8);
    outPos_ += 2;
  }
  // An ASCII name as a NUL-terminated wide string.
  void WriteName(const char* name) {
    for (; *name; ++name) WriteWord(static_cast<uint8_t>(*name));
    WriteWord(0);
  }
  // Length in bytes of the NUL-terminated wide string at the read position,
  // its NUL included (0 when it runs off the source).
  size_t WideLength() {
    for (size_t at = 0; Need(at + 2); at += 2)
      if (PeekWord(at) == 0) return at + 2;
    return 0;
  }
  // A menu, class or title field: 0xFFFF and an ordinal, or a string.
  void CopyField() {
    if (PeekWord() == 0xFFFF)
      Copy(4);
    else
      Copy(WideLength());
  }
  void SkipString() { Skip(WideLength()); }
  // Whether the wide string at the read position equals `name` without case.
  bool NameIs(const char* name) {
    size_t at = 0;
    for (; *name; ++name, at += 2) {
      const uint16_t c = PeekWord(at);
      if (!ok_) return false;
      const char want = *name >= 'a' && *name <= 'z' ? *name - 32 : *name;
      const uint16_t have = c >= 'a' && c <= 'z' ? c - 32 : c;
      if (have != static_cast<uint8_t>(want)) return false;
    }
    return PeekWord(at) == 0;
  }
  void Align() {
    const size_t inPad = (4 - inPos_ % 4) % 4;
    const size_t outPad = (4 - outPos_ % 4) % 4;
    if (!Need(inPad) || !Room(outPad)) return;
    inPos_ += inPad;
    outPos_ += outPad;  // the block is zero-filled
  }
  // Bytes already written, for patching style words.
  uint8_t* At(size_t pos) { return out_ + pos; }

 private:
  uint8_t* out_;
  size_t cap_;
  const uint8_t* in_;
  size_t size_;
  size_t inPos_ = 0;
  size_t outPos_ = 0;
  bool ok_ = true;
};

uint32_t Dword(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
void OrDword(uint8_t* p, uint32_t bits) {
  const uint32_t v = Dword(p) | bits;
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void RewriteDialogItem(TemplateCopier& c, bool extended) {
  const size_t header = extended ? 24 : 18;
  const size_t itemStart = c.writePos();
  c.Copy(header);
  if (!c.ok()) return;
  uint8_t* item = c.At(itemStart);
  const uint32_t id = extended ? Dword(item + 20) : static_cast<uint32_t>(item[16] | item[17] << 8);
  if (c.PeekWord() == 0xFFFF) {
    const uint16_t ordinal = c.PeekWord(2);
    const char* name = nullptr;
    uint32_t styleBits = 0, exStyleBits = 0;
    switch (ordinal) {
      case 0x80:
        name = "CGUIBmpButton";
        if (id >= 20000) styleBits = 0x80;
        break;
      case 0x81:
        name = "CGUIEdit";
        exStyleBits = 0x800;
        break;
      case 0x82:
        name = "CGUIStatic";
        break;
      case 0x83:
        name = "CGUIListWnd";
        exStyleBits = 0x800;
        break;
      case 0x85:
        name = "CGUIComboBox";
        break;
      default:
        break;
    }
    if (name) {
      c.Skip(4);
      c.WriteName(name);
      if (extended && c.ok()) {
        OrDword(c.At(itemStart + 8), styleBits);
        OrDword(c.At(itemStart + 4), exStyleBits);
      }
    } else {
      c.Copy(4);
    }
  } else if (c.NameIs("SysTabControl32")) {
    c.SkipString();
    c.WriteName("CGUITabWnd");
  } else if (c.NameIs("RICHEDIT")) {
    c.SkipString();
    c.WriteName("CGUIColorText");
  } else {
    c.CopyField();
  }
  c.CopyField();  // title
  const uint16_t extra = c.ReadWord();
  c.WriteWord(extra);
  if (extra) {
    c.Align();
    c.Copy(extra);
  }
}

}  // namespace

size_t RewriteDialogTemplate(uint8_t* target, size_t capacity, const uint8_t* source, size_t sourceSize) {
  TemplateCopier c(target, capacity, source, sourceSize);
  const bool extended = c.PeekWord(2) == 0xFFFF;
  const size_t header = extended ? 26 : 18;
  if (!c.Need(header)) return 0;
  const uint32_t style = Dword(source + (extended ? 12 : 0));
  const size_t countAt = extended ? 16 : 8;
  const unsigned count = source[countAt] | source[countAt + 1] << 8;
  c.Copy(header);
  c.CopyField();  // menu
  if (c.PeekWord() == 0) {
    c.Skip(2);
    c.WriteName("cguiDialogClass");
  } else {
    c.CopyField();
  }
  c.CopyField();  // title
  if (style & kDsSetFont) {
    c.Skip(2);
    c.WriteWord(10);
    if (extended) {
      c.Skip(2);
      c.WriteWord(200);
      c.Copy(2);  // italic and character set
    }
    c.SkipString();
    c.WriteName("RookwellOnyx");
  }
  for (unsigned i = 0; i < count && c.ok(); ++i) {
    c.Align();
    RewriteDialogItem(c, extended);
  }
  return c.ok() ? c.written() : 0;
}
