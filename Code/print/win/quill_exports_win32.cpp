// Quill.dll's exports. Each works on the one print job (none until the first
// LoadPalette, when each answers 0), catches every failure inside it and
// answers 0 for it; each takes its arguments on the stack and removes them.

#include <windows.h>

#include <cstring>
#include <string>

#include "quill_exports.h"
#include "quill_print_win32.h"

namespace {

// Runs `body` on the job; 0 without a job or on any failure.
template <typename Body>
int32_t WithJob(Body body) {
  try {
    QuillJob* q = Library().job.get();
    return q ? body(*q) : 0;
  } catch (...) {
    return 0;
  }
}

// A setter's body: stores and answers 1.
template <typename Body>
int32_t Store(Body body) {
  return WithJob([&](QuillJob& q) {
    body(q.job);
    return 1;
  });
}

std::string Text(const char* s) { return s ? s : ""; }

// RW.INI beside the program that loaded the library: [language] program.
PrintLanguage ReadLanguage() {
  char path[MAX_PATH + 16] = {};
  const DWORD got = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (got == 0 || got >= MAX_PATH) return PrintLanguage::kEnglish;
  char* slash = std::strrchr(path, '\\');
  char* other = std::strrchr(path, '/');
  if (!slash || (other && other > slash)) slash = other;
  std::strcpy(slash ? slash + 1 : path, "RW.INI");
  char value[51] = {};
  GetPrivateProfileStringA("language", "program", "english", value, sizeof value, path);
  return LanguageFromSetting(value);
}

}  // namespace

QuillLibrary& Library() {
  static QuillLibrary library;
  return library;
}

void QuillMessage(const char* text) { MessageBoxA(nullptr, text, kQuillCaption, MB_OK | MB_ICONSTOP); }

bool LoadCertificateBackground(QuillJob& q) {
  const int32_t id = q.job.certBackgroundId;
  if (id == 0) return false;
  HRSRC found = FindResourceA(Library().module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  HGLOBAL loaded = found ? LoadResource(Library().module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data || SizeofResource(Library().module, found) < sizeof(BITMAPINFOHEADER)) {
    QuillMessage("Certificate Background Creation Failed");
    return false;
  }
  q.background = static_cast<const BITMAPINFO*>(data);
  return true;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  QuillLibrary& library = Library();
  if (reason == DLL_PROCESS_ATTACH) {
    library.module = instance;
    library.palette = std::make_unique<PrintPalette>();
    library.language = ReadLanguage();
  } else if (reason == DLL_PROCESS_DETACH) {
    library.job.reset();
    library.palette.reset();
  }
  return TRUE;
}

extern "C" {

int32_t WINAPI LoadPalette(HPALETTE palette) {
  try {
    QuillLibrary& library = Library();
    if (!library.palette) library.palette = std::make_unique<PrintPalette>();
    if (palette && palette != library.palette->Handle()) library.palette->SetFromPalette(palette);
    if (!library.job) library.job = std::make_unique<QuillJob>(library.language);
    return 1;
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI InitQuillPrint() { return WithJob([](QuillJob& q) { return ChooseDefaultPrinter(q); }); }

int32_t WINAPI SetCurrentPrinterName(const char* name) {
  return WithJob([&](QuillJob& q) { return ChoosePrinterByName(q, name); });
}

int32_t WINAPI GetPrintUseDefault() { return WithJob([](QuillJob& q) { return q.job.useDefault; }); }
int32_t WINAPI SetPrintUseDefault(int32_t flag) { return Store([&](PrintJob& j) { j.useDefault = flag; }); }

int32_t WINAPI SetOrigin(int32_t x, int32_t y) {
  return Store([&](PrintJob& j) {
    j.originX = x;
    j.originY = y;
  });
}
int32_t WINAPI SetPenStyle(int32_t style) { return Store([&](PrintJob& j) { j.penStyle = style; }); }
int32_t WINAPI SetPenWidth(int32_t width) { return Store([&](PrintJob& j) { j.penWidth = width; }); }
int32_t WINAPI SetPenColor(uint32_t colour) { return Store([&](PrintJob& j) { j.penColor = colour; }); }
int32_t WINAPI SetBrushStyle(int32_t style) { return Store([&](PrintJob& j) { j.brushStyle = style; }); }
int32_t WINAPI SetBrushColor(uint32_t colour) { return Store([&](PrintJob& j) { j.brushColor = colour; }); }
int32_t WINAPI SetPrinterTextColor(uint32_t colour) { return Store([&](PrintJob& j) { j.textColor = colour; }); }
int32_t WINAPI SetTextJustify(int32_t justify) { return Store([&](PrintJob& j) { j.justify = justify; }); }

int32_t WINAPI SetPageMargin(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return Store([&](PrintJob& j) {
    j.marginLeft = left;
    j.marginTop = top;
    j.marginRight = right;
    j.marginBottom = bottom;
  });
}
int32_t WINAPI SetColumnSepSize(int32_t hundredths) { return Store([&](PrintJob& j) { j.columnSep = hundredths; }); }

int32_t WINAPI SetDefFontName(const char* face) { return Store([&](PrintJob& j) { j.faceName = Text(face); }); }
int32_t WINAPI SetDefFontSize(int32_t points) { return Store([&](PrintJob& j) { j.fontSize = points; }); }
int32_t WINAPI SetDefFontFlags(int32_t underline, int32_t italic, int32_t strikeOut) {
  return Store([&](PrintJob& j) {
    j.underline = underline;
    j.italic = italic;
    j.strikeOut = strikeOut;
  });
}
int32_t WINAPI SetCertFontName(const char* face) { return Store([&](PrintJob& j) { j.certFaceName = Text(face); }); }
int32_t WINAPI SetCertTitleFontSize(int32_t points) {
  return Store([&](PrintJob& j) { j.certTitleFontSize = points; });
}
int32_t WINAPI SetCertTextFontSize(int32_t points) { return Store([&](PrintJob& j) { j.certTextFontSize = points; }); }
int32_t WINAPI SetCertTitlePoint(int32_t x, int32_t y) {
  return Store([&](PrintJob& j) {
    j.certTitleX = x;
    j.certTitleY = y;
  });
}
int32_t WINAPI SetCertTextPoint(int32_t x, int32_t y) {
  return Store([&](PrintJob& j) {
    j.certTextX = x;
    j.certTextY = y;
  });
}

int32_t WINAPI SetRWMoveList(const char* text, int32_t replace) {
  return Store([&](PrintJob& j) { j.SetMarkup(text, replace != 0); });
}

int32_t WINAPI SetRWCertValue(const char* text, int32_t field) {
  return WithJob([&](QuillJob& q) {
    if (field < 0 || field >= kCertificateValueCount) return 0;
    q.job.certValues[field] = Text(text);
    return 1;
  });
}

int32_t WINAPI SetRWCertBGId(int32_t id) { return Store([&](PrintJob& j) { j.certBackgroundId = id; }); }

int32_t WINAPI LoadRWCertBackGround() {
  return WithJob([](QuillJob& q) { return LoadCertificateBackground(q) ? 1 : 0; });
}

int32_t WINAPI DestroyRWCertBackGround() {
  return WithJob([](QuillJob& q) {
    q.background = nullptr;
    return 1;
  });
}

int32_t WINAPI StartPrint(const char* title, QuillPageCallback callback, int32_t kind) {
  return WithJob([&](QuillJob& q) {
    if (kind == 1 && !callback) return 1;
    RunPrintJob(q, title, callback, kind);
    return 1;
  });
}

}  // extern "C"
