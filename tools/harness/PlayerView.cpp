#include "tools/harness/PlayerView.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <fstream>
#include <iterator>

#include "graphics/ChannelMasks.h"
#include "tools/harness/Poll.h"

PlayerView::PlayerView(const std::string& sheetPath, const std::string& displayName)
{
    display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    std::ifstream in(sheetPath, std::ios::binary);
    sheet.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

PlayerView::~PlayerView()
{
    if (display) XCloseDisplay(display);
}

std::string PlayerView::WindowName(Window window)
{
    char* name = nullptr;
    std::string text;
    if (XFetchName(display, window, &name) && name) {
        text = name;
        XFree(name);
    }
    return text;
}

Window PlayerView::FindWindow(const std::string& namePrefix)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
            WindowName(children[i]).rfind(namePrefix, 0) == 0)
            found = children[i];
    }
    if (children) XFree(children);
    return found;
}

std::array<int, 4> PlayerView::Geometry(Window window)
{
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

ShownWell PlayerView::ReadWell(Window game)
{
    using namespace WellLayout;
    ShownWell well;
    if (sheet.size() < static_cast<std::size_t>(sheetBytes)) return well;
    XImage* image = XGetImage(display, game, wellLeft, wellTop, wellWidth, wellHeight, AllPlanes, ZPixmap);
    if (!image) return well;
    // The sheet's colours as the game puts them on this visual: 5/6/5 bits at depth 16, for one.
    const ChannelMasks masks = ChannelMasks::Of(*image);
    for (int row = 0; row < Well::rows; ++row) {
        for (int column = 0; column < Well::columns; ++column) {
            for (int sprite = 0; sprite < spriteCount && well.SpriteAt(column, row) < 0; ++sprite) {
                bool same = true;
                for (int y = 0; y < cellSize && same; y += 2) {
                    for (int x = 0; x < cellSize && same; x += 2) {
                        const unsigned char* rgb = &sheet[static_cast<std::size_t>((y * sheetWidth + sprite * cellSize + x) * 3)];
                        const std::uint32_t expected = masks.ToPixel(rgb[0] << 16 | rgb[1] << 8 | rgb[2]);
                        same = (XGetPixel(image, column * cellSize + x, row * cellSize + y) & masks.ColourBits()) == expected;
                    }
                }
                if (same) well.SetSprite(column, row, sprite);
            }
        }
    }
    XDestroyImage(image);
    return well;
}

std::vector<unsigned long> PlayerView::Pixels(Window window, int x, int y, int width, int height)
{
    std::vector<unsigned long> values;
    XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (!image) return values;
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) values.push_back(XGetPixel(image, column, row));
    XDestroyImage(image);
    return values;
}

void PlayerView::MovePointer(Window window, int x, int y)
{
    const auto place = Geometry(window);
    XTestFakeMotionEvent(display, -1, place[0] + x, place[1] + y, CurrentTime);
    XSync(display, False);
}

void PlayerView::Click(Window window, int x, int y)
{
    MovePointer(window, x, y);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
}

void PlayerView::Key(unsigned long keysym, bool down)
{
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), down, CurrentTime);
    XSync(display, False);
}

void PlayerView::Hold(unsigned long keysym)
{
    if (held == keysym) return;
    if (held) Key(held, false);
    if (keysym) Key(keysym, true);
    held = keysym;
}

void PlayerView::Type(unsigned long keysym, bool shifted)
{
    if (shifted) Key(XK_Shift_L, true);
    Key(keysym, true);
    Key(keysym, false);
    if (shifted) Key(XK_Shift_L, false);
}

Window PlayerView::WaitForWindow(const std::string& namePrefix, std::chrono::milliseconds deadline)
{
    Window found = 0;
    WaitFor([&] { return (found = FindWindow(namePrefix)) != 0; }, deadline);
    return found;
}

Window PlayerView::WaitForMainWindow(std::chrono::milliseconds deadline)
{
    return WaitForWindow("Korvanta - ", deadline);
}

bool PlayerView::QuitGame(std::chrono::milliseconds deadline)
{
    const Window main = WaitForMainWindow(deadline);
    if (!main) return false;
    Click(main, WellLayout::buttonCentreX, WellLayout::ButtonCentreY(WellLayout::exitTop));
    const Window box = WaitForWindow("Exit", deadline);
    if (!box) return false;
    Click(box, 130 + 55, 110 + 14);
    return true;
}
