#pragma once
// What the kernel counts for one process: the CPU time it ran, how often it was switched out (each
// wake-up from a wait ends in one), and the most memory it ever held resident.

#include <sys/types.h>

#include <chrono>
#include <string>

struct ProcessSample {
    bool valid = false;
    double cpuSeconds = 0;   // the finest source there is
    double tickSeconds = 0;  // utime + stime, in whole clock ticks
    long long contextSwitches = 0;
    std::chrono::steady_clock::time_point at;
};

// The share of one core and the wake-ups per second between two samples of the same process.
struct ProcessRates {
    double cpuPercent = 0;
    double tickCpuPercent = 0;
    double wakeUpsPerSecond = 0;
};

ProcessSample SampleProcess(pid_t pid);
ProcessRates RatesBetween(const ProcessSample& first, const ProcessSample& last);
// VmHWM in kilobytes, or -1 when the process is gone.
long PeakResidentKilobytes(pid_t pid);
// Where the CPU time comes from on this machine, for the report.
std::string CpuTimeSource();
