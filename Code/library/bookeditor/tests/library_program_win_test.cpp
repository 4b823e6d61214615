// The library room in Rookwell.exe, end to end from an installed program
// folder, with the mouse and keyboard: the room's board and four tiles; the
// reference book from its tile, read-only, the main window given back by
// the timer, Import refused over it; a new book edited beside the board,
// Close answered with Cancel at the save question; Load of the reference
// book refused; the three right-click menus. Screenshots go to
// artefacts/library.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "guitest.h"

namespace {

const char* kFrameClass = "RWONYX_APP_CLASS";
const char* kBoardClass = "RWBoardWndClass";
constexpr int kLibraryButton = 21570;
constexpr int kTiles[] = {21670, 21675, 21720, 21855};
constexpr int kTileReference = 21720;

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_LIBRARY_ARTEFACTS, name); }

std::string FreshCopy(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string to = std::string(temp) + name;
  std::error_code error;
  std::filesystem::remove_all(to, error);
  std::filesystem::copy(guitest::InstalledProgramFolder(), to, std::filesystem::copy_options::recursive, error);
  WritePrivateProfileStringA("settings", "IntroMovie", "0", (to + "\\rw.ini").c_str());
  // A player logged in at the start, as a user always is: the room then
  // stands in that player's layout.
  WritePrivateProfileStringA("debug", "auto_login", "1", (to + "\\rw.ini").c_str());
  WritePrivateProfileStringA("debug", "auto_login_user", "Tester", (to + "\\rw.ini").c_str());
  WritePrivateProfileStringA("debug", "auto_room_select", "1", (to + "\\rw.ini").c_str());
  return to;
}

// The window's text as it answers WM_GETTEXT: the toolkit's controls keep
// their own.
std::string Text(HWND w) {
  char text[512] = "";
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_ABORTIFHUNG, 1000, &copied))
    GetWindowTextA(w, text, sizeof text);
  return text;
}

struct Search {
  DWORD process;
  std::string text;
  bool prefix;
  HWND found;
};

BOOL CALLBACK FindChildText(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  if (Text(w).find(s->text) != std::string::npos) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindTopLevel(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->process || !IsWindowVisible(w)) return TRUE;
  const std::string caption = Text(w);
  if (s->prefix ? caption.rfind(s->text, 0) == 0 : false) {
    s->found = w;
    return FALSE;
  }
  if (!s->prefix) {
    Search inner{s->process, s->text, false, nullptr};
    EnumChildWindows(w, FindChildText, reinterpret_cast<LPARAM>(&inner));
    if (inner.found) {
      s->found = w;
      return FALSE;
    }
  }
  return TRUE;
}

class LibraryProgram : public ::testing::Test {
 protected:
  void TearDown() override {
    if (program_.process) {
      if (frame_) PostMessageA(frame_, WM_CLOSE, 0, 0);
      DWORD code = 0;
      if (!guitest::WaitForProgramEnd(&program_, 15000, &code)) guitest::KillProgram(&program_);
    }
  }
  bool Start() {
    const std::string folder = FreshCopy("rw_library_room");
    if (!guitest::StartProgram(folder + "\\Rookwell.exe", "", folder, &program_)) return false;
    if (!guitest::WaitFor([&] { return (frame_ = guitest::FindProgramWindow(program_, kFrameClass)) != nullptr; },
                          20000))
      return false;
    guitest::Pump(1000);
    room_ = FindWindowExA(frame_, nullptr, "WC_ROOKWELL_ROOM", nullptr);
    HWND bar = FindWindowExA(frame_, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
    HWND button = bar ? GetDlgItem(bar, kLibraryButton) : nullptr;
    if (!room_ || !button) return false;
    PostMessageA(bar, WM_COMMAND, MAKEWPARAM(kLibraryButton, BN_CLICKED), LPARAM(button));
    guitest::WaitFor([&] { return (board_ = VisibleBoard()) != nullptr; }, 10000);
    guitest::Pump(800);
    // The room's layout keeps the column for Game Status and the editor:
    // the tiles are shown from the Windows menu (Ctrl+1).
    Command(40032);
    guitest::WaitFor([&] { return Tile(kTileReference) != nullptr; }, 5000);
    return board_ != nullptr;
  }
  HWND VisibleBoard() {
    for (HWND w = FindWindowExA(room_, nullptr, kBoardClass, nullptr); w; w = FindWindowExA(room_, w, kBoardClass, nullptr))
      if (IsWindowVisible(w)) return w;
    return nullptr;
  }
  // A window of the program whose caption starts with `caption`.
  HWND Window(const std::string& caption) {
    Search s{program_.id, caption, true, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&s));
    return s.found;
  }
  // A top-level window of the program with a child that shows `text`.
  HWND WindowShowing(const std::string& text) {
    Search s{program_.id, text, false, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&s));
    return s.found;
  }
  HWND Tile(int id) {
    HWND shortcuts = Window("Shortcuts");
    if (!shortcuts) return nullptr;
    for (HWND child = GetWindow(shortcuts, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (HWND button = GetDlgItem(child, id)) return button;
    return nullptr;
  }
  void ClickCentre(HWND w, bool right = false) {
    RECT r;
    GetWindowRect(w, &r);
    guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, right);
  }
  void Command(int id) {
    PostMessageA(frame_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    guitest::Pump(600);
  }
  HWND Editor() { return Window("Opening Book Editor - "); }
  // Waits for the message box showing `text` and clicks its button
  // (OK 1; Yes 300, No 1, Cancel 2 of a Yes/No/Cancel box).
  bool Answer(const std::string& text, int button, const char* shot = nullptr) {
    HWND box = nullptr;
    if (!guitest::WaitFor([&] { return (box = WindowShowing(text)) != nullptr; }, 5000)) return false;
    guitest::Pump(300);
    if (shot) Shot(shot);
    HWND control = GetDlgItem(box, button);
    if (!control) return false;
    ClickCentre(control);
    return guitest::WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
  }
  // The centre of a square of the room's board as this display shows it:
  // the 2D set fitting the room, its squares 56 pixels from (30, 23) of the
  // board window.
  POINT Square(const char* name) {
    RECT r;
    GetWindowRect(board_, &r);
    const double size = 56.25;
    return POINT{r.left + 30 + LONG((name[0] - 'a' + 0.5) * size), r.top + 23 + LONG(('8' - name[1] + 0.5) * size)};
  }
  void Drag(const char* from, const char* to) {
    guitest::DragSettled(Square(from), Square(to));
    guitest::Pump(800);
  }
  // A point of the board window: its corner (off the board) or a square.
  POINT BoardPoint(double fx, double fy) {
    RECT r;
    GetWindowRect(board_, &r);
    return POINT{r.left + LONG((r.right - r.left) * fx), r.top + LONG((r.bottom - r.top) * fy)};
  }
  void RightClickAndShoot(POINT at, const char* name) {
    guitest::Click(at, true);
    guitest::Pump(700);
    EXPECT_TRUE(Shot(name));
    guitest::PressKey(VK_ESCAPE);
    guitest::Pump(400);
  }

  guitest::Program program_;
  HWND frame_ = nullptr, room_ = nullptr, board_ = nullptr;
};

TEST_F(LibraryProgram, ReferenceBookNewBookMenusAndRefusals) {
  ASSERT_TRUE(Start());
  for (int id : kTiles) EXPECT_NE(Tile(id), nullptr) << id;
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_TRUE(Shot("library_room"));

  // The reference book from its tile: read-only beside the board, and the
  // panels enabled again by the timer.
  ClickCentre(Tile(kTileReference));
  ASSERT_TRUE(guitest::WaitFor([&] { return Editor() != nullptr; }, 8000));
  HWND editor = Editor();
  EXPECT_EQ(Text(editor), "Opening Book Editor - Reference.obk");
  for (int control : {5233, 5234, 5235})  // ECO code, name, weight: read-only
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(editor, control))) << control;
  HWND shortcuts = Window("Shortcuts");
  ASSERT_NE(shortcuts, nullptr);
  EXPECT_TRUE(guitest::WaitFor([&] { return IsWindowEnabled(shortcuts) != FALSE; }, 3000))
      << "the main window's panels stay disabled after the reference book";
  guitest::Pump(800);
  EXPECT_TRUE(Shot("library_reference_book"));

  // Import over the reference book is refused.
  Command(40148);
  EXPECT_TRUE(Answer("Reference.obk is a read-only file and cannot be overwritten.", 1, "library_import_refused"));
  EXPECT_EQ(Text(Editor()), "Opening Book Editor - Reference.obk");

  // A new book: a move played on the board goes into it; Close asks to
  // save, and Cancel keeps the book.
  Command(40142);
  ASSERT_TRUE(guitest::WaitFor([&] { return Editor() && Text(Editor()) == "Opening Book Editor - New.obk"; }, 5000));
  guitest::Pump(600);
  Drag("e2", "e4");
  Drag("e7", "e5");
  EXPECT_TRUE(Shot("library_new_book"));
  Command(40147);
  EXPECT_TRUE(Answer("Save Opening Book New.obk?", 2, "library_save_question"));
  guitest::Pump(400);
  EXPECT_NE(Editor(), nullptr) << "Cancel closed the edited book";

  // Load of the reference book: No at the save question, then the name
  // typed in the file dialog is refused and no book is left open.
  Command(40141);
  EXPECT_TRUE(Answer("Save Opening Book New.obk?", 1));
  guitest::Pump(600);
  HWND dialog = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] {
        dialog = GetForegroundWindow();
        DWORD pid = 0;
        GetWindowThreadProcessId(dialog, &pid);
        return pid == program_.id && dialog != frame_ && Editor() == nullptr;
      },
      5000));
  guitest::Pump(500);
  HWND name = GetDlgItem(dialog, 406);  // the file name
  ASSERT_NE(name, nullptr);
  ClickCentre(name);
  guitest::Pump(300);
  for (const char* c = "Reference.obk"; *c; ++c) {
    const SHORT vk = VkKeyScanA(*c);
    if (vk & 0x100)
      guitest::Chord({VK_SHIFT}, LOBYTE(vk));
    else
      guitest::PressKey(LOBYTE(vk));
  }
  guitest::Pump(300);
  Shot("library_load_typed");
  guitest::PressKey(VK_RETURN);
  EXPECT_TRUE(Answer("Reference.obk is a read-only file and cannot be overwritten.", 1, "library_load_refused"));
  guitest::Pump(600);
  EXPECT_EQ(Editor(), nullptr);

  // The three right-click menus: a piece, an empty square, the room beside
  // the board.
  RightClickAndShoot(Square("e1"), "library_menu_piece");
  RightClickAndShoot(Square("e4"), "library_menu_square");
  RightClickAndShoot(BoardPoint(0.93, 0.5), "library_menu_room");
  EXPECT_EQ(Editor(), nullptr);

  // The Glossary tile opens the chess glossary in the help viewer.
  Command(40032);
  if (!Tile(21855)) Command(40032);
  ASSERT_NE(Tile(21855), nullptr);
  ClickCentre(Tile(21855));
  HWND help = nullptr;
  EXPECT_TRUE(guitest::WaitFor([&] { return (help = Window("Chess Glossary")) != nullptr; }, 10000));
  guitest::Pump(1500);
  EXPECT_TRUE(Shot("library_glossary"));
  if (help) PostMessageA(help, WM_CLOSE, 0, 0);
}

}  // namespace
