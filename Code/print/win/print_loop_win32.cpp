// StartPrint's document: printer context from the chosen printer (or the
// system default), the page loop with its page printer, and the modeless
// abort dialog that the spooler's abort procedure keeps alive.

#include <windows.h>

#include <commdlg.h>
#include <winspool.h>

#include <cstring>
#include <vector>

#include "certificate.h"
#include "device_names.h"
#include "gdi_context_win32.h"
#include "gdi_surface_win32.h"
#include "page_printer.h"
#include "print_layout.h"
#include "quill_print_win32.h"
#include "rwcdc.h"

namespace {

constexpr int kAbortDialog = 104;

// The running flag and the abort dialog of the document being printed.
BOOL g_running = FALSE;
HWND g_abortDialog = nullptr;

INT_PTR CALLBACK AbortDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        g_running = FALSE;
        DestroyWindow(dialog);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      g_running = FALSE;
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      g_running = FALSE;
      g_abortDialog = nullptr;
      return TRUE;
    default: return FALSE;
  }
}

BOOL CALLBACK AbortProc(HDC, int) {
  MSG msg;
  while (g_running && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!g_abortDialog) continue;  // no dialog: the message is dropped
    if (!IsDialogMessageA(g_abortDialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return g_running;
}

// The device mode and device names of a printer in movable global memory.
struct PrinterBlocks {
  HGLOBAL devMode = nullptr;
  HGLOBAL devNames = nullptr;
  ~PrinterBlocks() { Free(); }
  void Free() {
    if (devMode) GlobalFree(devMode);
    if (devNames) GlobalFree(devNames);
    devMode = devNames = nullptr;
  }
};

bool ReadNamedPrinter(QuillJob& q, PrinterBlocks& blocks) {
  HANDLE printer = nullptr;
  std::vector<char> name(q.job.currentPrinter.begin(), q.job.currentPrinter.end());
  name.push_back('\0');
  if (!OpenPrinterA(name.data(), &printer, nullptr)) return false;
  bool ok = false;
  const LONG size = DocumentPropertiesA(nullptr, printer, name.data(), nullptr, nullptr, 0);
  if (size > 0 && (blocks.devMode = GlobalAlloc(GHND, size)) != nullptr) {
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(blocks.devMode));
    ok = mode && DocumentPropertiesA(nullptr, printer, name.data(), mode, nullptr, DM_OUT_BUFFER) == IDOK;
    if (blocks.devMode) GlobalUnlock(blocks.devMode);
  }
  if (ok) {
    const std::vector<uint8_t> names =
        BuildDeviceNames(q.job.currentPrinter, q.job.printerDriver, q.job.printerPort);
    blocks.devNames = GlobalAlloc(GHND, names.size());
    void* p = blocks.devNames ? GlobalLock(blocks.devNames) : nullptr;
    if (p) {
      std::memcpy(p, names.data(), names.size());
      GlobalUnlock(blocks.devNames);
    } else {
      ok = false;
    }
  }
  ClosePrinter(printer);
  if (!ok) blocks.Free();
  return ok;
}

bool ReadDefaultPrinter(PrinterBlocks& blocks) {
  PRINTDLGA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.Flags = PD_RETURNDEFAULT;
  if (!PrintDlgA(&dialog)) return false;
  blocks.devMode = dialog.hDevMode;
  blocks.devNames = dialog.hDevNames;
  return blocks.devNames != nullptr;
}

HDC CreatePrinterContext(const PrinterBlocks& blocks, int32_t kind) {
  const auto* names = static_cast<const DEVNAMES*>(GlobalLock(blocks.devNames));
  if (!names) return nullptr;
  const char* base = reinterpret_cast<const char*>(names);
  DEVMODEA* mode = nullptr;
  if ((kind == 3 || kind == 4) && blocks.devMode) {
    mode = static_cast<DEVMODEA*>(GlobalLock(blocks.devMode));
    if (mode) {
      mode->dmOrientation = DMORIENT_LANDSCAPE;
      mode->dmPaperSize = DMPAPER_LETTER;
      mode->dmFields |= DM_ORIENTATION | DM_PAPERSIZE;
    }
  }
  HDC dc = CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, base + names->wOutputOffset, mode);
  if (mode) GlobalUnlock(blocks.devMode);
  GlobalUnlock(blocks.devNames);
  return dc;
}

void ReportFont(FontResult result, bool atStart) {
  if (result == FontResult::kNotFound) {
    QuillMessage(atStart ? "Font not found, Using Default" : "Cannot load font, Using Default");
  } else if (result == FontResult::kNotSelected) {
    QuillMessage("Cannot load font, Using Default");
  }
}

int32_t PrintPage(QuillJob& q, GdiSurface& surface, HDC dc, QuillPageCallback callback, int32_t kind) {
  switch (kind) {
    case 1: return callback(dc);
    case 2: return PrintMarkupPage(q.job, surface);
    case 3: return PrintCertificateA(q.job, surface);
    case 4: return PrintCertificateB(q.job, surface);
    default: return PrintTestPage(q.job, surface);
  }
}

}  // namespace

bool RunPrintJob(QuillJob& q, const char* title, QuillPageCallback callback, int32_t kind) {
  PrinterBlocks blocks;
  if (!q.job.useDefault && !ReadNamedPrinter(q, blocks)) {
    QuillMessage("Cannot Create Printer, Using Default");
  }
  if (!blocks.devNames && !ReadDefaultPrinter(blocks)) {
    QuillMessage("No printer can be used for printing");
    return false;
  }
  HDC hdc = CreatePrinterContext(blocks, kind);
  if (!hdc) {
    QuillMessage("Cannot open the printer");
    return false;
  }
  GdiContext context(hdc);
  RwCDC dc(&context);
  GdiSurface surface(q, dc, hdc);

  dc.SetMapMode(MM_TEXT);
  ReportFont(SelectJobFont(q.job, surface), true);
  ResetPrintLayout(q.job, surface);
  dc.SetWindowOrg(q.job.originX, q.job.originY);

  if (dc.StartDoc(title ? title : "") <= 0) {
    QuillMessage("The printer refused the document");
    return false;
  }
  g_running = TRUE;
  if (dc.SetAbortProc(reinterpret_cast<DcValue>(&AbortProc)) <= 0) {
    QuillMessage("Printer abort procedure setting failed.\nPrint Error.");
  }
  g_abortDialog = CreateDialogParamA(Library().module, MAKEINTRESOURCEA(kAbortDialog), nullptr, AbortDialogProc, 0);
  if (!g_abortDialog) QuillMessage("Printer abort dialog creation failed.");

  // Without a dialog the running flag alone decides: the document still prints.
  int32_t more = 1;
  while (g_running && more) {
    dc.StartPage();
    if (q.font && !dc.SelectFont(reinterpret_cast<DcValue>(q.font))) QuillMessage("Cannot load font, Using Default");
    more = PrintPage(q, surface, hdc, callback, kind);
    dc.EndPage();
  }
  if (g_running) {
    dc.EndDoc();
  } else {
    dc.AbortDoc();
  }
  g_running = FALSE;
  if (g_abortDialog) DestroyWindow(g_abortDialog);
  g_abortDialog = nullptr;
  return true;
}
