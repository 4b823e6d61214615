// Quill.dll's state: the module, the interface language, the palette and
// the one print job with what it holds of the printer side.
//
// Interface: QuillJob, QuillLibrary, Library, QuillMessage,
// LoadCertificateBackground, kQuillCaption.
#pragma once

#include <windows.h>

#include <memory>

#include "print_job.h"
#include "print_palette_win32.h"

constexpr const char* kQuillCaption = "Rookwell Onyx Printing";

struct QuillJob {
  explicit QuillJob(PrintLanguage language) : job(language) {}
  ~QuillJob() {
    if (font) DeleteObject(font);
  }
  PrintJob job;
  HFONT font = nullptr;           // the current font, owned
  LOGFONTA logFont = {};          // its description as enumerated
  TEXTMETRICA textMetric = {};
  const BITMAPINFO* background = nullptr;  // in the library's resources
};

struct QuillLibrary {
  HMODULE module = nullptr;
  PrintLanguage language = PrintLanguage::kEnglish;
  std::unique_ptr<PrintPalette> palette;
  std::unique_ptr<QuillJob> job;
};

QuillLibrary& Library();

// A message box in the library's style: no owner, stop icon, OK.
void QuillMessage(const char* text);

// The background of the job's current id from the library's resources;
// false (with the message) when there is none.
bool LoadCertificateBackground(QuillJob& q);
