// Dialog resources shown with the program's look: the template is rewritten
// in memory (dialog_template.h) and run modally or created modeless. A
// missing template, or one that does not fit the rewrite block, shows
// "Cannot load resource!".
//
// Interface: SkinnedDialogBox, CreateSkinnedDialog.
#pragma once

#include <windows.h>

// The dialog's result, or -1 when the template cannot be used.
INT_PTR SkinnedDialogBox(HINSTANCE module, const char* templateId, HWND owner, DLGPROC procedure,
                         LPARAM param);
// The modeless dialog, or null when the template cannot be used.
HWND CreateSkinnedDialog(HINSTANCE module, const char* templateId, HWND owner, DLGPROC procedure,
                         LPARAM param);
