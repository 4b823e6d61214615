// Rookwell.exe's practice openings and chess coach from an installed
// program folder, driven with real input: the practice is launched from the
// classroom's curriculum, its name tree searched, a side chosen and the line
// played on the board with a wrong move taken back; the coach follows the
// game room's game, plays an advice line, shows the default database's
// findings, switches a teaching mode and holds still while locked. Each
// scene ends in a screenshot.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bookreader.h"
#include "guitest.h"
#include "practice_openings.h"

namespace {

const char* kFrameClass = "RWONYX_APP_CLASS";
constexpr int kClassroomButton = 21555;
constexpr int kGameRoom = 1;

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_TEACHING_ARTEFACT_DIR, name); }

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

struct ProgramRun {
  std::string folder, trace;
  guitest::Program program;
  HWND frame = nullptr;
  bool Start(const char* name, bool withDatabase = true) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + name;
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::copy(guitest::InstalledProgramFolder(), folder, std::filesystem::copy_options::recursive, error);
    if (!withDatabase) std::filesystem::remove_all(folder + "\\Database", error);
    const std::string ini = folder + "\\rw.ini";
    WritePrivateProfileStringA("settings", "IntroMovie", "0", ini.c_str());
    WritePrivateProfileStringA("debug", "DoIVAAudio", "0", ini.c_str());
    WritePrivateProfileStringA("debug", "auto_login", "1", ini.c_str());
    WritePrivateProfileStringA("debug", "auto_room_select", std::to_string(kGameRoom).c_str(), ini.c_str());
    trace = folder + "\\trace.txt";
    SetEnvironmentVariableA("RW_TEACHING_TRACE", trace.c_str());
    if (!guitest::StartProgram(folder + "\\Rookwell.exe", "", folder, &program)) return false;
    return guitest::WaitFor([&] { return (frame = guitest::FindProgramWindow(program, kFrameClass)) != nullptr; },
                            20000);
  }
  std::string Trace() const { return ReadText(trace); }
  ~ProgramRun() { guitest::KillProgram(&program); }
};

POINT CentreOf(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

struct FindControl {
  int id;
  HWND found;
};
BOOL CALLBACK FindVisibleControl(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<FindControl*>(p);
  if (GetDlgCtrlID(w) == f->id && IsWindowVisible(w)) {
    f->found = w;
    return FALSE;
  }
  return TRUE;
}
HWND Descendant(HWND parent, int id) {
  FindControl f{id, nullptr};
  EnumChildWindows(parent, FindVisibleControl, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

std::string TextOf(HWND w) {
  char text[2048] = "";
  if (w) SendMessageA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

// Advice line `index` as the coach last filled it, from the trace.
std::string ListLine(const std::string& trace, int index) {
  const std::string key = "coach line " + std::to_string(index) + ":";
  const size_t at = trace.rfind(key);
  if (at == std::string::npos) return std::string();
  const size_t end = trace.find('\n', at);
  return trace.substr(at + key.size(), end == std::string::npos ? std::string::npos : end - at - key.size());
}

// A visible top-level window of the program with this caption and control.
HWND DialogWith(const char* caption, int control, DWORD ms) {
  HWND found = nullptr;
  guitest::WaitFor(
      [&] {
        for (HWND w = FindWindowA(nullptr, caption); w; w = FindWindowExA(nullptr, w, nullptr, caption))
          if (IsWindowVisible(w) && GetDlgItem(w, control)) {
            found = w;
            return true;
          }
        return false;
      },
      ms);
  return found;
}

// The program's message box with its text; its OK closes it.
std::string AnswerMessageBox() {
  HWND box = nullptr;
  guitest::WaitFor(
      [&] {
        // A box that was answered may linger hidden: the visible one.
        for (box = FindWindowExA(nullptr, nullptr, "RWOMSGBOX", nullptr); box;
             box = FindWindowExA(nullptr, box, "RWOMSGBOX", nullptr))
          if (IsWindowVisible(box) && !TextOf(GetDlgItem(box, 301)).empty()) return true;
        return false;
      },
      6000);
  if (!box) return std::string();
  const std::string text = TextOf(GetDlgItem(box, 301));
  guitest::ClickItem(box, 1);
  guitest::WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 3000);
  return text;
}

struct BoardSquares {
  HWND window = nullptr;
  int a1x = 0, a1y = 0, h8x = 0, h8y = 0;
  bool Read(const std::string& trace, HWND room) {
    std::istringstream in(trace);
    const std::string key = "teaching board 3: a1";
    for (std::string line; std::getline(in, line);) {
      const size_t at = line.find(key);
      if (at != std::string::npos)
        std::sscanf(line.c_str() + at + key.size(), " %d %d h8 %d %d", &a1x, &a1y, &h8x, &h8y);
    }
    window = FindWindowExA(room, nullptr, "RWBoardWndClass", nullptr);
    return window && h8x != a1x;
  }
  POINT At(const char* square) const {
    const int file = square[0] - 'a', rank = square[1] - '1';
    POINT p{a1x + (h8x - a1x) * file / 7, a1y + (h8y - a1y) * rank / 7};
    ClientToScreen(window, &p);
    return p;
  }
};

// The number of items the practice's tree holds for a search, from the
// installed main book.
int ExpectedTreeItems(const std::string& folder, const char* search) {
  if (!LoadBookFile((folder + "\\Opening Books\\duzuru.obk").c_str())) return -1;
  IndexBookWithProgress(nullptr);
  const int n = static_cast<int>(BuildPracticeTree(GetBookEntryText, search).size());
  FreeBookSlot();
  return n;
}

TEST(PracticeOpenings, SearchSidesAndALinePlayedOnTheClassroomBoard) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_practice"));
  const int allItems = ExpectedTreeItems(run.folder, "");
  const int sicilianItems = ExpectedTreeItems(run.folder, "SICILIAN");
  ASSERT_GT(allItems, sicilianItems);
  ASSERT_GT(sicilianItems, 0);
  guitest::Pump(1000);
  HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  HWND room = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_ROOM", nullptr);
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(guitest::ClickItem(bar, kClassroomButton));

  // The curriculum's intermediate page, "Practice Openings".
  HWND curriculum = DialogWith("Classroom Curriculum", 601, 8000);
  ASSERT_NE(curriculum, nullptr);
  RECT t;
  GetWindowRect(GetDlgItem(curriculum, 601), &t);
  guitest::Click(POINT{t.left + 160, t.top + 14});
  guitest::Pump(400);
  HWND category = Descendant(curriculum, 21710);
  ASSERT_NE(category, nullptr);
  guitest::Click(CentreOf(category));
  guitest::Pump(400);
  HWND tree = Descendant(curriculum, 603);
  ASSERT_NE(tree, nullptr);
  RECT tr;
  GetWindowRect(tree, &tr);
  guitest::Click(POINT{tr.left + 60, tr.top + 10});
  ASSERT_TRUE(guitest::WaitFor([&] { return IsWindowEnabled(GetDlgItem(curriculum, IDOK)) != 0; }, 3000));
  ASSERT_TRUE(guitest::ClickItem(curriculum, IDOK));

  // The names are indexed, then the setup dialog shows all of them.
  HWND setup = DialogWith("Practice Openings", 280, 30000);
  ASSERT_NE(setup, nullptr);
  HWND names = GetDlgItem(setup, 280);
  EXPECT_EQ(SendMessageA(names, TVM_GETCOUNT, 0, 0), allItems);
  EXPECT_FALSE(TextOf(GetDlgItem(setup, 281)).empty());
  EXPECT_FALSE(SendMessageA(GetDlgItem(setup, 282), LB_GETCOUNT, 0, 0) == 0);

  // "SICILIAN" keeps only the names that hold it.
  guitest::Click(CentreOf(GetDlgItem(setup, 3091)));
  guitest::TypeText("sicilian");
  ASSERT_TRUE(guitest::ClickItem(setup, 3089));
  ASSERT_TRUE(guitest::WaitFor([&] { return SendMessageA(names, TVM_GETCOUNT, 0, 0) == sicilianItems; }, 5000));
  guitest::Pump(300);
  SetFocus(names);
  guitest::Click(POINT{CentreOf(names).x, CentreOf(names).y});
  for (int i = 0; i < 4; ++i) {
    guitest::PressKey(VK_DOWN);
    guitest::Pump(150);
    std::string name = TextOf(GetDlgItem(setup, 281));
    for (char& c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_NE(name.find("SICILIAN"), std::string::npos) << name;
  }
  EXPECT_TRUE(Shot("practice_setup_search"));

  // No match: the message, and the whole tree again.
  SendMessageA(GetDlgItem(setup, 3091), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  guitest::Click(CentreOf(GetDlgItem(setup, 3091)));
  guitest::TypeText("qqq");
  ASSERT_TRUE(guitest::ClickItem(setup, 3089));
  EXPECT_EQ(AnswerMessageBox(), "Your search found no Openings.");
  EXPECT_TRUE(guitest::WaitFor([&] { return SendMessageA(names, TVM_GETCOUNT, 0, 0) == allItems; }, 5000));

  // No side: the message, and the dialog stays.
  ASSERT_EQ(SendMessageA(GetDlgItem(setup, 285), BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_TRUE(guitest::ClickItem(setup, 285));
  ASSERT_EQ(SendMessageA(GetDlgItem(setup, 286), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ASSERT_TRUE(guitest::ClickItem(setup, IDOK));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("practice_no_side"));
  EXPECT_EQ(AnswerMessageBox(), "You must practice as White, Black or both.");
  ASSERT_TRUE(IsWindowVisible(setup));

  // Black only, the first line ("Alapin's opening": 1.e4 e5 2.Ne2). The
  // variation chosen last stays selected after "&Clear"; Home goes to the top.
  ASSERT_TRUE(guitest::ClickItem(setup, 3090));
  guitest::Pump(300);
  EXPECT_EQ(TextOf(GetDlgItem(setup, 281)).rfind("Sicilian", 0), 0u);
  guitest::Click(POINT{CentreOf(names).x, CentreOf(names).y});
  guitest::PressKey(VK_HOME);
  guitest::Pump(300);
  ASSERT_TRUE(guitest::ClickItem(setup, 286));
  EXPECT_EQ(TextOf(GetDlgItem(setup, 281)), "Alapin's opening");
  ASSERT_TRUE(guitest::ClickItem(setup, IDOK));

  HWND practice = DialogWith("Practice Openings", 6012, 8000);
  ASSERT_NE(practice, nullptr);
  // The program has played White's first move at once.
  EXPECT_TRUE(guitest::WaitFor([&] { return TextOf(GetDlgItem(practice, 6000)) == "Make Black Move #1..."; }, 5000));
  EXPECT_NE(run.Trace().find("practice played e2e4"), std::string::npos) << run.Trace();
  EXPECT_EQ(TextOf(GetDlgItem(practice, 281)), "Alapin's opening");
  EXPECT_EQ(SendMessageA(GetDlgItem(practice, 282), LB_GETCOUNT, 0, 0), 1);
  BoardSquares squares;
  ASSERT_TRUE(squares.Read(run.Trace(), room)) << run.Trace();

  // Hint marks the expected move.
  ASSERT_TRUE(guitest::ClickItem(practice, 6012));
  guitest::Pump(600);
  EXPECT_TRUE(Shot("practice_hint"));

  // A wrong move is taken back without a word; the prompt stays.
  guitest::DragSettled(squares.At("d7"), squares.At("d5"));
  EXPECT_TRUE(guitest::WaitFor([&] { return run.Trace().find("practice took back d7d5") != std::string::npos; },
                               5000))
      << run.Trace();
  guitest::Pump(500);
  EXPECT_EQ(TextOf(GetDlgItem(practice, 6000)), "Make Black Move #1...");
  EXPECT_EQ(guitest::FindProgramWindow(run.program, "RWOMSGBOX"), nullptr);

  // The right one: the book answers and the line is done.
  guitest::DragSettled(squares.At("e7"), squares.At("e5"));
  EXPECT_TRUE(guitest::WaitFor([&] { return TextOf(GetDlgItem(practice, 6000)) == "Opening Practice finished."; },
                               5000))
      << run.Trace();
  EXPECT_NE(run.Trace().find("practice played g1e2"), std::string::npos) << run.Trace();
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(practice, 6012)));
  EXPECT_EQ(SendMessageA(GetDlgItem(practice, 282), LB_GETCOUNT, 0, 0), 2);
  guitest::Pump(600);
  EXPECT_TRUE(Shot("practice_finished"));

  // "New" starts over with the names; the same line again, then Cancel
  // goes back to the curriculum.
  ASSERT_TRUE(guitest::ClickItem(practice, IDOK));
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(practice); }, 3000));
  setup = DialogWith("Practice Openings", 280, 30000);
  ASSERT_NE(setup, nullptr);
  EXPECT_EQ(TextOf(GetDlgItem(setup, 281)), "Alapin's opening");
  EXPECT_EQ(SendMessageA(GetDlgItem(setup, 286), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(GetDlgItem(setup, 285), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ASSERT_TRUE(guitest::ClickItem(setup, IDOK));
  practice = DialogWith("Practice Openings", 6012, 8000);
  ASSERT_NE(practice, nullptr);
  EXPECT_TRUE(guitest::WaitFor([&] { return TextOf(GetDlgItem(practice, 6000)) == "Make Black Move #1..."; }, 5000));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(practice, 6012)));
  ASSERT_TRUE(guitest::ClickItem(practice, IDCANCEL));
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(practice); }, 3000));
  EXPECT_TRUE(guitest::WaitFor([&] { return IsWindowVisible(curriculum) != 0; }, 3000));
}

// The advice list's line `index` double-clicked.
void DoubleClickLine(HWND list, int index) {
  const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  POINT p{20, (index - top) * height + height / 2};
  ClientToScreen(list, &p);
  guitest::Click(p);
  guitest::Click(p);
}

TEST(ChessCoach, AdviceFindingsTeachingModeAndTheLock) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_coach"));
  guitest::Pump(1500);
  // Hidden, the coach gives no advice.
  EXPECT_EQ(Count(run.Trace(), "coach advice "), 0u);
  PostMessageA(run.frame, WM_COMMAND, 40035, 0);
  HWND coach = DialogWith("Chess Coach", 1813, 8000);
  ASSERT_NE(coach, nullptr);
  HWND advice = Descendant(coach, 2204);
  ASSERT_NE(advice, nullptr);
  // Twenty legal moves at the start, each with its comment.
  ASSERT_TRUE(guitest::WaitFor([&] { return SendMessageA(advice, LB_GETCOUNT, 0, 0) == 20; }, 8000)) << run.Trace();
  int e4 = -1;
  // The move as the notation in force writes it (algebraic or coordinates).
  std::string e4Text;
  for (int i = 0; i < 20; ++i)
    for (const char* text : {"e4", "e2-e4", "e2e4"})
      if (ListLine(run.Trace(), i).rfind(std::string(" ") + text + "\t", 0) == 0) {
        e4 = i;
        e4Text = text;
      }
  ASSERT_GE(e4, 0) << run.Trace();
  guitest::Pump(400);
  EXPECT_TRUE(Shot("coach_advice"));

  // The findings for 1.e4 from the default database.
  HWND tabs = GetDlgItem(coach, 1813);
  RECT t;
  GetWindowRect(tabs, &t);
  // The three tabs share the strip evenly.
  auto tab = [&](int i) { return POINT{t.left + (t.right - t.left) * (2 * i + 1) / 6, t.top + 10}; };
  guitest::Click(tab(1));
  HWND findings = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (findings = Descendant(coach, 2203)) != nullptr; }, 3000));
  const std::string e4Row = "coach row " + e4Text + " +";
  ASSERT_TRUE(guitest::WaitFor([&] { return run.Trace().find(e4Row) != std::string::npos; }, 15000)) << run.Trace();
  const std::string trace = run.Trace();
  const size_t row = trace.find(e4Row);
  unsigned long w = 0, d = 0, l = 0;
  char pct[16] = "";
  ASSERT_EQ(std::sscanf(trace.c_str() + row + e4Row.size() - 1, "+%lu =%lu -%lu %15s", &w, &d, &l, pct), 4);
  EXPECT_GT(w + d + l, 0ul);
  EXPECT_NE(std::string(pct).find('%'), std::string::npos);
  EXPECT_GT(SendMessageA(findings, LVM_GETITEMCOUNT, 0, 0), 1);
  guitest::Pump(400);
  EXPECT_TRUE(Shot("coach_findings"));

  // Teaching Mode: "Pinned Pieces" is taken by the board.
  guitest::Click(tab(2));
  HWND pinned = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (pinned = Descendant(coach, 5266)) != nullptr; }, 3000));
  EXPECT_EQ(SendMessageA(Descendant(coach, 5261), BM_GETCHECK, 0, 0), BST_CHECKED);
  guitest::Click(CentreOf(pinned));
  EXPECT_TRUE(guitest::WaitFor([&] { return SendMessageA(pinned, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 2000));
  guitest::Pump(400);
  EXPECT_TRUE(Shot("coach_teaching_mode"));
  guitest::Click(CentreOf(Descendant(coach, 5261)));

  // Locked (event 13), a move event changes nothing; event 14 refreshes.
  guitest::Click(tab(0));
  guitest::Pump(300);
  const size_t before = Count(run.Trace(), "coach advice ");
  SendMessageA(coach, 0x8103, 13, 0);
  SendMessageA(coach, 0x8103, 9, 0);
  guitest::Pump(300);
  EXPECT_EQ(Count(run.Trace(), "coach advice "), before);
  SendMessageA(coach, 0x8103, 14, 0);
  EXPECT_TRUE(guitest::WaitFor([&] { return Count(run.Trace(), "coach advice ") == before + 1; }, 3000));

  // A double-click plays the line's move.
  advice = Descendant(coach, 2204);
  ASSERT_NE(advice, nullptr);
  ASSERT_TRUE(guitest::WaitFor([&] { return SendMessageA(advice, LB_GETCOUNT, 0, 0) == 20; }, 3000));
  DoubleClickLine(advice, e4);
  EXPECT_TRUE(guitest::WaitFor([&] { return run.Trace().find("coach played 100 68") != std::string::npos; }, 5000))
      << run.Trace();
}

// Without the default database the findings say why; once the database
// room has given up on its file, "No database is open.".
TEST(ChessCoach, FindingsWithoutADatabase) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_coach_nodb", false));
  guitest::Pump(1500);
  PostMessageA(run.frame, WM_COMMAND, 40035, 0);
  HWND coach = DialogWith("Chess Coach", 1813, 8000);
  ASSERT_NE(coach, nullptr);
  ASSERT_TRUE(guitest::WaitFor([&] { return Count(run.Trace(), "coach advice ") > 0; }, 8000));
  RECT t;
  GetWindowRect(GetDlgItem(coach, 1813), &t);
  guitest::Click(POINT{t.left + (t.right - t.left) / 2, t.top + 10});
  EXPECT_TRUE(guitest::WaitFor(
      [&] { return run.Trace().find("coach row text Can't open database.") != std::string::npos; }, 8000))
      << run.Trace();
  guitest::Pump(300);
  EXPECT_TRUE(Shot("coach_findings_no_file"));

  // The database room cannot open the file and the user chooses none.
  HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(guitest::ClickItem(bar, 21560));
  for (int i = 0; i < 6; ++i) {
    guitest::Pump(1500);
    guitest::PressKey(VK_ESCAPE);
  }
  ASSERT_TRUE(guitest::ClickItem(bar, 21565));
  guitest::Pump(1500);
  // Back with the game: the findings are looked up again.
  SendMessageA(coach, 0x8103, 0, 0);
  EXPECT_TRUE(guitest::WaitFor(
      [&] { return run.Trace().find("coach row text No database is open.") != std::string::npos; }, 8000))
      << run.Trace();
  guitest::Pump(300);
  EXPECT_TRUE(Shot("coach_findings_no_database"));
}

}  // namespace
