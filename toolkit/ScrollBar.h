#pragma once
// A horizontal or vertical bar with an arrow at each end and a thumb that moves in whole pages,
// one page being the track's length in pixels. The arrows, the track (pressed or dragged: the
// event loop sends it motion while it holds the focus) and the cursor keys move it.

#include <cstdint>
#include <functional>
#include <vector>

#include "toolkit/TrackWidget.h"

class ScrollBar : public TrackWidget {
public:
    // tenTimesPosition is what listeners have always been given; the position itself follows.
    using ScrollCallback = std::function<void(ScrollBar&, std::int64_t tenTimesPosition, int position)>;

    ScrollBar(GUIElement* parentElement, int minimum, int maximum);

    void SetSize(int newWidth, int newHeight) override;
    void Hide() override;
    void MouseDown(Point point) override;
    void KeyDown(unsigned long keysym) override;
    void Paint() override;

    void SetOnScroll(ScrollCallback callback) { onScroll = std::move(callback); }
    void NotifyScroll(int newPosition);
    void SetRange(int newMinimum, int newMaximum);
    void SetValue(int newPosition);
    int GetValue() const { return position; }
    void SetHorizontal(bool on);
    void SetVertical(bool on);

    int GetMinimum() const { return minimum; }
    int GetMaximum() const { return maximum; }
    bool IsVertical() const { return vertical; }
    bool IsHorizontal() const { return horizontal; }
    // The track's length in pixels (one page), the number of pages and the thumb's length, at the
    // current size; all 0 when the bar cannot be divided into pages.
    int TrackLength() const;
    int Pages() const;
    int ThumbLength() const;
    // The page the position lies in, kept within the pages that exist.
    int CurrentPage() const;
    // Where the last paint started each page's thumb, in form coordinates.
    const std::vector<Point>& PageStarts() const { return pageStarts; }

protected:
    // The frame's dark edges lie one pixel beyond the bar's width and height.
    void Erase() override { EraseBox(2, EraseColour()); }
    bool SetFromPoint(Point point) override;

private:
    struct Layout {
        int track = 0;
        int pages = 0;
        int thumb = 0;
        int remainder = 0;
    };
    Layout Measure() const;
    void Orient(bool& chosen, bool& other, bool on);
    void MoveToPage(int page);
    void ApplyMinimumSize();

    ScrollCallback onScroll;
    int minimum;
    int maximum;
    int position = 0;
    bool horizontal = true;
    bool vertical = false;
    std::vector<Point> pageStarts;
};
