#pragma once
// Packed 16-colour pictures, the form in which the built-in pictures are compiled into the program
// and in which the 4-bit bitmap reader exports a picture: 16 palette entries of red, green and
// blue (48 bytes), then the rows bottom row first, ceil(width / 2) bytes each, the high nibble of
// a byte being the left pixel's palette index and the low nibble the right one's. In rows of odd
// width the low nibble of the last byte is not used. Width and height are kept beside the bytes.

#include <cstddef>
#include <memory>

struct PackedPicture {
    int width = 0;
    int height = 0;
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

inline constexpr std::size_t packedPaletteSize = 48;
inline constexpr int maxPackedSide = 16384;

// The block size of a picture of this size: 48 + ceil(width / 2) * height.
std::size_t PackedPictureSize(int width, int height);

// Decodes a packed picture into an RGB buffer of width * height * 3 bytes, top row first, owned by
// the caller. Gives null for a width or height outside 1 to maxPackedSide, a null block, or a block
// shorter than PackedPictureSize(width, height); bytes beyond that size are ignored.
std::unique_ptr<unsigned char[]> UnpackPicture(int width, int height, const unsigned char* block,
                                               std::size_t blockSize);
std::unique_ptr<unsigned char[]> UnpackPicture(const PackedPicture& picture);
