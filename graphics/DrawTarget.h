#pragma once
// What a drawing context draws on, handed over by whoever owns it (a form hands its window): the
// display and window, the window's size, which bounds every read-back since reading outside a
// window is an X error, and the font that all text is drawn and measured in.

#include "graphics/XHandles.h"

class FontDescription;

struct DrawTarget {
    Display* display = nullptr;
    int screen = 0;
    WindowId window = 0;
    int width = 0;
    int height = 0;
    // Not owned; null draws no text.
    FontDescription* font = nullptr;
};
