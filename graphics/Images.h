#pragma once
// Pixel data to X images. Images are built in the server's own pixel layout, which a probe finds
// out once per process by drawing one pixel and reading it back.

#include <memory>

#include "graphics/ChannelMasks.h"
#include "graphics/DrawTarget.h"
#include "graphics/XHandles.h"

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
    // Where red, green and blue sit inside a pixel of the server's images, by byte; meaningful
    // where each channel is a whole byte.
    int ixRosso = 2;
    int ixVerde = 1;
    int ixBlu = 0;
    unsigned char firstPixel[8] = {};
    // The probe read back what it drew, in whole bytes a pixel: images in this layout come out
    // right, and their padded rows are nothing to warn about.
    bool drawable = false;
    // Where the colours sit in a pixel: the visual's masks where drawable, else the 24-bit ones.
    ChannelMasks masks;
};

const PixelFormat& CurrentPixelFormat();
// Draws one pixel at the target's top-left corner and reads it back, once per display.
void ProbePixelFormat(const DrawTarget& target);
// Lets a display opened later be probed anew; called as this one closes.
void ForgetPixelFormat(const Display* display);

// Whether colours can be right on the screen at all: its default visual, on which every window of
// the game is made, is TrueColor.
bool ScreenIsTrueColour(Display* display, int screen);
// That visual's channel masks; on any other kind of visual the 24-bit masks, which hand 0xRRGGBB
// on unchanged, as nothing better can be done there without a colour map.
ChannelMasks ScreenChannelMasks(Display* display, int screen);
// An image of the RGB buffer (3 bytes a pixel, top row first, no padding) in the server's
// layout; null for null data or an empty size. The buffer stays the caller's.
XImage* MakeImage(const DrawTarget& target, const unsigned char* rgb, int width, int height);
void DestroyImage(XImage* image);

struct ImageDeleter {
    void operator()(XImage* image) const { DestroyImage(image); }
};
using ImagePtr = std::unique_ptr<XImage, ImageDeleter>;
