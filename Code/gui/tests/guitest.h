// GUI test driver for Windows tests of the toolkit (run under Wine on a
// private Xvfb display, or on Windows): creates windows, finds them by class,
// sends messages and input, pumps messages while it waits for timers or
// conditions, reads pixels back and keeps screenshots as test artefacts.
//
// Screenshots are taken of the whole X display with ImageMagick's "import"
// (started as a Unix program, which Wine allows) into RW_GUI_ARTEFACT_DIR;
// on Windows proper, where there is no such program, Screenshot returns
// false and tests go on.
//
// Any module's window tests use it the same way: an executable linked with
// the `guitest` library, registered with rw_gui_test(<target>) (defined in
// Code/gui/CMakeLists.txt), which runs it through tests/run_gui_test.sh with
// a fresh Wine prefix, its own wineserver and its own Xvfb display.
// Screenshots land in <build>/artefacts/gui.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace guitest {

// A plain top-level popup window of a class registered here once; shown,
// at the given screen rectangle. Its window procedure passes everything to
// the handler when one is given, else to DefWindowProc.
using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, bool* handled)>;
HWND CreateTestWindow(const RECT& screen, Handler handler = nullptr, DWORD style = WS_POPUP | WS_VISIBLE,
                      DWORD exStyle = 0);

// The first window of the class: a top-level one when parent is null, else
// a descendant of parent.
HWND FindWindowOfClass(HWND parent, const char* className);

// Handles messages for at least ms milliseconds.
void Pump(DWORD ms);
// Handles messages until the condition holds or the time-out passes.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs);
// Handles messages until the window has received `count` WM_TIMER messages
// with the timer id (counted by a message hook on this thread).
bool WaitForTimer(HWND window, UINT_PTR id, int count, DWORD timeoutMs);

// Input through the system's input queue (the X server under Wine), so that
// hooks and capture see it as they see a user's.
void MoveMouse(POINT screen);
void Click(POINT screen, bool right = false);
// Press at `from`, move in `steps` even steps to `to`, release there.
void Drag(POINT from, POINT to, int steps = 8);
// The same as a person's hand does it: the press is read by the program
// before the mouse moves on, and the move before the release (`settle`
// milliseconds each). For windows that act on the press, such as a board
// lifting its piece, on a machine too busy to keep up with queued input.
void DragSettled(POINT from, POINT to, DWORD settle = 300, int steps = 8);
void PressKey(WORD virtualKey);
// Types the text key by key, with Shift where the layout needs it.
void TypeText(const std::string& text);
// Clicks the centre of the dialog item; false when the parent has no such item.
bool ClickItem(HWND parent, int id);
// A key pressed with modifiers held (e.g. Chord({VK_SHIFT}, VK_TAB)).
void Chord(std::initializer_list<WORD> held, WORD key);

// The colour shown at a screen point, read back from the window there.
COLORREF ScreenPixel(int x, int y);

// Fills the window's client area in the device context of WM_ERASEBKGND
// (wParam) with one colour; returns 1, the message's answer.
LRESULT EraseWith(HWND window, WPARAM dc, COLORREF colour);

// A logical palette of 256 entries, entry i given by `entry(i)`.
HPALETTE MakePalette(const std::function<PALETTEENTRY(int)>& entry);

// Saves a PNG of the display as <artefact dir>/<name>.png; true when the
// file appeared.
bool Screenshot(const std::string& name);
// The same into another folder (a Unix path), for modules that keep their
// screenshots apart.
bool ScreenshotTo(const std::string& dir, const std::string& name);

// The installed program folder the test runner names in RW_PROGRAM_DIR, as
// a Windows path ("" when it names none).
std::string InstalledProgramFolder();
// How many processes of that executable name run now (-1 when unknown).
int CountProcesses(const char* exe);

// A program started by a test: its process, main thread id and handle.
struct Program {
  HANDLE process = nullptr;
  DWORD id = 0;
};
// Starts `exe` in `folder` with the command line arguments; false when it
// could not be started.
bool StartProgram(const std::string& exe, const std::string& arguments, const std::string& folder, Program* out);
// Waits for the program's end; true with its exit code when it ended in
// time. The handle is closed once it has ended.
bool WaitForProgramEnd(Program* program, DWORD timeoutMs, DWORD* exitCode);
// Ends a program that is still running (a test that failed half-way).
void KillProgram(Program* program);
// A visible top-level window of the class that belongs to the process.
HWND FindProgramWindow(const Program& program, const char* className);

}  // namespace guitest
