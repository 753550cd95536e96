#include "graphics/Images.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>

#include "graphics/DrawContext.h"
#include "util/Log.h"
#include "util/Strings.h"

static_assert(zPixmapFormat == ZPixmap);

namespace {

PixelFormat pixelFormat;
const Display* probedDisplay = nullptr;

// A colour whose three bytes differ from each other and from 0 and 0xFF, so each can be found.
constexpr Colour probeColour = 0xCF3B76;

void Warn(const char* what, long value) { Log(std::string(what) + IntToText(value)); }

// The pixel read back is the probe colour, as exactly as the visual's channels hold it, and the
// image is made of whole bytes a pixel: images in this layout come out right.
bool CanDraw(XImage* image, const ChannelMasks& masks)
{
    const int bits = image->bits_per_pixel;
    return image->format == ZPixmap && image->xoffset == 0 && (bits == 8 || bits == 16 || bits == 24 || bits == 32) &&
           masks.red != 0 && masks.green != 0 && masks.blue != 0 &&
           masks.FromPixel(static_cast<std::uint32_t>(XGetPixel(image, 0, 0))) ==
               masks.FromPixel(masks.ToPixel(probeColour));
}

// Where each colour byte of the probe pixel sits; meaningful where channels are whole bytes.
bool FindColourBytes(XImage* image)
{
    bool foundRed = false, foundGreen = false, foundBlue = false;
    const int pixelBytes = image->bits_per_pixel / 8;
    for (int i = 0; i < 8; ++i) {
        if (i >= pixelBytes) {
            pixelFormat.firstPixel[i] = 0;
            continue;
        }
        const auto byte = static_cast<unsigned char>(image->data[i]);
        pixelFormat.firstPixel[i] = byte;
        if (byte == 0xCF) {
            pixelFormat.ixRosso = i;
            foundRed = true;
        }
        if (byte == 0x3B) {
            pixelFormat.ixVerde = i;
            foundGreen = true;
        }
        if (byte == 0x76) {
            pixelFormat.ixBlu = i;
            foundBlue = true;
        }
    }
    return foundRed && foundGreen && foundBlue;
}

// Only a layout the images cannot be drawn in is worth a line: every way it differs from the
// usual 24-bit one, so that the log shows what the display offered instead.
void WarnAboutLayout(XImage* image, bool colourBytesFound)
{
    if (image->format != ZPixmap) Warn("WARNING img->format: ", image->format);
    if (image->xoffset != 0) Warn("WARNING img->xoffset: ", image->xoffset);
    if (image->bitmap_pad != 32) Warn("WARNING img->bitmap_pad: ", image->bitmap_pad);
    if (image->bitmap_unit != 32) Warn("WARNING img->bitmap_unit: ", image->bitmap_unit);
    if (image->depth != 24) Warn("WARNING img->depth: ", image->depth);
    if (image->bits_per_pixel != 32) Warn("WARNING img->bits_per_pixel: ", image->bits_per_pixel);
    if (image->bitmap_bit_order != LSBFirst) Warn("WARNING img->bitmap_bit_order: ", image->bitmap_bit_order);
    if (image->byte_order != LSBFirst) Warn("WARNING img->byte_order: ", image->byte_order);
    if (!colourBytesFound || pixelFormat.ixRosso != 2) Warn("WARNING MyImage::ixRosso: ", pixelFormat.ixRosso);
    if (!colourBytesFound || pixelFormat.ixVerde != 1) Warn("WARNING MyImage::ixVerde: ", pixelFormat.ixVerde);
    if (!colourBytesFound || pixelFormat.ixBlu != 0) Warn("WARNING MyImage::ixBlu: ", pixelFormat.ixBlu);
}

}  // namespace

const PixelFormat& CurrentPixelFormat() { return pixelFormat; }

bool ScreenIsTrueColour(Display* display, int screen) { return DefaultVisual(display, screen)->c_class == TrueColor; }

ChannelMasks ScreenChannelMasks(Display* display, int screen)
{
    return ScreenIsTrueColour(display, screen) ? ChannelMasks::Of(*DefaultVisual(display, screen)) : ChannelMasks{};
}

void ForgetPixelFormat(const Display* display)
{
    if (display != probedDisplay) return;
    pixelFormat = PixelFormat{};
    probedDisplay = nullptr;
}

void ProbePixelFormat(const DrawTarget& target)
{
    if (pixelFormat.depth != 0) return;
    if (!target.display || !target.window) return;
    DrawContext context(target);
    context.DrawPoint(0, 0, probeColour);
    XImage* image = XGetImage(target.display, target.window, 0, 0, 1, 1, AllPlanes, ZPixmap);
    if (!image) return;
    probedDisplay = target.display;
    pixelFormat.format = image->format;
    pixelFormat.xoffset = image->xoffset;
    pixelFormat.bitmapPad = image->bitmap_pad;
    pixelFormat.bitsPerPixel = image->bits_per_pixel;
    pixelFormat.bitmapBitOrder = image->bitmap_bit_order;
    pixelFormat.depth = image->depth;

    const bool colourBytesFound = FindColourBytes(image);
    const ChannelMasks masks = ChannelMasks::Of(*image);
    pixelFormat.drawable = CanDraw(image, masks);
    if (pixelFormat.drawable)
        pixelFormat.masks = masks;
    else
        WarnAboutLayout(image, colourBytesFound);
    XDestroyImage(image);
}

XImage* MakeImage(const DrawTarget& target, const unsigned char* rgb, int width, int height)
{
    if (!rgb || width <= 0 || height <= 0) return nullptr;
    ProbePixelFormat(target);
    const int bytesPerPixel = pixelFormat.bitsPerPixel / 8;
    // Pixels of less than a byte would make rows too short for the image Xlib expects.
    if (!target.display || pixelFormat.depth == 0 || bytesPerPixel == 0) return nullptr;

    const int padBytes = std::max(pixelFormat.bitmapPad / 8, 1);
    const int rowBytes = width * bytesPerPixel;
    const int stride = (rowBytes + padBytes - 1) / padBytes * padBytes;
    if (stride != rowBytes && !pixelFormat.drawable)
        Log("WARNING img width: " + IntToText(width) + " - bytes_per_line_Pad != bytes_per_line: " +
            IntToText(stride) + " " + IntToText(rowBytes));

    auto* data = new char[static_cast<std::size_t>(stride) * static_cast<std::size_t>(height)]();
    // The visual the windows are made with, which is the one the probe read back.
    XImage* image = XCreateImage(target.display, DefaultVisual(target.display, target.screen),
                                 static_cast<unsigned>(pixelFormat.depth), pixelFormat.format, pixelFormat.xoffset, data,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), padBytes * 8, stride);
    if (!image) {
        delete[] data;
        return nullptr;
    }
    // Xlib writes each pixel in the image's own byte order and width, as the server will read it.
    if (image->bits_per_pixel != pixelFormat.bitsPerPixel) {
        DestroyImage(image);
        return nullptr;
    }
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const unsigned char* source = rgb + (static_cast<std::size_t>(row) * width + column) * 3;
            const Colour colour = source[0] << 16 | source[1] << 8 | source[2];
            XPutPixel(image, column, row, pixelFormat.masks.ToPixel(colour));
        }
    }
    return image;
}

void DestroyImage(XImage* image)
{
    if (!image) return;
    delete[] image->data;
    image->data = nullptr;
    XFree(image);
}
