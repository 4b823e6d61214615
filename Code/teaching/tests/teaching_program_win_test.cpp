// Rookwell.exe's classroom and kids room from an installed program folder,
// driven with real input: entering the classroom shows the curriculum on
// its four picture tabs; a tutorial is launched from the tree, walked
// forward and back, takes a move dragged on the board, picked squares and
// a typed answer; the kids room shows its page and panel. Each scene ends
// in a screenshot.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "guitest.h"
#include "teaching_program_support.h"

namespace {

// True when no window of `behind`'s is in front of `w` (the frame must not
// come over the lesson it owns).
bool InFrontOf(HWND w, HWND behind) {
  for (HWND above = GetWindow(w, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
    if (above == behind) return false;
  return true;
}

bool WaitForPage(HWND lesson, const char* label, DWORD ms = 8000) {
  return guitest::WaitFor([&] { return TextOf(GetDlgItem(lesson, 597)) == label; }, ms);
}

bool WaitEnabled(HWND lesson, int id, DWORD ms = 15000) {
  return guitest::WaitFor([&] { return IsWindowEnabled(GetDlgItem(lesson, id)) != 0; }, ms);
}

void Next(HWND lesson) {
  ASSERT_TRUE(WaitEnabled(lesson, 6005));
  ClickChild(lesson, 6005);
}

TEST(Teaching, ClassroomCurriculumLaunchesATutorialThatWalksAndAnswers) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_teach"));
  guitest::Pump(1000);
  HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  HWND room = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_ROOM", nullptr);
  ASSERT_NE(bar, nullptr);
  ClickChild(bar, kClassroomButton);

  // The curriculum: four picture tabs, the beginning page's tree.
  HWND curriculum = WaitForWindow("Classroom Curriculum", 8000);
  ASSERT_NE(curriculum, nullptr);
  HWND tabs = GetDlgItem(curriculum, 601);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
  HWND tree = Descendant(curriculum, 602);
  ASSERT_NE(tree, nullptr);
  EXPECT_GT(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 10);
  guitest::Pump(500);
  EXPECT_TRUE(Shot("classroom_curriculum"));
  // A header cannot be launched; the tutorial below it can.
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(curriculum, IDOK)));
  RECT tr;
  GetWindowRect(tree, &tr);
  guitest::Click(POINT{tr.left + 60, tr.top + 10});
  guitest::PressKey(VK_DOWN);
  ASSERT_TRUE(guitest::WaitFor([&] { return IsWindowEnabled(GetDlgItem(curriculum, IDOK)) != 0; }, 3000));
  // The other tabs show their own pages.
  RECT t;
  GetWindowRect(tabs, &t);
  guitest::Click(POINT{t.left + 160, t.top + 14});
  guitest::Pump(400);
  EXPECT_TRUE(Shot("classroom_curriculum_intermediate"));
  guitest::Click(POINT{t.left + 50, t.top + 14});
  guitest::Pump(400);
  ClickChild(curriculum, IDOK);

  // The lesson opens on its first page beside the board.
  HWND lesson = WaitForWindow("Board And Pieces", 8000);
  ASSERT_NE(lesson, nullptr);
  EXPECT_FALSE(IsWindowVisible(curriculum));
  ASSERT_TRUE(WaitForPage(lesson, "Page 1 of 11"));
  ASSERT_TRUE(WaitEnabled(lesson, 6005));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(lesson, 6004)));  // no Back on the first page
  guitest::Pump(800);
  EXPECT_TRUE(Shot("lesson_first_page"));

  Next(lesson);
  ASSERT_TRUE(WaitForPage(lesson, "Page 2 of 11"));
  ASSERT_TRUE(WaitEnabled(lesson, 6004));
  ClickChild(lesson, 6004);
  ASSERT_TRUE(WaitForPage(lesson, "Page 1 of 11"));
  for (int page = 2; page <= 9; ++page) {
    Next(lesson);
    char label[32];
    std::snprintf(label, sizeof label, "Page %d of 11", page);
    ASSERT_TRUE(WaitForPage(lesson, label)) << label << " shows " << TextOf(GetDlgItem(lesson, 597)) << ReadText(run.trace);
    if (page == 3) {
      ASSERT_TRUE(WaitEnabled(lesson, 6005));
      guitest::Pump(600);
      EXPECT_TRUE(Shot("lesson_page_marks"));
    }
  }


  // Page 9: a move to find. d2-d4 is an alternative: its comment and "Try
  // again?"; Yes tries again, and e2-e4 is right.
  BoardSquares squares;
  ASSERT_TRUE(squares.Read(run.trace, room, 3));
  // The page asks for the move once its clip reaches the code.
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return TextOf(Descendant(lesson, 1007)).find("Move the pawn") != std::string::npos; }, 8000))
      << TextOf(Descendant(lesson, 1007)) << ReadText(run.trace);
  guitest::Pump(300);
  guitest::DragSettled(squares.At("d2"), squares.At("d4"));
  HWND box = AnswerBox(run.program);
  ASSERT_NE(box, nullptr) << ReadText(run.trace);
  guitest::Pump(300);
  EXPECT_TRUE(Shot("lesson_try_again"));
  ClickChild(box, 300);  // "Yes"
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(box); }, 3000));
  // The move is taken back and the question asked again.
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return TextOf(Descendant(lesson, 1007)).find("Move the pawn") != std::string::npos; }, 8000));
  guitest::Pump(800);
  EXPECT_TRUE(Shot("lesson_after_retry"));
  guitest::DragSettled(squares.At("e2"), squares.At("e4"));
  EXPECT_TRUE(guitest::WaitFor([&] { return ReadText(run.trace).find("lesson move Se2e4") != std::string::npos; },
                               5000));
  EXPECT_TRUE(guitest::WaitFor(
      [&] { return TextOf(Descendant(lesson, 1007)).find("Well done!") != std::string::npos; }, 5000));
  // The clicks on the board leave the lesson in front of the frame.
  EXPECT_TRUE(guitest::WaitFor([&] { return InFrontOf(lesson, run.frame); }, 1000));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("lesson_move_right"));

  // Page 10: pick the knight's squares (with one wrong at first).
  Next(lesson);
  ASSERT_TRUE(WaitForPage(lesson, "Page 10 of 11"));
  ASSERT_TRUE(guitest::WaitFor([&] { return Descendant(lesson, 6021) != nullptr; }, 8000));
  for (const char* sq : {"c2", "e2", "b3", "f3", "b5", "f5", "c6", "e6", "d5"}) {
    guitest::Click(squares.At(sq));
    guitest::Pump(150);
  }
  guitest::Click(squares.At("d5"));  // unpicked again
  guitest::Pump(300);
  EXPECT_TRUE(Shot("lesson_picked_squares"));
  guitest::Click(CentreOf(Descendant(lesson, 6011)));
  EXPECT_TRUE(guitest::WaitFor(
      [&] { return TextOf(Descendant(lesson, 1007)).find("Perfect") != std::string::npos; }, 5000));

  // Page 11: a typed answer, entered with the keyboard.
  Next(lesson);
  ASSERT_TRUE(WaitForPage(lesson, "Page 11 of 11"));
  HWND edit = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (edit = Descendant(lesson, 6013)) != nullptr; }, 8000));
  guitest::Click(CentreOf(edit));
  guitest::PressKey('6');
  guitest::PressKey('4');
  guitest::PressKey(VK_RETURN);
  EXPECT_TRUE(guitest::WaitFor(
      [&] { return TextOf(Descendant(lesson, 1007)).find("sixty-four") != std::string::npos; }, 5000));
  EXPECT_EQ(TextOf(GetDlgItem(lesson, 6005)), "&End");
  guitest::Pump(300);
  EXPECT_TRUE(Shot("lesson_typed_answer"));

  // The end closes the lesson and shows the curriculum with the check mark.
  Next(lesson);
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(lesson); }, 8000));
  ASSERT_TRUE(guitest::WaitFor([&] { return IsWindowVisible(curriculum) != 0; }, 5000));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("classroom_curriculum_completed"));
}

// The lobby hides the navigation bar; the classroom entered from the
// lobby's screen shows it again, and it leaves at once for a room entered
// the first time.
TEST(Teaching, ClassroomEnteredFromTheLobbyCanBeLeftAtOnce) {
  // A voice clip's stream file left in the temp folder by an earlier run
  // goes when the user logs in; other files stay.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string stale = std::string(temp) + "stream_1a2b.wav", kept = std::string(temp) + "stream_notes.txt";
  for (const std::string& path : {stale, kept}) std::ofstream(path) << "RIFF";
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_leave", false, kLobbyRoom));
  EXPECT_TRUE(guitest::WaitFor([&] { return GetFileAttributesA(stale.c_str()) == INVALID_FILE_ATTRIBUTES; }, 5000));
  EXPECT_NE(GetFileAttributesA(kept.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileA(kept.c_str());
  guitest::Pump(1000);
  HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  HWND room = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_ROOM", nullptr);
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(IsWindowVisible(bar));
  HWND screen = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] {
        screen = FindWindowExA(room, nullptr, "#32770", nullptr);
        return screen && IsWindowVisible(screen);
      },
      5000));
  HWND classroom = nullptr;
  for (HWND b = FindWindowExA(screen, nullptr, "AnimButton", nullptr); b && !classroom;
       b = FindWindowExA(screen, b, "AnimButton", nullptr))
    if (TextOf(b).rfind("Classroom {", 0) == 0) classroom = b;
  ASSERT_NE(classroom, nullptr);
  RECT r;
  GetWindowRect(classroom, &r);
  guitest::Click(POINT{(r.left + r.right) / 2, r.top + (r.bottom - r.top) / 3});
  ASSERT_TRUE(guitest::WaitFor([&] { return IsWindowVisible(bar) != 0; }, 5000));
  EXPECT_EQ(SendDlgItemMessageA(bar, kClassroomButton, BM_GETCHECK, 0, 0), BST_CHECKED);
  guitest::Pump(300);
  ClickChild(bar, kGameButton);
  EXPECT_TRUE(guitest::WaitFor(
      [&] { return SendDlgItemMessageA(bar, kGameButton, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5000));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("classroom_left"));
}

TEST(Teaching, KidsRoomShowsItsPanelAndPage) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_kids"));
  guitest::Pump(1000);
  HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  HWND room = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_ROOM", nullptr);
  ASSERT_NE(bar, nullptr);
  ClickChild(bar, kKidsButton);
  // The first entry plays the room's movie; a click ends it.
  guitest::Pump(2500);
  if (HWND movie = FindWindowA("RW_MOVIE_CLASS", nullptr)) guitest::WaitFor([&] { return !IsWindow(movie); }, 15000);
  HWND panel = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (panel = Descendant(room, 21600)) != nullptr; }, 8000));
  panel = GetParent(panel);
  guitest::Pump(800);
  EXPECT_TRUE(Shot("kids_room"));
  ClickChild(panel, 21600);  // "Learn To Play"
  HWND curriculum = WaitForWindow("Kids Curriculum", 8000);
  ASSERT_NE(curriculum, nullptr);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(curriculum, 601)));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(curriculum, 609)));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("kids_curriculum"));
  ClickChild(curriculum, 609);
  HWND lesson = WaitForWindow("Kids First Steps", 8000);
  ASSERT_NE(lesson, nullptr);
  ASSERT_TRUE(WaitEnabled(lesson, 6005));
  guitest::Pump(800);
  EXPECT_TRUE(Shot("kids_lesson_picture"));
}

}  // namespace
