// The room window (the main frame's one child, on which the current room is
// drawn, whose timer drains the engine replies and ticks the clocks) and
// the navigation bar beside it with one button per room.
//
// Interface: kRoomWindowClass, RegisterRoomWindowClass,
// UnregisterRoomWindowClass, CreateRoomWindow, GetRoomWindow,
// SetRoomWallpaperBitmap, GetRoomWallpaperBitmap, SetRoomMovieLaunch,
// SetRoomOnlineEventHandler,
// InstallRoomSwitchHost, kNavigationBarClass, RegisterNavigationBarClass,
// UnregisterNavigationBarClass, CreateNavigationBar, ShowNavigationBar,
// HideNavigationBar, SelectNavigationRoom, GoToRoom, NavigationButtonRoom.
#pragma once

#include <windows.h>

constexpr const char kRoomWindowClass[] = "WC_ROOKWELL_ROOM";
constexpr UINT_PTR kRoomTimer = 1;
constexpr UINT kRoomTimerMs = 250;
constexpr UINT_PTR kKidsMovieTimer = 2;
constexpr UINT kKidsMovieDelayMs = 500;

int RegisterRoomWindowClass();
int UnregisterRoomWindowClass();
HWND CreateRoomWindow();
HWND GetRoomWindow();
// The room's wallpaper picture into the room window (none is built yet).
int SetRoomWallpaperBitmap(struct RoomRecord* record, int keepOld);
void* GetRoomWallpaperBitmap();
// What the first entry into the kids room in a run starts (the movie
// launch); null: nothing.
// Called at every tick of the room timer while it is not held, after the
// engines' replies and the clocks (the game room's clock display).
void SetRoomTimerHook(void (*hook)());
void SetRoomMovieLaunch(void (*launch)(HWND owner));
// The online room's handler of the session's records (message 0x810A: the
// back end's WPARAM and the record, or a notice without one); null: the
// records are left alone.
void SetRoomOnlineEventHandler(void (*handler)(WPARAM first, LPARAM second));
// Points the room switch at the frame, the bar, the menus and the loop.
void InstallRoomSwitchHost();

constexpr const char kNavigationBarClass[] = "WC_ROOKWELL_NAVIGATION";
constexpr int kNavigationBarWidth = 72;
constexpr UINT_PTR kNavigationTimer = 1;
constexpr UINT kNavigationTimerMs = 300;

int RegisterNavigationBarClass();
int UnregisterNavigationBarClass();
HWND CreateNavigationBar();
int ShowNavigationBar();
void HideNavigationBar();
// Checks the room's button; room 0 checks none and answers -1.
int SelectNavigationRoom(int room);
// Goes to the room now, or after a lesson's voice clip; the room before.
int GoToRoom(int room);
// The room of a button id, -1 for none.
int NavigationButtonRoom(int buttonId);
