#include "graphics/DrawContext.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cctype>
#include <type_traits>

#include "graphics/BitmapReaders.h"
#include "graphics/FontDescription.h"
#include "graphics/Images.h"
#include "util/Files.h"
#include "util/Log.h"
#include "util/Strings.h"

// The headers that spare their users Xlib name its types through XHandles.h; a mismatch here
// would otherwise show only as a wrong id at run time.
static_assert(std::is_same_v<WindowId, Window>);
static_assert(std::is_same_v<PixmapId, Pixmap>);
static_assert(std::is_same_v<AtomId, Atom>);
static_assert(std::is_same_v<FontId, Font>);

namespace {

constexpr int fullCircle = 360 * 64;

unsigned Extent(int value) { return value > 0 ? static_cast<unsigned>(value) : 0u; }

}  // namespace

DrawContext::DrawContext(const DrawTarget& target) : target(target), display(target.display), window(target.window)
{
    if (!display) return;
    masks = ScreenChannelMasks(display, target.screen);
    // Text is measured even where there is no window to draw it on.
    if (target.font) font = target.font->Get(display);
    // A form without a window has nothing to draw on; that is not worth a log line.
    if (!window) return;
    XGCValues values{};
    gc = XCreateGC(display, window, GCCapStyle | GCJoinStyle, &values);
    if (!gc) {
        Log("Errore nella creazione del GC");
        return;
    }
    XSetForeground(display, gc, WhitePixel(display, target.screen));
    XSetBackground(display, gc, BlackPixel(display, target.screen));
    XSetFillStyle(display, gc, FillSolid);
    RestoreLineAttributes();
    if (font) XSetFont(display, gc, ServerFontId(*font));
}

DrawContext::~DrawContext()
{
    if (gc) XFreeGC(display, gc);
}

void DrawContext::SetColour(Colour colour)
{
    if (colour != noColour) XSetForeground(display, gc, masks.ToPixel(colour));
}

void DrawContext::SetBackgroundColour(Colour colour)
{
    if (colour != noColour) XSetBackground(display, gc, masks.ToPixel(colour));
}

void DrawContext::RestoreLineAttributes() { XSetLineAttributes(display, gc, 1, LineSolid, CapRound, JoinRound); }

void DrawContext::Flush() { XFlush(display); }

void DrawContext::DrawPoint(int x, int y, Colour colour)
{
    if (!gc) return;
    XSetForeground(display, gc, masks.ToPixel(colour));
    XDrawPoint(display, window, gc, x, y);
    Flush();
}

bool DrawContext::ClipToWindow(int& x, int& y, int& w, int& h) const
{
    // Reading outside the window is a protocol error that would end the program.
    const int right = std::min(x + w, target.width);
    const int bottom = std::min(y + h, target.height);
    x = std::max(x, 0);
    y = std::max(y, 0);
    w = right - x;
    h = bottom - y;
    return w > 0 && h > 0;
}

Colour DrawContext::GetPixel(int x, int y)
{
    int w = 1, h = 1;
    if (!gc || !ClipToWindow(x, y, w, h)) return 0;
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    const Colour colour = masks.FromPixel(static_cast<std::uint32_t>(XGetPixel(image, 0, 0)));
    XDestroyImage(image);
    return colour;
}

void DrawContext::DrawLine(int x1, int y1, int x2, int y2, int style, Colour colour)
{
    if (!gc) return;
    SetColour(colour);
    const bool dashed = style == onOffDash || style == doubleDash;
    if (dashed) XSetLineAttributes(display, gc, 1, style == onOffDash ? LineOnOffDash : LineDoubleDash, CapRound, JoinRound);
    XDrawLine(display, window, gc, x1, y1, x2, y2);
    if (dashed) RestoreLineAttributes();
    Flush();
}

void DrawContext::DrawRectangle(int x, int y, int w, int h, int lineWidth, Colour colour)
{
    if (!gc) return;
    SetColour(colour);
    if (lineWidth > 1) XSetLineAttributes(display, gc, Extent(lineWidth), LineSolid, CapRound, JoinRound);
    // X outlines one pixel more than asked in each direction: w - 1 gives exactly w columns.
    XDrawRectangle(display, window, gc, x, y, Extent(w - 1), Extent(h - 1));
    if (lineWidth > 1) RestoreLineAttributes();
    Flush();
}

void DrawContext::FillRectangle(int x, int y, int w, int h, int borderWidth, Colour borderColour, Colour fillColour)
{
    if (!gc) return;
    SetColour(fillColour);
    // One pixel less than the outline of the same box, in each direction; widgets that clear
    // their whole box pass one more.
    XFillRectangle(display, window, gc, x, y, Extent(w - 1), Extent(h - 1));
    Flush();
    if (borderWidth > 0) DrawRectangle(x, y, w - 1, h - 1, borderWidth, borderColour);
}

void DrawContext::DrawPolyline(const XPoint* points, int count, Colour colour)
{
    if (!gc || !points || count <= 0) return;
    SetColour(colour);
    XDrawLines(display, window, gc, const_cast<XPoint*>(points), count, CoordModeOrigin);
    Flush();
}

void DrawContext::FillPolygon(const XPoint* points, int count, int borderWidth, Colour borderColour,
                              Colour fillColour)
{
    if (!gc || !points || count <= 0) return;
    SetColour(fillColour);
    XFillPolygon(display, window, gc, const_cast<XPoint*>(points), count, Complex, CoordModeOrigin);
    Flush();
    if (borderWidth > 0) DrawPolyline(points, count, borderColour);
}

void DrawContext::DrawEllipse(int x, int y, int w, int h, Colour colour)
{
    if (!gc) return;
    SetColour(colour);
    XSetArcMode(display, gc, ArcPieSlice);
    XDrawArc(display, window, gc, x, y, Extent(w), Extent(h), 0, fullCircle);
    Flush();
}

void DrawContext::FillEllipse(int x, int y, int w, int h, int borderWidth, Colour borderColour, Colour fillColour)
{
    if (!gc) return;
    SetColour(fillColour);
    XSetArcMode(display, gc, ArcPieSlice);
    XFillArc(display, window, gc, x, y, Extent(w), Extent(h), 0, fullCircle);
    Flush();
    if (borderWidth > 0) DrawEllipse(x, y, w, h, borderColour);
}

int DrawContext::LineHeight() const { return font ? FontAscent(*font) + 1 : 15; }

int DrawContext::CharWidth() const { return TextWidth("M"); }

int DrawContext::TextWidth(const std::string& text) const
{
    return font ? ::TextWidth(*font, text) : 0;
}

void DrawContext::DrawString(int x, int baseline, const std::string& line)
{
    if (!line.empty()) XDrawString(display, window, gc, x, baseline, line.data(), static_cast<int>(line.size()));
    Flush();
}

void DrawContext::DrawText(int x, int y, int w, int h, const std::string& text, Colour fg, Colour bg, int align)
{
    if (!gc || !font) return;
    DrawTextLine(x, y, w, h, text, fg, bg, align, true);
}

// Draws the first line of the text and recurses for the rest. Only a single line that fits is
// centred vertically; wrapped text starts at the top and is left-aligned from the first wrap on.
void DrawContext::DrawTextLine(int x, int y, int w, int h, const std::string& text, Colour fg, Colour bg, int align,
                               bool centreVertically)
{
    SetColour(fg);
    SetBackgroundColour(bg);
    const int lineHeight = FontAscent(*font) <= 15 ? 15 : FontAscent(*font) + 1;
    if (h < 10) return;

    const std::size_t length = text.size();
    const std::size_t newline = text.find('\n');
    std::size_t rest = newline == std::string::npos ? 0 : length - newline;
    std::string line = text.substr(0, length - rest);
    const int baseline = y + lineHeight - 1;

    if (w < 1) {
        if (rest == 0) {
            DrawString(x, centreVertically ? baseline + (h - lineHeight) / 2 : baseline, line);
            return;
        }
        DrawString(x, baseline, line);
    } else {
        bool wrapped = false;
        while (TextWidth(line) > w && rest < length) {
            ++rest;
            const auto dropped = static_cast<unsigned char>(text[length - rest]);
            if (std::isalpha(dropped)) {
                // Break before the word rather than inside it, when there is an earlier space.
                const std::size_t space = length - rest == 0 ? std::string::npos : text.rfind(' ', length - rest - 1);
                if (space != std::string::npos) rest = length - space;
            }
            line = text.substr(0, length - rest);
            wrapped = true;
        }
        if (bg != noColour && centreVertically) {
            FillRectangle(x, y, w, h + 1, 0, 0, bg);
            SetColour(fg);
        }
        const int lineWidth = TextWidth(line);
        int lineX = x;
        if (!wrapped && lineWidth != 0 && align != 0) lineX = align == 1 ? x + w - lineWidth : x + (w - lineWidth) / 2;
        if (rest == 0) {
            DrawString(lineX, centreVertically ? baseline + (h - lineHeight) / 2 : baseline, line);
            return;
        }
        DrawString(lineX, baseline, line);
        if (wrapped) align = 0;
    }
    DrawTextLine(x, y + lineHeight, w, h - lineHeight, Trim(text.substr(line.size())), fg, bg, align, false);
}

void DrawContext::PutImage(int x, int y, int w, int h, XImage* image) { PutImageRegion(x, y, w, h, image, 0, 0); }

void DrawContext::PutImageRegion(int x, int y, int w, int h, XImage* image, int srcX, int srcY)
{
    if (!gc || !image) return;
    if (w == 0) w = image->width;
    if (h == 0) h = image->height;
    // Never read outside the image, whatever region is asked for.
    w = std::min(w, image->width - srcX);
    h = std::min(h, image->height - srcY);
    if (srcX < 0 || srcY < 0 || w <= 0 || h <= 0) return;
    XPutImage(display, window, gc, image, srcX, srcY, x, y, Extent(w), Extent(h));
    Flush();
}

void DrawContext::PutImageTransparent(int x, int y, int w, int h, XImage* image, Colour keyColour)
{
    if (!gc || !image) return;
    ProbePixelFormat(target);
    if (w == 0) w = image->width;
    if (h == 0) h = image->height;
    w = std::min(w, image->width);
    h = std::min(h, image->height);
    int areaX = x, areaY = y, areaW = w, areaH = h;
    if (!ClipToWindow(areaX, areaY, areaW, areaH)) return;
    XImage* background = XGetImage(display, window, areaX, areaY, Extent(areaW), Extent(areaH), AllPlanes, ZPixmap);
    if (background) {
        const ChannelMasks& layout = CurrentPixelFormat().masks;
        const std::uint32_t colourBits = layout.ColourBits();
        const std::uint32_t key = layout.ToPixel(keyColour);
        // Key-coloured pixels take the window's colour, so the picture keeps what it is drawn over.
        for (int row = 0; row < areaH; ++row) {
            for (int column = 0; column < areaW; ++column) {
                const int imageX = column + areaX - x, imageY = row + areaY - y;
                const auto pixel = static_cast<std::uint32_t>(XGetPixel(image, imageX, imageY));
                if ((pixel & colourBits) != key) continue;
                const auto under = static_cast<std::uint32_t>(XGetPixel(background, column, row));
                XPutPixel(image, imageX, imageY, (pixel & ~colourBits) | (under & colourBits));
            }
        }
        XDestroyImage(background);
    }
    PutImage(x, y, w, h, image);
}

void DrawContext::PutImageRegionTransparent(int x, int y, int w, int h, XImage* image, int srcX, int srcY,
                                            Colour keyColour)
{
    if (!gc || !image) return;
    w = std::min(w, image->width - srcX);
    h = std::min(h, image->height - srcY);
    if (srcX < 0 || srcY < 0 || w <= 0 || h <= 0) return;
    const Pixmap pixmap = XCreatePixmap(display, window, Extent(image->width), Extent(image->height),
                                        Extent(image->depth));
    XGCValues values{};
    GC pixmapGc = XCreateGC(display, pixmap, GCCapStyle | GCJoinStyle, &values);
    if (!pixmapGc) {
        Log("Errore XCreateGC");
    } else {
        XPutImage(display, pixmap, pixmapGc, image, 0, 0, 0, 0, Extent(image->width), Extent(image->height));
        XFreeGC(display, pixmapGc);
    }
    // The source stays untouched: the key is replaced in a copy of the region.
    if (XImage* area = XGetImage(display, pixmap, srcX, srcY, Extent(w), Extent(h), AllPlanes, ZPixmap)) {
        PutImageTransparent(x, y, w, h, area, keyColour);
        XDestroyImage(area);
    }
    XFreePixmap(display, pixmap);
}

void DrawContext::DrawBitmapFile(int x, int y, int w, int h, int bitsPerPixel, const std::string& path)
{
    DrawBitmap(x, y, w, h, bitsPerPixel, path, false);
}

void DrawContext::DrawBitmapFileTransparent(int x, int y, int w, int h, int bitsPerPixel, const std::string& path)
{
    DrawBitmap(x, y, w, h, bitsPerPixel, path, true);
}

void DrawContext::DrawBitmap(int x, int y, int w, int h, int bitsPerPixel, const std::string& path, bool transparent)
{
    if (!gc || !FileExists(path)) return;
    RgbImage pixels = bitsPerPixel == 4 ? ReadBitmap4(path)
                      : bitsPerPixel == 8 ? ReadBitmap8(path)
                      : bitsPerPixel == 24 ? ReadBitmap24(path)
                                           : RgbImage{};
    // The image is built at the file's own size, so a caller's size that does not match can
    // never make it read past the pixels.
    if (!pixels) return;
    ImagePtr image(MakeImage(target, pixels.pixels.get(), pixels.width, pixels.height));
    pixels.pixels.reset();
    if (transparent)
        PutImageTransparent(x, y, w, h, image.get(), 0);
    else
        PutImage(x, y, w, h, image.get());
}
