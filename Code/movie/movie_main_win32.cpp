// RWMovie's entry: reads the command line, makes the movie window over its
// parent, starts the chosen back end and runs the frame and message loop.
// The program always exits with 0, whatever happened to the movie.
#include <windows.h>

#include <vfw.h>

#include "movie_loop.h"
#include "movie_player.h"

const char kMovieClassName[] = "RW_MOVIE_CLASS";

namespace {

bool RegisterMovieClass(const PlayerState& state) {
  WNDCLASSA wc{};
  wc.style = 0;
  wc.lpfnWndProc = MovieWindowProc;
  wc.cbWndExtra = sizeof(PlayerState*);
  wc.hInstance = state.instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(state.options.black ? BLACK_BRUSH : HOLLOW_BRUSH));
  wc.lpszClassName = kMovieClassName;
  return RegisterClassA(&wc) != 0;
}

// The movie window covers the parent's whole window rectangle; the back ends
// move it later where they need to.
HWND CreateMovieWindow(PlayerState* state) {
  RECT r;
  GetWindowRect(state->parent, &r);
  return CreateWindowExA(0, kMovieClassName, "", WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         state->parent, nullptr, state->instance, state);
}

// Messages that end the movie as soon as the loop reads them.
bool EndsTheMovie(const MSG& msg) {
  switch (msg.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:  // Alt arrives as a system key
    case WM_CHAR:
    case WM_QUIT: return true;
    default: return false;
  }
}

void RunLoop(PlayerState* state) {
  MovieLoopState loop;
  loop.backEnd = state->backEnd;
  MSG msg;
  for (;;) {
    // Before the first reel frame is up, the queue is not even looked at.
    bool mayRead = loop.backEnd != MovieBackEnd::Reel || loop.firstFrameShown;
    loop.messageWaiting = mayRead && PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    loop.frameDue = loop.backEnd == MovieBackEnd::Reel && ReelFrameDue(state);
    switch (NextMovieLoopStep(loop)) {
      case MovieLoopStep::ReadMessage:
        // Every window of the thread: the video window's own notices
        // (end of play among them) are posted to it, not to the movie window.
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) break;
        if (EndsTheMovie(msg)) return;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        break;
      case MovieLoopStep::WaitMessage: WaitMessage(); break;
      case MovieLoopStep::Nap: Sleep(1); break;
      case MovieLoopStep::ShowFrame:
        ShowReelFrame(state);
        loop.firstFrameShown = true;
        break;
    }
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  static PlayerState state;
  state = PlayerState();
  state.instance = instance;
  state.options = ParseMovieOptions(commandLine);
  // A path longer than the player's field is a movie that cannot be opened.
  if (state.options.pathRefused) return 0;
  state.backEnd = ChooseMovieBackEnd(state.options);
  state.parent = state.options.parent ? reinterpret_cast<HWND>(static_cast<UINT_PTR>(state.options.parent))
                                      : GetDesktopWindow();

  if (!MCIWndRegisterClass() || !RegisterMovieClass(state) || !(state.window = CreateMovieWindow(&state))) {
    PostQuitMessage(0);
  } else {
    switch (state.backEnd) {
      case MovieBackEnd::Deck:
        DeckInitialize();
        StartDeck(&state);  // on failure the movie window is gone and the loop ends
        break;
      case MovieBackEnd::Reel:
        // A movie that does not open (or gets no buffer) ends the program.
        if (!StartReel(&state)) return 0;
        break;
      case MovieBackEnd::VideoWindow:
        if (!StartVideoWindow(&state)) return 0;
        break;
    }
    if (IsWindow(state.window)) {
      SetWindowPos(state.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      ShowWindow(state.window, SW_SHOW);
    }
  }

  RunLoop(&state);
  // Ended by a click or key: the back end lets go before the process does.
  switch (state.backEnd) {
    case MovieBackEnd::Deck:
      CloseDeck(&state);
      DeckTerminate();
      break;
    case MovieBackEnd::Reel: CloseReel(&state); break;
    case MovieBackEnd::VideoWindow: break;
  }
  if (IsWindow(state.window)) EndMovie(&state);
  return 0;
}
