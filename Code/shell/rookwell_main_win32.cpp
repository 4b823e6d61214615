// The program's entry.
#include <windows.h>

#include "app_main.h"
#include "library_room_win32.h"
#include "online_room_win32.h"
#include "tournament_room_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  // Rooms built so far take their place before the room records are made.
  RegisterTournamentRoom();
  RegisterLibraryRoom();
  RegisterOnlineRoom();
  return RunRookwell(instance, commandLine ? commandLine : "");
}
