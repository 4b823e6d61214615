// The system video window road (neither /k nor /q): a video window (MCIWnd)
// child of the movie window plays the file; its mode and media notifications
// tell the movie window when the movie is over.
#include <windows.h>

#include <vfw.h>

#include "movie_player.h"

namespace {

// No play bar, no menu, mode and media notifications (ANSI), no error dialogs.
constexpr DWORD kVideoFlags = 0x498A;
// Keeps the video window from sizing itself to the movie.
constexpr DWORD kVideoKeepSize = MCIWNDF_NOAUTOSIZEWINDOW;
constexpr LPARAM kModeStopped = MCI_MODE_STOP;  // 525

}  // namespace

bool StartVideoWindow(PlayerState* state) {
  DWORD style = WS_CHILD | WS_BORDER | kVideoFlags | (state->options.autoSize ? 0 : kVideoKeepSize);
  state->video = MCIWndCreateA(state->window, state->instance, style, nullptr);
  if (!state->video) return false;
  if (MCIWndOpen(state->video, state->options.file.c_str(), 0) != 0) {
    MCIWndDestroy(state->video);
    state->video = nullptr;
    return false;
  }
  state->videoOpened = true;

  RECT source{};
  MCIWndGetSource(state->video, &source);
  int width = source.right - source.left, height = source.bottom - source.top;
  RECT place = source;
  if (state->options.centre) {
    RECT parent;
    GetWindowRect(state->parent, &parent);
    place = CentredRect(parent, width, height);
  }
  SetWindowPos(state->window, nullptr, place.left, place.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(state->window, SW_SHOW);
  BringWindowToTop(state->window);
  ShowWindow(state->video, SW_SHOW);

  // The video window carries a border, so it is a little larger than the
  // movie; centred, the border falls outside the movie window.
  RECT client, video;
  GetClientRect(state->window, &client);
  GetWindowRect(state->video, &video);
  RECT at = CentredRect(client, video.right - video.left, video.bottom - video.top);
  SetWindowPos(state->video, nullptr, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  MCIWndPlayFrom(state->video, state->options.position);
  return true;
}

bool HandleVideoNotification(PlayerState* state, UINT message, LPARAM lParam) {
  bool over = false;
  if (message == MCIWNDM_NOTIFYMODE) {
    over = lParam == kModeStopped;
  } else if (message == MCIWNDM_NOTIFYMEDIA) {
    const char* name = reinterpret_cast<const char*>(lParam);
    over = state->videoOpened && (name == nullptr || name[0] == '\0');
  } else {
    return false;
  }
  // Posted: the notification comes from inside the video window's procedure,
  // which must not see its parent (and itself) destroyed under it.
  if (over && !state->ended) PostMessageA(state->window, WM_COMMAND, kMovieEndCommand, 0);
  return true;
}
