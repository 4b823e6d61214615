// "Import XBoard Engine": a personality of kind 178 that names an outside
// engine program speaking the xboard protocol and its command line.
//
// Interface: RunImportXboardDialog, ImportXboardDlgProc, ImportFileChooser,
// SetImportFileChooser.
#pragma once

#include <windows.h>

// The program's file dialog, opened in `folder` for files of `type` (11
// books, 16 programs); fills `path` and `title` (MAX_PATH each) and answers
// true on OK. Without one the two buttons do nothing.
using ImportFileChooser = bool (*)(HWND owner, const char* folder, int type, char* path, char* title);
void SetImportFileChooser(ImportFileChooser chooser);

// Runs the dialog over the main window; after a registration, says so in
// the program-wide message box. Returns the dialog's result (1 written).
int RunImportXboardDialog();
// Closes with 1 after a successful write, 0 on Cancel or a failed write.
INT_PTR CALLBACK ImportXboardDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
