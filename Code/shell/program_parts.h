// Rookwell.exe's joins to the sound layer, the game sounds, the movie
// launcher and the print front end.
//
// Interface: ConnectProgramParts, FillGameSoundHost.
#pragma once

// Points start-up's sound and intro entries, the shell's service table and
// the main frame's links at those parts. Called once, after the shell's own
// joins and before the look and feel comes up (it hands the palette to the
// print front end).
void ConnectProgramParts();
// The game sounds' host: the system's sound service, the program folder and
// the current settings. Called once the program folder is known.
void FillGameSoundHost();
