#pragma once
// Pixel data to X images. Images are built in the server's own pixel layout, which a probe finds
// out once per process by drawing one pixel and reading it back.

#include <memory>

#include "toolkit/XHandles.h"

class GUIElement;

// Xlib's ZPixmap, the layout every image of the game has (Images.cpp checks it against Xlib).
inline constexpr int zPixmapFormat = 2;

struct PixelFormat {
    int format = zPixmapFormat;
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
// The next image probes again, as the first of a process does.
void ForgetPixelFormat();
// An image of the RGB buffer (3 bytes a pixel, top row first, no padding) in the server's
// layout; null for null data or an empty size. The buffer stays the caller's.
XImage* MakeImage(GUIElement* element, const unsigned char* rgb, int width, int height);
void DestroyImage(XImage* image);

struct ImageDeleter {
    void operator()(XImage* image) const { DestroyImage(image); }
};
using ImagePtr = std::unique_ptr<XImage, ImageDeleter>;
