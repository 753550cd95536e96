#pragma once
// Watches, through the X server's RECORD extension, the images that clients started after it put
// into the well's area: the moment the last well cell is drawn is known without polling the screen
// and without any help from the program that draws.

#include <X11/Xlib.h>
#include <X11/extensions/record.h>

#include <chrono>
#include <optional>

class PaintWatch {
public:
    using Clock = std::chrono::steady_clock;

    PaintWatch();
    ~PaintWatch();
    PaintWatch(const PaintWatch&) = delete;
    PaintWatch& operator=(const PaintWatch&) = delete;

    bool Ready() const { return context != 0; }
    // Forgets the paints seen so far.
    void Reset();
    // Serves the recorded requests until no image has gone into the well for `quiet`, or until the
    // deadline; answers when the last one arrived, or nothing when none came.
    std::optional<Clock::time_point> LastWellPaint(std::chrono::milliseconds quiet, std::chrono::milliseconds deadline);
    int WellPaints() const { return wellPaints; }

private:
    static void Intercept(XPointer self, XRecordInterceptData* data);
    void Serve(std::chrono::milliseconds wait);

    Display* control = nullptr;
    Display* data = nullptr;
    XRecordContext context = 0;
    std::optional<Clock::time_point> lastWellPaint;
    int wellPaints = 0;
};
