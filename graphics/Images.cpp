#include "graphics/Images.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>

#include "graphics/DrawContext.h"
#include "graphics/MyImage.h"
#include "toolkit/Child.h"
#include "toolkit/DisplayConnection.h"
#include "toolkit/Form.h"
#include "util/Log.h"
#include "util/Strings.h"

static_assert(zPixmapFormat == ZPixmap);

namespace {

PixelFormat pixelFormat;

// A colour whose three bytes differ from each other and from 0 and 0xFF, so each can be found.
constexpr Colour probeColour = 0xCF3B76;

Form* FormOf(GUIElement* element)
{
    while (element && element->TypeName() != "form") element = element->GetParent();
    return static_cast<Form*>(element);
}

void Warn(const char* what, long value) { Log(std::string(what) + IntToText(value)); }

}  // namespace

const PixelFormat& CurrentPixelFormat() { return pixelFormat; }

void ForgetPixelFormat() { pixelFormat = PixelFormat{}; }

void ProbePixelFormat(GUIElement* element)
{
    if (pixelFormat.depth != 0) return;
    Form* form = FormOf(element);
    if (!form || !form->GetXDisplay() || !form->GetWindow()) return;
    DrawContext context(form);
    context.DrawPoint(0, 0, probeColour);
    XImage* image = XGetImage(form->GetXDisplay(), form->GetWindow(), 0, 0, 1, 1, AllPlanes, ZPixmap);
    if (!image) return;
    pixelFormat.format = image->format;
    pixelFormat.xoffset = image->xoffset;
    pixelFormat.bitmapPad = image->bitmap_pad;
    pixelFormat.bitsPerPixel = image->bits_per_pixel;
    pixelFormat.bitmapBitOrder = image->bitmap_bit_order;
    pixelFormat.depth = image->depth;

    if (image->format != ZPixmap) Warn("WARNING img->format: ", image->format);
    if (image->xoffset != 0) Warn("WARNING img->xoffset: ", image->xoffset);
    if (image->bitmap_pad != 32) Warn("WARNING img->bitmap_pad: ", image->bitmap_pad);
    if (image->bitmap_unit != 32) Warn("WARNING img->bitmap_unit: ", image->bitmap_unit);
    if (image->depth != 24) Warn("WARNING img->depth: ", image->depth);
    if (image->bits_per_pixel != 32) Warn("WARNING img->bits_per_pixel: ", image->bits_per_pixel);
    if (image->bitmap_bit_order != LSBFirst) Warn("WARNING img->bitmap_bit_order: ", image->bitmap_bit_order);
    if (image->byte_order != LSBFirst) Warn("WARNING img->byte_order: ", image->byte_order);

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
            MyImage::ixRosso = i;
            foundRed = true;
        }
        if (byte == 0x3B) {
            MyImage::ixVerde = i;
            foundGreen = true;
        }
        if (byte == 0x76) {
            MyImage::ixBlu = i;
            foundBlue = true;
        }
    }
    const bool allFound = foundRed && foundGreen && foundBlue;
    if (!allFound || MyImage::ixRosso != 2) Warn("WARNING MyImage::ixRosso: ", MyImage::ixRosso);
    if (!allFound || MyImage::ixVerde != 1) Warn("WARNING MyImage::ixVerde: ", MyImage::ixVerde);
    if (!allFound || MyImage::ixBlu != 0) Warn("WARNING MyImage::ixBlu: ", MyImage::ixBlu);
    XDestroyImage(image);
}

XImage* MakeImage(GUIElement* element, const unsigned char* rgb, int width, int height)
{
    if (!rgb || width <= 0 || height <= 0) return nullptr;
    ProbePixelFormat(element);
    Form* form = FormOf(element);
    if (!form || !form->GetXDisplay() || pixelFormat.depth == 0) return nullptr;

    const int bytesPerPixel = pixelFormat.bitsPerPixel / 8;
    const int padBytes = std::max(pixelFormat.bitmapPad / 8, 1);
    const int rowBytes = width * bytesPerPixel;
    const int stride = (rowBytes + padBytes - 1) / padBytes * padBytes;
    if (stride != rowBytes)
        Log("WARNING img width: " + IntToText(width) + " - bytes_per_line_Pad != bytes_per_line: " +
            IntToText(stride) + " " + IntToText(rowBytes));

    auto* data = new char[static_cast<std::size_t>(stride) * static_cast<std::size_t>(height)]();
    const int colourBytes[3] = {MyImage::ixRosso, MyImage::ixVerde, MyImage::ixBlu};
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const unsigned char* source = rgb + (static_cast<std::size_t>(row) * width + column) * 3;
            char* target = data + static_cast<std::size_t>(row) * stride + column * bytesPerPixel;
            // On a display with narrower pixels than probed for, a colour byte may have no place.
            for (int channel = 0; channel < 3; ++channel)
                if (colourBytes[channel] < bytesPerPixel) target[colourBytes[channel]] = static_cast<char>(source[channel]);
        }
    }
    DisplayConnection* connection = form->GetDisplayConnection();
    Display* display = form->GetXDisplay();
    Visual* visual = connection->GetVisualInfo() ? connection->GetVisualInfo()->visual
                                                 : DefaultVisual(display, connection->GetScreen());
    XImage* image = XCreateImage(display, visual, static_cast<unsigned>(pixelFormat.depth), pixelFormat.format,
                                 pixelFormat.xoffset, data, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), padBytes * 8, stride);
    if (!image) delete[] data;
    return image;
}

void DestroyImage(XImage* image)
{
    if (!image) return;
    delete[] image->data;
    image->data = nullptr;
    XFree(image);
}
