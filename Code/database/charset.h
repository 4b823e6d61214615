// Header texts between the Windows character set (Windows-1252) and the
// game files' IBM PC code page 437.
//
// Interface: GameToWindowsChar, WindowsToGameChar, GameToWindows, WindowsToGame.
#pragma once

#include <cstdint>
#include <string>

namespace gdbase {

uint8_t GameToWindowsChar(uint8_t c);
uint8_t WindowsToGameChar(uint8_t c);
std::string GameToWindows(const char* text);
std::string WindowsToGame(const char* text);

}  // namespace gdbase
