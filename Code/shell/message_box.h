// The program's one message box: the skinned dialog "IDD_MESSAGEBOX" of the
// class "RWOMSGBOX", sized to its text, run modally (the clock paused, the
// main window's controls and the room timer held) or modelessly with an
// optional countdown. Without the toolkit's dialog class or the skin every
// box is the system's, captioned "Rookwell".
//
// Interface: kMessageBoxClass, kMessageBoxTimeoutMessage, AppMessageBox,
// AppMessageBoxAt, AppMessageBoxOwned, RunMessageBoxDialog,
// ShowModelessMessageBox, ShowModelessMessageBoxNoTimeout,
// ShowProgressMessageBox, CreateModelessMessageBox, MessageBoxDlgProc,
// EndMessageBox, PassToMessageBoxes, InstallMessageBox,
// ResetMessageBoxPlacement, OpenModelessBoxes, SetAutoplayReady.
#pragma once

#include <windows.h>

#include <cstdint>

#include "shell_services.h"

constexpr const char kMessageBoxClass[] = "RWOMSGBOX";

int AppMessageBox(const char* text, uint32_t flags);
int AppMessageBoxAt(const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data);
int AppMessageBoxOwned(const char* text, uint32_t flags, HWND owner);
int RunMessageBoxDialog(const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data, DLGPROC procedure,
                        HWND owner);
HWND ShowModelessMessageBox(const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data,
                            int timeoutSeconds);
HWND ShowModelessMessageBoxNoTimeout(const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data);
HWND ShowProgressMessageBox(const char* text, MessageBoxCallback callback, uint32_t data);
HWND CreateModelessMessageBox(const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data,
                              int timeoutSeconds, DLGPROC procedure);
INT_PTR CALLBACK MessageBoxDlgProc(HWND box, UINT message, WPARAM first, LPARAM second);
void EndMessageBox(HWND box, int result);
// The main loop offers each message to the open modeless boxes, so that
// Enter, Escape and Tab work in them.
int PassToMessageBoxes(MSG* message);
// The boxes become the shell's message box, and the frame's.
void InstallMessageBox();
// Tests: forget the remembered place; the open modeless boxes.
void ResetMessageBoxPlacement();
int OpenModelessBoxes();
// Whether the online room is ready for its test autoplay (the online room
// tells; until it exists, never).
void SetAutoplayReady(int (*ready)());
