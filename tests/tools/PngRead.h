#pragma once
// Reads PNG files back through libpng, a decoder that shares nothing with tools/PngFile, so a
// fault in our writer cannot hide behind the same fault in the reader.

#include <optional>
#include <string>
#include <vector>

struct DecodedPng {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    // Always four bytes a pixel, red, green, blue and opacity, rows top-down.
    std::vector<unsigned char> rgba;

    const unsigned char* At(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4]; }
    unsigned Colour(int x, int y) const { const unsigned char* p = At(x, y); return static_cast<unsigned>(p[0] << 16 | p[1] << 8 | p[2]); }
};

std::optional<DecodedPng> DecodePngBytes(const std::vector<unsigned char>& bytes);
std::optional<DecodedPng> DecodePngFile(const std::string& path);
