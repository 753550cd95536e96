#pragma once
// Reads a rectangle of a form's window back in one request, for tests that look at more than a
// pixel or two of a widget's paint.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

#include "toolkit/Form.h"
#include "util/Geometry.h"

class PixelArea {
public:
    PixelArea(const Form& form, int left, int top, int w, int h) : left(left), top(top), w(w), h(h)
    {
        XImage* image = XGetImage(form.GetXDisplay(), form.GetWindow(), left, top, static_cast<unsigned>(w),
                                  static_cast<unsigned>(h), AllPlanes, ZPixmap);
        if (!image) return;
        pixels.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        for (int row = 0; row < h; ++row)
            for (int column = 0; column < w; ++column)
                pixels.push_back(static_cast<Colour>(XGetPixel(image, column, row) & 0xFFFFFF));
        XDestroyImage(image);
    }

    bool Valid() const { return !pixels.empty(); }
    // In window coordinates.
    Colour At(int x, int y) const { return pixels[static_cast<std::size_t>((y - top) * w + (x - left))]; }
    int Count(Colour colour) const
    {
        int count = 0;
        for (Colour pixel : pixels) count += pixel == colour;
        return count;
    }
    bool operator==(const PixelArea& other) const { return pixels == other.pixels; }

private:
    int left, top, w, h;
    std::vector<Colour> pixels;
};
