#pragma once
// The drawing object of one paint: a GC on the owner's window, with primitives in window
// coordinates and colours as 0xRRGGBB (-1: keep the colour in force). There is no back buffer:
// every primitive is flushed at once, which is how a pressed button shows before its command.

#include <X11/Xlib.h>

#include <string>

#include "graphics/ChannelMasks.h"
#include "graphics/DrawTarget.h"
#include "util/Geometry.h"

struct FontHandle;

class DrawContext {
public:
    explicit DrawContext(const DrawTarget& target);
    ~DrawContext();
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    // False when the GC could not be made: every primitive then draws nothing.
    bool IsUsable() const { return gc != nullptr; }

    void DrawPoint(int x, int y, Colour colour);
    Colour GetPixel(int x, int y);
    void DrawLine(int x1, int y1, int x2, int y2, int style, Colour colour);
    void DrawRectangle(int x, int y, int w, int h, int lineWidth, Colour colour);
    void FillRectangle(int x, int y, int w, int h, int borderWidth, Colour borderColour, Colour fillColour);
    void DrawPolyline(const XPoint* points, int count, Colour colour);
    void FillPolygon(const XPoint* points, int count, int borderWidth, Colour borderColour, Colour fillColour);
    void DrawEllipse(int x, int y, int w, int h, Colour colour);
    void FillEllipse(int x, int y, int w, int h, int borderWidth, Colour borderColour, Colour fillColour);
    void DrawText(int x, int y, int w, int h, const std::string& text, Colour fg, Colour bg, int align);
    int LineHeight() const;
    int CharWidth() const;
    int TextWidth(const std::string& text) const;
    void PutImage(int x, int y, int w, int h, XImage* image);
    void PutImageRegion(int x, int y, int w, int h, XImage* image, int srcX, int srcY);
    void PutImageTransparent(int x, int y, int w, int h, XImage* image, Colour keyColour);
    void PutImageRegionTransparent(int x, int y, int w, int h, XImage* image, int srcX, int srcY, Colour keyColour);
    void DrawBitmapFile(int x, int y, int w, int h, int bitsPerPixel, const std::string& path);
    void DrawBitmapFileTransparent(int x, int y, int w, int h, int bitsPerPixel, const std::string& path);

    // Line styles of DrawLine.
    static constexpr int solid = 0;
    static constexpr int onOffDash = 1;
    static constexpr int doubleDash = 2;

private:
    void SetColour(Colour colour);
    void SetBackgroundColour(Colour colour);
    void RestoreLineAttributes();
    void Flush();
    void DrawTextLine(int x, int y, int w, int h, const std::string& text, Colour fg, Colour bg, int align,
                      bool centreVertically);
    void DrawString(int x, int baseline, const std::string& line);
    bool ClipToWindow(int& x, int& y, int& w, int& h) const;
    void DrawBitmap(int x, int y, int w, int h, int bitsPerPixel, const std::string& path, bool transparent);

    GC gc = nullptr;
    DrawTarget target;
    Display* display = nullptr;
    Window window = 0;
    const FontHandle* font = nullptr;
    // Every colour is turned into the visual's pixel here, at the one boundary with X.
    ChannelMasks masks;
};
