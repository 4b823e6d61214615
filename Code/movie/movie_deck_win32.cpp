// The deck road (/q): a controller on the movie window plays the movie from
// the window's own messages, each handed to it first as an event; a slow
// timer asks whether the movie is done.
#include <windows.h>

#include <string>

#include "movie_player.h"

namespace {

constexpr UINT_PTR kDoneTimer = 10101;
constexpr UINT kDoneTimerMs = 1500;

// The controller reports a change of its size: the window follows it.
int __stdcall DeckFilter(DeckController* controller, uint32_t action, void*, intptr_t refcon) {
  auto* state = reinterpret_cast<PlayerState*>(refcon);
  if (action != kDeckActionSizeChanged) return 0;
  RECT bounds;
  DeckGetControllerBounds(controller, &bounds);
  SetWindowPos(state->window, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 1;
}

bool OpenDeckMovie(PlayerState* state) {
  if (!DeckCreatePort(state->window)) return false;
  std::string name = state->options.file;
  DeckFile file = 0;
  if (!DeckOpenMovieFile(name.c_str(), &file)) return false;
  bool made = DeckNewMovieFromFile(file, &state->deckMovie) != 0;
  DeckCloseMovieFile(file);
  if (!made) return false;
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  state->deckController = DeckNewController(state->deckMovie, state->window, &desktop);
  if (!state->deckController) return false;
  DeckSetActionFilter(state->deckController, DeckFilter, reinterpret_cast<intptr_t>(state));
  return true;
}

// With /b the window covers the parent and the movie is centred in it; with
// /c the window takes the movie's size, centred on the parent; otherwise the
// window takes the movie box as it is.
void PlaceDeckWindow(PlayerState* state) {
  RECT parent, box;
  GetWindowRect(state->parent, &parent);
  DeckGetMovieBox(state->deckMovie, &box);
  int w = box.right - box.left, h = box.bottom - box.top;
  RECT place = box;
  if (state->options.black) {
    place = parent;
    RECT centred = CentredRect(RECT{0, 0, parent.right - parent.left, parent.bottom - parent.top}, w, h);
    DeckSetMovieBox(state->deckMovie, &centred);
  } else if (state->options.centre) {
    place = CentredRect(parent, w, h);
    RECT at{0, 0, w, h};
    DeckSetMovieBox(state->deckMovie, &at);
  }
  SetWindowPos(state->window, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client;
  GetClientRect(state->window, &client);
  state->deckWindowSize = SIZE{client.right, client.bottom};
}

}  // namespace

void StartDeck(PlayerState* state) {
  if (!OpenDeckMovie(state)) {
    CloseDeck(state);
    DestroyWindow(state->window);
    return;
  }
  PlaceDeckWindow(state);
  ShowWindow(state->window, SW_SHOW);
  BringWindowToTop(state->window);
  DeckStart(state->deckController);
  SetTimer(state->window, kDoneTimer, kDoneTimerMs, nullptr);
}

void PassToDeck(PlayerState* state, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!state->deckController) return;
  DWORD pos = GetMessagePos();
  DeckEvent event{window, message, wParam, lParam, DWORD(GetMessageTime()),
                  POINT{short(LOWORD(pos)), short(HIWORD(pos))}};
  DeckControllerEvent(state->deckController, &event);
}

bool HandleDeckMessage(PlayerState* state, UINT message, WPARAM wParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam != kDoneTimer) return false;
      if (state->deckMovie && DeckIsMovieDone(state->deckMovie)) {
        PostMessageA(state->window, WM_COMMAND, kMovieEndCommand, 0);
        KillTimer(state->window, kDoneTimer);
      }
      return true;
    case WM_EXITSIZEMOVE: {
      // The controller's bounds grow (or shrink) with the window.
      RECT client;
      GetClientRect(state->window, &client);
      if (state->deckController &&
          (client.right != state->deckWindowSize.cx || client.bottom != state->deckWindowSize.cy)) {
        RECT bounds;
        DeckGetControllerBounds(state->deckController, &bounds);
        bounds.right += client.right - state->deckWindowSize.cx;
        bounds.bottom += client.bottom - state->deckWindowSize.cy;
        state->deckWindowSize = SIZE{client.right, client.bottom};
        DeckSetControllerBounds(state->deckController, &bounds);
      }
      return false;
    }
    default: return false;
  }
}

void CloseDeck(PlayerState* state) {
  if (state->deckController) DeckDisposeController(state->deckController);
  if (state->deckMovie) DeckDisposeMovie(state->deckMovie);
  if (state->window) DeckDestroyPort(state->window);
  state->deckController = nullptr;
  state->deckMovie = nullptr;
}
