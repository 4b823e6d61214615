// The shell's answers to the rules' GameHost and the engine link's
// EngineLinkHost: notation style, idle level, program folder, settings,
// strings, message boxes and the messages to numbered windows. The calls
// that belong to parts built elsewhere pass through the shell's service
// table (shell_services.h).
//
// Interface: InstallShellHosts, RemoveShellHosts.
#pragma once

// Installs the shell's hosts in the rules and the engine link.
void InstallShellHosts();
// Restores their default hosts.
void RemoveShellHosts();
