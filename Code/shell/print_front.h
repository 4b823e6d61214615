// The print front end: the program's printing through the printing library
// Quill.dll, bound by name for the whole run. Every step whose library or
// export is missing does nothing and the job goes on with the next one; no
// step shows an error. Windows only; the markup comes from print_markup.h.
//
// Interface: QuillModule, HasDefaultPrinter, ReadDeviceEntry, SetPrintPalette,
// CallLoadPalette, CallInitQuillPrint, CallStartPrint, AllocPrintBuffer,
// FreePrintBuffer, PrintBufferAsList, ResetPrintList, AppendPrintList,
// PrintTextAsMarkup, PrintTextList, SetMoveListSlotChooser, PrintGameMoveList,
// GetDefaultPrinterRecord, CreatePrinterDC, PrintDiagram, PrintBoardPosition,
// ShowPrintSetup, LoadCertificateBackground, PrintCertificate,
// FillCertificateValues, PrintProgressProc, PrintProgressAbortProc.
#pragma once

#include <windows.h>

#include <string>

struct GameRecord;

// The library's handle; null when "Quill.dll" did not load.
HMODULE QuillModule();

// The [windows] "device" entry read whole, however long the printer's name.
std::string ReadDeviceEntry(const char* fallback);
// 1 when the default printer's device context can be made.
int HasDefaultPrinter();

// The program palette the library prints with: kept and handed to Quill
// (look and feel installs it at start-up); every print hands it again.
void SetPrintPalette(HPALETTE palette);
int CallLoadPalette();
int CallInitQuillPrint();
// The palette first, then StartPrint ("Rookwell Printout", no callback).
int CallStartPrint(int kind);

// The one print buffer: a zeroed movable block `size` + 512 bytes long; a
// new one frees the old. Null without memory.
char* AllocPrintBuffer(size_t size);
void FreePrintBuffer();
int PrintBufferAsList();
int ResetPrintList();
int AppendPrintList();

int PrintTextAsMarkup(HWND owner, const char* text);
// "START" begins a list, "DONE" prints it, any other line is added. 1.
int PrintTextList(HWND owner, const char* line);

// The move list asks which annotation set to print; -1 cancels the job.
// Without a chooser the game's first set is printed.
using MoveListSlotChooser = int (*)(HWND owner, GameRecord* game);
void SetMoveListSlotChooser(MoveListSlotChooser chooser);
int PrintGameMoveList(HWND owner, GameRecord* game);

// The printer record from [windows] "device": a movable block holding
// port, driver and device name, kept until exit. Null without an entry.
HGLOBAL GetDefaultPrinterRecord();
HDC CreatePrinterDC(const char* driver, const char* device, const char* port);
int PrintDiagram(const struct Board& board);
int PrintBoardPosition(HWND owner, GameRecord* game);

// The printer dialog; its result, nothing else is done with it.
int ShowPrintSetup(HWND owner);

// Non-zero when an export is missing or loading failed.
int LoadCertificateBackground(int id);
int PrintCertificate(int design);
// Name (at most 28 characters), today's date and the rating, then the
// certificate of `design` (non-zero: layout B on background 403). 1.
int FillCertificateValues(int ignored, const char* name, int design, int rating);

// A progress box and its abort procedure stand ready; no job installs them.
INT_PTR CALLBACK PrintProgressProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CALLBACK PrintProgressAbortProc(HDC dc, int error);
