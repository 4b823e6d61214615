// The program's entry.
#include <windows.h>

#include "app_main.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  return RunRookwell(instance, commandLine ? commandLine : "");
}
