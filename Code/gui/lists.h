// The list-like controls of the toolkit: the stand-alone scroll bar, the
// list box, the tree view and the list view. Each registers its window class
// through the control registration table.
//
// Interface: RegisterScrollBarClass, RegisterListClass, RegisterTreeClass,
// RegisterListViewClass.
#pragma once

#include <windows.h>

ATOM RegisterScrollBarClass(HINSTANCE module);
ATOM RegisterListClass(HINSTANCE module);
ATOM RegisterTreeClass(HINSTANCE module);
ATOM RegisterListViewClass(HINSTANCE module);
