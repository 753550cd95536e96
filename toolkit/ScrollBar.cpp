#include "toolkit/ScrollBar.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>

#include "graphics/DrawContext.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"

namespace {

constexpr Colour disabledColour = 0x9B9B9B;
constexpr Colour highlightColour = 0xDDDDDD;
// Each arrow takes 21 pixels at either end.
constexpr int arrowsLength = 42;

XPoint At(int x, int y) { return XPoint{static_cast<short>(x), static_cast<short>(y)}; }

}  // namespace

ScrollBar::ScrollBar(GUIElement* parentElement, int minimum, int maximum)
    : TrackWidget(parentElement), minimum(minimum), maximum(maximum)
{
    typeName = "scrollbar";
    width = 80;
    height = 13;
    painted = true;
    relocation = Relocation::hiddenAndShown;
}

// A bar without a track (too short, or not yet painted to its minimum size), without a range, or
// with more pages than track pixels (a thumb thinner than a pixel, and a page list as long as the
// range) cannot be divided into pages: it is drawn without a thumb and ignores keys and mouse.
ScrollBar::Layout ScrollBar::Measure() const
{
    const std::int64_t track = (vertical ? height : width) - arrowsLength;
    const std::int64_t range = static_cast<std::int64_t>(maximum) - minimum;
    if (track <= 0 || range <= 0) return {};
    const std::int64_t pages = (range + track - 1) / track;
    if (pages > track) return {};
    Layout layout;
    layout.track = static_cast<int>(track);
    layout.pages = static_cast<int>(pages);
    layout.thumb = layout.track / layout.pages;
    layout.remainder = layout.track % layout.pages;
    return layout;
}

int ScrollBar::TrackLength() const { return Measure().track; }
int ScrollBar::Pages() const { return Measure().pages; }
int ScrollBar::ThumbLength() const { return Measure().thumb; }

// SetValue takes any number; the page is kept within the pages that exist so that the thumb is
// never drawn outside the track and the keys never step to a position beyond the range.
int ScrollBar::CurrentPage() const
{
    const Layout layout = Measure();
    if (layout.pages == 0) return 0;
    const std::int64_t page = (static_cast<std::int64_t>(position) - minimum) / layout.track;
    return static_cast<int>(std::clamp<std::int64_t>(page, 0, layout.pages - 1));
}

// A new size is painted over the old one; a new place erases the old one first.
void ScrollBar::SetSize(int newWidth, int newHeight)
{
    Relocate(Relocation::paintedInPlace, x, y, newWidth, newHeight);
}

void ScrollBar::Hide()
{
    Child::Hide();
    pageStarts.clear();
}

// The arrows step a page through the keys; the track jumps to the page pressed. A bar that has
// not been painted has no page starts to compare with and ignores the press.
void ScrollBar::MouseDown(Point point)
{
    const Layout layout = Measure();
    if (enabled && !pageStarts.empty() && layout.pages > 0) {
        dragging = true;
        const Point first = pageStarts.front(), last = pageStarts.back();
        const int end = layout.thumb + layout.remainder;
        bool moved = false;
        const bool survived = Survives([&] {
            if (vertical && point.y < first.y)
                KeyDown(XK_Up);
            else if (vertical && point.y > last.y + end)
                KeyDown(XK_Down);
            else if (!vertical && point.x < first.x)
                KeyDown(XK_Left);
            else if (!vertical && point.x > last.x + end)
                KeyDown(XK_Right);
            else
                moved = SetFromPoint(point);
        });
        if (!survived) return;
        if (moved) Paint();
    }
    GUIElement::MouseDown(point);
}

void ScrollBar::KeyDown(unsigned long keysym)
{
    if (!enabled || !focused) return;
    const Layout layout = Measure();
    if (layout.pages == 0) return;
    const int page = CurrentPage();
    switch (keysym) {
    case XK_Left:
    case XK_Up:
        MoveToPage(std::max(page - 1, 0));
        break;
    case XK_Right:
    case XK_Down:
        MoveToPage(std::min(page + 1, layout.pages - 1));
        break;
    default:
        break;
    }
}

void ScrollBar::MoveToPage(int page)
{
    const int newPosition = static_cast<int>(minimum + static_cast<std::int64_t>(Measure().track) * page);
    if (newPosition == position) return;
    position = newPosition;
    if (Survives([&] { Paint(); })) NotifyScroll(position);
}

void ScrollBar::NotifyScroll(int newPosition)
{
    if (onScroll) onScroll(*this, static_cast<std::int64_t>(newPosition) * 10, newPosition);
}

void ScrollBar::SetRange(int newMinimum, int newMaximum)
{
    minimum = newMinimum;
    maximum = newMaximum;
    Paint();
}

void ScrollBar::SetValue(int newPosition) { SetAndPaint(position, newPosition); }

void ScrollBar::SetHorizontal(bool on) { Orient(horizontal, vertical, on); }

void ScrollBar::SetVertical(bool on) { Orient(vertical, horizontal, on); }

// A bar on the screen is drawn again in its new orientation.
void ScrollBar::Orient(bool& chosen, bool& other, bool on)
{
    SetOneOfTwo(chosen, other, on);
    if (created) {
        Hide();
        Show();
    }
}

// The first page whose thumb reaches the pointer is the one chosen.
bool ScrollBar::SetFromPoint(Point point)
{
    const Layout layout = Measure();
    if (layout.pages == 0) return false;
    // Starts left from a paint that a newer range or size has not yet replaced are not pages.
    const std::size_t pages = std::min(pageStarts.size(), static_cast<std::size_t>(layout.pages));
    for (std::size_t index = 0; index < pages; ++index) {
        const Point& start = pageStarts[index];
        if (vertical ? start.y + layout.thumb < point.y : start.x + layout.thumb < point.x) continue;
        const int chosen = static_cast<int>(minimum + static_cast<std::int64_t>(layout.track) * static_cast<std::int64_t>(index));
        if (chosen == position) return false;
        position = chosen;
        NotifyScroll(position);
        return true;
    }
    return false;
}

void ScrollBar::ApplyMinimumSize()
{
    if (vertical) {
        width = std::max(width, 21);
        height = std::max(height, 52);
    } else {
        height = std::max(height, 21);
        width = std::max(width, 52);
    }
}

void ScrollBar::Paint()
{
    if (!ReadyToPaint()) return;
    ApplyMinimumSize();
    DrawContext context(Target());
    const Point origin = ToFormCoordinates(x, y);
    const int left = origin.x, top = origin.y, w = width, h = height;
    const Colour fg = enabled ? 0x000000 : disabledColour;
    context.FillRectangle(left, top, w, h, 0, 0, BackgroundColour());
    pageStarts.clear();

    context.DrawLine(left, top, left + w, top, DrawContext::solid, highlightColour);
    context.DrawLine(left, top, left, top + h, DrawContext::solid, highlightColour);
    context.DrawLine(left + w, top, left + w, top + h, DrawContext::solid, fg);
    context.DrawLine(left, top + h, left + w, top + h, DrawContext::solid, fg);

    if (vertical) {
        const XPoint up[] = {At(left + w / 2, top + 2), At(left + w - 2, top + 19), At(left + 2, top + 19)};
        const XPoint down[] = {At(left + w / 2, top + h - 2), At(left + w - 2, top + h - 19), At(left + 2, top + h - 19)};
        context.FillPolygon(up, 3, 1, highlightColour, fg);
        context.FillPolygon(down, 3, 1, highlightColour, fg);
    } else {
        const XPoint back[] = {At(left + 2, top + h / 2), At(left + 19, top + 2), At(left + 19, top + h - 2)};
        const XPoint forward[] = {At(left + w - 2, top + h / 2), At(left + w - 19, top + 2), At(left + w - 19, top + h - 2)};
        context.FillPolygon(back, 3, 1, highlightColour, fg);
        context.FillPolygon(forward, 3, 1, highlightColour, fg);
    }

    const Layout layout = Measure();
    for (int i = 0; i < layout.pages; ++i)
        pageStarts.push_back(vertical ? Point{left, top + 21 + layout.thumb * i} : Point{left + 21 + layout.thumb * i, top});
    if (layout.pages > 1) {
        const int page = CurrentPage();
        const int length = page == layout.pages - 1 ? layout.thumb + layout.remainder : layout.thumb;
        if (vertical)
            context.FillRectangle(left + 2, top + 21 + layout.thumb * page, w - 2, length, 0, 0, fg);
        else
            context.FillRectangle(left + 21 + layout.thumb * page, top + 2, length, h - 2, 0, 0, fg);
    }
}
