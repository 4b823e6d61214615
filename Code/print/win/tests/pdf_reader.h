// Reading what the CUPS queue "PDF" (cups-pdf) writes: the queue's files,
// poppler's tools run as Unix programs, and the job's PDF waited for. For
// the printing tests under Wine; RW_PDF_DIR names the queue's folder.
#pragma once

#include <windows.h>

#include <winspool.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "guitest.h"

inline const std::string kPdfDir = RW_PDF_DIR;  // Unix path
inline const std::string kArtefacts = RW_GUI_ARTEFACT_DIR;

inline std::string WindowsPath(const std::string& unixPath) {
  std::string p = "Z:" + unixPath;
  for (char& c : p) {
    if (c == '/') c = '\\';
  }
  return p;
}

inline bool HasPrinter(const char* name) {
  DWORD needed = 0, count = 0;
  EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed + 4);
  if (!EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, buffer.data(), needed, &needed,
                     &count)) {
    return false;
  }
  const auto* printers = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    if (printers[i].pPrinterName && lstrcmpA(printers[i].pPrinterName, name) == 0) return true;
  }
  return false;
}

inline std::set<std::string> PdfFiles() {
  std::set<std::string> files;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((WindowsPath(kPdfDir) + "\\*.pdf").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return files;
  do {
    files.insert(found.cFileName);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return files;
}

inline ULONGLONG FileSize(const std::string& unixPath) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(WindowsPath(unixPath).c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Runs a Unix shell command and answers its output. A Unix process cannot
// be waited for through Wine: it renames its output file when done.
inline std::string Unix(const std::string& command) {
  static int serial = 0;
  const std::string out = kArtefacts + "/.quill-unix-" + std::to_string(GetCurrentProcessId()) + "-" +
                          std::to_string(++serial);
  std::string line = "/bin/sh -c \"mkdir -p '" + kArtefacts + "'; (" + command + ") > '" + out + ".tmp' 2>&1; mv '" +
                     out + ".tmp' '" + out + "'\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return "";
  if (pi.hProcess) CloseHandle(pi.hProcess);
  if (pi.hThread) CloseHandle(pi.hThread);
  const std::string windowsOut = WindowsPath(out);
  guitest::WaitFor([&] { return GetFileAttributesA(windowsOut.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30000);
  std::ifstream in(windowsOut, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  in.close();
  DeleteFileA(windowsOut.c_str());
  return text.str();
}

struct PdfInfo {
  int pages = 0;
  double width = 0, height = 0;
  int rotation = 0;
  bool Landscape() const { return (width > height) != (rotation % 180 == 90); }
};

inline PdfInfo ReadInfo(const std::string& pdf) {
  PdfInfo info;
  std::istringstream lines(Unix("pdfinfo '" + pdf + "'"));
  std::string line;
  while (std::getline(lines, line)) {
    std::sscanf(line.c_str(), "Pages: %d", &info.pages);
    std::sscanf(line.c_str(), "Page size: %lf x %lf", &info.width, &info.height);
    std::sscanf(line.c_str(), "Page rot: %d", &info.rotation);
  }
  return info;
}
// Waits for a PDF that was not in `before` and answers its Unix path once
// its size holds still, or "" when none appears within `timeoutMs`.
inline std::string WaitForNewPdf(const std::set<std::string>& before, DWORD timeoutMs = 60000) {
  std::string found;
  ULONGLONG lastSize = 0;
  int steady = 0;
  guitest::WaitFor(
      [&] {
        if (found.empty()) {
          for (const std::string& f : PdfFiles()) {
            if (!before.count(f)) found = kPdfDir + "/" + f;
          }
          return false;
        }
        const ULONGLONG size = FileSize(found);
        steady = size > 0 && size == lastSize ? steady + 1 : 0;
        lastSize = size;
        return steady >= 5;
      },
      timeoutMs);
  return steady >= 5 ? found : std::string();
}

// Page 1 of `pdf` as a picture among the GUI artefacts.
inline void RenderFirstPage(const std::string& pdf, const std::string& name) {
  Unix("pdftoppm -png -r 60 -f 1 -l 1 -singlefile '" + pdf + "' '" + kArtefacts + "/" + name + "'");
}

