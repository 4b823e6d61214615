// The print job: everything the library's exports set and the page printers
// read, one per process. Handles of the printer side (device context, font,
// background) belong to the Windows layer and are not kept here.
//
// Interface: PrintJob, PrintLanguage, LanguageFromSetting,
// DefaultBackgroundId, ResetPrintLayout, kBuiltinFace.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "print_surface.h"

constexpr const char* kBuiltinFace = "RookwellOnyx";
constexpr int32_t kCertificateValueCount = 12;

enum class PrintLanguage : int32_t { kEnglish = 0, kGerman = 1, kFrench = 2 };

struct PrintJob {
  // Stored for callers; only the origin reaches the printer.
  int32_t originX = 0, originY = 0;
  int32_t penWidth = 1, penStyle = 0;
  uint32_t penColor = 0;
  int32_t brushStyle = 0;
  uint32_t brushColor = 0;
  uint32_t textColor = 0;

  std::string printerPort, printerDriver;
  int32_t useDefault = 0;

  // The current font.
  std::string faceName = kBuiltinFace;
  int32_t fontSize = 12;  // points
  int32_t underline = 0, italic = 0, strikeOut = 0, bold = 0;
  std::string builtinFace = kBuiltinFace;

  std::string certFaceName = kBuiltinFace;
  int32_t certTitleFontSize = 56, certTextFontSize = 36;

  // Page layout, device units.
  PrintRect printable;
  PrintRect column;
  int32_t columnIndex = 0;
  int32_t columnCount = 1;
  int32_t columnWidth = 0;
  bool tabbedBlock = false;
  int32_t lineGap = 1;
  int32_t columnSep = 50;  // hundredths of an inch
  bool keepTogether = false;
  int32_t justify = 0;  // TextAlign

  // The markup: the text as set, the working copy the reader writes into
  // (line ends inside a block become blanks) and the read position.
  std::string markup;
  std::vector<char> working;
  int32_t readPos = 0;

  std::array<std::string, kCertificateValueCount> certValues;
  std::vector<int32_t> tabStops;  // capacity entries, all used when drawing

  int32_t certBackgroundId = 404;
  int32_t certTitleX = 150, certTitleY = 100;
  int32_t certTextX = 150, certTextY = 50;

  std::string currentPrinter, defaultPrinter;
  int32_t marginLeft = 100, marginTop = 100, marginRight = 100, marginBottom = 100;

  explicit PrintJob(PrintLanguage language = PrintLanguage::kEnglish);

  // SetRWMoveList: replace or append, then a fresh working copy.
  void SetMarkup(const char* text, bool replace);
};

// The [language] program value: German, French or (anything else) English.
// The text is in the Windows ANSI code page.
PrintLanguage LanguageFromSetting(const std::string& value);
int32_t DefaultBackgroundId(PrintLanguage language);

// Start of a document: the printable rectangle from the page and margins,
// read position 0, one column over the whole printable width.
void ResetPrintLayout(PrintJob& job, PrintSurface& surface);
