// The print front end over Quill.dll.

#include "print_front.h"

#include <commdlg.h>

#include <cstring>
#include <vector>

#include "game_record.h"
#include "print_markup.h"
#include "text_export.h"

namespace {

// The library's exports: 32-bit values, callee-cleaned.
typedef int32_t(__stdcall* LoadPaletteFn)(void* palette);
typedef int32_t(__stdcall* NoArgumentFn)();
typedef int32_t(__stdcall* TextFlagFn)(const char* text, int32_t value);
typedef int32_t(__stdcall* ValueFn)(int32_t value);
typedef int32_t(__stdcall* PagePrinterFn)(void* dc);
typedef int32_t(__stdcall* StartPrintFn)(const char* title, PagePrinterFn callback, int32_t kind);

// The 32-bit program hands the dialog its record at the system's size.
#if !defined(_WIN64)
static_assert(sizeof(PRINTDLGA) == 66, "PRINTDLGA is 66 bytes in the 32-bit program");
#endif

// Loaded before the program's entry point, freed at exit with the print
// buffer and the printer record.
class QuillLibrary {
 public:
  QuillLibrary() : module_(LoadLibraryA("Quill.dll")) {}
  ~QuillLibrary() {
    if (module_) FreeLibrary(module_);
    FreePrintBuffer();
    if (record) GlobalFree(record);
  }
  template <typename T>
  T Find(const char* name) const {
    return module_ ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
  }
  HMODULE module() const { return module_; }

  HGLOBAL buffer = nullptr;
  HGLOBAL record = nullptr;
  HPALETTE palette = nullptr;

 private:
  HMODULE module_;
};

QuillLibrary g_quill;
MoveListSlotChooser g_chooser = nullptr;
volatile bool g_progressCancelled = false;

// String 1, the program's name, from the program's resources.
std::string ProgramTitle() {
  char text[128];
  if (LoadStringA(GetModuleHandleA(nullptr), 1, text, sizeof text) > 0) return text;
  return "Rookwell Onyx";
}

// The buffer's text handed to SetRWMoveList.
int SetMoveList(int replace) {
  auto set = g_quill.Find<TextFlagFn>("SetRWMoveList");
  if (!set || !g_quill.buffer) return 0;
  const char* text = static_cast<const char*>(GlobalLock(g_quill.buffer));
  const int result = text ? set(text, replace) : 0;
  GlobalUnlock(g_quill.buffer);
  return result;
}

// `text` into a fresh print buffer.
bool FillPrintBuffer(const std::string& text) {
  char* buffer = AllocPrintBuffer(text.size());
  if (!buffer) return false;
  std::memcpy(buffer, text.data(), text.size());
  GlobalUnlock(g_quill.buffer);
  return true;
}

}  // namespace

HMODULE QuillModule() { return g_quill.module(); }

std::string ReadDeviceEntry(const char* fallback) {
  // Grown until the entry fits: a printer's name has no length limit here.
  std::vector<char> text(256);
  for (;;) {
    const DWORD n = GetProfileStringA("windows", "device", fallback, text.data(), DWORD(text.size()));
    if (n + 2 < text.size() || text.size() >= (1u << 20)) return std::string(text.data(), n);
    text.resize(text.size() * 2);
  }
}

int HasDefaultPrinter() {
  DeviceEntry entry;
  if (!SplitDefaultPrinter(ReadDeviceEntry(",,,"), &entry)) return 0;
  HDC dc = CreateDCA(entry.driver.c_str(), entry.device.c_str(), entry.port.c_str(), nullptr);
  if (!dc) return 0;
  DeleteDC(dc);
  return 1;
}

void SetPrintPalette(HPALETTE palette) {
  g_quill.palette = palette;
  CallLoadPalette();
}

int CallLoadPalette() {
  auto load = g_quill.Find<LoadPaletteFn>("LoadPalette");
  return load ? load(g_quill.palette) : 0;
}

int CallInitQuillPrint() {
  auto init = g_quill.Find<NoArgumentFn>("InitQuillPrint");
  return init ? init() : 0;
}

int CallStartPrint(int kind) {
  CallLoadPalette();
  auto start = g_quill.Find<StartPrintFn>("StartPrint");
  return start ? start("Rookwell Printout", nullptr, kind) : 0;
}

char* AllocPrintBuffer(size_t size) {
  FreePrintBuffer();
  g_quill.buffer = GlobalAlloc(GHND, size + 512);
  return g_quill.buffer ? static_cast<char*>(GlobalLock(g_quill.buffer)) : nullptr;
}

void FreePrintBuffer() {
  if (g_quill.buffer) GlobalFree(g_quill.buffer);
  g_quill.buffer = nullptr;
}

int PrintBufferAsList() {
  CallInitQuillPrint();
  SetMoveList(1);
  return CallStartPrint(2);
}

int ResetPrintList() {
  auto set = g_quill.Find<TextFlagFn>("SetRWMoveList");
  return set ? set("", 1) : 0;
}

int AppendPrintList() { return SetMoveList(0); }

int PrintTextAsMarkup(HWND, const char* text) {
  if (!text || !FillPrintBuffer(TextAsMarkup(text))) return 0;
  return PrintBufferAsList();
}

int PrintTextList(HWND, const char* line) {
  if (!line) return 1;
  if (std::strcmp(line, "START") == 0) {
    ResetPrintList();
    if (FillPrintBuffer(TextListStartMarkup())) AppendPrintList();
  } else if (std::strcmp(line, "DONE") == 0) {
    CallInitQuillPrint();
    CallStartPrint(2);
  } else if (FillPrintBuffer(TextListLineMarkup(line))) {
    AppendPrintList();
  }
  return 1;
}

void SetMoveListSlotChooser(MoveListSlotChooser chooser) { g_chooser = chooser; }

int PrintGameMoveList(HWND owner, GameRecord* game) {
  if (!game) return 0;
  const int slot = g_chooser ? g_chooser(owner, game) : 0;
  if (slot < 0) return 0;
  // The markup is sized from the written text, which the measure before
  // writing does not bound when the header fields are full.
  const std::string markup = MoveListMarkup(ProgramTitle(), GameToText(game, true, false, slot));
  return PrintTextAsMarkup(owner, markup.c_str());
}

HGLOBAL GetDefaultPrinterRecord() {
  if (g_quill.record) return g_quill.record;
  DeviceEntry entry;
  if (!ParseDeviceEntry(ReadDeviceEntry(""), &entry)) return nullptr;
  // port, driver, device, each with its NUL, then two 32-bit words of 0
  // (no device-mode data).
  const size_t size = entry.port.size() + entry.driver.size() + entry.device.size() + 3 + 8;
  HGLOBAL record = GlobalAlloc(GHND, size);
  if (!record) return nullptr;
  char* p = static_cast<char*>(GlobalLock(record));
  for (const std::string* s : {&entry.port, &entry.driver, &entry.device}) {
    std::memcpy(p, s->c_str(), s->size() + 1);
    p += s->size() + 1;
  }
  GlobalUnlock(record);
  g_quill.record = record;
  return record;
}

HDC CreatePrinterDC(const char* driver, const char* device, const char* port) {
  return CreateDCA(DriverWithoutExtension(driver).c_str(), device, port, nullptr);
}

int PrintDiagram(const Board& board) {
  if (!FillPrintBuffer(DiagramMarkup(board))) return 0;
  return PrintBufferAsList();
}

int PrintBoardPosition(HWND owner, GameRecord* game) {
  if (!game) return 0;
  HGLOBAL record = GetDefaultPrinterRecord();
  if (!record) return 0;
  const char* port = static_cast<const char*>(GlobalLock(record));
  const char* driver = port + std::strlen(port) + 1;
  const char* device = driver + std::strlen(driver) + 1;
  HDC dc = CreatePrinterDC(driver, device, port);
  GlobalUnlock(record);
  if (!dc) return 0;
  const bool aligns = (GetDeviceCaps(dc, TEXTCAPS) & TC_VA_ABLE) != 0;
  DeleteDC(dc);
  if (aligns) {
    std::string header;
    FormatGameTextTags(game, &header);
    const std::string text = PositionText(ProgramTitle(), header, BoardToDiagramText(&game->position));
    return PrintTextAsMarkup(owner, text.c_str());
  }
  return PrintDiagram(game->position);
}

int ShowPrintSetup(HWND owner) {
  PRINTDLGA dialog;
  std::memset(&dialog, 0, sizeof dialog);
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.Flags = PD_RETURNDC;
  return PrintDlgA(&dialog);
}

int LoadCertificateBackground(int id) {
  auto setId = g_quill.Find<ValueFn>("SetRWCertBGId");
  auto load = g_quill.Find<NoArgumentFn>("LoadRWCertBackGround");
  if (!setId || !load) return 1;
  if (!setId(id)) return 1;
  return load() ? 0 : 1;
}

int PrintCertificate(int design) {
  CallInitQuillPrint();
  LoadCertificateBackground(design ? 403 : 404);
  return CallStartPrint(design ? 4 : 3);
}

int FillCertificateValues(int, const char* name, int design, int rating) {
  CallInitQuillPrint();
  if (auto setValue = g_quill.Find<TextFlagFn>("SetRWCertValue")) {
    setValue(CertificateName(name ? name : "").c_str(), 2);
    SYSTEMTIME today;
    GetLocalTime(&today);
    setValue(CertificateDate(today.wMonth, today.wDay, today.wYear).c_str(), 8);
    char text[16];
    wsprintfA(text, "%d", rating);
    setValue(text, 11);
  }
  PrintCertificate(design);
  return 1;
}

INT_PTR CALLBACK PrintProgressProc(HWND box, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      g_progressCancelled = false;
      SetWindowTextA(box, ProgramTitle().c_str());
      return TRUE;
    case WM_COMMAND:
      g_progressCancelled = true;
      DestroyWindow(box);
      return TRUE;
  }
  return FALSE;
}

BOOL CALLBACK PrintProgressAbortProc(HDC, int) {
  MSG message;
  while (!g_progressCancelled && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return !g_progressCancelled;
}
