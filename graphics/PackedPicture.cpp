#include "graphics/PackedPicture.h"

namespace {

std::size_t BytesPerRow(int width) { return static_cast<std::size_t>(width / 2 + width % 2); }

bool ValidSide(int side) { return side > 0 && side <= maxPackedSide; }

}  // namespace

std::size_t PackedPictureSize(int width, int height)
{
    if (!ValidSide(width) || !ValidSide(height)) return packedPaletteSize;
    return packedPaletteSize + BytesPerRow(width) * static_cast<std::size_t>(height);
}

std::unique_ptr<unsigned char[]> UnpackPicture(int width, int height, const unsigned char* block,
                                               std::size_t blockSize)
{
    if (block == nullptr || !ValidSide(width) || !ValidSide(height)) return nullptr;
    if (blockSize < PackedPictureSize(width, height)) return nullptr;

    const std::size_t bytesPerRow = BytesPerRow(width);
    const auto pixelsPerRow = static_cast<std::size_t>(width);
    auto pixels = std::make_unique<unsigned char[]>(pixelsPerRow * static_cast<std::size_t>(height) * 3);
    const unsigned char* rows = block + packedPaletteSize;
    for (int storedRow = 0; storedRow < height; ++storedRow) {
        const unsigned char* row = rows + static_cast<std::size_t>(storedRow) * bytesPerRow;
        // The first stored row is the bottom one.
        unsigned char* out = pixels.get() + static_cast<std::size_t>(height - 1 - storedRow) * pixelsPerRow * 3;
        for (std::size_t column = 0; column < pixelsPerRow; ++column) {
            const unsigned char byte = row[column / 2];
            const unsigned index = column % 2 == 0 ? byte >> 4 : byte & 0x0Fu;
            const unsigned char* colour = block + index * 3;
            out[column * 3] = colour[0];
            out[column * 3 + 1] = colour[1];
            out[column * 3 + 2] = colour[2];
        }
    }
    return pixels;
}

std::unique_ptr<unsigned char[]> UnpackPicture(const PackedPicture& picture)
{
    return UnpackPicture(picture.width, picture.height, picture.data, picture.size);
}
