#pragma once
// Readers of uncompressed Windows bitmap files of 24, 8 and 4 bits per pixel. They turn the file
// into an RGB buffer: 3 bytes per pixel (red, green, blue), the top row first, no row padding.
//
// The caller picks the reader by the depth it expects; the bit-count and compression fields are
// not looked at. A bitmap file is untrusted input: a file that is missing, shorter than its header
// promises, with a width or height that is zero, negative or larger than maxBitmapSide, or with a
// pixel-data offset before the end of the header or past the end of the file gives an empty
// RgbImage (null pixels, width and height 0). None of them logs anything.

#include <memory>
#include <string>

struct RgbImage {
    int width = 0;
    int height = 0;
    // width * height * 3 bytes, or null when the file could not be used.
    std::unique_ptr<unsigned char[]> pixels;

    explicit operator bool() const { return pixels != nullptr; }
};

inline constexpr int maxBitmapSide = 16384;

RgbImage ReadBitmap24(const std::string& path);
// Palette indices without an entry in the file's palette give black.
RgbImage ReadBitmap8(const std::string& path);
// Also writes the picture as C source text to path + ".c" (replacing a file of that name), in the
// packed 16-colour form that UnpackPicture decodes. Nothing is written for a file it refuses.
RgbImage ReadBitmap4(const std::string& path);
