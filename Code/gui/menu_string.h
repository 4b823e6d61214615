// AppendMenuString: a custom-menu item whose text is an entry of the
// program's string table. For the main program; the header needs no
// system headers.
#pragma once

struct CmMenu;

// When a menu is given, appends an item (flags 0) with the command id and
// the text of string `stringId` of the program's own string table (empty
// when missing). 1 when appended, else 0.
int AppendMenuString(CmMenu* menu, unsigned commandId, unsigned stringId);
