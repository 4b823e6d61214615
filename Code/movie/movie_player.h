// RWMovie's shared state and the pieces of the player program.
//
//   movie_main_win32.cpp     entry, window class and movie window, the loop
//   movie_window_win32.cpp   the movie window's procedure and the movie's end
//   movie_video_win32.cpp    the system video window road (neither /k nor /q)
//
// The program lives for one movie; its one PlayerState is cleared at start
// and reached from the movie window's first window word.
#pragma once

#include <windows.h>

#include "movie_options.h"

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
// Centres rectangle `size` on `on` (screen coordinates).
RECT CentredRect(const RECT& on, int width, int height);
