// Opening a web address in the user's browser and starting a file through
// the program registered for its type. When the system's open verb fails,
// the browser's registered command line is run with the address quoted
// behind it (an address that could break out of the quotes is refused).
//
// Interface: OpenWebPage, OpenUrl, OpenWithAssociation, ReadClassesRootValue,
// RunRegisteredCommand.
#pragma once

#include <windows.h>

#include <string>

// Non-zero when a browser was started; an empty address does nothing, a
// failure shows "No Web browser found.".
int OpenWebPage(const char* address);
int OpenUrl(const char* address, int show);
int OpenWithAssociation(const char* file, int show);
// RegOpenKeyExA's result (0: found); the key's default value, at most 260
// characters, into `text`.
LONG ReadClassesRootValue(HKEY root, const char* subKey, char* text);
// Steps after the open verb: the command line registered for class-name key
// `typeKey` (".htm" for web pages) with `target` quoted behind it, run with
// WinExec. 1 when started.
int RunRegisteredCommand(const char* typeKey, const std::string& target, int show);
