// The packed-picture decoder on any block and any size: it must refuse what does not fit and
// decode what does exactly as the packed form is described (48 bytes of palette, then the rows
// bottom first, two pixels a byte, the left one in the high nibble).

#include <cstring>

#include "graphics/PackedPicture.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4) return 0;
    // Sizes from the first four bytes, as signed 16-bit numbers so that zero and negative ones
    // come up too.
    const int width = static_cast<std::int16_t>(data[0] | data[1] << 8);
    const int height = static_cast<std::int16_t>(data[2] | data[3] << 8);
    const std::uint8_t* block = data + 4;
    const std::size_t blockSize = size - 4;

    const auto pixels = UnpackPicture(width, height, block, blockSize);
    const bool fits = width >= 1 && width <= maxPackedSide && height >= 1 && height <= maxPackedSide &&
                      blockSize >= 48 + static_cast<std::size_t>((width + 1) / 2) * static_cast<std::size_t>(height);
    FUZZ_CHECK((pixels != nullptr) == fits);
    if (!pixels) return 0;
    FUZZ_CHECK(PackedPictureSize(width, height) ==
               48 + static_cast<std::size_t>((width + 1) / 2) * static_cast<std::size_t>(height));
    const auto columns = static_cast<std::size_t>(width);
    const std::size_t rowBytes = (columns + 1) / 2;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* stored = block + 48 + static_cast<std::size_t>(height - 1 - y) * rowBytes;
        for (std::size_t x = 0; x < columns; ++x) {
            const std::uint8_t byte = stored[x / 2];
            const int index = x % 2 == 0 ? byte >> 4 : byte & 15;
            const unsigned char* pixel = pixels.get() + (static_cast<std::size_t>(y) * columns + x) * 3;
            FUZZ_CHECK(std::memcmp(pixel, block + index * 3, 3) == 0);
        }
    }
    return 0;
}
