// Printer choice and the print loop of Quill.dll.
//
// Interface: QuillPageCallback, ReadDeviceEntry, ChooseDefaultPrinter,
// ChoosePrinterByName, RunPrintJob, AbortDialogRunning.
#pragma once

#include <windows.h>

#include <string>

#include "quill_state_win32.h"

// A caller's page printer: gets the printer's context, answers non-zero
// while more pages follow.
typedef int32_t(CALLBACK* QuillPageCallback)(HDC printer);

// The system profile's [windows] "device" entry, however long.
std::string ReadDeviceEntry();

// 1 on success (also with no printers listed), 0 when the list cannot be read.
int32_t ChooseDefaultPrinter(QuillJob& q);
int32_t ChoosePrinterByName(QuillJob& q, const char* name);

// One document of the given kind; false when no printer could be had or the
// spooler refused it (each said in a message).
bool RunPrintJob(QuillJob& q, const char* title, QuillPageCallback callback, int32_t kind);
