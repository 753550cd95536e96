#pragma once
// A small PNG writer for the icons and screenshots: 8-bit truecolour, with or without alpha,
// never interlaced. The same pixels always give the same bytes, so generated icons can be
// compared with earlier ones.

#include <string>
#include <vector>

struct PngImage {
    int width = 0;
    int height = 0;
    bool alpha = false;
    // Rows top-down without padding: red, green, blue and, with alpha, its opacity.
    std::vector<unsigned char> pixels;
};

// The whole file, or nothing when the size does not match the pixels or is not 1 to 65535 a side.
std::vector<unsigned char> EncodePng(const PngImage& image);

// Writes the file through a temporary beside it, so that a reader never sees half an image.
bool WritePng(const std::string& path, const PngImage& image);
