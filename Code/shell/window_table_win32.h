// Points the numbered-window table at the system's windows and the main
// frame's links and the shell's service table at the table.
//
// Interface: InstallSystemWindowTable.
#pragma once

void InstallSystemWindowTable();
