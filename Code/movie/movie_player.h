// RWMovie's shared state and the pieces of the player program.
//
//   movie_main_win32.cpp     entry, window class and movie window, the loop
//   movie_window_win32.cpp   the movie window's procedure and the movie's end
//   movie_video_win32.cpp    the system video window road (neither /k nor /q)
//   movie_reel_win32.cpp     the reel road (/k): frames driven by the loop
//   movie_deck_win32.cpp     the deck road (/q): a controller fed with events
//
// The program lives for one movie; its one PlayerState is cleared at start
// and reached from the movie window's first window word.
#pragma once

#include <windows.h>

#include "deckkit.h"
#include "movie_options.h"
#include "reelkit.h"

struct PlayerState {
  HINSTANCE instance = nullptr;
  MovieOptions options;
  MovieBackEnd backEnd = MovieBackEnd::VideoWindow;
  HWND parent = nullptr;  // the /w: window, else the desktop
  HWND window = nullptr;  // the movie window
  bool ended = false;     // the end has been handled

  // The system video window (MCIWnd) and whether a file is open in it: its
  // "no media" notification means the end only once a file was open (the
  // window also sends one while it is being created).
  HWND video = nullptr;
  bool videoOpened = false;

  // Reel road.
  ReelMovie* reel = nullptr;
  ReelBuffer* reelBuffer = nullptr;

  // Deck road: the movie, its controller, and the
  // window's client size as the controller last knew it.
  DeckMovie* deckMovie = nullptr;
  DeckController* deckController = nullptr;
  SIZE deckWindowSize{};
};

// Private message: the video window's notifications end the movie through
// the queue, so that the movie window is not destroyed while the video
// window's own procedure is still running.
constexpr UINT kMovieEndCommand = 2;  // WM_COMMAND identifier that ends the movie

extern const char kMovieClassName[];

LRESULT CALLBACK MovieWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
PlayerState* PlayerOf(HWND window);
// Ends the movie once: hides and closes the video window, destroys the
// movie window.
void EndMovie(PlayerState* state);

// Video window road: creates the video window in the movie window, opens the
// file, places the windows and starts playing. False when the file does not open.
bool StartVideoWindow(PlayerState* state);
// The video window's mode and media notifications; true when handled.
bool HandleVideoNotification(PlayerState* state, UINT message, LPARAM lParam);
// Reel road: opens the movie and its buffer on the movie window; false ends
// the program. ReelFrameDue and ShowReelFrame serve the loop; the last frame
// ends the movie. HandleReelMessage keeps the buffer centred in the window.
bool StartReel(PlayerState* state);
bool ReelFrameDue(PlayerState* state);
void ShowReelFrame(PlayerState* state);
bool HandleReelMessage(PlayerState* state, UINT message);
void CloseReel(PlayerState* state);

// Deck road: opens the movie with a controller on the movie window, places
// and shows the window and starts playing; on failure the movie window is
// destroyed. Every window message goes to PassToDeck first.
void StartDeck(PlayerState* state);
void PassToDeck(PlayerState* state, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool HandleDeckMessage(PlayerState* state, UINT message, WPARAM wParam);
void CloseDeck(PlayerState* state);

// Centres rectangle `size` on `on` (screen coordinates).
RECT CentredRect(const RECT& on, int width, int height);
