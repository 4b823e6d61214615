// The movie window's procedure: a click, a key or losing the activation ends
// the movie; the back ends' notifications end it when the movie is over.
#include <windows.h>

#include <vfw.h>

#include "movie_player.h"

PlayerState* PlayerOf(HWND window) {
  return reinterpret_cast<PlayerState*>(GetWindowLongPtrA(window, 0));
}

RECT CentredRect(const RECT& on, int width, int height) {
  RECT r;
  r.left = on.left + ((on.right - on.left) - width) / 2;
  r.top = on.top + ((on.bottom - on.top) - height) / 2;
  r.right = r.left + width;
  r.bottom = r.top + height;
  return r;
}

void EndMovie(PlayerState* state) {
  if (state->ended) return;
  state->ended = true;
  if (state->backEnd != MovieBackEnd::Deck && state->video) {
    ShowWindow(state->video, SW_HIDE);
    MCIWndClose(state->video);
  }
  DestroyWindow(state->window);
}

namespace {

void OnCreate(HWND window, const CREATESTRUCTA* cs) {
  auto* state = static_cast<PlayerState*>(cs->lpCreateParams);
  SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(state));
  state->window = window;
  SetCapture(window);
  ShowCursor(FALSE);
  state->ended = false;
  if (state->backEnd == MovieBackEnd::Reel && state->options.centre && !state->options.black) {
    // A popup is never its parent's child: centred on the parent's window rectangle.
    RECT parent, own;
    GetWindowRect(state->parent, &parent);
    GetWindowRect(window, &own);
    RECT at = CentredRect(parent, own.right - own.left, own.bottom - own.top);
    SetWindowPos(window, nullptr, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void OnDestroy(PlayerState* state) {
  if (state->backEnd == MovieBackEnd::Deck) CloseDeck(state);
  ShowCursor(TRUE);
  ReleaseCapture();
  state->ended = true;
  PostQuitMessage(0);
}

}  // namespace

LRESULT CALLBACK MovieWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    return 0;
  }
  PlayerState* state = PlayerOf(window);
  if (!state) return DefWindowProcA(window, message, wParam, lParam);
  switch (state->backEnd) {
    case MovieBackEnd::Deck:
      PassToDeck(state, window, message, wParam, lParam);
      if (HandleDeckMessage(state, message, wParam)) return 0;
      break;
    case MovieBackEnd::Reel: HandleReelMessage(state, message); break;
    case MovieBackEnd::VideoWindow:
      if (HandleVideoNotification(state, message, lParam)) return 0;
      break;
  }

  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_KEYDOWN:
      EndMovie(state);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) EndMovie(state);
      break;
    case WM_ACTIVATEAPP:
      if (!wParam) EndMovie(state);
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == kMovieEndCommand) {
        EndMovie(state);
        return 0;
      }
      break;
    case WM_DESTROY:
      OnDestroy(state);
      return 0;
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
