// The print job's defaults, the language rule and the start of a document.

#include "print_job.h"

#include <algorithm>

namespace {

const char* const kCertificateDefaults[kCertificateValueCount] = {
    "RookWell Coral Certificate",
    "This is to certify that ",
    "Whats His Name",
    " has ",
    " Successfully ",
    " completed ",
    "Tutorial 1",
    " on ",
    "August 14, 1995",
    "Great Job!!!",
    "Entire body",
    "0",
};

// Upper case in the ANSI code page: ASCII letters and the Latin-1 letters
// 0xE0-0xFE (but the division sign 0xF7).
unsigned char AnsiUpper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c != 0xF7 && c != 0xFF) return static_cast<unsigned char>(c - 32);
  return c;
}

bool EqualsAnsiNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (AnsiUpper(static_cast<unsigned char>(a[i])) != AnsiUpper(static_cast<unsigned char>(b[i]))) return false;
  }
  return i == a.size() && b[i] == '\0';
}

// Pixels for hundredths of an inch, kept inside 32 bits whatever a caller
// stored as a margin.
int64_t Hundredths(int64_t ppi, int64_t value) { return ppi * value / 100; }

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
}

}  // namespace

PrintJob::PrintJob(PrintLanguage language) {
  for (int i = 0; i < kCertificateValueCount; ++i) certValues[i] = kCertificateDefaults[i];
  certBackgroundId = DefaultBackgroundId(language);
}

void PrintJob::SetMarkup(const char* text, bool replace) {
  if (replace) markup.clear();
  if (text) markup += text;
  working.assign(markup.begin(), markup.end());
  readPos = 0;
}

PrintLanguage LanguageFromSetting(const std::string& value) {
  if (EqualsAnsiNoCase(value, "GERMAN") || EqualsAnsiNoCase(value, "DEUTSCH")) return PrintLanguage::kGerman;
  if (EqualsAnsiNoCase(value, "FRENCH") || EqualsAnsiNoCase(value, "FRANCAIS") ||
      EqualsAnsiNoCase(value, "FRAN\xC7" "AIS")) {
    return PrintLanguage::kFrench;
  }
  return PrintLanguage::kEnglish;
}

int32_t DefaultBackgroundId(PrintLanguage language) {
  switch (language) {
    case PrintLanguage::kGerman: return 406;
    case PrintLanguage::kFrench: return 405;
    default: return 404;
  }
}

void ResetPrintLayout(PrintJob& job, PrintSurface& surface) {
  const int64_t ppx = surface.PixelsPerInchX(), ppy = surface.PixelsPerInchY();
  const PrintSize page = surface.PageSize();
  job.printable.left = Clamp32(Hundredths(ppx, job.marginLeft));
  job.printable.top = Clamp32(Hundredths(ppy, job.marginTop));
  job.printable.right = Clamp32(page.cx - Hundredths(ppx, job.marginRight));
  job.printable.bottom = Clamp32(page.cy - Hundredths(ppy, job.marginBottom));
  job.readPos = 0;
  job.columnIndex = 0;
  job.columnCount = 1;
  job.column = job.printable;
  job.columnWidth = job.printable.Width();
}
