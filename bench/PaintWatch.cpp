#include "bench/PaintWatch.h"

#include <X11/Xproto.h>
#include <poll.h>

#include <cstdint>
#include <cstring>

#include "game/WellLayout.h"

namespace {

using WellLayout::wellLeft;
using WellLayout::wellTop;
constexpr int wellRight = wellLeft + WellLayout::wellWidth, wellBottom = wellTop + WellLayout::wellHeight;

std::uint16_t Card16(const unsigned char* bytes)
{
    std::uint16_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

}  // namespace

PaintWatch::PaintWatch()
{
    control = XOpenDisplay(nullptr);
    data = XOpenDisplay(nullptr);
    int major = 0, minor = 0;
    if (!control || !data || !XRecordQueryVersion(control, &major, &minor)) return;
    XRecordRange* range = XRecordAllocRange();
    if (!range) return;
    range->core_requests.first = X_PutImage;
    range->core_requests.last = X_PutImage;
    XRecordClientSpec clients = XRecordFutureClients;
    context = XRecordCreateContext(control, 0, &clients, 1, &range, 1);
    XFree(range);
    if (!context) return;
    XSync(control, False);
    if (!XRecordEnableContextAsync(data, context, Intercept, reinterpret_cast<XPointer>(this))) {
        XRecordFreeContext(control, context);
        context = 0;
    }
}

PaintWatch::~PaintWatch()
{
    if (context) {
        XRecordDisableContext(control, context);
        XSync(control, False);
        Serve(std::chrono::milliseconds(0));
        XRecordFreeContext(control, context);
        XSync(control, False);
    }
    if (data) XCloseDisplay(data);
    if (control) XCloseDisplay(control);
}

void PaintWatch::Reset()
{
    Serve(std::chrono::milliseconds(0));
    lastWellPaint.reset();
    wellPaints = 0;
}

void PaintWatch::Intercept(XPointer self, XRecordInterceptData* recorded)
{
    auto* watch = reinterpret_cast<PaintWatch*>(self);
    const unsigned char* bytes = recorded->data;
    std::size_t length = recorded->data_len * 4;
    if (recorded->category == XRecordFromClient && length >= 4 && bytes[0] == X_PutImage) {
        // A big request carries its length in four more bytes after the usual header.
        std::size_t header = 4;
        if (Card16(bytes + 2) == 0) header = 8;
        if (length >= header + 16) {
            const unsigned char* fields = bytes + header + 8;  // past drawable and GC
            const int width = Card16(fields), height = Card16(fields + 2);
            const int x = static_cast<std::int16_t>(Card16(fields + 4));
            const int y = static_cast<std::int16_t>(Card16(fields + 6));
            if (x >= wellLeft && y >= wellTop && x + width <= wellRight && y + height <= wellBottom) {
                watch->lastWellPaint = Clock::now();
                ++watch->wellPaints;
            }
        }
    }
    XRecordFreeData(recorded);
}

void PaintWatch::Serve(std::chrono::milliseconds wait)
{
    if (!context) return;
    pollfd readable{ConnectionNumber(data), POLLIN, 0};
    if (poll(&readable, 1, static_cast<int>(wait.count())) > 0 || XPending(data)) XRecordProcessReplies(data);
}

std::optional<PaintWatch::Clock::time_point> PaintWatch::LastWellPaint(std::chrono::milliseconds quiet,
                                                                       std::chrono::milliseconds deadline)
{
    const auto end = Clock::now() + deadline;
    while (Clock::now() < end) {
        Serve(std::chrono::milliseconds(2));
        if (lastWellPaint && Clock::now() - *lastWellPaint >= quiet) break;
    }
    return lastWellPaint;
}
