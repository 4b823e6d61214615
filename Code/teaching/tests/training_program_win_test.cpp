// Rookwell.exe's training screens from an installed program folder, driven
// with real input: a seeded drill launched from the classroom's curriculum
// and solved with drags on the board (with one wrong move), its result, the
// records dialog and "Drills.rec"; a checkmate exercise played to mate with
// the engine core's moves for White, and one cancelled; the master class
// window of a user with points. Each scene ends in a screenshot.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "drill_builder.h"
#include "engine_mate.h"
#include "guitest.h"
#include "movegen.h"
#include "pdf_reader.h"
#include "teaching_program_support.h"

namespace {

constexpr int kDrillsCategory = 21695;
constexpr uint32_t kDrillSeed = 4242;
// From the first drill to the header "Checkmate Practice", open it, and its
// first exercise.
const std::vector<WORD> kFirstExercise = {VK_DOWN, VK_DOWN, VK_DOWN, VK_ADD, VK_DOWN};

std::string SquareName(int square) {
  return std::string{static_cast<char>('a' + SquareFile(square)), static_cast<char>('8' - SquareRow(square))};
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The classroom entered from the navigation bar, its curriculum on the
// drills of the first tab, and the tree's entry the keys lead to from the
// first one launched. The lesson text's box, or null.
struct Classroom {
  HWND room = nullptr, curriculum = nullptr;
  BoardSquares squares;
  bool Enter(ProgramRun& run) {
    guitest::Pump(1000);
    HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
    room = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_ROOM", nullptr);
    if (!bar || !guitest::ClickItem(bar, kClassroomButton)) return false;
    curriculum = WaitForWindow("Classroom Curriculum", 8000);
    return curriculum && squares.Read(run.trace, room, 3);
  }
  HWND Launch(ProgramRun& run, const std::vector<WORD>& keys) {
    HWND category = Descendant(curriculum, kDrillsCategory);
    if (!category) return nullptr;
    guitest::Click(CentreOf(category));
    guitest::Pump(300);
    HWND tree = Descendant(curriculum, 602);
    if (!tree) return nullptr;
    RECT tr;
    GetWindowRect(tree, &tr);
    guitest::Click(POINT{tr.left + 60, tr.top + 10});
    for (WORD key : keys) guitest::PressKey(key);
    guitest::Pump(300);
    if (!guitest::WaitFor([&] { return IsWindowEnabled(GetDlgItem(curriculum, IDOK)) != 0; }, 3000)) return nullptr;
    guitest::ClickItem(curriculum, IDOK);
    return AnswerBox(run.program);
  }
  // The same, when the box shows the lesson text holding `lesson`.
  HWND LaunchLesson(ProgramRun& run, const std::vector<WORD>& keys, const char* lesson) {
    HWND box = Launch(run, keys);
    const std::string text = box ? TextOf(GetDlgItem(box, 301)) : "";
    EXPECT_NE(text.find(lesson), std::string::npos) << text;
    return box;
  }
};

HWND WaitForDrillWindow(const char* title) {
  HWND w = nullptr;
  guitest::WaitFor(
      [&] {
        w = FindWindowA(nullptr, "Drill");
        return w && IsWindowVisible(w) && TextOf(GetDlgItem(w, 600)) == title;
      },
      8000);
  return w;
}

void DragMove(const BoardSquares& squares, int from, int to) {
  guitest::DragSettled(squares.At(SquareName(from).c_str()), squares.At(SquareName(to).c_str()));
}

// A legal White move of the position other than its solution (no
// promotion: that would ask for the piece).
MoveRecord WrongMove(const Board& board) {
  MoveRecord list[kMoveListRoom];
  uint16_t count = 0;
  GenerateLegalMoves(&board, list, &count, WHITE);
  for (uint16_t i = 0; i < count; ++i)
    if ((list[i].from != board[kSolutionFromByte] || list[i].to != board[kSolutionToByte]) &&
        !(list[i].flags & MOVE_PROMOTION))
      return list[i];
  return MoveRecord{};
}

uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Training, SeededDrillSolvedWithDragsSetsARecord) {
  // The ten positions the program builds with the seed, made here alike.
  DrillBuilder positions(DRILL_MATE_IN_ONE, 1, kDrillSeed);
  while (positions.Work()) {
  }
  ASSERT_EQ(positions.Built(), kDrillPositions);

  ProgramRun run;
  run.debugKeys = {{"drill_seed", std::to_string(kDrillSeed)}};
  ASSERT_TRUE(run.Start("rw_e2e_drill"));
  Classroom classroom;
  ASSERT_TRUE(classroom.Enter(run)) << ReadText(run.trace);
  // Drills: "Find The Hanging Piece", "Give Check", "Mate In One".
  HWND box = classroom.LaunchLesson(run, {VK_DOWN, VK_DOWN}, "the White Queen move that checkmates Black's King");
  ASSERT_NE(box, nullptr);
  guitest::Pump(300);
  EXPECT_TRUE(Shot("drill_lesson"));
  ClickChild(box, IDOK);

  HWND drill = WaitForDrillWindow("Mate in 1 -- White Queen to move");
  ASSERT_NE(drill, nullptr) << TextOf(GetDlgItem(FindWindowA(nullptr, "Drill"), 600));
  for (int i = 0; i < kDrillPositions; ++i) {
    char counter[32];
    std::snprintf(counter, sizeof counter, "Drill %d of 10", i + 1);
    ASSERT_TRUE(guitest::WaitFor([&] { return TextOf(GetDlgItem(drill, 597)) == counter; }, 10000))
        << counter << " shows " << TextOf(GetDlgItem(drill, 597));
    guitest::Pump(400);
    const Board& board = positions.Position(i);
    if (i == 0) {
      EXPECT_TRUE(Shot("drill_first_position"));
      // A wrong move is taken back and the position stays.
      const MoveRecord wrong = WrongMove(board);
      DragMove(classroom.squares, wrong.from, wrong.to);
      ASSERT_TRUE(guitest::WaitFor([&] { return ReadText(run.trace).find("drill answer wrong") != std::string::npos; },
                                   5000))
          << SquareName(wrong.from) << SquareName(wrong.to) << "\n"
          << ReadText(run.trace);
      guitest::Pump(500);
      EXPECT_EQ(TextOf(GetDlgItem(drill, 597)), "Drill 1 of 10");
      EXPECT_NE(TextOf(GetDlgItem(drill, 598)).find("Time Elapsed:"), std::string::npos);
      EXPECT_TRUE(Shot("drill_wrong_move_taken_back"));
    }
    const size_t right = Count(ReadText(run.trace), "drill answer right");
    DragMove(classroom.squares, board[kSolutionFromByte], board[kSolutionToByte]);
    ASSERT_TRUE(guitest::WaitFor([&] { return Count(ReadText(run.trace), "drill answer right") > right; }, 5000))
        << "position " << i + 1 << ReadText(run.trace);
  }

  // The result, the records dialog and the file.
  box = AnswerBox(run.program);
  ASSERT_NE(box, nullptr);
  const std::string result = TextOf(GetDlgItem(box, 301));
  unsigned minutes = 99, seconds = 99;
  ASSERT_EQ(std::sscanf(result.c_str(), "Final Time: %u:%u", &minutes, &seconds), 2) << result;
  EXPECT_NE(result.find(" -- 1 error(s)"), std::string::npos) << result;
  EXPECT_NE(result.find("A New Record!"), std::string::npos) << result;
  EXPECT_GE(minutes * 60 + seconds, 10u);  // the error's ten seconds
  guitest::Pump(300);
  EXPECT_TRUE(Shot("drill_result"));
  ClickChild(box, IDOK);

  HWND records = WaitForWindow("Drill Records", 8000);
  ASSERT_NE(records, nullptr);
  ClickChild(records, 623);  // "Mate in One"
  guitest::Pump(300);
  char time[16];
  std::snprintf(time, sizeof time, "%u:%02u", minutes, seconds);
  EXPECT_EQ(TextOf(GetDlgItem(records, 6225)), time);
  EXPECT_EQ(TextOf(GetDlgItem(records, 6200)), "TestUser");
  EXPECT_EQ(TextOf(GetDlgItem(records, 6201)), "*****");
  EXPECT_TRUE(Shot("drill_records"));
  // "Avert Mate" shows only its "Random" row, "Find Pin" no "Knight" row.
  ClickChild(records, 625);
  guitest::Pump(200);
  for (int row = 0; row < 5; ++row) EXPECT_EQ(IsWindowVisible(GetDlgItem(records, 6200 + row)) != 0, row == 4) << row;
  ClickChild(records, 627);
  guitest::Pump(200);
  for (int row = 0; row < 5; ++row) EXPECT_EQ(IsWindowVisible(GetDlgItem(records, 6225 + row)) != 0, row != 3) << row;
  EXPECT_TRUE(Shot("drill_records_find_pin"));
  ClickChild(records, IDOK);

  ASSERT_TRUE(guitest::WaitFor([&] { return IsWindowVisible(classroom.curriculum) != 0; }, 8000));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("drill_curriculum_after"));
  const std::vector<uint8_t> file = ReadBytes(run.folder + "\\Drills.rec");
  ASSERT_EQ(file.size(), 1440u);
  EXPECT_EQ(ReadU32(file, 15 * 36 + 32), minutes * 60 + seconds);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[15 * 36])), "TestUser");

  // The main menu's "View Drill Records" reads the file again.
  PostMessageA(run.frame, WM_COMMAND, 40168, 0);
  records = WaitForWindow("Drill Records", 8000);
  ASSERT_NE(records, nullptr);
  ClickChild(records, 623);
  guitest::Pump(200);
  EXPECT_EQ(TextOf(GetDlgItem(records, 6225)), time);
  ClickChild(records, IDOK);
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(records); }, 3000));
}

// The last position the exercise shows, White to move.
std::string LastExercisePosition(const std::string& trace) {
  const std::string key = "exercise position: ";
  const size_t at = trace.rfind(key);
  if (at == std::string::npos) return "";
  return trace.substr(at + key.size(), trace.find('\n', at) - at - key.size());
}

TEST(Training, CheckmateExercisePlayedToMateAndOneCancelled) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_exercise"));
  Classroom classroom;
  ASSERT_TRUE(classroom.Enter(run)) << ReadText(run.trace);
  // Drills, then the header "Checkmate Practice" and its first exercise.
  HWND box = classroom.LaunchLesson(run, kFirstExercise, "only a King and a Queen.");
  ASSERT_NE(box, nullptr);
  ClickChild(box, IDOK);
  HWND window = WaitForDrillWindow("Checkmate Black's King");
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, 599)));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, 6001)));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("exercise_start"));

  // White's moves from the engine core until the game is over.
  for (int move = 0; move < 80; ++move) {
    const std::string trace = ReadText(run.trace);
    if (trace.find("exercise over") != std::string::npos) break;
    const std::string fen = LastExercisePosition(trace);
    ASSERT_FALSE(fen.empty());
    const EngineMateAnswer answer = SearchEngineMate(fen, 6);
    ASSERT_TRUE(answer.ok && answer.best.size() >= 4) << fen;
    const size_t shown = Count(trace, "exercise position: ");
    guitest::DragSettled(classroom.squares.At(answer.best.substr(0, 2).c_str()),
                         classroom.squares.At(answer.best.substr(2, 2).c_str()));
    ASSERT_TRUE(guitest::WaitFor(
        [&] {
          const std::string now = ReadText(run.trace);
          return Count(now, "exercise position: ") > shown || now.find("exercise over") != std::string::npos;
        },
        10000))
        << "move " << answer.best << " in " << fen;
    if (move == 3) EXPECT_TRUE(Shot("exercise_under_way"));
  }
  EXPECT_NE(ReadText(run.trace).find("exercise over: White mates"), std::string::npos) << ReadText(run.trace);
  EXPECT_NE(ReadText(run.trace).find("curriculum result 1 0"), std::string::npos);
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(window); }, 5000));
  ASSERT_TRUE(guitest::WaitFor([&] { return IsWindowVisible(classroom.curriculum) != 0; }, 5000));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("exercise_mated"));

  // Cancelled at once: nothing is recorded.
  box = classroom.Launch(run, kFirstExercise);
  ASSERT_NE(box, nullptr);
  ClickChild(box, IDOK);
  window = WaitForDrillWindow("Checkmate Black's King");
  ASSERT_NE(window, nullptr);
  guitest::Pump(600);  // the window comes back in front of the frame the box left active
  EXPECT_TRUE(Shot("exercise_before_cancel"));
  ClickChild(window, 6001);
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(window); }, 5000));
  ASSERT_TRUE(guitest::WaitFor([&] { return IsWindowVisible(classroom.curriculum) != 0; }, 5000));
  EXPECT_EQ(Count(ReadText(run.trace), "curriculum result"), 1u);
}

// The program palette's colour of an index, from Rookwell.exe's "PAL".
COLORREF PaletteColour(const std::string& exe, int index) {
  HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  COLORREF colour = CLR_INVALID;
  if (HRSRC found = module ? FindResourceA(module, "PAL", MAKEINTRESOURCEA(2)) : nullptr) {
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
    const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(header) + header->biSize);
    colour = RGB(table[index].rgbRed, table[index].rgbGreen, table[index].rgbBlue);
  }
  if (module) FreeLibrary(module);
  return colour;
}

// The rightmost column in the rectangle (client pixels of `w`) holding the
// colour, or -1.
int RightmostOf(HWND w, RECT r, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  int found = -1;
  for (int x = r.right - 1; x >= r.left && found < 0; --x)
    for (int y = r.top; y < r.bottom; ++y) {
      POINT p{x, y};
      ClientToScreen(w, &p);
      if (GetPixel(screen, p.x, p.y) == colour) {
        found = x;
        break;
      }
    }
  ReleaseDC(nullptr, screen);
  return found;
}

// Whether the client pixels of `w` along row y from x0 to x1 are all one
// colour.
bool OneColour(HWND w, int y, int x0, int x1) {
  HDC screen = GetDC(nullptr);
  POINT first{x0, y};
  ClientToScreen(w, &first);
  const COLORREF colour = GetPixel(screen, first.x, first.y);
  bool same = true;
  for (int x = x0; x <= x1 && same; ++x) {
    POINT p{x, y};
    ClientToScreen(w, &p);
    same = GetPixel(screen, p.x, p.y) == colour;
  }
  ReleaseDC(nullptr, screen);
  return same;
}

void PutU32(std::vector<uint8_t>* bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A user with master class points: tutorials 6, drill runs 0, coach's games
// 14, opponents beaten 5 (25 in all), rating 1720, and the ten diagnostic
// ratings 1201..1210.
TEST(Training, MasterClassShowsTheUsersPointsAndPrintsTheCertificate) {
  ProgramRun run;
  run.debugKeys = {{"auto_login_user", "Marta"}};
  ASSERT_TRUE(run.Start("rw_e2e_master"));
  const std::string userFile = run.folder + "\\Users\\Marta\\Marta.usr";
  ASSERT_TRUE(guitest::WaitFor([&] { return GetFileAttributesA(userFile.c_str()) != INVALID_FILE_ATTRIBUTES; },
                               10000));
  guitest::Pump(1500);
  guitest::KillProgram(&run.program);
  std::vector<uint8_t> user = ReadBytes(userFile);
  ASSERT_GE(user.size(), 4380u);
  PutU32(&user, 544, 1720);
  for (int exam = 0; exam < 10; ++exam) PutU32(&user, 548 + 4 * (401 + exam), 1201 + exam);
  PutU32(&user, 3748, 6);
  PutU32(&user, 3752, 0);
  PutU32(&user, 3756, 14);
  PutU32(&user, 3764, 5);
  std::ofstream(userFile, std::ios::binary).write(reinterpret_cast<const char*>(user.data()), user.size());

  ProgramRun again;
  again.debugKeys = run.debugKeys;
  SetEnvironmentVariableA("RW_SHELL_TRACE", (run.folder + "\\start.txt").c_str());
  again.folder = run.folder;
  ASSERT_TRUE(guitest::StartProgram(run.folder + "\\Rookwell.exe", "", run.folder, &again.program));
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return (again.frame = guitest::FindProgramWindow(again.program, kFrameClass)) != nullptr; }, 20000));
  again.trace = run.trace;
  Classroom classroom;
  ASSERT_TRUE(classroom.Enter(again));

  // The diagnostic results: fields 1100-1109.
  PostMessageA(again.frame, WM_COMMAND, 40177, 0);
  HWND diagnostic = WaitForWindow("Alder Brackwater Diagnostic", 8000);
  ASSERT_NE(diagnostic, nullptr);
  for (int exam = 0; exam < 10; ++exam)
    EXPECT_EQ(TextOf(GetDlgItem(diagnostic, 1100 + exam)), std::to_string(1201 + exam));
  guitest::Pump(300);
  EXPECT_TRUE(Shot("diagnostic_results"));
  ClickChild(diagnostic, IDOK);

  PostMessageA(again.frame, WM_COMMAND, 40038, 0);
  HWND master = WaitForWindow("Master Class Points", 8000);
  ASSERT_NE(master, nullptr);
  guitest::Pump(800);
  EXPECT_TRUE(Shot("master_class"));
  // 25 points: only "25".
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(master, 30470)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(master, 30475)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(master, 30480)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(master, 30485)));
  // The name in shadow text: colour 238 two pixels right of colour 41.
  const std::string exe = run.folder + "\\Rookwell.exe";
  const COLORREF shadow = PaletteColour(exe, 238), face = PaletteColour(exe, 41);
  ASSERT_NE(shadow, CLR_INVALID);
  // The shadow is drawn first: nothing covers its right edge.
  const int faceX = RightmostOf(master, RECT{76, 62, 265, 86}, face);
  const int shadowX = RightmostOf(master, RECT{76, 62, 265, 86}, shadow);
  EXPECT_GT(faceX, 76);
  EXPECT_EQ(shadowX - faceX, 2);
  // The row of the drill runs (0) has no stars and no number: its plates
  // are one colour throughout.
  for (int y : {262, 269, 276}) EXPECT_TRUE(OneColour(master, y, 130, 562)) << y;
  // The lessons row (6) has stars.
  EXPECT_FALSE(OneColour(master, 201, 130, 512));

  if (!HasPrinter("PDF")) {
    std::printf("no print queue \"PDF\": the certificate is not printed here\n");
  } else {
    const std::set<std::string> before = PdfFiles();
    ClickChild(master, 30475);
    const std::string pdf = WaitForNewPdf(before);
    ASSERT_FALSE(pdf.empty()) << "the certificate's PDF";
    EXPECT_NE(Unix("pdftotext -layout '" + pdf + "' -").find("Marta"), std::string::npos);
    RenderFirstPage(pdf, "master_class_certificate");
  }
  ClickChild(master, IDOK);
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(master); }, 3000));
}

}  // namespace
