// RWBench: the processor benchmark library. Its one export rates the speed of
// the machine; the main program calls it with 50 iterations and no text.
//
// Interface: CPUBenchmark, RWBENCH_TEXT_SIZE.
#pragma once

#include <stdint.h>

#if defined(_WIN32) && defined(RWBENCH_BUILDING_DLL)
#define RWBENCH_API __declspec(dllexport)
#elif defined(_WIN32) && defined(RWBENCH_DLL)
#define RWBENCH_API __declspec(dllimport)
#else
#define RWBENCH_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Bytes a text buffer for CPUBenchmark must offer; the call never writes more
// (the report with its NUL is at most this long).
#define RWBENCH_TEXT_SIZE 82

// Runs the fixed workload `iterations` times, timed with the performance
// counter, and returns iterations per second times 10 (the iteration count
// itself when the measured time is 0). When `text` is not null it receives
// "Elapsed time, seconds: <s>\nSeconds per iteration: <s>\n", at most
// RWBENCH_TEXT_SIZE bytes with the NUL.
RWBENCH_API int32_t CPUBenchmark(int32_t iterations, char* text);

// The export as the main program binds it by name.
typedef int32_t (*CPUBenchmarkProc)(int32_t iterations, char* text);

#ifdef __cplusplus
}
#endif
