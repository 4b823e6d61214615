// Printing through Quill.dll to the CUPS queue "PDF" (cups-pdf): the test
// binds the library by name as the program does, prints, waits for the
// job's file in the queue's folder and reads it with poppler's tools, run as
// Unix programs. Page 1 of each document is rendered into the GUI
// artefacts (quill-pdf-*.png). Skipped where no queue "PDF" is set up.
#include <gtest/gtest.h>
#include <windows.h>

#include <winspool.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "guitest.h"
#include "message_watch.h"
#include "pdf_reader.h"
#include "quill_binding.h"
#include "quill_exports.h"

namespace {

int CALLBACK NoteFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM data) {
  *reinterpret_cast<bool*>(data) = true;
  return 0;
}

class PrintToPdf : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HasPrinter("PDF")) {
      GTEST_SKIP() << "no print queue \"PDF\" (Code/print/win/pdf_queue.sh sets one up)";
    }
    for (const char* file : {"/rwonyx.ttf", "/rwjade.ttf"}) {
      AddFontResourceA((std::string(QUILL_FONT_DIR) + file).c_str());
    }
    Load();
  }
  void TearDown() override {
    Unload();
    for (const char* file : {"/rwonyx.ttf", "/rwjade.ttf"}) {
      RemoveFontResourceA((std::string(QUILL_FONT_DIR) + file).c_str());
    }
  }
  void Load() {
    ASSERT_TRUE(quill_.Load());
    ASSERT_NE(Bind<LoadPaletteProc>("LoadPalette")(nullptr), 0);
    ASSERT_EQ(Bind<NoArgumentProc>("InitQuillPrint")(), 1);
  }
  void Unload() { quill_.Unload(); }
  template <typename T>
  T Bind(const char* name) {
    return quill_.Bind<T>(name);
  }
  // Prints and answers the new PDF's Unix path once its size holds still,
  // or "" when none appears within `timeoutMs`.
  std::string Print(int32_t kind, QuillPagePrinter callback = nullptr, DWORD timeoutMs = 60000) {
    const std::set<std::string> before = PdfFiles();
    EXPECT_EQ(Bind<StartPrintProc>("StartPrint")("Rookwell Printout", callback, kind), 1);
    return WaitForNewPdf(before, timeoutMs);
  }
  void Render(const std::string& pdf, const std::string& name) { RenderFirstPage(pdf, name); }
  void SetValue(const char* text, int32_t field) { Bind<TextValueProc>("SetRWCertValue")(text, field); }

  QuillBinding quill_;
};

TEST_F(PrintToPdf, PrinterContextListsTheProgramFonts) {
  const std::string onyx = std::string(QUILL_FONT_DIR) + "/rwonyx.ttf";
  if (GetFileAttributesA(onyx.c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "the program fonts are not made in this build (" << onyx << ")";
  }
  HDC dc = CreateDCA("winspool", "PDF", nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  for (const char* face : {"RookwellOnyx", "RookwellJade"}) {
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(lf.lfFaceName, face);
    bool found = false;
    EnumFontFamiliesExA(dc, &lf, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    EXPECT_TRUE(found) << face << " (the fonts are made in the program data of this build)";
  }
  DeleteDC(dc);
}

TEST_F(PrintToPdf, MarkupOfThreePagesInColumnsWithTabStops) {
  MessageWatch watch;
  std::string markup =
      "\n.j C\n.f 18 B\nRookwell Onyx\n.n l\n.f 11 N\n.j L\n.t 5 15 10\n"
      "1.\te4\te5\n.n l\n2.\tNf3\tNc6\n.n l\n3.\tBb5\ta6\n.n l\n4.\tBa4\tNf6\n.n P\n.c 2\n";
  for (int i = 0; i < 30; ++i) {
    markup += "Paragraph " + std::to_string(i + 1) +
              " of the second page runs in two columns, long enough to wrap over several lines of its column.\n"
              ".n l\n";
  }
  markup += ".n P\n.c 1\n.f 14\nThird page\n";
  Bind<TextValueProc>("SetRWMoveList")(markup.c_str(), 1);
  const std::string pdf = Print(2);
  ASSERT_FALSE(pdf.empty()) << "no PDF from the queue";
  const PdfInfo info = ReadInfo(pdf);
  EXPECT_EQ(info.pages, 3);
  EXPECT_FALSE(info.Landscape()) << info.width << " x " << info.height << " rot " << info.rotation;
  const std::string text = Unix("pdftotext -layout '" + pdf + "' -");
  const size_t title = text.find("Rookwell Onyx");
  const size_t first = text.find("e4");
  const size_t second = text.find("Paragraph 1 ");
  const size_t third = text.find("Third page");
  ASSERT_NE(title, std::string::npos) << text;
  EXPECT_LT(title, first);
  EXPECT_LT(first, second);
  EXPECT_LT(second, third);
  EXPECT_NE(third, std::string::npos);
  // The tab columns line up: each move starts where the one above starts.
  std::istringstream lines(text);
  std::string line;
  int white = -1, black = -1, rows = 0;
  while (std::getline(lines, line)) {
    for (const char* move : {"e4", "Nf3", "Bb5", "Ba4"}) {
      const size_t at = line.find(move);
      if (at == std::string::npos || line.find(".") > at) continue;
      const size_t reply = line.find_first_not_of(' ', at + std::string(move).size());
      if (white < 0) {
        white = static_cast<int>(at);
        black = static_cast<int>(reply);
      }
      EXPECT_EQ(static_cast<int>(at), white) << line;
      EXPECT_EQ(static_cast<int>(reply), black) << line;
      ++rows;
    }
  }
  EXPECT_EQ(rows, 4);
  // Both columns of page 2 hold text: its left and its right half.
  const int half = static_cast<int>(info.width / 2);
  const std::string crop = "pdftotext -r 72 -f 2 -l 2 -y 0 -H " + std::to_string(static_cast<int>(info.height)) +
                           " -W " + std::to_string(half);
  const std::string left = Unix(crop + " -x 0 '" + pdf + "' -");
  const std::string right = Unix(crop + " -x " + std::to_string(half) + " '" + pdf + "' -");
  EXPECT_NE(left.find("Paragraph 1 "), std::string::npos) << left;
  EXPECT_NE(right.find("Paragraph 2"), std::string::npos) << right;
  EXPECT_EQ(right.find("Paragraph 1 "), std::string::npos) << right;
  Render(pdf, "quill-pdf-markup");
  Unix("pdftoppm -png -r 60 -f 2 -l 2 -singlefile '" + pdf + "' '" + kArtefacts + "/quill-pdf-markup-page2'");
  EXPECT_TRUE(watch.Texts().empty()) << watch.Texts()[0];
}

TEST_F(PrintToPdf, CertificatesPrintLandscapeLetterWithTheirValues) {
  MessageWatch watch;
  SetValue("Ann Example", 2);
  SetValue("3/5/2001", 8);
  SetValue("1850", 11);
  struct Case {
    int32_t id, kind;
    const char* artefact;
  } cases[] = {{404, 3, "quill-pdf-certificate-a"}, {403, 4, "quill-pdf-certificate-b"}};
  for (const Case& c : cases) {
    Bind<ValueProc>("SetRWCertBGId")(c.id);
    ASSERT_EQ(Bind<NoArgumentProc>("LoadRWCertBackGround")(), 1);
    const std::string pdf = Print(c.kind);
    ASSERT_FALSE(pdf.empty());
    const PdfInfo info = ReadInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_TRUE(info.Landscape()) << info.width << " x " << info.height << " rot " << info.rotation;
    EXPECT_NEAR(std::max(info.width, info.height), 792, 2);
    EXPECT_NEAR(std::min(info.width, info.height), 612, 2);
    const std::string text = Unix("pdftotext -layout '" + pdf + "' -");
    EXPECT_NE(text.find("Ann Example"), std::string::npos) << text;
    EXPECT_NE(text.find("3/5/2001"), std::string::npos) << text;
    if (c.kind == 4) {
      EXPECT_NE(text.find("1850"), std::string::npos) << text;
    }
    Render(pdf, c.artefact);
  }
  EXPECT_TRUE(watch.Texts().empty());
}

TEST_F(PrintToPdf, GermanCertificateWithoutBackgroundGetsTheFrame) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string ini(path);
  ini = ini.substr(0, ini.find_last_of("\\/") + 1) + "RW.INI";
  WritePrivateProfileStringA("language", "program", "deutsch", ini.c_str());
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
  Unload();
  Load();
  MessageWatch watch;
  SetValue("Ann Example", 2);
  const std::string pdf = Print(3);
  DeleteFileA(ini.c_str());
  ASSERT_FALSE(pdf.empty());
  const std::vector<std::string> texts = watch.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "Certificate Background Creation Failed");
  EXPECT_NE(Unix("pdftotext '" + pdf + "' -").find("Ann Example"), std::string::npos);
  Render(pdf, "quill-pdf-certificate-frame");
}

TEST_F(PrintToPdf, TestPageAndKindOneWithoutCallback) {
  const std::string pdf = Print(7);
  ASSERT_FALSE(pdf.empty());
  EXPECT_NE(Unix("pdftotext '" + pdf + "' -").find("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
            std::string::npos);
  EXPECT_TRUE(Print(1, nullptr, 4000).empty());
}

// Ten pages drawn by the caller; during the second the test presses Cancel.
int g_pagesDrawn = 0;
bool g_pressed = false;

int32_t CALLBACK TenPages(void* printer) {
  HDC dc = static_cast<HDC>(printer);
  ++g_pagesDrawn;
  const std::string text = "Callback page " + std::to_string(g_pagesDrawn);
  TextOutA(dc, 200, 200, text.c_str(), static_cast<int>(text.size()));
  if (g_pagesDrawn == 2) {
    HWND dialog = FindWindowA("#32770", "Rookwell Onyx");
    HWND cancel = dialog ? GetDlgItem(dialog, IDCANCEL) : nullptr;
    if (cancel) {
      guitest::Screenshot("quill-abort-dialog");
      RECT r;
      GetWindowRect(cancel, &r);
      guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
      g_pressed = true;
    }
  }
  return g_pagesDrawn < 10;
}

TEST_F(PrintToPdf, CancelInTheAbortDialogAbortsTheDocument) {
  g_pagesDrawn = 0;
  const std::string pdf = Print(1, reinterpret_cast<QuillPagePrinter>(&TenPages), 8000);
  EXPECT_TRUE(g_pressed) << "no abort dialog with a Cancel button";
  EXPECT_LE(g_pagesDrawn, 3);
  EXPECT_TRUE(pdf.empty()) << pdf << ": " << ReadInfo(pdf).pages << " pages";
}

TEST_F(PrintToPdf, PrinterChoiceByNameAndByTheDeviceEntry) {
  MessageWatch watch;
  char entry[512] = {};
  GetProfileStringA("windows", "device", "", entry, sizeof entry);
  EXPECT_EQ(std::string(entry).rfind("PDF,", 0), 0u) << entry;
  // The default printer by name sets the use-default flag.
  EXPECT_EQ(Bind<TextProc>("SetCurrentPrinterName")("PDF"), 1);
  EXPECT_EQ(Bind<NoArgumentProc>("GetPrintUseDefault")(), 1);
  Bind<ValueProc>("SetPrintUseDefault")(0);
  // A name no printer has changes nothing.
  EXPECT_EQ(Bind<TextProc>("SetCurrentPrinterName")("No Such Printer"), 1);
  EXPECT_EQ(Bind<NoArgumentProc>("GetPrintUseDefault")(), 0);
  // A device entry naming no listed printer keeps the current and default
  // printers: the named printer still prints, and still counts as default.
  WriteProfileStringA("windows", "device", "Nowhere,winspool,LPT1:");
  EXPECT_EQ(Bind<NoArgumentProc>("InitQuillPrint")(), 1);
  EXPECT_FALSE(Print(7).empty());
  EXPECT_EQ(Bind<TextProc>("SetCurrentPrinterName")("PDF"), 1);
  EXPECT_EQ(Bind<NoArgumentProc>("GetPrintUseDefault")(), 1);
  WriteProfileStringA("windows", "device", entry);
  EXPECT_TRUE(watch.Texts().empty()) << watch.Texts()[0];
}

TEST_F(PrintToPdf, UnopenablePrinterFallsBackToTheDefault) {
  // Without a printer choice there is no named printer to open.
  Unload();
  ASSERT_TRUE(quill_.Load());
  ASSERT_NE(Bind<LoadPaletteProc>("LoadPalette")(nullptr), 0);
  MessageWatch watch;
  EXPECT_FALSE(Print(7).empty());
  ASSERT_EQ(watch.Texts().size(), 1u);
  EXPECT_EQ(watch.Texts()[0], "Cannot Create Printer, Using Default");
}

}  // namespace
