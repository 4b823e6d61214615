// Rookwell.exe's joins to the game room and its windows.
//
// Interface: ConnectGameRoomParts.
#pragma once

// Registers room 1's module and points start-up's chess-set, board-class
// and modeless-window entries, the room timer's hook, the shell hosts'
// personality and thinking-line calls and the room's game loader at the
// game room's parts. Called once at start, after the shell's own joins.
void ConnectGameRoomParts();
// The Player Profile window and the outside-engine import.
void ConnectGameRoomDialogs();
