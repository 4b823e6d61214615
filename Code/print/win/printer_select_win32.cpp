// Printer choice: the default printer of the [windows] "device" entry, or a
// printer by name, from the spooler's list of local printers and printer
// connections.

#include <windows.h>

#include <winspool.h>

#include <cstring>
#include <vector>

#include "device_names.h"
#include "quill_print_win32.h"

namespace {

// The level-2 list, or false after the message when it cannot be read.
class PrinterList {
 public:
  bool Read() {
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, nullptr, 0, &needed, &count);
    memory_ = LocalAlloc(LPTR, needed + 4);
    if (!memory_) {
      QuillMessage("LocalAlloc failed");
      return false;
    }
    if (!EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, static_cast<BYTE*>(memory_),
                       needed, &needed, &count)) {
      QuillMessage("EnumPrinters failed");
      return false;
    }
    count_ = count;
    return true;
  }
  ~PrinterList() {
    if (memory_) LocalFree(memory_);
  }
  DWORD Count() const { return count_; }
  const PRINTER_INFO_2A& operator[](DWORD i) const { return static_cast<const PRINTER_INFO_2A*>(memory_)[i]; }
  const PRINTER_INFO_2A* Find(const char* name) const {
    for (DWORD i = 0; i < count_; ++i) {
      if ((*this)[i].pPrinterName && std::strcmp((*this)[i].pPrinterName, name) == 0) return &(*this)[i];
    }
    return nullptr;
  }

 private:
  void* memory_ = nullptr;
  DWORD count_ = 0;
};

std::string Text(const char* s) { return s ? s : ""; }

void MakeCurrent(QuillJob& q, const PRINTER_INFO_2A& printer) {
  q.job.currentPrinter = Text(printer.pPrinterName);
  q.job.printerPort = Text(printer.pPortName);
  q.job.printerDriver = Text(printer.pDriverName);
}

}  // namespace

std::string ReadDeviceEntry() {
  // The profile call cuts the text to the buffer and says so only by filling
  // it: grow until the answer fits.
  std::vector<char> buffer(256);
  for (;;) {
    const DWORD got = GetProfileStringA("windows", "device", "", buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got + 2 < buffer.size() || buffer.size() >= (1u << 20)) return std::string(buffer.data(), got);
    buffer.resize(buffer.size() * 4);
  }
}

int32_t ChooseDefaultPrinter(QuillJob& q) {
  const std::string name = DeviceEntryPrinterName(ReadDeviceEntry());
  PrinterList list;
  if (!list.Read()) return 0;
  if (list.Count() == 0) {
    QuillMessage("No printers listed");
    return 1;
  }
  const PRINTER_INFO_2A* printer = name.empty() ? &list[0] : list.Find(name.c_str());
  if (printer) {
    MakeCurrent(q, *printer);
    q.job.defaultPrinter = q.job.currentPrinter;
  }
  return 1;
}

int32_t ChoosePrinterByName(QuillJob& q, const char* name) {
  PrinterList list;
  if (!list.Read()) return 0;
  if (list.Count() == 0) {
    QuillMessage("Printer not found");
    return 1;
  }
  const PRINTER_INFO_2A* printer = name ? list.Find(name) : nullptr;
  if (printer) {
    MakeCurrent(q, *printer);
    q.job.useDefault = lstrcmpiA(name, q.job.defaultPrinter.c_str()) == 0 ? 1 : 0;
  }
  return 1;
}
