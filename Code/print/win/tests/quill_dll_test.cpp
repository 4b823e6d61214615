// Quill.dll as the main program meets it: loaded by name, each export bound
// by name at use. There is no printer in the test's Wine prefix unless a
// print queue is set up, so the printer paths end in the library's messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

#include "message_watch.h"
#include "quill_binding.h"
#include "quill_exports.h"

namespace {

#if defined(__i386__)
// Pushes `count` arguments (last first), calls `fn` and answers how far the
// stack pointer moved over the call: 0 when the callee removed its arguments.
extern "C" int32_t QuillStackDelta(void* fn, int32_t count, const int32_t* args);
asm(".text\n"
    ".globl _QuillStackDelta\n"
    "_QuillStackDelta:\n"
    "  pushl %ebp\n  movl %esp, %ebp\n  pushl %esi\n  pushl %edi\n  pushl %ebx\n"
    "  movl 12(%ebp), %ecx\n  movl 16(%ebp), %esi\n  movl %esp, %edi\n"
    "1: testl %ecx, %ecx\n  jz 2f\n  decl %ecx\n  pushl (%esi,%ecx,4)\n  jmp 1b\n"
    "2: call *8(%ebp)\n"
    "  movl %edi, %eax\n  subl %esp, %eax\n  movl %edi, %esp\n"
    "  popl %ebx\n  popl %edi\n  popl %esi\n  popl %ebp\n  ret\n");
#endif

struct ExportShape {
  const char* name;
  int arguments;
};

// Every export with its argument count; pointers are passed as null.
const ExportShape kExports[] = {
    {"InitQuillPrint", 0},       {"SetCurrentPrinterName", 1}, {"GetPrintUseDefault", 0},
    {"SetPrintUseDefault", 1},   {"SetOrigin", 2},             {"SetPenStyle", 1},
    {"SetPenWidth", 1},          {"SetPenColor", 1},           {"SetBrushStyle", 1},
    {"SetBrushColor", 1},        {"SetPrinterTextColor", 1},   {"SetTextJustify", 1},
    {"SetPageMargin", 4},        {"SetColumnSepSize", 1},      {"SetDefFontName", 1},
    {"SetDefFontSize", 1},       {"SetDefFontFlags", 3},       {"SetCertFontName", 1},
    {"SetCertTitleFontSize", 1}, {"SetCertTextFontSize", 1},   {"SetCertTitlePoint", 2},
    {"SetCertTextPoint", 2},     {"SetRWMoveList", 2},         {"SetRWCertValue", 2},
    {"SetRWCertBGId", 1},        {"LoadRWCertBackGround", 0},  {"DestroyRWCertBackGround", 0},
    {"StartPrint", 3},
};

class QuillDll : public ::testing::Test {
 protected:
  void SetUp() override { Load(); }
  void TearDown() override { Unload(); }
  void Load() { ASSERT_TRUE(quill_.Load()) << "error " << GetLastError(); }
  void Unload() { quill_.Unload(); }
  template <typename T>
  T Bind(const char* name) {
    return quill_.Bind<T>(name);
  }
  int32_t Call(const char* name, std::vector<int32_t> args) {
    void* fn = Bind<void*>(name);
    EXPECT_NE(fn, nullptr) << name;
    if (!fn) return -1;
    switch (args.size()) {
      case 0: return reinterpret_cast<NoArgumentProc>(fn)();
      case 1: return reinterpret_cast<ValueProc>(fn)(args[0]);
      case 2: return reinterpret_cast<TwoValueProc>(fn)(args[0], args[1]);
      case 3: return reinterpret_cast<ThreeValueProc>(fn)(args[0], args[1], args[2]);
      default: return reinterpret_cast<FourValueProc>(fn)(args[0], args[1], args[2], args[3]);
    }
  }
  void LoadPalette() { ASSERT_NE(Bind<LoadPaletteProc>("LoadPalette")(nullptr), 0); }

  QuillBinding quill_;
};

TEST_F(QuillDll, EveryExportButLoadPaletteAnswersZeroBeforeIt) {
  MessageWatch watch;
  for (const ExportShape& e : kExports) {
    EXPECT_EQ(Call(e.name, std::vector<int32_t>(e.arguments, 0)), 0) << e.name;
  }
  EXPECT_TRUE(watch.Texts().empty());
  LoadPalette();
  EXPECT_EQ(Call("SetPenWidth", {3}), 1);
  EXPECT_EQ(Call("GetPrintUseDefault", {}), 0);
  EXPECT_EQ(Call("SetPrintUseDefault", {1}), 1);
  EXPECT_EQ(Call("GetPrintUseDefault", {}), 1);
  // A field index outside 0-11 is refused.
  EXPECT_EQ(Bind<TextValueProc>("SetRWCertValue")("x", 12), 0);
  EXPECT_EQ(Bind<TextValueProc>("SetRWCertValue")("Ann Example", 2), 1);
}

TEST_F(QuillDll, ExportsRemoveTheirOwnArguments) {
#if defined(__i386__)
  LoadPalette();
  const int32_t args[4] = {0, 0, 0, 0};
  for (const ExportShape& e : kExports) {
    if (std::string(e.name) == "StartPrint" || std::string(e.name) == "InitQuillPrint" ||
        std::string(e.name) == "SetCurrentPrinterName") {
      continue;  // these reach the printer; their shape is the same
    }
    void* fn = Bind<void*>(e.name);
    ASSERT_NE(fn, nullptr) << e.name;
    EXPECT_EQ(QuillStackDelta(fn, e.arguments, args), 0) << e.name;
  }
  void* palette = Bind<void*>("LoadPalette");
  EXPECT_EQ(QuillStackDelta(palette, 1, args), 0);
#else
  GTEST_SKIP() << "64-bit Windows has one calling convention; the 32-bit tree checks the stack";
#endif
}

TEST_F(QuillDll, CertificateBackgroundsOfTheLibrary) {
  MessageWatch watch;
  LoadPalette();
  EXPECT_EQ(Call("LoadRWCertBackGround", {}), 1);  // 404, the English default
  EXPECT_EQ(Call("SetRWCertBGId", {403}), 1);
  EXPECT_EQ(Call("LoadRWCertBackGround", {}), 1);
  EXPECT_EQ(Call("DestroyRWCertBackGround", {}), 1);
  EXPECT_EQ(Call("SetRWCertBGId", {0}), 1);
  EXPECT_EQ(Call("LoadRWCertBackGround", {}), 0);
  EXPECT_TRUE(watch.Texts().empty());
  EXPECT_EQ(Call("SetRWCertBGId", {405}), 1);
  EXPECT_EQ(Call("LoadRWCertBackGround", {}), 0);
  Sleep(300);
  ASSERT_EQ(watch.Texts().size(), 1u);
  EXPECT_EQ(watch.Texts()[0], "Certificate Background Creation Failed");
}

TEST_F(QuillDll, LanguageFromTheProgramsIni) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string ini(path);
  ini = ini.substr(0, ini.find_last_of("\\/") + 1) + "RW.INI";
  struct Case {
    const char* value;
    bool loads;  // only 404 of the three defaults is in the library
  } cases[] = {{"deutsch", false}, {"FRANCAIS", false}, {"english", true}};
  for (const Case& c : cases) {
    Unload();
    WritePrivateProfileStringA("language", "program", c.value, ini.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
    Load();
    MessageWatch watch;
    LoadPalette();
    EXPECT_EQ(Call("LoadRWCertBackGround", {}), c.loads ? 1 : 0) << c.value;
    Sleep(200);
  }
  DeleteFileA(ini.c_str());
}

TEST_F(QuillDll, PrintingWithoutAPrinterSaysSoAndRunsOn) {
  DWORD needed = 0, count = 0;
  EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, nullptr, 0, &needed, &count);
  if (needed > 0) GTEST_SKIP() << "a printer is set up; the printing tests use it";
  MessageWatch watch;
  LoadPalette();
  // No printer queue: the list is empty or cannot be read; either is said.
  const int32_t chosen = Call("InitQuillPrint", {});
  Sleep(300);
  const std::vector<std::string> first = watch.Texts();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_TRUE((chosen == 1 && first[0] == "No printers listed") || (chosen == 0 && first[0] == "EnumPrinters failed"))
      << chosen << " " << first[0];
  watch.Clear();
  // Kind 1 without a callback prints nothing and says nothing.
  EXPECT_EQ(Bind<StartPrintProc>("StartPrint")("Rookwell Printout", nullptr, 1), 1);
  Sleep(200);
  EXPECT_TRUE(watch.Texts().empty());
  // A markup document: the named printer cannot be made, nor the default one.
  Bind<TextValueProc>("SetRWMoveList")("\n.j C\nRookwell Onyx\n", 1);
  EXPECT_EQ(Bind<StartPrintProc>("StartPrint")("Rookwell Printout", nullptr, 2), 1);
  Sleep(300);
  const std::vector<std::string> texts = watch.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "Cannot Create Printer, Using Default");
  EXPECT_EQ(texts[1], "No printer can be used for printing");
}

}  // namespace
