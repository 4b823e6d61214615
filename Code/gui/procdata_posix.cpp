// The calling process's records, for the native build and its tests.
#include <unistd.h>

#include "procdata.h"

void* GetProcessData(void*, int kind) { return GetProcessDataFor(uint32_t(getpid()), kind); }
