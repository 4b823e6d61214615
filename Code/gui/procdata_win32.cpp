// The calling process's records, for the Windows build.
#include <windows.h>

#include "procdata.h"

void* GetProcessData(void*, int kind) { return GetProcessDataFor(GetCurrentProcessId(), kind); }
