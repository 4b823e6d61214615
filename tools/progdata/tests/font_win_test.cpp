// The fonts RookwellOnyx and RookwellJade as Windows meets them, under
// Wine: after AddFontResourceA of the built file, a font of the face reports
// that face; every chess code reached through the ANSI calls has a glyph of
// its own; a diagram square is as wide as the line is high at every size;
// figurines stand at capital height; and the initial position typed in
// diagram characters at 24 points shows square cells without gaps (checked
// on the pixels, and kept as a screenshot in <build>/artefacts/gui).
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "guitest.h"

namespace {

const std::string kOut = RW_PROGDATA_OUT;  // Z:... under Wine

struct Face {
  const char* file;
  const char* name;
};
const Face kFaces[] = {{"rwonyx.ttf", "RookwellOnyx"}, {"rwjade.ttf", "RookwellJade"}};

// Diagram characters by colour (0 White, 1 Black), kind (king, queen, rook,
// bishop, knight, pawn) and square shade (0 light, 1 dark).
const unsigned char kPieceChar[2][6][2] = {
    {{176, 178}, {170, 172}, {164, 166}, {155, 157}, {149, 150}, {253, 255}},
    {{179, 180}, {173, 175}, {167, 168}, {158, 185}, {151, 152}, {159, 131}},
};
const unsigned char kEmptyChar[2] = {143, 144};
const unsigned char kLightEmpty = 143;
// Figurines of move text: king, queen, rook, bishop, knight, pawn.
const unsigned char kFigurine[6] = {0x8B, 0x89, 0x88, 0x86, 0x87, 0x85};

std::vector<unsigned char> DiagramCodes() {
  std::vector<unsigned char> codes(kEmptyChar, kEmptyChar + 2);
  for (auto& colour : kPieceChar)
    for (auto& kind : colour) codes.insert(codes.end(), kind, kind + 2);
  return codes;
}

std::vector<unsigned char> ChessCodes() {
  std::vector<unsigned char> codes = DiagramCodes();
  codes.insert(codes.end(), kFigurine, kFigurine + 6);
  return codes;
}

// The 8 lines of a diagram of a position given as FEN piece placement.
std::vector<std::string> Diagram(const char* placement) {
  std::vector<std::string> lines(1);
  const char* kinds = "kqrbnp";
  int file = 0;
  for (const char* p = placement; *p; ++p) {
    const int row = int(lines.size()) - 1;
    if (*p == '/') {
      lines.emplace_back();
      file = 0;
    } else if (*p >= '1' && *p <= '8') {
      for (int n = *p - '0'; n > 0; --n, ++file) lines.back() += char(kEmptyChar[(file + row) & 1]);
    } else {
      const int colour = (*p >= 'a') ? 1 : 0;
      const int kind = int(std::strchr(kinds, *p | 0x20) - kinds);
      lines.back() += char(kPieceChar[colour][kind][(file + row) & 1]);
      ++file;
    }
  }
  return lines;
}

const char kInitial[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

class FontTest : public ::testing::TestWithParam<Face> {
 protected:
  void SetUp() override {
    path_ = kOut + "/" + GetParam().file;
    ASSERT_GT(AddFontResourceA(path_.c_str()), 0) << path_;
    dc_ = CreateCompatibleDC(nullptr);
  }
  void TearDown() override {
    if (font_) DeleteObject(SelectObject(dc_, old_));
    DeleteDC(dc_);
    RemoveFontResourceA(path_.c_str());
  }
  // Selects a new font of the face, `height` as CreateFont takes it
  // (negative: character height, positive: cell height).
  TEXTMETRICA Select(int height) {
    if (font_) DeleteObject(SelectObject(dc_, old_));
    font_ = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_ONLY_PRECIS,
                        CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, GetParam().name);
    old_ = SelectObject(dc_, font_);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    return tm;
  }
  // The glyph's outline as GetGlyphOutlineA gives it, with its metrics.
  std::vector<char> Outline(unsigned char code, GLYPHMETRICS* gm) {
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const DWORD size = GetGlyphOutlineA(dc_, code, GGO_NATIVE, gm, 0, nullptr, &identity);
    EXPECT_NE(size, GDI_ERROR) << int(code);
    std::vector<char> data(size == GDI_ERROR ? 0 : size);
    if (!data.empty()) GetGlyphOutlineA(dc_, code, GGO_NATIVE, gm, size, data.data(), &identity);
    return data;
  }

  std::string path_;
  HDC dc_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

TEST_P(FontTest, AFontOfTheFaceReportsThatFace) {
  const TEXTMETRICA tm = Select(-32);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc_, sizeof face, face);
  EXPECT_STREQ(face, GetParam().name);
  EXPECT_EQ(tm.tmCharSet, ANSI_CHARSET);
}

TEST_P(FontTest, EveryChessCodeHasAGlyphOfItsOwn) {
  Select(-64);
  std::vector<std::vector<char>> letters;
  for (int c = 'A'; c <= 'z'; ++c) {
    GLYPHMETRICS gm;
    if (std::isalpha(c)) letters.push_back(Outline(static_cast<unsigned char>(c), &gm));
  }
  const std::vector<unsigned char> codes = ChessCodes();
  std::vector<std::vector<char>> outlines;
  for (unsigned char code : codes) {
    GLYPHMETRICS gm;
    outlines.push_back(Outline(code, &gm));
    if (code == kLightEmpty) {
      // The light empty square is paper: no ink, but a whole cell's advance.
      EXPECT_TRUE(outlines.back().empty());
      EXPECT_EQ(gm.gmCellIncX, 64);
      continue;
    }
    EXPECT_FALSE(outlines.back().empty()) << int(code);
    for (const auto& letter : letters) EXPECT_NE(outlines.back(), letter) << int(code);
  }
  for (size_t i = 0; i < outlines.size(); ++i)
    for (size_t j = i + 1; j < outlines.size(); ++j)
      EXPECT_NE(outlines[i], outlines[j]) << int(codes[i]) << " and " << int(codes[j]);
}

TEST_P(FontTest, ADiagramSquareIsAsWideAsTheLineIsHighAtEverySize) {
  const std::vector<unsigned char> codes = DiagramCodes();
  for (int size = 4; size <= 300; ++size) {
    for (int height : {-size, size}) {
      const TEXTMETRICA tm = Select(height);
      EXPECT_EQ(tm.tmExternalLeading, 0) << height;
      for (unsigned char code : codes) {
        INT width = 0;
        ASSERT_TRUE(GetCharWidth32A(dc_, code, code, &width));
        ASSERT_EQ(width, tm.tmHeight) << "height " << height << ", code " << int(code) << ", ascent "
                                      << tm.tmAscent << ", descent " << tm.tmDescent;
      }
      // The hatching of a dark square covers its whole cell.
      GLYPHMETRICS gm;
      Outline(kEmptyChar[1], &gm);
      EXPECT_LE(gm.gmptGlyphOrigin.x, 0) << height;
      EXPECT_GE(int(gm.gmBlackBoxX), tm.tmHeight) << height;
      EXPECT_GE(int(gm.gmBlackBoxY), tm.tmHeight) << height;
    }
  }
}

TEST_P(FontTest, FigurinesStandOnTheBaselineAtCapitalHeight) {
  Select(-72);
  GLYPHMETRICS capital;
  Outline('H', &capital);
  for (unsigned char code : kFigurine) {
    GLYPHMETRICS gm;
    Outline(code, &gm);
    EXPECT_NEAR(gm.gmptGlyphOrigin.y, capital.gmptGlyphOrigin.y, 1) << int(code);  // top
    EXPECT_NEAR(int(gm.gmBlackBoxY) - gm.gmptGlyphOrigin.y,
                int(capital.gmBlackBoxY) - capital.gmptGlyphOrigin.y, 1)
        << int(code);  // foot on the baseline
    EXPECT_GT(gm.gmCellIncX, gm.gmBlackBoxX) << int(code);
  }
}

INSTANTIATE_TEST_SUITE_P(Faces, FontTest, ::testing::ValuesIn(kFaces),
                         [](const auto& info) { return std::string(info.param.name); });

// A 32-bit top-down DIB section with a memory DC, white at first.
struct Canvas {
  Canvas(int w, int h) : width(w), height(h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, w, h, WHITENESS);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  // Any ink at all: fine hatch lines are antialiased to grey.
  bool Ink(int x, int y) const { return (bits[y * width + x] & 0xFF) < 224; }
  int width, height;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  uint32_t* bits = nullptr;
};

// Draws the initial position of both faces at 24 points, with a line of
// figurine move text under each, into the canvas; checks each board's cells.
TEST(FontDiagram, InitialPositionAt24PointsHasSquareCellsWithoutGaps) {
  for (const Face& f : kFaces) ASSERT_GT(AddFontResourceA((kOut + "/" + f.file).c_str()), 0) << f.file;
  Canvas canvas(1024, 768);
  const int dpi = GetDeviceCaps(canvas.dc, LOGPIXELSY);
  const std::vector<std::string> lines = Diagram(kInitial);
  const char moves[] =
      "1.e4 e5 2.\x87" "f3 \x87" "c6 3.\x86" "b5 a6 4.\x86" "a4 \x87" "f6 5.O-O \x86" "e7 6.\x88" "e1 b5";
  SetBkMode(canvas.dc, TRANSPARENT);
  int x0 = 40;
  for (const Face& f : kFaces) {
    SCOPED_TRACE(f.name);
    HFONT font = CreateFontA(-MulDiv(24, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, f.name);
    HGDIOBJ old = SelectObject(canvas.dc, font);
    TEXTMETRICA tm;
    GetTextMetricsA(canvas.dc, &tm);
    const int cell = tm.tmHeight, y0 = 40;
    SIZE row;
    GetTextExtentPoint32A(canvas.dc, lines[0].c_str(), 8, &row);
    EXPECT_EQ(row.cx, 8 * cell);
    EXPECT_EQ(row.cy, cell);
    for (int r = 0; r < 8; ++r) TextOutA(canvas.dc, x0, y0 + r * cell, lines[r].c_str(), 8);
    GdiFlush();

    // Ranks 6 to 3 are empty: dark squares carry ink up to every edge of
    // their cell (no gap to the next square), light squares none at all.
    for (int r = 2; r < 6; ++r) {
      for (int c = 0; c < 8; ++c) {
        const int left = x0 + c * cell, top = y0 + r * cell;
        bool edge[4] = {}, any = false;
        for (int i = 0; i < cell; ++i) {
          edge[0] |= canvas.Ink(left, top + i);
          edge[1] |= canvas.Ink(left + cell - 1, top + i);
          edge[2] |= canvas.Ink(left + i, top);
          edge[3] |= canvas.Ink(left + i, top + cell - 1);
          for (int j = 0; j < cell; ++j) any |= canvas.Ink(left + i, top + j);
        }
        if ((r + c) & 1) {
          EXPECT_TRUE(edge[0] && edge[1] && edge[2] && edge[3]) << "rank " << 8 - r << " file " << c;
        } else {
          EXPECT_FALSE(any) << "rank " << 8 - r << " file " << c;
        }
      }
    }
    // Nothing of the board spills past its 8 x 8 cells.
    for (int i = 0; i < 8 * cell; ++i) {
      EXPECT_FALSE(canvas.Ink(x0 + 8 * cell + 1, y0 + i));
      EXPECT_FALSE(canvas.Ink(x0 + i, y0 + 8 * cell + 1));
    }
    HFONT text = CreateFontA(-MulDiv(11, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, f.name);
    SelectObject(canvas.dc, text);
    TextOutA(canvas.dc, x0, y0 + 8 * cell + 16, f.name, int(std::strlen(f.name)));
    TextOutA(canvas.dc, x0, y0 + 8 * cell + 36, moves, int(sizeof moves - 1));
    SelectObject(canvas.dc, font);
    TextOutA(canvas.dc, x0, y0 + 8 * cell + 60, moves, 20);

    // Every chess code drawn through TextOutA, one after the other: each
    // leaves ink in its own advance (0xAD, the soft hyphen of the page, too),
    // except the light empty square.
    int x = 40;
    const int y = 480 + 60 * int(&f - kFaces);
    for (unsigned char code : ChessCodes()) {
      SelectObject(canvas.dc, font);
      INT advance = 0;
      GetCharWidth32A(canvas.dc, code, code, &advance);
      const char one[1] = {char(code)};
      TextOutA(canvas.dc, x, y, one, 1);
      GdiFlush();
      bool ink = false;
      for (int i = 0; i < advance; ++i)
        for (int j = 0; j < cell; ++j) ink |= canvas.Ink(x + i, y + j);
      EXPECT_EQ(ink, code != kLightEmpty) << int(code);
      x += advance;
    }
    SelectObject(canvas.dc, old);
    DeleteObject(text);
    DeleteObject(font);
    x0 += 8 * cell + 120;
  }

  HWND window = guitest::CreateTestWindow(
      RECT{0, 0, 1024, 768}, [&](HWND w, UINT msg, WPARAM, LPARAM, bool* handled) -> LRESULT {
        if (msg != WM_PAINT) return 0;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        BitBlt(dc, 0, 0, canvas.width, canvas.height, canvas.dc, 0, 0, SRCCOPY);
        EndPaint(w, &ps);
        *handled = true;
        return 0;
      });
  ASSERT_NE(window, nullptr);
  UpdateWindow(window);
  guitest::Pump(200);
  guitest::Screenshot("font_diagrams");
  DestroyWindow(window);
  for (const Face& f : kFaces) RemoveFontResourceA((kOut + "/" + f.file).c_str());
}

}  // namespace
