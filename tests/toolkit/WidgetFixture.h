#pragma once
// A shown test form plus ways to look at a whole area of it at once: how many pixels of a colour
// an area holds, and where the pixels of a colour begin and end.

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <climits>
#include <functional>

#include "tests/support/FormFixture.h"

struct PixelBounds {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN;
    int bottom = INT_MIN;
    int count = 0;
    bool Empty() const { return count == 0; }
};

class WidgetFixture : public FormFixture {
protected:
    // Calls the visitor with (x, y, colour) for every pixel of the area of the main test form.
    void ForEachPixel(int left, int top, int w, int h, const std::function<void(int, int, Colour)>& visit) const
    {
        XImage* image = XGetImage(display, form->GetWindow(), left, top, static_cast<unsigned>(w),
                                  static_cast<unsigned>(h), AllPlanes, ZPixmap);
        ASSERT_NE(image, nullptr);
        for (int row = 0; row < h; ++row)
            for (int column = 0; column < w; ++column)
                visit(left + column, top + row, static_cast<Colour>(XGetPixel(image, column, row) & 0xFFFFFF));
        XDestroyImage(image);
    }

    int CountColour(int left, int top, int w, int h, Colour colour) const
    {
        int count = 0;
        ForEachPixel(left, top, w, h, [&](int, int, Colour pixel) { count += pixel == colour; });
        return count;
    }

    // Every pixel of the area has the colour.
    bool AllColour(int left, int top, int w, int h, Colour colour) const
    {
        return CountColour(left, top, w, h, colour) == w * h;
    }

    PixelBounds BoundsOf(int left, int top, int w, int h, Colour colour) const
    {
        PixelBounds bounds;
        ForEachPixel(left, top, w, h, [&](int px, int py, Colour pixel) {
            if (pixel != colour) return;
            bounds.left = std::min(bounds.left, px);
            bounds.right = std::max(bounds.right, px);
            bounds.top = std::min(bounds.top, py);
            bounds.bottom = std::max(bounds.bottom, py);
            ++bounds.count;
        });
        return bounds;
    }
};
