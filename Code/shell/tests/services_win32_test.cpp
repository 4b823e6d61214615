// The service table's Windows fallbacks: before the program's own message
// box exists, boxes are the system's, with the program's name as caption.
#include <gtest/gtest.h>

#include <windows.h>

#include "shell_services.h"

namespace {

// Answers the first system box captioned "Rookwell" with No.
DWORD WINAPI AnswerNo(void* found) {
  for (int i = 0; i < 500; ++i) {
    HWND box = FindWindowA("#32770", "Rookwell");
    if (box) {
      *static_cast<bool*>(found) = true;
      PostMessageA(box, WM_COMMAND, IDNO, 0);
      return 0;
    }
    Sleep(10);
  }
  return 0;
}

int g_result;
uint32_t g_data;
void Remember(int result, uint32_t data) {
  g_result = result;
  g_data = data;
}

TEST(ServicesWin32, SystemBoxWithTheProgramsCaption) {
  SetShellServices(DefaultShellServices());
  bool found = false;
  HANDLE answer = CreateThread(nullptr, 0, AnswerNo, &found, 0, nullptr);
  EXPECT_EQ(Services().appMessageBox("Exit Now?", MB_YESNO), IDNO);
  WaitForSingleObject(answer, 5000);
  CloseHandle(answer);
  EXPECT_TRUE(found);

  found = false;
  answer = CreateThread(nullptr, 0, AnswerNo, &found, 0, nullptr);
  EXPECT_EQ(Services().showModelessMessageBox("Later?", MB_YESNO, Remember, 42, -60), nullptr);
  WaitForSingleObject(answer, 5000);
  CloseHandle(answer);
  EXPECT_TRUE(found);
  EXPECT_EQ(g_result, IDNO);
  EXPECT_EQ(g_data, 42u);
}

}  // namespace
