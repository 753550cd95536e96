#pragma once
// Counts the X requests and bytes that one stretch of work sends, so that the benchmark can report
// what a ball step costs on the wire. Only a build configured with KORVANTA_BENCH counts, and only
// when the environment variable KORVANTA_TRAFFIC_LOG names the file that receives one line per
// stretch ("requests bytes") when the program ends; in every other build a meter is empty.

#include <X11/Xlib.h>

class TrafficMeter {
public:
    explicit TrafficMeter(Display* display);
    ~TrafficMeter();
    TrafficMeter(const TrafficMeter&) = delete;
    TrafficMeter& operator=(const TrafficMeter&) = delete;

#ifdef KORVANTA_BENCH
private:
    Display* display = nullptr;
    unsigned long firstRequest = 0;
    unsigned long long bytesBefore = 0;
#endif
};

#ifndef KORVANTA_BENCH
inline TrafficMeter::TrafficMeter(Display*) {}
inline TrafficMeter::~TrafficMeter() {}
#endif
