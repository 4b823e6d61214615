// The own file dialogs on screen over a fixture folder, driven by real
// clicks and keys: the open dialog lists folders first and only the type's
// files, a double click enters a folder, the up button goes back and is
// disabled at a drive root; the save dialog makes a new folder, refuses a
// name of removed characters and adds the type's extension.
#include <windows.h>
// after windows.h
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "file_dialog.h"
#include "frame_links.h"
#include "guitest.h"
#include "look_and_feel.h"
#include "shell_services.h"

namespace {

std::string g_folder;  // program folder with the font
std::string g_fixture;
std::vector<std::string> g_boxes;

int RecordBox(const char* text, uint32_t, void*) {
  g_boxes.push_back(text);
  return IDOK;
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

class FileDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_folder = std::string(base) + "rw_file_dialog";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    std::string font = RW_PROGDATA_DIR "/rwonyx.ttf";
    for (char& ch : font)
      if (ch == '/') ch = '\\';
    CopyFileA(font.c_str(), (g_folder + "\\rwonyx.ttf").c_str(), FALSE);
    ResetFrameLinks();
    GetFrameLinks().programFolder = [] { return g_folder.c_str(); };
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
    ShellServices s = DefaultShellServices();
    s.appMessageBoxOwned = RecordBox;
    SetShellServices(s);
  }
  static void TearDownTestSuite() {
    SetShellServices(DefaultShellServices());
    FreeLookAndFeel(nullptr);
  }
  void SetUp() override {
    g_fixture = g_folder + "\\games";
    RemoveTree(g_fixture);
    CreateDirectoryA(g_fixture.c_str(), nullptr);
    CreateDirectoryA((g_fixture + "\\zeta").c_str(), nullptr);
    CreateDirectoryA((g_fixture + "\\Alpha").c_str(), nullptr);
    WriteFile(g_fixture + "\\b.pgn", {'1'});
    WriteFile(g_fixture + "\\A.PGN", {'1'});
    WriteFile(g_fixture + "\\x.txt", {'t'});
    std::vector<unsigned char> game(34, 0);
    game[32] = 26;
    game[33] = 6;
    WriteFile(g_fixture + "\\g6.RWG", game);
    WriteFile(g_fixture + "\\zeta\\inner.pgn", {'1'});
    g_boxes.clear();
    SetFileDialogFolder(g_fixture.c_str());
  }
  static void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &f);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = f.cFileName;
        if (name == "." || name == "..") continue;
        if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(dir + "\\" + name);
        else
          DeleteFileA((dir + "\\" + name).c_str());
      } while (FindNextFileA(h, &f));
      FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
  }

  struct Run {
    char path[MAX_PATH] = "";
    char title[MAX_PATH] = "";
    int type = -1, openAs = -1, readOnly = -1, result = -1;
  };
  HWND Open(Run* run, int mode, int type, const char* caption, const char* start = "") {
    lstrcpyA(run->path, start);
    runner_ = std::thread([run, mode, type] {
      run->result = DoFileDialog(nullptr, GetModuleHandleA(nullptr), run->path, run->title, mode, type, 0,
                                 &run->type, &run->openAs, &run->readOnly);
    });
    HWND dialog = nullptr;
    guitest::WaitFor([&] { return (dialog = FindWindowA(nullptr, caption)) != nullptr; }, 5000);
    guitest::Pump(300);
    return dialog;
  }
  void Finish() {
    if (runner_.joinable()) runner_.join();
  }
  static std::vector<std::string> ListNames(HWND dialog) {
    HWND list = GetDlgItem(dialog, 405);
    std::vector<std::string> names;
    const int n = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char text[MAX_PATH] = "";
      SendMessageA(list, LB_GETTEXT, i, LPARAM(text));
      names.push_back(text);
    }
    return names;
  }
  static POINT ItemCentre(HWND dialog, int id, int item = -1) {
    HWND control = GetDlgItem(dialog, id);
    RECT r;
    if (item >= 0)
      SendMessageA(control, LB_GETITEMRECT, item, LPARAM(&r));
    else
      GetClientRect(control, &r);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(control, &p);
    return p;
  }
  static void ClickItem(HWND dialog, int id, int item = -1) {
    guitest::Click(ItemCentre(dialog, id, item));
    guitest::Pump(150);
  }
  static void DoubleClickItem(HWND dialog, int id, int item) {
    const POINT p = ItemCentre(dialog, id, item);
    guitest::Click(p);
    guitest::Click(p);
    guitest::Pump(300);
  }
  static void Type(const char* text) {
    for (const char* c = text; *c; ++c) {
      const SHORT vk = VkKeyScanA(*c);
      if (vk & 0x100)
        guitest::Chord({VK_SHIFT}, LOBYTE(vk));
      else
        guitest::PressKey(LOBYTE(vk));
    }
    guitest::Pump(100);
  }
  std::thread runner_;
};

TEST_F(FileDialog, OpenListsFoldersFirstAndEntersThem) {
  Run run;
  HWND dialog = Open(&run, 0, 4, "File Open");
  ASSERT_NE(dialog, nullptr);
  using V = std::vector<std::string>;
  EXPECT_EQ(ListNames(dialog), (V{"Alpha\\", "zeta\\", "A.PGN", "b.pgn"}));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, 403)));
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  guitest::Pump(200);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "file_dialog_open"));
  DoubleClickItem(dialog, 405, 1);  // zeta
  EXPECT_EQ(ListNames(dialog), (V{"inner.pgn"}));
  ClickItem(dialog, 403);  // up
  EXPECT_EQ(ListNames(dialog).size(), 4u);
  ClickItem(dialog, 405, 2);  // A.PGN into the name field
  ClickItem(dialog, 401);
  Finish();
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(std::string(run.path), g_fixture + "\\A.PGN");
  EXPECT_STREQ(run.title, "A.PGN");
  EXPECT_EQ(run.type, 4);
  EXPECT_EQ(run.openAs, 0);
  EXPECT_EQ(run.readOnly, 0);
}

TEST_F(FileDialog, UpIsDisabledAtADriveRoot) {
  SetFileDialogFolder("C:\\");
  Run run;
  HWND dialog = Open(&run, 0, 0, "File Open");
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 403)));
  ClickItem(dialog, IDCANCEL);
  Finish();
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.type, 0);
}

TEST_F(FileDialog, SaveMakesAFolderRefusesEmptyNamesAndAddsTheExtension) {
  Run run;
  HWND dialog = Open(&run, 1, 2, "File Save", "start");
  ASSERT_NE(dialog, nullptr);
  using V = std::vector<std::string>;
  EXPECT_EQ(ListNames(dialog), (V{"Alpha\\", "zeta\\", "g6.RWG"}));
  // The version-6 game carries its kind (the third game icon's).
  EXPECT_EQ(SendMessageA(GetDlgItem(dialog, 405), LB_GETITEMDATA, 2, 0), 6);
  // New folder through its own box.
  ClickItem(dialog, 409);
  HWND box = nullptr;
  guitest::WaitFor([&] { return (box = FindWindowA(nullptr, "New Directory")) != nullptr; }, 3000);
  ASSERT_NE(box, nullptr);
  guitest::Pump(200);
  ClickItem(box, 410);
  Type("Made");
  ClickItem(box, IDOK);
  guitest::Pump(200);
  EXPECT_NE(GetFileAttributesA((g_fixture + "\\Made").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ListNames(dialog), (V{"Alpha\\", "Made\\", "zeta\\", "g6.RWG"}));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "file_dialog_save"));
  // A name of removed characters only: both messages, and the dialog stays.
  SetDlgItemTextA(dialog, 406, "");
  ClickItem(dialog, 406);
  Type("***");
  ClickItem(dialog, 402);
  EXPECT_EQ(g_boxes.size(), 2u);
  EXPECT_TRUE(IsWindow(dialog));
  SetDlgItemTextA(dialog, 406, "");
  ClickItem(dialog, 406);
  Type("my.txt");
  ClickItem(dialog, 402);
  Finish();
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(std::string(run.path), g_fixture + "\\my.txt.RWG");
  EXPECT_EQ(run.type, 2);
}

TEST_F(FileDialog, ModesSetTitleAndButton) {
  struct Case {
    int mode;
    const char* caption;
    int button;
    const char* text;
  } cases[] = {{2, "Delete File", 401, "Delete"},
               {3, "Import Game", 401, "Import"},
               {4, "Export Game", 402, "Export"},
               {5, "Create File", 402, "Create"}};
  for (const Case& c : cases) {
    Run run;
    HWND dialog = Open(&run, c.mode, 4, c.caption);
    ASSERT_NE(dialog, nullptr) << c.mode;
    char text[64] = "";
    GetDlgItemTextA(dialog, c.button, text, sizeof text);
    EXPECT_STREQ(text, c.text) << c.mode;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    Finish();
    EXPECT_EQ(run.result, 0);
  }
  char path[MAX_PATH] = "";
  EXPECT_EQ(
      DoFileDialog(nullptr, GetModuleHandleA(nullptr), path, nullptr, 6, 0, 0, nullptr, nullptr, nullptr), 0);
}

}  // namespace
