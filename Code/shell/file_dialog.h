// The program's own open and save dialogs (modes 0-5), drawn with the
// toolkit's controls. One dialog runs at a time; its folder and last file
// type persist for the run.
//
// Interface: DoFileDialog, SetFileDialogFolder, GetFileDialogFolder.
#pragma once

#include <windows.h>

// `path` (MAX_PATH) receives the chosen full path on OK (save modes start
// from it as the file name); `title` (MAX_PATH or null) the file's name.
// The final type and open-as value are given back either way; `readOnly`
// (or null) gets the Read Only box on OK. Non-zero when confirmed.
int DoFileDialog(HWND owner, HINSTANCE module, char* path, char* title, int mode, int fileType, int mustExist,
                 int* outType, int* outOpenAs, int* readOnly);
void SetFileDialogFolder(const char* path);
const char* GetFileDialogFolder();
