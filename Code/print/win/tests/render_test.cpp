// The GDI side of the page printers, drawn into bitmaps: a markup page with
// a title, tab columns, two columns and a diagram, and both certificates.
// Each page is shown in a window and kept as a screenshot (quill-*.png).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "certificate.h"
#include "gdi_context_win32.h"
#include "gdi_surface_win32.h"
#include "guitest.h"
#include "message_watch.h"
#include "page_printer.h"
#include "print_bitmap_win32.h"
#include "print_markup.h"
#include "print_layout.h"
#include "rwcdc.h"

namespace {

int CALLBACK NoteFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM data) {
  *reinterpret_cast<bool*>(data) = true;
  return 0;
}

bool HasFamily(HDC dc, const char* face) {
  bool found = false;
  EnumFontFamiliesA(dc, face, NoteFamily, reinterpret_cast<LPARAM>(&found));
  return found;
}

class Page {
 public:
  Page(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    RECT all = {0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~Page() {
    if (bitmap_) DeleteObject(bitmap_);
  }
  HDC Dc() const { return dc_; }
  // Ends drawing: the context goes (RwCDC deletes it), the bitmap stays.
  void Release() { dc_ = nullptr; }
  COLORREF Pixel(int x, int y) const {
    const uint32_t v = bits_[y * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  int DarkPixels(const RECT& r) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        const COLORREF c = Pixel(x, y);
        if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++n;
      }
    }
    return n;
  }
  // Shows the page scaled into a window and saves a screenshot.
  void Show(const std::string& name) const {
    const int h = 720, w = width_ * h / height_;
    HWND window = guitest::CreateTestWindow(RECT{10, 10, 10 + w, 10 + h});
    HDC screen = GetDC(window);
    HDC source = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(source, bitmap_);
    SetStretchBltMode(screen, HALFTONE);
    StretchBlt(screen, 0, 0, w, h, source, 0, 0, width_, height_, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    ReleaseDC(window, screen);
    ValidateRect(window, nullptr);
    guitest::Pump(200);
    guitest::Screenshot(name);
    DestroyWindow(window);
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

class Render : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The program's fonts, added for the run as the program does.
    for (const char* file : {"/rwonyx.ttf", "/rwjade.ttf"}) {
      const std::string path = std::string(QUILL_FONT_DIR) + file;
      if (AddFontResourceA(path.c_str()) > 0) ++fonts_;
    }
    Library().module = LoadLibraryExA("Quill.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  static void TearDownTestSuite() {
    for (const char* file : {"/rwonyx.ttf", "/rwjade.ttf"}) {
      RemoveFontResourceA((std::string(QUILL_FONT_DIR) + file).c_str());
    }
  }
  void SetUp() override {
    q_ = std::make_unique<QuillJob>(PrintLanguage::kEnglish);
    HDC screen = GetDC(nullptr);
    haveFonts_ = HasFamily(screen, "RookwellOnyx") && HasFamily(screen, "RookwellJade");
    ReleaseDC(nullptr, screen);
    if (!haveFonts_) {
      // The program's fonts are not built in this tree: a system face stands in.
      q_->job.builtinFace = q_->job.faceName = "DejaVu Serif";
    }
  }

  // Draws one page of `kind` (2 markup, 3 and 4 certificates) into `page`.
  int32_t Draw(Page& page, int w, int h, int kind) {
    GdiContext context(page.Dc());
    RwCDC dc(&context);
    GdiSurface surface(*q_, dc, page.Dc());
    surface.SetPageSize(PrintSize{w, h});
    dc.SetMapMode(MM_TEXT);
    EXPECT_EQ(SelectJobFont(q_->job, surface), FontResult::kSelected);
    ResetPrintLayout(q_->job, surface);
    int32_t more = 0;
    switch (kind) {
      case 2: more = PrintMarkupPage(q_->job, surface); break;
      case 3: more = PrintCertificateA(q_->job, surface); break;
      default: more = PrintCertificateB(q_->job, surface); break;
    }
    page.Release();
    return more;
  }

  static int fonts_;
  bool haveFonts_ = false;
  std::unique_ptr<QuillJob> q_;
};
int Render::fonts_ = 0;

// A letter page at 96 pixels per inch.
constexpr int kPortraitW = 816, kPortraitH = 1056;

TEST_F(Render, MarkupPageWithTabColumnsColumnsAndADiagram) {
  MessageWatch watch;
  // The diagram as the print front end writes it.
  Board board;
  SetInitialBoard(&board);
  const std::string diagram = DiagramMarkup(board);
  const std::string markup =
      "\n.j C\n.f 18 B\nRookwell Onyx\n.n l\n.f 11 N\n.j L\n.t 5 15 10\n"
      "1.\te4\te5\n.n l\n2.\tNf3\tNc6\n.n l\n3.\tBb5\ta6\n.n L 2\n"
      ".c 2\nTwo columns of plain text follow: this paragraph is long enough to wrap over several lines "
      "in its column, and the next one starts below it.\n.n l\nA second paragraph.\n.n l\n.c 1\n" +
      diagram;
  q_->job.SetMarkup(markup.c_str(), true);
  Page page(kPortraitW, kPortraitH);
  EXPECT_EQ(Draw(page, kPortraitW, kPortraitH, 2), 0);
  // Ink inside the printable area, none in the margins.
  EXPECT_GT(page.DarkPixels(RECT{96, 96, 720, 200}), 50);
  EXPECT_EQ(page.DarkPixels(RECT{0, 0, kPortraitW, 90}), 0);
  EXPECT_EQ(page.DarkPixels(RECT{0, 0, 90, kPortraitH}), 0);
  page.Show("quill-markup-page");
  EXPECT_TRUE(watch.Texts().empty()) << watch.Texts()[0];
  if (!haveFonts_) std::printf("program fonts missing: the diagram is drawn in a stand-in face\n");
}

TEST_F(Render, CertificateLayoutsOnTheirBackgrounds) {
  MessageWatch watch;
  q_->job.certValues[2] = "Ann Example";
  q_->job.certValues[8] = "3/5/2001";
  q_->job.certValues[11] = "1850";
  const int w = kPortraitH, h = kPortraitW;  // landscape
  {
    Page page(w, h);
    q_->job.certBackgroundId = 404;
    EXPECT_EQ(Draw(page, w, h, 3), 0);
    // The picture fills the printable area: its brass border at the corners.
    const COLORREF corner = page.Pixel(96 + 18, 96 + 200);
    EXPECT_GT(GetRValue(corner), GetBValue(corner) + 40);
    EXPECT_GT(page.DarkPixels(RECT{300, 96 + 413, 900, 96 + 450}), 100);  // the name's band
    page.Show("quill-certificate-a");
  }
  {
    Page page(w, h);
    q_->job.certBackgroundId = 403;
    ASSERT_TRUE(LoadCertificateBackground(*q_));
    EXPECT_EQ(Draw(page, w, h, 4), 0);
    EXPECT_GT(page.DarkPixels(RECT{250, 96 + 341, 650, 96 + 390}), 100);  // the rating's band
    page.Show("quill-certificate-b");
  }
  EXPECT_EQ(q_->job.fontSize, 24);
  EXPECT_TRUE(watch.Texts().empty());
}

TEST_F(Render, GermanCertificateWithoutBackgroundGetsTheFrame) {
  MessageWatch watch;
  q_->job.certBackgroundId = DefaultBackgroundId(PrintLanguage::kGerman);
  const int w = kPortraitH, h = kPortraitW;
  Page page(w, h);
  EXPECT_EQ(Draw(page, w, h, 3), 0);
  guitest::WaitFor([&] { return !watch.Texts().empty(); }, 2000);
  ASSERT_EQ(watch.Texts().size(), 1u);
  EXPECT_EQ(watch.Texts()[0], "Certificate Background Creation Failed");
  // The frame's left edge runs down the printable rectangle.
  EXPECT_GT(page.DarkPixels(RECT{95, 200, 98, 600}), 300);
  page.Show("quill-certificate-frame");
}

}  // namespace

namespace {

TEST(PackBitmap, HeaderTableAndPixelsInOneBlock) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 5, 3);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SetPixel(dc, 0, 0, RGB(255, 0, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  HGLOBAL block = PackBitmap(bitmap, nullptr, BI_RGB);
  ASSERT_NE(block, nullptr);
  const auto* info = static_cast<const BITMAPINFO*>(GlobalLock(block));
  EXPECT_EQ(info->bmiHeader.biWidth, 5);
  EXPECT_EQ(info->bmiHeader.biHeight, 3);
  EXPECT_GE(GlobalSize(block), info->bmiHeader.biSize + info->bmiHeader.biSizeImage);
  GlobalUnlock(block);
  GlobalFree(block);
  DeleteObject(bitmap);
  EXPECT_EQ(PackBitmap(nullptr, nullptr, BI_RGB), nullptr);
}

}  // namespace
