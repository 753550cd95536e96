// The 24, 8 and 4-bit bitmap readers on any file, and the 4-bit reader's export: whatever a
// reader accepts must be a whole picture of the size the header gives, and a 4-bit picture with
// a palette of 16 entries must come back from its exported source text as the same pixels.

#include <cctype>
#include <cstdlib>
#include <vector>

#include "graphics/BitmapReaders.h"
#include "graphics/PackedPicture.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

const char* const bitmapPath = "fuzz.bmp";

std::uint32_t Field(const std::uint8_t* data, std::size_t size, std::size_t at)
{
    if (at + 4 > size) return 0;
    return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<std::uint32_t>(data[at + 3]) << 24;
}

void CheckShape(const RgbImage& image, const std::uint8_t* data, std::size_t size)
{
    if (!image) {
        FUZZ_CHECK(image.width == 0 && image.height == 0);
        return;
    }
    FUZZ_CHECK(size >= 54);
    FUZZ_CHECK(image.width == static_cast<std::int32_t>(Field(data, size, 18)));
    FUZZ_CHECK(image.height == static_cast<std::int32_t>(Field(data, size, 22)));
    FUZZ_CHECK(image.width > 0 && image.width <= maxBitmapSide && image.height > 0 && image.height <= maxBitmapSide);
}

// The bytes of the export's initialiser, in order.
std::vector<unsigned char> ExportedBytes(const std::string& text)
{
    std::vector<unsigned char> bytes;
    const std::size_t open = text.find('{');
    if (open == std::string::npos) return bytes;
    for (std::size_t at = text.find("0x", open); at != std::string::npos; at = text.find("0x", at + 2))
        bytes.push_back(static_cast<unsigned char>(std::strtoul(text.c_str() + at + 2, nullptr, 16)));
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnterFuzzFolder();
    WriteFuzzFile(bitmapPath, data, size);
    CheckShape(ReadBitmap24(bitmapPath), data, size);
    CheckShape(ReadBitmap8(bitmapPath), data, size);

    const std::string exportPath = std::string(bitmapPath) + ".c";
    std::remove(exportPath.c_str());
    const RgbImage image = ReadBitmap4(bitmapPath);
    CheckShape(image, data, size);
    const std::string exported = ReadFuzzFile(exportPath);
    FUZZ_CHECK(static_cast<bool>(image) == !exported.empty());
    if (image && Field(data, size, 10) == 54 + 64) {
        const std::vector<unsigned char> block = ExportedBytes(exported);
        FUZZ_CHECK(block.size() == PackedPictureSize(image.width, image.height));
        const auto unpacked = UnpackPicture(image.width, image.height, block.data(), block.size());
        FUZZ_CHECK(unpacked != nullptr);
        const std::size_t bytes = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3;
        for (std::size_t i = 0; i < bytes; ++i) FUZZ_CHECK(unpacked[i] == image.pixels[i]);
    }
    return 0;
}
