#pragma once
// Figures of this process for the benchmarks' counters, from Linux's /proc.

// Starts the peak resident memory ("VmHWM:") anew from the current resident size.
void resetPeakMemory();

// A memory line of /proc/self/status in MB: "VmRSS:" (resident now), "VmHWM:" (its peak since
// the last reset); 0 when there is no such line.
double statusMB(const char* key);

inline double peakMemoryMB() { return statusMB("VmHWM:"); }

// CPU time of the calling thread in milliseconds: the figures stay meaningful on a busy machine.
double threadCpuMs();
