#include "toolkit/TrafficMeter.h"

#ifdef KORVANTA_BENCH

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

// Last: the library's internal header defines min and max as macros, and declares the hook that
// sees every byte sent.
#include <X11/Xlibint.h>

namespace {

struct Tally {
    std::string path;
    std::vector<std::pair<unsigned long, unsigned long long>> stretches;

    Tally()
    {
        if (const char* where = std::getenv("KORVANTA_TRAFFIC_LOG")) path = where;
    }
    ~Tally()
    {
        if (path.empty()) return;
        if (std::FILE* file = std::fopen(path.c_str(), "w")) {
            for (const auto& [requests, bytes] : stretches) std::fprintf(file, "%lu %llu\n", requests, bytes);
            std::fclose(file);
        }
    }
};

Tally& TheTally()
{
    static Tally tally;
    return tally;
}

unsigned long long bytesSent = 0;
Display* countedDisplay = nullptr;

// Xlib hands every byte it sends to the server through these hooks, whichever call flushes.
void CountBytes(Display*, XExtCodes*, const char*, long length) { bytesSent += static_cast<unsigned long long>(length); }

bool Counting(Display* display)
{
    if (!display || TheTally().path.empty()) return false;
    if (countedDisplay == display) return true;
    if (countedDisplay) return false;
    XExtCodes* codes = XAddExtension(display);
    if (!codes) return false;
    XESetBeforeFlush(display, codes->extension, CountBytes);
    countedDisplay = display;
    return true;
}

}  // namespace

TrafficMeter::TrafficMeter(Display* display)
{
    if (!Counting(display)) return;
    // Everything before the stretch goes out first, so that only the stretch's own bytes count.
    XFlush(display);
    this->display = display;
    firstRequest = NextRequest(display);
    bytesBefore = bytesSent;
}

TrafficMeter::~TrafficMeter()
{
    if (!display) return;
    XFlush(display);
    TheTally().stretches.emplace_back(NextRequest(display) - firstRequest, bytesSent - bytesBefore);
}

#endif
