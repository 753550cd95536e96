#include "tools/harness/PlayerView.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <fstream>
#include <iterator>

#include "graphics/ChannelMasks.h"
#include "tools/harness/Poll.h"

int PlayerView::CatcherColumn(const Well& well)
{
    for (int column = 1; column <= 10; ++column)
        if (well[static_cast<std::size_t>(column + 12 * catcherRow)] == catcherSprite) return column;
    return -1;
}

std::pair<int, int> PlayerView::LowestBall(const Well& well)
{
    for (int row = catcherRow - 1; row >= 0; --row)
        for (int column = 1; column <= 10; ++column)
            if (IsBall(well[static_cast<std::size_t>(column + 12 * row)])) return {column, row};
    return {-1, -1};
}

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

PlayerView::Well PlayerView::ReadWell(Window game)
{
    Well well;
    well.fill(-1);
    constexpr int cell = 27, left = 175, top = 117, sheetWidth = 378;
    if (sheet.size() < static_cast<std::size_t>(sheetWidth * cell * 3)) return well;
    XImage* image = XGetImage(display, game, left, top, 12 * cell, 15 * cell, AllPlanes, ZPixmap);
    if (!image) return well;
    // The sheet's colours as the game puts them on this visual: 5/6/5 bits at depth 16, for one.
    const ChannelMasks masks = ChannelMasks::Of(*image);
    for (int index = 0; index < 180; ++index) {
        const int column = index % 12, row = index / 12;
        for (int sprite = 0; sprite < 14 && well[index] < 0; ++sprite) {
            bool same = true;
            for (int y = 0; y < cell && same; y += 2) {
                for (int x = 0; x < cell && same; x += 2) {
                    const unsigned char* rgb = &sheet[(y * sheetWidth + sprite * cell + x) * 3];
                    const std::uint32_t expected = masks.ToPixel(rgb[0] << 16 | rgb[1] << 8 | rgb[2]);
                    same = (XGetPixel(image, column * cell + x, row * cell + y) & masks.ColourBits()) == expected;
                }
            }
            if (same) well[index] = sprite;
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
    Click(main, 572 + 50, 177 + 14);
    const Window box = WaitForWindow("Exit", deadline);
    if (!box) return false;
    Click(box, 130 + 55, 110 + 14);
    return true;
}
