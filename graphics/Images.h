#pragma once
// Pixel data to X images. Images are built in the server's own pixel layout, which a probe finds
// out once per process by drawing one pixel and reading it back.

#include <X11/Xlib.h>

#include <memory>

class GUIElement;

struct PixelFormat {
    int format = ZPixmap;
    int xoffset = 0;
    int bitmapPad = 0;
    int bitsPerPixel = 0;
    int bitmapBitOrder = 0;
    // 0 until the probe has run.
    int depth = 0;
    unsigned char firstPixel[8] = {};
};

const PixelFormat& CurrentPixelFormat();
void ProbePixelFormat(GUIElement* element);
// An image of the RGB buffer (3 bytes a pixel, top row first, no padding) in the server's
// layout; null for null data or an empty size. The buffer stays the caller's.
XImage* MakeImage(GUIElement* element, const unsigned char* rgb, int width, int height);
void DestroyImage(XImage* image);

struct ImageDeleter {
    void operator()(XImage* image) const { DestroyImage(image); }
};
using ImagePtr = std::unique_ptr<XImage, ImageDeleter>;
