#include "toolkit/Slider.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdint>

#include "graphics/DrawContext.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"
#include "util/Strings.h"

namespace {

constexpr Colour disabledColour = 0x9B9B9B;
constexpr Colour highlightColour = 0xDDDDDD;
// Every value needs at least 8 pixels of track and X coordinates are 16-bit, so a wider range
// could not be drawn; it would also make the tick list as long as the range.
constexpr std::int64_t largestRange = (32767 - 40) / 8;

XPoint At(int x, int y) { return XPoint{static_cast<short>(x), static_cast<short>(y)}; }

}  // namespace

Slider::Slider(GUIElement* parentElement, bool vertical, int minimum, int maximum)
    : TrackWidget(parentElement), minimum(minimum), maximum(maximum), value(minimum), vertical(vertical)
{
    typeName = "slider";
    painted = true;
    relocation = Relocation::paintedInPlace;
}

// An empty range (or one given the wrong way round) has no ticks to divide the track into: such
// a slider is drawn empty and ignores the keys and the mouse.
bool Slider::Usable() const
{
    const std::int64_t range = static_cast<std::int64_t>(maximum) - minimum;
    return range > 0 && range <= largestRange;
}

void Slider::Hide()
{
    Child::Hide();
    // A hidden slider has no place on the screen for the mouse to find.
    ticks.clear();
}

void Slider::MouseDown(Point point)
{
    if (enabled) {
        dragging = true;
        if (!DragTo(point)) return;
    }
    GUIElement::MouseDown(point);
}

void Slider::KeyDown(unsigned long keysym)
{
    if (!enabled || !focused || !Usable()) return;
    int next = value;
    switch (keysym) {
    case XK_Right:
    case XK_Down:
        next = value >= maximum ? minimum : value + 1;
        break;
    case XK_Left:
    case XK_Up:
        next = value <= minimum ? maximum : value - 1;
        break;
    default:
        return;
    }
    const bool changed = next != value;
    value = next;
    Paint();
    if (changed) NotifyValueChanged();
}

void Slider::SetValue(int newValue)
{
    if (newValue > maximum) newValue = maximum;
    if (newValue < minimum) newValue = minimum;
    value = newValue;
    Paint();
}

void Slider::SetLineColor(Colour colour) { SetAndPaint(lineColor, colour); }

void Slider::SetShowLabels(bool on) { SetAndPaint(showLabels, on); }

void Slider::NotifyValueChanged()
{
    if (!onValueChanged || Survives([&] { onValueChanged(*this, value); })) RaiseChange();
}

// The first tick at or beyond the pointer (with 2 pixels of slack) gives the value, so a press
// before the first tick selects the minimum and one past the last tick changes nothing.
bool Slider::SetFromPoint(Point point)
{
    for (std::size_t index = 0; index < ticks.size(); ++index) {
        const Point& tick = ticks[index];
        if (vertical ? tick.y + 2 < point.y : tick.x + 2 < point.x) continue;
        const int chosen = minimum + static_cast<int>(index);
        if (chosen == value) return false;
        value = chosen;
        NotifyValueChanged();
        return true;
    }
    return false;
}

// The track gets a whole number of pixels, at least 8, for every value.
void Slider::SnapSize()
{
    const int range = maximum - minimum;
    if (vertical) {
        width = std::max(width, 40);
        height = height < 8 * range + 36 ? 8 * range + 36 : range * ((height - 36) / range) + 36;
    } else {
        height = std::max(height, 36);
        width = range * ((std::max(width, 8 * range + 40) - 40) / range) + 40;
    }
}

void Slider::Paint()
{
    if (!ReadyToPaint()) return;
    const bool usable = Usable();
    if (usable) SnapSize();
    DrawContext context(Target());
    const Point origin = ToFormCoordinates(x, y);
    const int left = origin.x, top = origin.y;
    const Colour fg = enabled ? lineColor : disabledColour;
    const Colour background = BackgroundColour();
    context.FillRectangle(left, top, width + 1, height + 1, 0, 0, background);
    ticks.clear();

    if (usable) {
        const int range = maximum - minimum;
        if (vertical) {
            if (showLabels) {
                context.DrawText(left, top, width + 1, 18, IntToText(minimum), fg, background, 2);
                context.DrawText(left, top + height - 18, width + 1, 18, IntToText(maximum), fg, background, 2);
            }
            const int trackTop = top + 18, trackBottom = top + height - 17, cx = left + (width + 1) / 2;
            context.DrawLine(cx + 1, trackTop, cx + 1, trackBottom, DrawContext::solid, highlightColour);
            context.DrawLine(cx, trackTop, cx, trackBottom, DrawContext::solid, fg);
            const int step = (height - 35) / range;
            for (int i = 0; i <= range; ++i) {
                const int ty = i == range ? trackBottom : trackTop + i * step;
                context.DrawLine(cx - 3, ty, cx + 3, ty, DrawContext::solid, fg);
                context.DrawLine(cx - 3, ty + 1, cx + 3, ty + 1, DrawContext::solid, highlightColour);
                ticks.push_back({cx, ty});
                if (minimum + i == value) {
                    const XPoint pointer[] = {At(cx + 5, ty), At(cx + 15, ty - 10), At(cx + 15, ty + 10)};
                    context.FillPolygon(pointer, 3, 1, highlightColour, fg);
                }
            }
        } else {
            if (showLabels) {
                context.DrawText(left, top, 20, height, IntToText(minimum), fg, background, 2);
                context.DrawText(left + width - 19, top, 20, height, IntToText(maximum), fg, background, 2);
            }
            const int trackLeft = left + 20, trackRight = left + width - 19, cy = top + (height + 1) / 2;
            context.DrawLine(trackLeft, cy, trackRight, cy, DrawContext::solid, fg);
            context.DrawLine(trackLeft, cy + 1, trackRight, cy + 1, DrawContext::solid, highlightColour);
            const int step = (width - 39) / range;
            for (int i = 0; i <= range; ++i) {
                const int tx = i == range ? trackRight : trackLeft + i * step;
                context.DrawLine(tx, cy - 3, tx, cy + 3, DrawContext::solid, fg);
                context.DrawLine(tx + 1, cy - 3, tx + 1, cy + 3, DrawContext::solid, highlightColour);
                ticks.push_back({tx, cy});
                if (minimum + i == value) {
                    const XPoint pointer[] = {At(tx, cy - 5), At(tx + 10, cy - 15), At(tx - 10, cy - 15)};
                    context.FillPolygon(pointer, 3, 1, highlightColour, fg);
                }
            }
        }
    }

    if (focused && enabled) DrawFocusFrame(context, left, top + 1, left + width - 1, top + height - 2, fg);
}
