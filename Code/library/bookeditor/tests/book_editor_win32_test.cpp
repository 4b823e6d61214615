// The opening book editor beside a real board window, driven by mouse and
// keyboard through the system's input queue: moves dragged on the board go
// into the book, the tree's Delete key, text and weight edits through save
// and reload, the reference book read-only, and PGN imports with the
// program's progress box, including Cancel. Every scene ends in a
// screenshot.
#include "notation.h"
// clang-format off
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "board.h"
#include "guitest.h"
#include "message_table.h"
#include "movegen.h"
// clang-format on
#include <commctrl.h>

#include "app_globals.h"
#include "book_editor.h"
#include "book_editor_model.h"
#include "book_import.h"
#include "bookformat.h"
#include "data_sets.h"
#include "editablebook.h"
#include "facet.h"
#include "frame_links.h"
#include "look_and_feel.h"
#include "message_box.h"
#include "win/board_view_win32.h"
#include "window_table.h"
#include "worker_thread.h"

namespace {

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}
void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}
std::string Windows(std::string path) {
  for (char& ch : path)
    if (ch == '/') ch = '\\';
  return path;
}

struct FolderSets : ChessSetHost {
  bool DataSetOpen() override { return true; }
  bool LoadDataItem(const std::string& name, std::vector<uint8_t>* out) override {
    *out = ReadBytes(std::string(RW_SETS_DIR) + "/" + name);
    return !out->empty();
  }
  std::string GetSoundFileName(int) override { return std::string(); }
  std::string ProgramFolder() override { return std::string(); }
  bool WriteWaveFile(const std::vector<uint8_t>&, const std::string&) override { return false; }
};

PackedDib* ReadSetPicture(const char* item) {
  return dibReadFile((std::string(RW_SETS_DIR) + "/" + RecordName(item, kItemNameSize)).c_str());
}

// The library room's board in a window of its own: a plain game between two
// people whose moves the editor hears as game events, as the room's game
// sends them.
class LibraryBoard : public BoardViewHost, public BookEditorBoard {
 public:
  Board board{};
  int side = WHITE;
  BoardSettings settings;
  BoardSetRecord boardSet{};
  PieceSetRecord pieceSet{};
  PackedDib* boardBitmap = nullptr;
  PackedDib* sheet = nullptr;
  PackedDib* background = nullptr;
  PackedDib* palettePicture = nullptr;
  HPALETTE palette = nullptr;
  HWND roomWindow = nullptr;
  HWND boardWindow = nullptr;
  RECT stored[32] = {};
  std::vector<MoveRecord> played;
  std::vector<std::string> comments;

  explicit LibraryBoard(const ChessSetCatalogue& catalogue) {
    catalogue.CopyBoardSet(&boardSet, 0);
    catalogue.CopyPieceSet(&pieceSet, catalogue.FindPieceSet(boardSet.defaultPieceSet));
    boardBitmap = ReadSetPicture(boardSet.boardItem);
    sheet = ReadSetPicture(pieceSet.sheetItem);
    palettePicture = dibReadFile(RW_PROGDATA_DIR "/PAL.bmp");
    palette = guitest::MakePalette([this](int i) {
      const DibRgbQuad* q = static_cast<const DibRgbQuad*>(dibGetColorArea(palettePicture)) + i;
      return PALETTEENTRY{q->red, q->green, q->blue, 0};
    });
    SetInitialBoard(&board);
  }
  ~LibraryBoard() override {
    for (PackedDib* d : {boardBitmap, sheet, background, palettePicture})
      if (d) dibDelete(d);
    if (palette) DeleteObject(palette);
  }
  void OpenWindow(int width, int height) {
    background = dibCreateWithColors(width, height, 8);
    dibFillWithColor(background, 248);
    roomWindow = guitest::CreateTestWindow(RECT{0, 0, width, height});
    GetClientRect(roomWindow, &stored[kRoomWindowNumber]);
  }
  void Announce(int code) {
    SendMessageA(boardWindow, kGameEventMessage, WPARAM(code), 0);
    if (HWND editor = HWND(GetNumberedWindow(kBookEditorWindowNumber)))
      SendMessageA(editor, kGameEventMessage, WPARAM(code), 0);
  }

  // The game.
  bool HaveGame() override { return true; }
  bool GameOver() override { return false; }
  const Board& Position() override { return board; }
  int SideToMove() override { return side; }
  bool HumanToMove() override { return true; }
  int OfferMove(MoveRecord*) override { return 0; }
  void PlayMove(MoveRecord* move) override {
    MoveRecord made = *move;
    std::memset(made.texts, 0, sizeof made.texts);
    MakeMove(&made, &board);
    played.push_back(made);
    comments.emplace_back();
    side = OtherSide(side);
    Announce(GAME_MOVE_PLAYED);
  }
  int AskPromotion(int) override { return 1; }
  void ShowStatus(const std::string&) override {}
  void SayIllegal() override {}
  void Beep() override {}
  bool FindMoveForSquare(int, MoveRecord*) override { return false; }
  bool ParseMoveInput(int, char*, size_t, bool*, MoveRecord*) override { return false; }

  // The room's board settings.
  int Room() override { return 4; }
  BoardSetRecord* RoomBoardSet() override { return &boardSet; }
  PieceSetRecord* RoomPieceSet() override { return &pieceSet; }
  PackedDib* RoomBoardBitmap() override { return boardBitmap; }
  PackedDib* RoomPieceSheet() override { return sheet; }
  PackedDib* RoomGroupBitmap(int, int) override { return nullptr; }
  PackedDib* RoomBackground() override { return background; }
  BoardSettings Settings() override { return settings; }
  ScreenPoint LayoutBoardOffset() override {
    if (!IsFlatBoard(boardSet)) return ScreenPoint{0, 0};
    return ScreenPoint{boardSet.centreX - boardSet.size / 2, boardSet.centreY - boardSet.size / 2};
  }
  HPALETTE ProgramPalette() override { return palette; }
  const PackedDib* PalettePicture() override { return palettePicture; }
  HWND NumberedWindow(int number) override {
    return number == kRoomWindowNumber ? roomWindow : number == kBoardWindowNumber ? boardWindow : nullptr;
  }
  void SetNumberedWindow(int number, HWND window) override {
    if (number == kBoardWindowNumber) boardWindow = window;
  }
  bool StoredWindowRect(int number, RECT* out) override {
    *out = stored[number];
    return true;
  }
  void StoreWindowRect(int number, const RECT& rect) override { stored[number] = rect; }
  void SetCursorKind(int) override {}
  bool CurrentMove(MoveRecord* move, int* mover) override {
    if (played.empty()) return false;
    *move = played.back();
    *mover = OtherSide(side);
    return true;
  }
  int PlayerKind(int) override { return 0; }
  bool PlaysBlindfold(int) override { return false; }
  int FrameMode() override { return 0; }
  void SetFrameSizes(const FrameBoardSizes&) override {}

  // What the editor asks of the board.
  HWND Window() override { return boardWindow; }
  void ShowLine(const std::vector<MoveRecord>& moves) override {
    SetInitialBoard(&board);
    side = WHITE;
    played.clear();
    comments.clear();
    for (MoveRecord m : moves) {
      std::memset(m.texts, 0, sizeof m.texts);
      MakeMove(&m, &board);
      played.push_back(m);
      comments.emplace_back();
      side = OtherSide(side);
    }
    SendMessageA(boardWindow, kGameEventMessage, GAME_NEW_POSITION, 0);
  }
  std::vector<MoveRecord> GameLine() override { return played; }
  std::string CurrentComment() override { return comments.empty() ? std::string() : comments.back(); }
  void SetCurrentComment(const std::string& text) override {
    if (!comments.empty()) comments.back() = text;
  }
};

std::string g_folder;
HMODULE g_pictures = nullptr;

// A book: 1.e4 (100 %) e5 (50 %) 2.Nf3, 1.d4 (50 %); names on e4 and e5.
std::string WriteSmallBook(const std::string& name) {
  BookMoveTable table(8);
  BookTextStore texts;
  const int e4 = table.AddBookMove(0, MakeBookMoveWord(BoardSquareToBook(0x64), BoardSquareToBook(0x44), 3, false, false), 1, true);
  const int e5 = table.AddBookMove(e4, MakeBookMoveWord(BoardSquareToBook(0x14), BoardSquareToBook(0x34), 2, false, false), 2, false);
  table.AddBookMove(e5, MakeBookMoveWord(BoardSquareToBook(0x76), BoardSquareToBook(0x55), 3, false, false), 0xFFFF, true);
  table.AddBookMove(0, MakeBookMoveWord(BoardSquareToBook(0x63), BoardSquareToBook(0x43), 2, false, false), 0xFFFF, true);
  texts.SetBookText(1, BOOK_TEXT_NAME, "King's Pawn Opening");
  texts.SetBookText(2, BOOK_TEXT_NAME, "Open Game");
  texts.SetBookText(2, BOOK_TEXT_ECO, "C20");
  const std::string path = g_folder + "\\" + name;
  EXPECT_EQ(StoreBookMoves(table, texts, path.c_str()), 0);
  return path;
}

// Games from a few openings, `count` in all.
std::string WriteGames(const std::string& name, int count) {
  static const char* const lines[] = {
      "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7", "1. e4 c5 2. Nf3 d6 3. d4 cxd4 4. Nxd4 Nf6 5. Nc3 a6",
      "1. d4 d5 2. c4 e6 3. Nc3 Nf6 4. Bg5 Be7",           "1. d4 Nf6 2. c4 g6 3. Nc3 Bg7 4. e4 d6",
      "1. c4 e5 2. Nc3 Nf6 3. g3 d5",                      "1. e4 e6 2. d4 d5 3. Nc3 Bb4",
      "1. e4 c6 2. d4 d5 3. e5 Bf5",                       "1. Nf3 d5 2. g3 Nf6 3. Bg2 e6"};
  std::string text;
  text.reserve(size_t(count) * 120);
  for (int i = 0; i < count; ++i) {
    text += "[Event \"Library test " + std::to_string(i) + "\"]\n[Result \"1-0\"]\n\n";
    text += lines[i % 8];
    text += " 1-0\n\n";
  }
  const std::string path = g_folder + "\\" + name;
  WriteText(path, text);
  return path;
}

HWND Control(int id) { return GetDlgItem(HWND(GetNumberedWindow(kBookEditorWindowNumber)), id); }
std::string Text(HWND w) {
  char text[600] = "";
  GetWindowTextA(w, text, sizeof text);
  return text;
}
HTREEITEM Selected() { return HTREEITEM(SendMessageA(Control(OBK_TREE), TVM_GETNEXTITEM, TVGN_CARET, 0)); }
std::string ItemText(HTREEITEM item) {
  char text[64] = "";
  TVITEMA data{};
  data.mask = TVIF_TEXT | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = sizeof text;
  SendMessageA(Control(OBK_TREE), TVM_GETITEMA, 0, LPARAM(&data));
  return text;
}
int ItemImage(HTREEITEM item) {
  TVITEMA data{};
  data.mask = TVIF_IMAGE | TVIF_HANDLE;
  data.hItem = item;
  SendMessageA(Control(OBK_TREE), TVM_GETITEMA, 0, LPARAM(&data));
  return data.iImage;
}
std::vector<std::string> ChildTexts(HTREEITEM item) {
  std::vector<std::string> out;
  for (HTREEITEM c = HTREEITEM(SendMessageA(Control(OBK_TREE), TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(item))); c;
       c = HTREEITEM(SendMessageA(Control(OBK_TREE), TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(c))))
    out.push_back(ItemText(c));
  return out;
}
HTREEITEM Root() { return HTREEITEM(SendMessageA(Control(OBK_TREE), TVM_GETNEXTITEM, TVGN_ROOT, 0)); }
void ClickItem(HTREEITEM item) {
  RECT r{};
  *reinterpret_cast<HTREEITEM*>(&r) = item;
  ASSERT_TRUE(SendMessageA(Control(OBK_TREE), TVM_GETITEMRECT, TRUE, LPARAM(&r)));
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(Control(OBK_TREE), &p);
  guitest::Click(p);
  guitest::Pump(200);
}
void TypeText(const char* text) {
  for (const char* c = text; *c; ++c) {
    if (*c >= 'A' && *c <= 'Z') guitest::Chord({VK_SHIFT}, WORD(*c));
    else if (*c >= 'a' && *c <= 'z') guitest::PressKey(WORD(*c - 'a' + 'A'));
    else if (*c == ' ') guitest::PressKey(VK_SPACE);
    else guitest::PressKey(WORD(*c));
  }
  guitest::Pump(100);
}

class BookEditorWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_folder = std::string(base) + "rw_book_editor";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CopyFileA(Windows(RW_PROGDATA_DIR "/rwonyx.ttf").c_str(), (g_folder + "\\rwonyx.ttf").c_str(), FALSE);
    CopyFileA(Windows(RW_BIN_DIR "/RW256.dll").c_str(), (g_folder + "\\RW256.dll").c_str(), FALSE);
    AddFontResourceExA((g_folder + "\\rwonyx.ttf").c_str(), FR_PRIVATE, nullptr);
    auto cel = ReadBytes(std::string(ENGMESS_BASE) + ".CEL"), str = ReadBytes(std::string(ENGMESS_BASE) + ".STR");
    ASSERT_TRUE(LoadMessageTableImages("ENGMESS", cel.data(), cel.size(), str.data(), str.size()));
    SetCurrentDirectoryA(g_folder.c_str());
    SetAppModulePath((g_folder + "\\Rookwell.exe").c_str());
    ASSERT_EQ(CreateAppGlobals(), 1);
    ResetFrameLinks();
    GetFrameLinks().programFolder = [] { return g_folder.c_str(); };
    DataSetHost host = DefaultDataSetHost();
    host.programFolder = [] { return g_folder.c_str(); };
    SetDataSetHost(host);
    ASSERT_EQ(OpenDataSet("RW256.dll", 7, 1), 1);
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
    InitWindowTable();
    InstallMessageBox();
    ASSERT_TRUE(InitBoardViews(GetModuleHandleA(nullptr)));
    ccInit(GetModuleHandleA(nullptr));
    FolderSets folder;
    ASSERT_TRUE(catalogue_.Load(&folder));
    g_pictures = LoadLibraryExA((g_folder + "\\RW256.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(g_pictures);
  }
  static void TearDownTestSuite() {
    CloseAllDataSets();
    FreeLookAndFeel(nullptr);
    FreeAppGlobals();
  }

  void SetUp() override {
    SelectMessageTable("ENGMESS");
    room_ = std::make_unique<LibraryBoard>(catalogue_);
    const int width = room_->boardBitmap->biWidth + 40, height = std::abs(room_->boardBitmap->biHeight) + 40;
    room_->OpenWindow(width, height);
    view_ = CreateBoardView(room_.get(), GetModuleHandleA(nullptr));
    ASSERT_NE(view_, nullptr);
    BookEditorHost host;
    HWND main = room_->roomWindow;
    host.mainWindow = [main] { return main; };
    host.loadPicture = [](const char* name) {
      return HBITMAP(LoadImageA(g_pictures, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    };
    host.userFolder = [] { return g_folder; };
    LibraryBoard* board = room_.get();
    host.board = [board] { return static_cast<BookEditorBoard*>(board); };
    SetBookEditorHost(host);
    guitest::Pump(100);
    boardRight_ = width;
  }
  void TearDown() override {
    CloseBookEditor();
    guitest::Pump(100);
    EXPECT_EQ(GetNumberedWindow(kBookEditorWindowNumber), nullptr);
    if (view_) {
      HWND roomWindow = GetParent(view_->window);
      DestroyBoardView(view_);
      DestroyWindow(roomWindow);
    }
  }
  // The editor to the right of the board, as tall as it.
  void OpenEditor(const std::string& path, bool readOnly) {
    ASSERT_EQ(OpenBookEditorWindow(room_.get(), path.c_str(), readOnly ? 1 : 0), 0);
    HWND editor = HWND(GetNumberedWindow(kBookEditorWindowNumber));
    ASSERT_TRUE(editor);
    SetWindowPos(editor, nullptr, boardRight_ + 8, 0, 330, 520, SWP_NOZORDER);
    guitest::Pump(200);
  }
  POINT Centre(const char* square) {
    ScreenPoint p;
    SquareCentre(view_->projection, '8' - square[1], square[0] - 'a', &p, nullptr);
    POINT s{p.x, p.y};
    ClientToScreen(view_->window, &s);
    return s;
  }
  void Drag(const char* from, const char* to) {
    guitest::Drag(Centre(from), Centre(to));
    guitest::Pump(200);
  }
  void Shot(const std::string& name) { guitest::ScreenshotTo(RW_LIBRARY_ARTEFACTS, name); }

  static ChessSetCatalogue catalogue_;
  std::unique_ptr<LibraryBoard> room_;
  BoardView* view_ = nullptr;
  int boardRight_ = 0;
};
ChessSetCatalogue BookEditorWindow::catalogue_;

TEST_F(BookEditorWindow, MovesPlayedBesideTheBoardGoIntoTheBookAndSurviveSaving) {
  const std::string path = WriteSmallBook("small.obk");
  OpenEditor(path, false);
  HWND editor = HWND(GetNumberedWindow(kBookEditorWindowNumber));
  EXPECT_EQ(Text(editor), "Opening Book Editor - small.obk");
  EXPECT_EQ(ItemText(Root()), "Root");
  EXPECT_EQ(ChildTexts(Root()), (std::vector<std::string>{"e4", "d4"}));
  EXPECT_FALSE(IsWindowEnabled(Control(OBK_NAME))) << "the root has no texts to edit";
  EXPECT_TRUE(SendMessageA(Control(OBK_TREE), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));

  // 1.e4 is in the book: it is selected, not added again.
  Drag("e2", "e4");
  EXPECT_EQ(ItemText(Selected()), "e4");
  EXPECT_EQ(ChildTexts(Root()), (std::vector<std::string>{"e4", "d4"}));
  EXPECT_EQ(Text(Control(OBK_NAME)), "King's Pawn Opening");
  EXPECT_FALSE(IsBookEditorModified());
  // 1...c5 is new below e4, which has a child: 25 %.
  Drag("c7", "c5");
  EXPECT_EQ(ItemText(Selected()), "c5");
  EXPECT_EQ(ItemImage(Selected()), 1);
  EXPECT_TRUE(IsBookEditorModified());
  // 2.Nf3 below c5, which had none: 100 %.
  Drag("g1", "f3");
  EXPECT_EQ(ItemText(Selected()), "Nf3");
  EXPECT_EQ(ItemImage(Selected()), 3);
  EXPECT_EQ(SendMessageA(Control(OBK_WEIGHT), CB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(Text(Control(OBK_VARIATION)), "King's Pawn Opening");

  // A name and an ECO code typed in, the weight chosen from the list.
  guitest::Click(POINT{0, 0});
  RECT r;
  GetWindowRect(Control(OBK_NAME), &r);
  guitest::Click(POINT{r.left + 10, (r.top + r.bottom) / 2});
  TypeText("Sicilian Defence");
  GetWindowRect(Control(OBK_ECO), &r);
  guitest::Click(POINT{r.left + 10, (r.top + r.bottom) / 2});
  TypeText("B27");
  SendMessageA(Control(OBK_WEIGHT), CB_SETCURSEL, 2, 0);
  SendMessageA(editor, WM_COMMAND, MAKEWPARAM(OBK_WEIGHT, CBN_SELCHANGE), LPARAM(Control(OBK_WEIGHT)));
  EXPECT_EQ(ItemImage(Selected()), 2);
  Shot("editor-beside-board");

  // Selecting another entry stores the edits; the line is shown on the board.
  SendMessageA(Control(OBK_TREE), TVM_SELECTITEM, TVGN_CARET, LPARAM(Root()));
  guitest::Pump(200);
  EXPECT_EQ(room_->played.size(), 0u);
  const std::string saved = g_folder + "\\small-saved.obk";
  EXPECT_EQ(SaveBookEditor(saved.c_str()), 1);
  EXPECT_FALSE(IsBookEditorModified());
  EXPECT_EQ(Text(editor), "Opening Book Editor - small-saved.obk");

  BookEditorModel reread(saved, true);
  std::vector<MoveRecord> line;
  int entry = 0;
  for (const char* from_to : {"e2e4", "c7c5", "g1f3"}) {
    MoveRecord m{};
    m.from = uint8_t((('8' - from_to[1]) << 4) | (from_to[0] - 'a'));
    m.to = uint8_t((('8' - from_to[3]) << 4) | (from_to[2] - 'a'));
    entry = reread.FindChild(entry, m);
    ASSERT_GE(entry, 0) << from_to;
  }
  const BookEntryView view = reread.View(entry);
  EXPECT_EQ(view.name, "Sicilian Defence");
  EXPECT_EQ(view.eco, "B27");
  EXPECT_EQ(view.weight, 2);
  EXPECT_EQ(view.line, "1.e4 c5 2.Nf3");
}

TEST_F(BookEditorWindow, DeleteRemovesTheSelectedEntryEvenWhileFrozen) {
  const std::string path = WriteSmallBook("delete.obk");
  OpenEditor(path, false);
  Drag("e2", "e4");
  Drag("e7", "e5");
  EXPECT_EQ(ItemText(Selected()), "e5");
  // Frozen, the board goes on while the selection stays; Delete takes the
  // selected entry, not the game's move.
  room_->Announce(13);
  Drag("g1", "f3");
  EXPECT_EQ(ItemText(Selected()), "e5");
  SetFocus(Control(OBK_TREE));
  guitest::PressKey(VK_DELETE);
  guitest::Pump(200);
  EXPECT_EQ(ItemText(Selected()), "e4");
  EXPECT_TRUE(ChildTexts(Selected()).empty());
  room_->Announce(14);
  const std::string saved = g_folder + "\\delete-saved.obk";
  ASSERT_EQ(SaveBookEditor(saved.c_str()), 1);
  EditableBook book;
  ASSERT_EQ(book.Open(saved.c_str()), 0);
  EXPECT_EQ(book.MoveCount(), 2) << "e5 and Nf3 are gone, e4 and d4 stay";
  Shot("editor-after-delete");
}

TEST_F(BookEditorWindow, TheReferenceBookIsReadOnly) {
  OpenEditor(Windows(RW_REFERENCE_BOOK), true);
  HWND editor = HWND(GetNumberedWindow(kBookEditorWindowNumber));
  EXPECT_EQ(Text(editor), "Opening Book Editor - Reference.obk");
  EXPECT_FALSE(SendMessageA(Control(OBK_TREE), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)) << "no weight images";
  const size_t before = ChildTexts(Root()).size();
  Drag("e2", "e4");
  EXPECT_EQ(ItemText(Selected()), "e4") << "a move in the book selects its entry";
  for (int id : {OBK_NAME, OBK_ECO, OBK_WEIGHT}) EXPECT_FALSE(IsWindowEnabled(Control(id))) << id;
  Drag("e7", "e5");
  Drag("g1", "f3");
  Drag("b8", "c6");
  Drag("f1", "b5");
  EXPECT_EQ(ItemText(Selected()), "Bb5");
  EXPECT_NE(Text(Control(OBK_NAME)), "");
  Drag("h7", "h6");  // hardly a book move: nothing is added
  EXPECT_EQ(ItemText(Selected()), "Bb5");
  EXPECT_EQ(ChildTexts(Root()).size(), before);
  EXPECT_FALSE(IsBookEditorModified());
  SetFocus(Control(OBK_TREE));
  guitest::PressKey(VK_DELETE);
  guitest::Pump(100);
  EXPECT_EQ(ItemText(Selected()), "Bb5");
  Shot("reference-book");
}

// Window enumerations (named: the 32-bit system calls them stdcall).
BOOL CALLBACK FindVisibleBox(HWND w, LPARAM p) {
  char cls[64] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (IsWindowVisible(w) && std::strcmp(cls, kMessageBoxClass) == 0) {
    *reinterpret_cast<HWND*>(p) = w;
    return FALSE;
  }
  return TRUE;
}
BOOL CALLBACK FindShownText(HWND w, LPARAM p) {
  auto* l = reinterpret_cast<std::pair<const char*, bool*>*>(p);
  char t[300] = "";
  GetWindowTextA(w, t, sizeof t);
  if (std::strstr(t, l->first)) *l->second = true;
  return TRUE;
}
BOOL CALLBACK FindCancelButton(HWND w, LPARAM p) {
  if (GetDlgCtrlID(w) == IDCANCEL) *reinterpret_cast<HWND*>(p) = w;
  return TRUE;
}

HWND WaitForBox(const char* text) {
  HWND found = nullptr;
  guitest::WaitFor(
      [&] {
        found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindVisibleBox, LPARAM(&found));
        return found != nullptr;
      },
      5000);
  (void)text;
  return found;
}
bool BoxShows(HWND box, const char* text) {
  bool shows = false;
  std::pair<const char*, bool*> look{text, &shows};
  EnumChildWindows(box, FindShownText, LPARAM(&look));
  return shows;
}

TEST_F(BookEditorWindow, ImportingTwoThousandGamesFillsTheEditor) {
  const std::string pgn = WriteGames("two-thousand.pgn", 2000);
  const std::string path = WriteSmallBook("import.obk");
  OpenEditor(path, false);
  DeleteFileA((g_folder + "\\import.obk.tmp").c_str());
  ASSERT_EQ(ImportPgnIntoEditor(pgn.c_str()), 0);
  HWND box = WaitForBox("Importing PGN files.");
  ASSERT_TRUE(box);
  EXPECT_TRUE(BoxShows(box, "Importing PGN files."));
  Shot("import-progress");
  ASSERT_TRUE(guitest::WaitFor([] { return !WorkerThreadExists(kBookImportThreadName); }, 60000));
  guitest::Pump(500);
  EXPECT_FALSE(IsWindow(box));
  const std::vector<std::string> first = ChildTexts(Root());
  for (const char* m : {"e4", "d4", "c4", "Nf3"})
    EXPECT_NE(std::find(first.begin(), first.end(), m), first.end()) << m;
  Drag("e2", "e4");
  EXPECT_EQ(ChildTexts(Selected()), (std::vector<std::string>{"e5", "c5", "e6", "c6"}));
  Shot("import-done");
}

TEST_F(BookEditorWindow, CancelEndsALongImportAtOnceAndWritesNothing) {
  const std::string pgn = WriteGames("hundred-thousand.pgn", 100000);
  const std::string path = WriteSmallBook("cancel.obk");
  OpenEditor(path, false);
  const std::string target = g_folder + "\\cancel.obk";
  ASSERT_EQ(ImportPgnIntoEditor(pgn.c_str()), 0);
  const std::vector<uint8_t> before = ReadBytes(target);
  HWND box = WaitForBox("Importing PGN files.");
  ASSERT_TRUE(box);
  guitest::Pump(300);
  ASSERT_TRUE(WorkerThreadExists(kBookImportThreadName)) << "the import ended before it could be cancelled";
  HWND cancel = nullptr;
  EnumChildWindows(box, FindCancelButton, LPARAM(&cancel));
  ASSERT_TRUE(cancel);
  RECT r;
  GetWindowRect(cancel, &r);
  const auto start = std::chrono::steady_clock::now();
  guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  ASSERT_TRUE(guitest::WaitFor([] { return !WorkerThreadExists(kBookImportThreadName); }, 5000));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
  guitest::Pump(300);
  EXPECT_FALSE(IsWindow(box));
  EXPECT_EQ(WaitForBox(""), nullptr) << "no message after a cancel";
  EXPECT_EQ(ReadBytes(target), before);
  EXPECT_EQ(ChildTexts(Root()), (std::vector<std::string>{"e4", "d4"})) << "the editor keeps its book";
  Shot("import-cancelled");
}

}  // namespace

// Wine's shutdown of this process can stall after the last test (the board
// view's and the toolkit's libraries are unloaded late); the results are
// out by then, so the process ends at once.
int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::fflush(stdout);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), UINT(result));
  return result;
}
