// Deckkit: the controller-driven movie library behind the player's /q road.
// This is the project's own stand-in: it plays the project's AVI clips
// (whatever their extension) through the system's AVIFile and waveOut.
//
// The caller associates a port with its window, opens the movie file, makes
// a movie from it and puts a controller on it; from then on it passes every
// message of the window to the controller as an event, and the controller
// draws the movie into the window from those events (its own frame timer
// among them) until the movie is done.
#pragma once

#include <windows.h>

#include <cstdint>

#ifdef DECKKIT_BUILDING_DLL
#define DECKKIT_API extern "C" __declspec(dllexport)
#else
#define DECKKIT_API extern "C" __declspec(dllimport)
#endif

struct DeckMovie;
struct DeckController;
typedef uint32_t DeckFile;

// Actions a controller reports to its filter.
constexpr uint32_t kDeckActionIdle = 1;         // a frame tick was handled
constexpr uint32_t kDeckActionSizeChanged = 2;  // the controller's bounds changed size
// Answer nonzero to tell the controller the action was handled.
typedef int(__stdcall* DeckActionFilter)(DeckController* controller, uint32_t action, void* params, intptr_t refcon);

// The event record a window message becomes.
struct DeckEvent {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT where;
};

DECKKIT_API int __stdcall DeckInitialize(void);
DECKKIT_API void __stdcall DeckTerminate(void);
DECKKIT_API int __stdcall DeckCreatePort(HWND window);
DECKKIT_API void __stdcall DeckDestroyPort(HWND window);

DECKKIT_API int __stdcall DeckOpenMovieFile(const char* path, DeckFile* file);
DECKKIT_API void __stdcall DeckCloseMovieFile(DeckFile file);
DECKKIT_API int __stdcall DeckNewMovieFromFile(DeckFile file, DeckMovie** movie);
DECKKIT_API void __stdcall DeckDisposeMovie(DeckMovie* movie);
// The movie's box in the window's client coordinates; at first (0, 0) and
// the movie's own size.
DECKKIT_API void __stdcall DeckGetMovieBox(DeckMovie* movie, RECT* box);
DECKKIT_API void __stdcall DeckSetMovieBox(DeckMovie* movie, const RECT* box);
DECKKIT_API int __stdcall DeckIsMovieDone(DeckMovie* movie);

DECKKIT_API DeckController* __stdcall DeckNewController(DeckMovie* movie, HWND window, const RECT* bounds);
DECKKIT_API void __stdcall DeckDisposeController(DeckController* controller);
DECKKIT_API void __stdcall DeckSetActionFilter(DeckController* controller, DeckActionFilter filter, intptr_t refcon);
DECKKIT_API void __stdcall DeckGetControllerBounds(DeckController* controller, RECT* bounds);
DECKKIT_API void __stdcall DeckSetControllerBounds(DeckController* controller, const RECT* bounds);
// Starts playing: frames follow the controller's timer events.
DECKKIT_API void __stdcall DeckStart(DeckController* controller);
// Hands one window message to the controller; nonzero when it used it up.
DECKKIT_API int __stdcall DeckControllerEvent(DeckController* controller, const DeckEvent* event);
