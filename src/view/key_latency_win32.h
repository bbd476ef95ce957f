#pragma once
// Measuring builds only (ORVANE_KEY_LATENCY): the time from a key message reaching the
// program to the end of the paint that shows its effect, appended in microseconds to
// "key-latency.txt" in the current folder. Release builds compile this away.
#include <windows.h>

#ifdef ORVANE_KEY_LATENCY
void keyLatencyMark();
void keyLatencyPainted();
#else
inline void keyLatencyMark() {}
inline void keyLatencyPainted() {}
#endif
