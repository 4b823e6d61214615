// Start-up joins the shell's parts: the look, the splash and the main frame
// reach folders, settings, sounds and the main loop through their link
// table; the main loop asks for the main frame and the room; the data-set
// locator needs the program folder and a way to tell the user of a missing
// file; the cursors load from the program's resources; the OS-free texts come
// from the program's string table; the rules and the engine link ask the
// shell. Each of those tables works alone with its own defaults (tests use
// them so), so the program calls this once, before the splash starts.
// Entries for parts that are not there yet go through the shell's service
// table, so filling that table later reaches the frame as well.
//
// Interface: ConnectShellParts, DisconnectShellParts.
#pragma once
#include <windows.h>

// `instance`: the program's module, holding its strings, menus, "PAL",
// "SPLASH", icon and cursors.
void ConnectShellParts(HINSTANCE instance);
// Puts every table back to its own defaults.
void DisconnectShellParts();
