// The skinned dialog loader's rewriter over plain and extended byte images.
#include "dialog_template.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Builds template bytes the way a resource compiler lays them out.
struct Bytes {
  std::vector<uint8_t> b;
  Bytes& W(uint16_t w) {
    b.push_back(static_cast<uint8_t>(w));
    b.push_back(static_cast<uint8_t>(w >> 8));
    return *this;
  }
  Bytes& D(uint32_t d) { return W(static_cast<uint16_t>(d)).W(static_cast<uint16_t>(d >> 16)); }
  Bytes& S(const char* s) {
    for (; *s; ++s) W(static_cast<uint8_t>(*s));
    return W(0);
  }
  Bytes& Ord(uint16_t o) { return W(0xFFFF).W(o); }
  Bytes& Raw(std::initializer_list<uint8_t> raw) {
    b.insert(b.end(), raw);
    return *this;
  }
  Bytes& Align() {
    while (b.size() % 4) b.push_back(0);
    return *this;
  }
  // A plain item header: style, extended style, x y cx cy, 16-bit id.
  Bytes& PlainItem(uint32_t style, uint32_t exStyle, uint16_t id) {
    return D(style).D(exStyle).W(1).W(2).W(3).W(4).W(id);
  }
  // An extended item header: help id, extended style, style, x y cx cy, 32-bit id.
  Bytes& ExItem(uint32_t style, uint32_t exStyle, uint32_t id) {
    return D(0).D(exStyle).D(style).W(1).W(2).W(3).W(4).D(id);
  }
};

// The first differing offset makes a failure readable.
size_t FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return i;
}

std::vector<uint8_t> Rewrite(const std::vector<uint8_t>& source, size_t capacity = kSkinnedTemplateCapacity) {
  std::vector<uint8_t> out(capacity, 0);
  const size_t n = RewriteDialogTemplate(out.data(), out.size(), source.data(), source.size());
  out.resize(n);
  return out;
}

constexpr uint32_t kPopupSetFont = 0x80000040;

TEST(DialogTemplate, PlainTemplateGetsTheToolkitClassesAndFont) {
  Bytes src;
  src.D(kPopupSetFont).D(0).W(4).W(0).W(0).W(200).W(100);
  src.W(0).W(0).S("T").W(8).S("MS Shell Dlg");
  // Creation data sits at the next 4-byte boundary in source and result.
  src.Align().PlainItem(0x50010000, 0, 20000).Ord(0x80).S("OK").W(0);
  src.Align().PlainItem(0x50010000, 0, 19999).Ord(0x80).Ord(5).W(3).Align().Raw({1, 2, 3});
  src.Align().PlainItem(0x50000000, 0, 7).S("RichEdit").S("").W(0);
  src.Align().PlainItem(0x50000000, 0, 8).Ord(0x84).S("").W(0);

  Bytes want;
  want.D(kPopupSetFont).D(0).W(4).W(0).W(0).W(200).W(100);
  want.W(0).S("cguiDialogClass").S("T").W(10).S("RookwellOnyx");
  // Plain templates keep their style bits: the id rule is the extended form's.
  want.Align().PlainItem(0x50010000, 0, 20000).S("CGUIBmpButton").S("OK").W(0);
  want.Align().PlainItem(0x50010000, 0, 19999).S("CGUIBmpButton").Ord(5).W(3).Align().Raw({1, 2, 3});
  want.Align().PlainItem(0x50000000, 0, 7).S("CGUIColorText").S("").W(0);
  want.Align().PlainItem(0x50000000, 0, 8).Ord(0x84).S("").W(0);
  {
    const std::vector<uint8_t> got = Rewrite(src.b);
    EXPECT_EQ(got, want.b) << "first difference at byte " << FirstDifference(got, want.b);
  }
}

TEST(DialogTemplate, ExtendedTemplateKeepsItsOwnClassAndSetsStyleBits) {
  Bytes src;
  src.W(1).W(0xFFFF).D(0).D(0).D(kPopupSetFont).W(6).W(0).W(0).W(200).W(100);
  src.Ord(7).S("MyClass").S("Ex").W(9).W(400).Raw({0, 1}).S("Tahoma");
  src.Align().ExItem(0x50010000, 0, 20000).Ord(0x80).S("Go").W(0);
  src.Align().ExItem(0x50010000, 0, 19999).Ord(0x80).S("No").W(0);
  src.Align().ExItem(0x50810000, 0x200, 5).Ord(0x81).S("").W(0);
  src.Align().ExItem(0x50000000, 0, 6).Ord(0x83).S("").W(0);
  src.Align().ExItem(0x50000000, 0, 9).Ord(0x82).S("Label").W(2).Align().Raw({0xAA, 0xBB});
  src.Align().ExItem(0x50000000, 0, 10).S("systabcontrol32").S("").W(0);

  Bytes want;
  want.W(1).W(0xFFFF).D(0).D(0).D(kPopupSetFont).W(6).W(0).W(0).W(200).W(100);
  want.Ord(7).S("MyClass").S("Ex").W(10).W(200).Raw({0, 1}).S("RookwellOnyx");
  want.Align().ExItem(0x50010080, 0, 20000).S("CGUIBmpButton").S("Go").W(0);
  want.Align().ExItem(0x50010000, 0, 19999).S("CGUIBmpButton").S("No").W(0);
  want.Align().ExItem(0x50810000, 0xA00, 5).S("CGUIEdit").S("").W(0);
  want.Align().ExItem(0x50000000, 0x800, 6).S("CGUIListWnd").S("").W(0);
  want.Align().ExItem(0x50000000, 0, 9).S("CGUIStatic").S("Label").W(2).Align().Raw({0xAA, 0xBB});
  want.Align().ExItem(0x50000000, 0, 10).S("CGUITabWnd").S("").W(0);
  {
    const std::vector<uint8_t> got = Rewrite(src.b);
    EXPECT_EQ(got, want.b) << "first difference at byte " << FirstDifference(got, want.b);
  }
}

TEST(DialogTemplate, WithoutSetFontTheSystemFontStays) {
  Bytes src;
  src.D(0x80000000).D(0).W(1).W(0).W(0).W(50).W(50);
  src.W(0).W(0).S("");
  src.Align().PlainItem(0x50000000, 0, 3).Ord(0x85).S("").W(0);
  Bytes want;
  want.D(0x80000000).D(0).W(1).W(0).W(0).W(50).W(50);
  want.W(0).S("cguiDialogClass").S("");
  want.Align().PlainItem(0x50000000, 0, 3).S("CGUIComboBox").S("").W(0);
  {
    const std::vector<uint8_t> got = Rewrite(src.b);
    EXPECT_EQ(got, want.b) << "first difference at byte " << FirstDifference(got, want.b);
  }
}

TEST(DialogTemplate, WhatDoesNotFitOrIsCutShortIsRefused) {
  Bytes small;
  small.D(0x80000000).D(0).W(1).W(0).W(0).W(50).W(50).W(0).W(0).S("");
  small.Align().PlainItem(0, 0, 3).Ord(0x80).S("").W(0);
  const std::vector<uint8_t> whole = Rewrite(small.b);
  ASSERT_FALSE(whole.empty());
  // One byte short of the result, and every truncation of the source.
  EXPECT_TRUE(Rewrite(small.b, whole.size() - 1).empty());
  EXPECT_EQ(Rewrite(small.b, whole.size()).size(), whole.size());
  for (size_t cut = 0; cut < small.b.size(); ++cut) {
    const std::vector<uint8_t> part(small.b.begin(), small.b.begin() + cut);
    EXPECT_TRUE(Rewrite(part).empty()) << cut;
  }
  // Ordinal classes grow into wide names: 2,000 buttons fit their source
  // (about 56 KB) but not the 32,768-byte block once rewritten.
  Bytes big;
  big.D(0x80000000).D(0).W(2000).W(0).W(0).W(50).W(50).W(0).W(0).S("");
  for (int i = 0; i < 2000; ++i) big.Align().PlainItem(0, 0, 3).Ord(0x80).S("").W(0);
  EXPECT_TRUE(Rewrite(big.b).empty());
  // An item count beyond the items present is a cut-short template.
  Bytes lying = small;
  lying.b[8] = 2;
  EXPECT_TRUE(Rewrite(lying.b).empty());
}

}  // namespace
