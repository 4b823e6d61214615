// The colour text layout driven by arbitrary operations: entries of any
// bytes and flags, widths (a scroll bar appearing in the middle of a wrap
// included), margins, separators, selection, keys, hits and searches. The
// lines and parts must always describe the entries consistently.
#include <cstddef>
#include <cstdint>
#include <string>

#include "colortext_layout.h"

namespace {

struct Input {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  uint8_t Byte() { return at < size ? data[at++] : 0; }
  bool More() const { return at < size; }
  std::string Text() {
    size_t n = Byte();
    std::string s;
    while (n-- && More()) s += char(Byte());
    return s;
  }
};

// Character widths 0..12 pixels (zero-width characters included); a line
// may be refused, or make the host lay everything out again narrower.
struct FuzzHost : CtHost {
  ColorTextLayout* layout = nullptr;
  uint8_t mode = 0;
  int depth = 0;
  static int32_t W(char c) { return int32_t(static_cast<unsigned char>(c) % 13); }
  int32_t Fit(uint32_t, const char* text, int32_t length, int32_t room) override {
    int32_t sum = 0, n = 0;
    while (n < length && sum + W(text[n]) <= room) sum += W(text[n++]);
    return n;
  }
  int32_t Width(uint32_t, const char* text, int32_t length) override {
    int32_t sum = 0;
    for (int32_t i = 0; i < length; ++i) sum += W(text[i]);
    return sum;
  }
  bool LineAdded(int32_t index) override {
    if ((mode & 3) == 1 && index > 40) return false;
    if ((mode & 3) == 2 && index == 3 && depth == 0) {
      ++depth;
      layout->ClearLayout();
      layout->setWrapWidth(layout->wrapWidth() - 16);
      layout->WrapAll(*this);
      --depth;
    }
    return true;
  }
  void LineChanged(int32_t) override {}
};

void Check(const ColorTextLayout& l) {
  const auto& lines = l.lines();
  const auto& parts = l.parts();
  size_t next = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const CtLine& line = lines[i];
    if (line.index != int32_t(i) || line.partCount < 0) __builtin_trap();
    if (line.partCount && size_t(line.firstPart) != next) __builtin_trap();
    next += size_t(line.partCount);
  }
  if (next != parts.size()) __builtin_trap();
  for (size_t i = 0; i < parts.size(); ++i) {
    const CtPart& p = parts[i];
    if (p.index != int32_t(i) || p.entry < 0 || p.entry >= l.entryCount()) __builtin_trap();
    if (p.line < 0 || size_t(p.line) >= lines.size() || p.length < 0 || p.textPos < 0) __builtin_trap();
    const std::string text = l.entry(p.entry).text;
    if (size_t(p.textPos) + size_t(p.length) > text.size()) __builtin_trap();
    if (p.selected && p.entry != l.current()) __builtin_trap();
  }
  if (l.current() >= l.entryCount()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{data, size};
  ColorTextLayout layout;
  FuzzHost host;
  host.layout = &layout;
  host.mode = in.Byte();
  layout.setWrapWidth(in.Byte() * 2);
  for (int steps = 0; in.More() && steps < 200; ++steps) {
    switch (in.Byte() % 9) {
      case 0: {
        uint32_t flags = uint32_t(in.Byte()) << 4;
        std::string text = in.Text();
        layout.Add(ColorTextEntry{0, text.c_str(), 0, in.Byte(), flags}, host);
        break;
      }
      case 1:
        layout.ClearLayout();
        layout.setWrapWidth(in.Byte() * 2);
        layout.WrapAll(host);
        break;
      case 2:
        if (!layout.parts().empty()) layout.Select(int32_t(in.Byte() % layout.parts().size()), nullptr);
        break;
      case 3: {
        int32_t t = layout.NavigationTarget(0x21 + in.Byte() % 8);
        if (t >= 0) layout.Select(t, nullptr);
        break;
      }
      case 4: {
        int mode = in.Byte() % 5;
        std::string key = in.Text();
        layout.Find(mode, key.c_str(), in.Byte());
        break;
      }
      case 5:
        layout.setMargin(int8_t(in.Byte()) * 1000);
        break;
      case 6:
        layout.setSeparators(in.Text().c_str());
        break;
      case 7:
        layout.HitPart(in.Byte() % 8, in.Byte());
        break;
      default:
        if (in.Byte() % 4 == 0) layout.Clear();
        break;
    }
    Check(layout);
  }
  return 0;
}
