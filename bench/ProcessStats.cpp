#include "bench/ProcessStats.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// schedstat's first field is the run time in nanoseconds: the same time that stat's utime + stime
// report in clock ticks (the kernel scales those two to it), but fine enough for an idle process
// measured for a few seconds, where one 10 ms tick would be most of the answer.
bool RunTimeFromSchedstat(pid_t pid, double& seconds)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
    unsigned long long nanoseconds = 0;
    if (!(in >> nanoseconds)) return false;
    seconds = static_cast<double>(nanoseconds) / 1e9;
    return true;
}

bool RunTimeFromStat(pid_t pid, double& seconds)
{
    const std::string stat = ReadWhole("/proc/" + std::to_string(pid) + "/stat");
    // The command name may hold blanks and parentheses: the fields start after the last ')'.
    const std::size_t end = stat.rfind(')');
    if (end == std::string::npos) return false;
    std::istringstream fields(stat.substr(end + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    // Field 3 (state) is the first after the name; utime and stime are fields 14 and 15.
    for (int index = 3; index <= 15 && fields >> field; ++index) {
        if (index == 14) utime = std::stoull(field);
        if (index == 15) stime = std::stoull(field);
    }
    if (!fields) return false;
    seconds = static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
    return true;
}

long long StatusField(const std::string& status, const char* name)
{
    const std::size_t at = status.find(name);
    if (at == std::string::npos) return -1;
    return std::atoll(status.c_str() + at + std::strlen(name));
}

}  // namespace

ProcessSample SampleProcess(pid_t pid)
{
    ProcessSample sample;
    sample.at = std::chrono::steady_clock::now();
    if (!RunTimeFromStat(pid, sample.tickSeconds)) return sample;
    if (!RunTimeFromSchedstat(pid, sample.cpuSeconds)) sample.cpuSeconds = sample.tickSeconds;
    const std::string status = ReadWhole("/proc/" + std::to_string(pid) + "/status");
    const long long voluntary = StatusField(status, "\nvoluntary_ctxt_switches:");
    const long long involuntary = StatusField(status, "\nnonvoluntary_ctxt_switches:");
    if (voluntary < 0 || involuntary < 0) return sample;
    sample.contextSwitches = voluntary + involuntary;
    sample.valid = true;
    return sample;
}

ProcessRates RatesBetween(const ProcessSample& first, const ProcessSample& last)
{
    ProcessRates rates;
    const double seconds = std::chrono::duration<double>(last.at - first.at).count();
    if (!first.valid || !last.valid || seconds <= 0) return rates;
    rates.cpuPercent = 100.0 * (last.cpuSeconds - first.cpuSeconds) / seconds;
    rates.tickCpuPercent = 100.0 * (last.tickSeconds - first.tickSeconds) / seconds;
    rates.wakeUpsPerSecond = static_cast<double>(last.contextSwitches - first.contextSwitches) / seconds;
    return rates;
}

long PeakResidentKilobytes(pid_t pid)
{
    const std::string status = ReadWhole("/proc/" + std::to_string(pid) + "/status");
    const long long peak = StatusField(status, "\nVmHWM:");
    return peak < 0 ? -1 : static_cast<long>(peak);
}

std::string CpuTimeSource()
{
    double seconds = 0;
    return RunTimeFromSchedstat(getpid(), seconds) ? "/proc/PID/schedstat run time (ns)"
                                                   : "/proc/PID/stat utime+stime (clock ticks)";
}
