// Time for games and animation.
//
// Interface: InitTimeSource, GetTimeMs, GetTickMs, SetTickSource.
//
// GetTimeMs: milliseconds since start-up from the high-resolution counter
// when the system has one, else the tick count. GetTickMs: the system tick
// count in milliseconds (it wraps after 2^32 ms), which the chess clocks
// count with; tests replace it with SetTickSource.
#pragma once

#include <cstdint>

// True when the high-resolution counter is in use.
bool InitTimeSource();
uint32_t GetTimeMs();

using TickSource = uint32_t (*)();
uint32_t GetTickMs();
// Null restores the system tick count.
void SetTickSource(TickSource source);
