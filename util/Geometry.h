#pragma once
// Small value types shared by every layer, with no X in them: positions and sizes in pixels
// (relative to the form's window; for forms, to the screen) and colours as 0xRRGGBB.

#include <cstdint>

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// 0xRRGGBB. It becomes the visual's pixel only where it is handed to X, and is that pixel itself
// only at depth 24.
using Colour = std::int32_t;
inline constexpr Colour noColour = -1;
// What a window or a widget without a colour of its own is painted in.
inline constexpr Colour defaultBackColour = 0xAAAAAA;
