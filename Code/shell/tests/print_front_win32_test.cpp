// The print front end in a test host under Wine. Built twice: beside
// Quill.dll, printing to the CUPS queue "PDF" (skipped without it), and in a
// folder of its own without the library (RW_NO_QUILL), where every print
// does nothing and the host runs on.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "game_record.h"
#include "guitest.h"
#include "pdf_reader.h"
#include "pgn_read.h"
#include "print_front.h"

namespace {

struct GameDeleter {
  void operator()(GameRecord* game) const { DestroyGame(game); }
};
using GamePtr = std::unique_ptr<GameRecord, GameDeleter>;

GamePtr NewGame() {
  return GamePtr(CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, WHITE, 1, 0));
}

#ifndef RW_NO_QUILL
// The game of eco.pgn whose opening tag is `opening`, or null when the file
// is not beside the repository (the environment's RW_TESTDATA_DIR, a
// Windows path, names another folder).
GamePtr EcoGame(const std::string& opening) {
  const char* dir = std::getenv("RW_TESTDATA_DIR");
  std::ifstream in(std::string(dir ? dir : RW_TESTDATA_DIR) + "/eco.pgn", std::ios::binary);
  if (!in) return nullptr;
  std::stringstream all;
  all << in.rdbuf();
  const std::string text = all.str();
  const size_t tag = text.find("[Opening \"" + opening + "\"]");
  if (tag == std::string::npos) return nullptr;
  const size_t start = text.rfind("[ECO", tag);
  const size_t end = text.find("\n[ECO", tag);
  GamePtr game = NewGame();
  if (ReadPgnFromMemory(text.substr(start, end - start).c_str(), game.get()) != 0) return nullptr;
  return game;
}
#endif

// Sets [windows] "device" for one test and puts the old entry back.
class DeviceEntryScope {
 public:
  explicit DeviceEntryScope(const char* entry) : old_(ReadDeviceEntry("")) {
    WriteProfileStringA("windows", "device", entry);
  }
  ~DeviceEntryScope() { WriteProfileStringA("windows", "device", old_.empty() ? nullptr : old_.c_str()); }

 private:
  std::string old_;
};

std::set<std::string> g_before;

}  // namespace

#ifdef RW_NO_QUILL

// First: the printer record, once made, is kept for the run.
TEST(PrintFrontWithoutQuill, EmptyDeviceEntryMeansNoPrinter) {
  DeviceEntryScope empty("");
  EXPECT_EQ(HasDefaultPrinter(), 0);
  EXPECT_EQ(GetDefaultPrinterRecord(), nullptr);
  GamePtr game = NewGame();
  EXPECT_EQ(PrintBoardPosition(nullptr, game.get()), 0);
}

TEST(PrintFrontWithoutQuill, EveryPrintDoesNothingAndTheHostRunsOn) {
  ASSERT_EQ(QuillModule(), nullptr);
  const std::set<std::string> before = PdfFiles();
  GamePtr game = NewGame();
  EXPECT_EQ(PrintGameMoveList(nullptr, game.get()), 0);
  PrintBoardPosition(nullptr, game.get());
  EXPECT_EQ(PrintTextList(nullptr, "START"), 1);
  EXPECT_EQ(PrintTextList(nullptr, "a line"), 1);
  EXPECT_EQ(PrintTextList(nullptr, "DONE"), 1);
  EXPECT_EQ(FillCertificateValues(0, "Ann Example", 1, 1850), 1);
  EXPECT_NE(LoadCertificateBackground(403), 0) << "missing exports count as a failed load";
  EXPECT_EQ(CallLoadPalette(), 0);
  guitest::Pump(2000);
  EXPECT_EQ(PdfFiles(), before) << "nothing reached the printer";
}

TEST(PrintFrontWithoutQuill, LongPrinterNameIsReadWhole) {
  const std::string name(300, 'P');
  DeviceEntryScope longName((name + ",winspool,CUPS:" + name).c_str());
  EXPECT_EQ(ReadDeviceEntry(""), name + ",winspool,CUPS:" + name);
}

#else

class PrintFront : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HasPrinter("PDF")) GTEST_SKIP() << "no print queue \"PDF\" (Code/print/win/pdf_queue.sh sets one up)";
    ASSERT_NE(QuillModule(), nullptr) << "Quill.dll beside the host";
    for (const char* file : {"/rwonyx.ttf", "/rwjade.ttf"}) {
      AddFontResourceA((std::string(QUILL_FONT_DIR) + file).c_str());
    }
    SetPrintPalette(nullptr);
    before_ = PdfFiles();
  }
  void TearDown() override {
    for (const char* file : {"/rwonyx.ttf", "/rwjade.ttf"}) {
      RemoveFontResourceA((std::string(QUILL_FONT_DIR) + file).c_str());
    }
  }
  // The job's PDF, its text (pdftotext -layout) and page 1 as a picture.
  std::string Printed(const std::string& picture, std::string* text) {
    const std::string pdf = WaitForNewPdf(before_);
    if (pdf.empty()) return pdf;
    *text = Unix("pdftotext -layout '" + pdf + "' -");
    RenderFirstPage(pdf, picture);
    return pdf;
  }
  std::set<std::string> before_;
};

TEST_F(PrintFront, DefaultPrinterIsThere) { EXPECT_EQ(HasDefaultPrinter(), 1); }

TEST_F(PrintFront, MoveListOfAnEcoGameIsHeadedAndHoldsItsMoves) {
  GamePtr game = EcoGame("Amar gambit");
  if (!game) GTEST_SKIP() << "no ../shared/testdata/eco.pgn";
  ASSERT_EQ(PrintGameMoveList(nullptr, game.get()), 1);
  std::string text;
  ASSERT_FALSE(Printed("print-front-movelist", &text).empty()) << "no PDF";
  const size_t title = text.find("Rookwell Onyx");
  ASSERT_NE(title, std::string::npos) << text;
  size_t at = title;
  // Pieces print as figurines of the chess face, which give no letters.
  for (const char* move : {"h3", "d5", "g3", "e5", "f4", "xh3", "xh3", "exf4"}) {
    at = text.find(move, at);
    ASSERT_NE(at, std::string::npos) << move << " in order in\n" << text;
    ++at;
  }
}

TEST_F(PrintFront, BoardPositionPrintsThePiecesOnOnePage) {
  GamePtr game = NewGame();
  ASSERT_NE(PrintBoardPosition(nullptr, game.get()), 0);
  std::string text;
  const std::string pdf = Printed("print-front-board", &text);
  ASSERT_FALSE(pdf.empty()) << "no PDF";
  EXPECT_EQ(ReadInfo(pdf).pages, 1);
  // The queue's driver aligns text vertically or it does not: the heading
  // comes with the position text, or the diagram alone.
  HDC dc = CreateDCA("winspool", "PDF", nullptr, nullptr);
  const bool aligns = dc && (GetDeviceCaps(dc, TEXTCAPS) & TC_VA_ABLE);
  if (dc) DeleteDC(dc);
  EXPECT_EQ(text.find("Rookwell Onyx") != std::string::npos, aligns) << text;
}

TEST_F(PrintFront, DiagramMarkupGivesABoardOfPieces) {
  GamePtr game = NewGame();
  ASSERT_NE(PrintDiagram(game->position), 0);
  std::string text;
  const std::string pdf = Printed("print-front-diagram", &text);
  ASSERT_FALSE(pdf.empty()) << "no PDF";
  EXPECT_EQ(ReadInfo(pdf).pages, 1);
  // The chess face embedded, not a letter face standing in for it.
  EXPECT_NE(Unix("pdffonts '" + pdf + "'").find("RookwellJade"), std::string::npos);
}

TEST_F(PrintFront, TextListPrintsItsLinesInOrder) {
  for (const char* line : {"START", "Round 1: Ann Example - Rookwell 1-0\n", "Round 2: Rookwell - Ann Example 1/2\n",
                           "DONE"}) {
    EXPECT_EQ(PrintTextList(nullptr, line), 1);
  }
  std::string text;
  ASSERT_FALSE(Printed("print-front-textlist", &text).empty()) << "no PDF";
  const size_t first = text.find("Round 1: Ann Example");
  ASSERT_NE(first, std::string::npos) << text;
  EXPECT_NE(text.find("Round 2: Rookwell", first), std::string::npos) << text;
}

TEST_F(PrintFront, CertificateHasTheNameTodayAndTheRatingOnLandscape) {
  ASSERT_EQ(FillCertificateValues(0, "Ann Example", 1, 1850), 1);
  std::string text;
  const std::string pdf = Printed("print-front-certificate", &text);
  ASSERT_FALSE(pdf.empty()) << "no PDF";
  EXPECT_TRUE(ReadInfo(pdf).Landscape());
  SYSTEMTIME today;
  GetLocalTime(&today);
  char date[32];
  wsprintfA(date, "%d/%d/%d", today.wMonth, today.wDay, today.wYear);
  EXPECT_NE(text.find("Ann Example"), std::string::npos) << text;
  EXPECT_NE(text.find(date), std::string::npos) << date << " in\n" << text;
  EXPECT_NE(text.find("1850"), std::string::npos) << text;
}

// The printer dialog, photographed and cancelled by a second thread.
TEST_F(PrintFront, PrintSetupShowsThePrinterDialog) {
  std::atomic<bool> seen{false};
  std::thread closer([&] {
    HWND dialog = nullptr;
    guitest::WaitFor(
        [&] {
          dialog = FindWindowA("#32770", nullptr);
          DWORD pid = 0;
          if (dialog) GetWindowThreadProcessId(dialog, &pid);
          return dialog && pid == GetCurrentProcessId() && IsWindowVisible(dialog);
        },
        20000);
    if (!dialog) return;
    seen = true;
    Sleep(1000);
    guitest::Screenshot("print-front-setup");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(ShowPrintSetup(nullptr), 0) << "cancelled";
  closer.join();
  EXPECT_TRUE(seen) << "no printer dialog";
}

#endif
