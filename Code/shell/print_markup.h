// The print markup the main program hands to the printing library: move
// lists, texts, text lists, board diagrams and certificate values, and the
// printer named by the system's [windows] "device" entry. Built here without
// the library; the Win32 print front end only passes the results on.
//
// Interface: MoveListMarkup, TextAsMarkup, TextListStartMarkup,
// TextListLineMarkup, SquareShade, DiagramCharacter, DiagramMarkup,
// PositionText, CertificateName, CertificateDate, DeviceEntry,
// ParseDeviceEntry, SplitDefaultPrinter, DriverWithoutExtension.
#pragma once

#include <cstdint>
#include <string>

#include "board.h"

// "Rookwell Onyx" centred, then the game text under tab stops 5, 20, 30.
std::string MoveListMarkup(const std::string& title, const std::string& gameText);

// A text in the move-list face at 11 points, each line its own paragraph;
// carriage returns are dropped. Empty text gives empty markup.
std::string TextAsMarkup(const std::string& text);

// A text list: its start, then each line (at most 127 characters, bytes of
// value 1 removed; no line feed added).
std::string TextListStartMarkup();
std::string TextListLineMarkup(const std::string& line);

// Dark (1) or light (0): a8 is light.
int SquareShade(int file, int row);
// The chess-font character of a piece byte (0 empty) on a square shade.
uint8_t DiagramCharacter(uint8_t piece, int dark);
// The board a8 to h1 in the chess font at 24 points, kept together.
std::string DiagramMarkup(const Board& board);

// For printers that can align text vertically: the heading, the game's
// header text and the position as text.
std::string PositionText(const std::string& title, const std::string& header, const std::string& position);

// Certificate values: the name cut to 28 characters, the date month/day/year.
std::string CertificateName(const std::string& name);
std::string CertificateDate(int month, int day, int year);

// [windows] device=: "name,driver,port" (the name may also end at "=").
struct DeviceEntry {
  std::string device, driver, port;
};
// False for an empty entry: no printer.
bool ParseDeviceEntry(const std::string& entry, DeviceEntry* out);
// The default printer test's split at ","; false when a part is missing.
bool SplitDefaultPrinter(const std::string& entry, DeviceEntry* out);
// "winspool.drv" -> "winspool".
std::string DriverWithoutExtension(const std::string& driver);
