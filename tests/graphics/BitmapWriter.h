#pragma once
// Builds Windows bitmap files in memory for the reader tests, so that every case states its own
// pixels, palette and header fields.

#include <cstdint>
#include <string>
#include <vector>

struct BitmapSpec {
    int bitsPerPixel = 24;
    std::int32_t width = 0;
    std::int32_t height = 0;
    // Colours as 0xRRGGBB; stored as blue, green, red, unused.
    std::vector<std::uint32_t> palette;
    // Top row first: 0xRRGGBB for 24 bits, palette indices otherwise.
    std::vector<std::vector<std::uint32_t>> rows;
    // Extra bytes between the header and the palette, as a larger info header would leave.
    std::size_t headerExtra = 0;
    // Byte used for the padding at the end of each row: a value the readers must not show.
    unsigned char padding = 0xEE;
};

inline void PutLittleEndian(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

inline std::string BitmapBytes(const BitmapSpec& bitmap)
{
    const std::size_t offset = 54 + bitmap.headerExtra + bitmap.palette.size() * 4;
    std::string bytes(offset, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLittleEndian(bytes, 10, static_cast<std::uint32_t>(offset));
    PutLittleEndian(bytes, 14, static_cast<std::uint32_t>(40 + bitmap.headerExtra));
    PutLittleEndian(bytes, 18, static_cast<std::uint32_t>(bitmap.width));
    PutLittleEndian(bytes, 22, static_cast<std::uint32_t>(bitmap.height));
    bytes[26] = 1;
    bytes[28] = static_cast<char>(bitmap.bitsPerPixel);
    for (std::size_t i = 0; i < bitmap.palette.size(); ++i) {
        const std::size_t at = 54 + bitmap.headerExtra + i * 4;
        bytes[at] = static_cast<char>(bitmap.palette[i]);
        bytes[at + 1] = static_cast<char>(bitmap.palette[i] >> 8);
        bytes[at + 2] = static_cast<char>(bitmap.palette[i] >> 16);
    }
    for (auto row = bitmap.rows.rbegin(); row != bitmap.rows.rend(); ++row) {
        std::string data;
        for (std::size_t x = 0; x < row->size(); ++x) {
            const std::uint32_t value = (*row)[x];
            if (bitmap.bitsPerPixel == 24) {
                data += static_cast<char>(value);
                data += static_cast<char>(value >> 8);
                data += static_cast<char>(value >> 16);
            } else if (bitmap.bitsPerPixel == 8) {
                data += static_cast<char>(value);
            } else if (x % 2 == 0) {
                data += static_cast<char>(value << 4);
            } else {
                data.back() = static_cast<char>(static_cast<unsigned char>(data.back()) | (value & 0x0F));
            }
        }
        while (data.size() % 4 != 0) data += static_cast<char>(bitmap.padding);
        bytes += data;
    }
    PutLittleEndian(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}
