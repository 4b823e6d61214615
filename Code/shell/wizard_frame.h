// The wizard frame: multi-page wizards in a frame window of the class
// "RWWizardClass". Each page is a modeless dialog from its own template
// with a page procedure of its own; the frame's common dialog procedure
// handles Next, Back, Finish and one extra button, asks the caller whether
// the page may be left, and replaces the page by its successor. The
// caption window's title follows the page shown.
//
// One wizard at a time: the descriptor and its current page are the
// engine's globals. The engine does not stop Back on the first page or
// Next on the last: the pages disable those buttons, or the validate
// callback refuses.
//
// Interface: WizardDescriptor, WizardCallback, kWizardClassName,
// SetWizardDescriptor, GetWizardDescriptor, ResetWizard, CreateWizardPage,
// RegisterWizardClass, UnregisterWizardClass.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr const char* kWizardClassName = "RWWizardClass";

// (page window, page number, user data).
using WizardCallback = int (*)(HWND page, int pageNumber, void* userData);

// Made and owned by the caller; the engine keeps a pointer to it.
struct WizardDescriptor {
  HINSTANCE module;           // instance of the page templates
  HWND frame;                 // parent of the page dialogs
  const uint32_t* pages;      // low 16 bits: the page's dialog template id
  const DLGPROC* procedures;  // one page procedure per page
  int nextId;
  int backId;
  int finishId;
  int extraId;
  HWND captionWindow;       // its title shows the current page's caption
  int captionId;            // within each page, the static holding the caption
  int pageCount;            // how many entries the tables hold (for the caller)
  int currentPage;          // written by the engine each time a page is created
  void* userData;           // passed to the page procedures and callbacks
  HWND page;                // the page shown now (written by the engine)
  WizardCallback validate;  // non-zero lets the user leave the page
  WizardCallback finish;
  WizardCallback extra;
};

void SetWizardDescriptor(WizardDescriptor* descriptor);
WizardDescriptor* GetWizardDescriptor();
// Page 0 becomes current and is created; the page window, or null.
HWND ResetWizard();
// Creates the current page over the frame; the page window, or null.
HWND CreateWizardPage();

// "RWWizardClass": class style CS_VREDRAW | CS_HREDRAW | CS_OWNDC |
// CS_GLOBALCLASS, no icon, the arrow cursor, the stock null brush.
int RegisterWizardClass(HINSTANCE instance);
void UnregisterWizardClass(HINSTANCE instance);
