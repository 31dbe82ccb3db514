#pragma once

// A responsiveness probe for the benchmarks, off unless asked for: when LUMENPANE_BENCH_TIMER_LOG names a
// file, a 10 ms timer runs for the first 5 s and the longest gap between two of its ticks (whole ms) is
// written to that file. A long gap means the event loop was blocked: the windows did not answer.
namespace TimerProbe {
void startIfAsked();
}
