// The program's one top-level window: a framed window of the toolkit whose
// caption, edges, menu bar and status line are painted from Skinres, the
// owner of every other window of the program. Commands from its menu go
// first to the current room's handler, then to the main menu commands.
//
// Interface: RegisterMainFrameClass, UnregisterMainFrameClass,
// CreateMainFrame, ShowMainFrame, FindRunningMainFrame, EnableMainWindowUI,
// SetMainMenu, DestroyMainFrame, MainFrameCommand, MainFrameWndProc,
// GetMainFrame, MainFrameCreationParameter.
#pragma once

#include <windows.h>

#include "app_messages.h"
#include "facet_frame.h"

#if __has_include("rw_strings.h")
#include "rw_strings.h"
#endif
#ifndef IDS_EXIT_NOW
#define IDS_EXIT_NOW 1900  // "Exit Now?"
#endif

constexpr const char kMainFrameClass[] = "RWONYX_APP_CLASS";
// Class styles: vertical and horizontal redraw, own device context.
constexpr UINT kMainFrameClassStyle = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
// Three window words; the first holds the toolkit's record, so each is a
// pointer slot (12 bytes in the 32-bit program, 24 in the 64-bit build).
constexpr int kMainFrameExtraBytes = 3 * int(sizeof(LONG_PTR));
constexpr int kMainFrameIcon = 101;
constexpr int kMainMenuId = 27;
constexpr int kSystemMenuId = 16;
constexpr LPARAM kMainFrameParameter = LPARAM(0xF0F0F0F0u);
// Style: sizable frame, system menu, minimize and maximize boxes, and the
// toolkit's bit 0 (the creation parameter is a creation record).
constexpr DWORD kMainFrameStyle = 0x000F0001;
constexpr int kQuitCommand = 40011;  // "&Quit", Alt+F4

// While the sound device stays lost it is retried on this timer.
constexpr UINT_PTR kSoundRetryTimer = RWM_SOUND_BACK;
constexpr UINT kSoundRetryMs = 1000;

// A room's command handler: non-zero when it handled the command.
using FrameMenuHandler = int (*)(HWND window, WPARAM first, LPARAM second);

int RegisterMainFrameClass();
int UnregisterMainFrameClass();
// Creates the hidden main frame at its stored place (or 800 x 600 at the
// top-left corner) and makes it the toolkit's application main window.
HWND CreateMainFrame();
void ShowMainFrame(int ignored);
HWND FindRunningMainFrame();
// Menu bar, accelerators and the numbered windows on or off together.
void EnableMainWindowUI(int enable);
// Puts `menu` on the frame and keeps `handler` as the room's command
// handler; 0 and nothing changed when handler is null.
int SetMainMenu(CmMenu* menu, FrameMenuHandler handler);
void DestroyMainFrame();
LRESULT MainFrameCommand(HWND window, WPARAM first, LPARAM second);
LRESULT CALLBACK MainFrameWndProc(HWND window, UINT message, WPARAM first, LPARAM second);

HWND GetMainFrame();
// The creation parameter the frame's WM_CREATE saw (tests).
LPARAM MainFrameCreationParameter();
