// Print markup builders of the print front end.

#include "print_markup.h"

#include <algorithm>
#include <cstdio>

namespace {

// Every line feed becomes its own ".n l" paragraph break; carriage returns go.
void AppendLines(std::string& out, const std::string& text) {
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      out += "\n.n l\n";
    } else {
      out += c;
    }
  }
}

// Chess-font codes by piece type (king .. pawn, then empty): white on
// light, white on dark, black on light, black on dark.
const uint8_t kDiagramCodes[7][4] = {
    {176, 178, 179, 180},  // king
    {170, 172, 173, 175},  // queen
    {164, 166, 167, 168},  // rook
    {155, 157, 158, 185},  // bishop
    {149, 150, 151, 152},  // knight
    {253, 255, 159, 131},  // pawn
    {143, 144, 143, 144},  // empty
};

}  // namespace

std::string MoveListMarkup(const std::string& title, const std::string& gameText) {
  // Sized from the texts themselves: the game text can be longer than any
  // estimate made before it was written.
  return "\n.j C\n" + title + "\n.j L" + "\n.t 5 15 10\n" + gameText;
}

std::string TextAsMarkup(const std::string& text) {
  std::string out;
  if (text.empty()) return out;
  out.reserve(text.size() + 25 + 5 * static_cast<size_t>(std::count(text.begin(), text.end(), '\n')));
  out = "\n.f RookwellJade 11\n";
  AppendLines(out, text);
  return out;
}

std::string TextListStartMarkup() { return "\n.f RookwellJade 12\n"; }

std::string TextListLineMarkup(const std::string& line) {
  std::string out = line.substr(0, 127);
  out.erase(std::remove(out.begin(), out.end(), '\x01'), out.end());
  return out;
}

int SquareShade(int file, int row) { return (file + row) & 1; }

uint8_t DiagramCharacter(uint8_t piece, int dark) {
  if (piece == 0) return kDiagramCodes[6][dark ? 1 : 0];
  const int type = piece & TYPE_MASK;
  const int column = ((piece & COLOUR_MASK) == BLACK ? 2 : 0) + (dark ? 1 : 0);
  return type <= PAWN ? kDiagramCodes[type][column] : kDiagramCodes[6][dark ? 1 : 0];
}

std::string DiagramMarkup(const Board& board) {
  std::string rows;
  for (int row = 0; row < 8; ++row) {
    for (int file = 0; file < 8; ++file) {
      rows += static_cast<char>(DiagramCharacter(board[MakeSquare(row, file)], SquareShade(file, row)));
    }
    rows += '\n';
  }
  std::string out = "\n.f RookwellJade 24\n";
  out += "\n .D B\n";
  AppendLines(out, rows);
  out += "\n .D E\n";
  return out;
}

std::string PositionText(const std::string& title, const std::string& header, const std::string& position) {
  return "                    " + title + "\r\n\r\n" + header + "\r\n\r\n" + position;
}

std::string CertificateName(const std::string& name) { return name.substr(0, 28); }

std::string CertificateDate(int month, int day, int year) {
  char text[40];
  std::snprintf(text, sizeof text, "%d/%d/%d", month, day, year);
  return text;
}

bool ParseDeviceEntry(const std::string& entry, DeviceEntry* out) {
  if (entry.empty()) return false;
  const size_t nameEnd = entry.find_first_of("=,");
  out->device = entry.substr(0, nameEnd);
  out->driver.clear();
  out->port.clear();
  if (nameEnd == std::string::npos) return true;
  const size_t driverEnd = entry.find(',', nameEnd + 1);
  out->driver = entry.substr(nameEnd + 1, driverEnd == std::string::npos ? std::string::npos : driverEnd - nameEnd - 1);
  if (driverEnd != std::string::npos) out->port = entry.substr(driverEnd + 1);
  return true;
}

bool SplitDefaultPrinter(const std::string& entry, DeviceEntry* out) {
  const size_t first = entry.find(',');
  if (first == std::string::npos) return false;
  const size_t second = entry.find(',', first + 1);
  if (second == std::string::npos) return false;
  out->device = entry.substr(0, first);
  out->driver = entry.substr(first + 1, second - first - 1);
  out->port = entry.substr(second + 1);
  return !out->device.empty() && !out->driver.empty() && !out->port.empty();
}

std::string DriverWithoutExtension(const std::string& driver) { return driver.substr(0, driver.find('.')); }
