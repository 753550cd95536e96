#include "graphics/BitmapReaders.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "util/BinaryFile.h"
#include "util/Files.h"
#include "util/Strings.h"
#include "util/TextFile.h"

namespace {

constexpr std::int64_t headerSize = 54;
constexpr std::int64_t maxPaletteBytes = 1024;
constexpr std::size_t paletteEntrySize = 4;

std::uint32_t LittleEndian32(const unsigned char* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// The parts of a bitmap file that the readers use, checked against the file's real size.
struct BitmapContents {
    int width = 0;
    int height = 0;
    std::size_t rowBytes = 0;
    std::size_t stride = 0;
    // Raw palette entries as stored: blue, green, red, unused.
    std::vector<unsigned char> palette;
    std::vector<unsigned char> rows;

    std::size_t PaletteEntries() const { return palette.size() / paletteEntrySize; }
};

std::size_t RowBytes(int width, int bitsPerPixel)
{
    const auto pixels = static_cast<std::size_t>(width);
    if (bitsPerPixel == 24) return pixels * 3;
    if (bitsPerPixel == 8) return pixels;
    return (pixels + 1) / 2;
}

bool ReadContents(const std::string& path, int bitsPerPixel, BitmapContents& contents)
{
    // A FIFO or a device would block or never end: only plain files are bitmaps.
    if (!IsRegularFile(path)) return false;
    const std::int64_t fileSize = FileSize(path);
    BinaryFile file(path);
    if (file.OpenFailed() || fileSize < headerSize) return false;

    unsigned char header[headerSize];
    if (file.Read(0, header, sizeof header) != sizeof header) return false;
    const std::int64_t dataOffset = LittleEndian32(header + 10);
    const auto width = static_cast<std::int32_t>(LittleEndian32(header + 18));
    const auto height = static_cast<std::int32_t>(LittleEndian32(header + 22));
    if (width <= 0 || height <= 0 || width > maxBitmapSide || height > maxBitmapSide) return false;
    if (dataOffset < headerSize || dataOffset > fileSize) return false;

    contents.width = width;
    contents.height = height;
    contents.rowBytes = RowBytes(width, bitsPerPixel);
    contents.stride = (contents.rowBytes + 3) / 4 * 4;
    const std::size_t dataBytes = contents.stride * static_cast<std::size_t>(height);
    if (static_cast<std::size_t>(fileSize - dataOffset) < dataBytes) return false;

    if (bitsPerPixel != 24) {
        const std::int64_t paletteBytes = std::min(dataOffset - headerSize, maxPaletteBytes);
        contents.palette.resize(static_cast<std::size_t>(paletteBytes) / paletteEntrySize * paletteEntrySize);
        if (file.Read(headerSize, contents.palette.data(), contents.palette.size()) != contents.palette.size())
            return false;
    }
    contents.rows.resize(dataBytes);
    return file.Read(dataOffset, contents.rows.data(), dataBytes) == dataBytes;
}

RgbImage EmptyImageOf(const BitmapContents& contents)
{
    RgbImage image;
    image.width = contents.width;
    image.height = contents.height;
    image.pixels = std::make_unique<unsigned char[]>(static_cast<std::size_t>(contents.width) *
                                                     static_cast<std::size_t>(contents.height) * 3);
    return image;
}

unsigned char* OutputPixel(RgbImage& image, int fileRow, int column)
{
    // Bitmap rows run bottom-up; the RGB buffer's rows top-down.
    const auto row = static_cast<std::size_t>(image.height - 1 - fileRow);
    return image.pixels.get() + (row * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(column)) * 3;
}

void CopyPaletteColour(const BitmapContents& contents, unsigned index, unsigned char* pixel)
{
    if (index >= contents.PaletteEntries()) {
        pixel[0] = pixel[1] = pixel[2] = 0;
        return;
    }
    const unsigned char* entry = contents.palette.data() + index * paletteEntrySize;
    pixel[0] = entry[2];
    pixel[1] = entry[1];
    pixel[2] = entry[0];
}

std::string HexByte(unsigned char value) { return "0x" + ByteToHex(value) + ","; }

std::string ExportName(const std::string& path)
{
    std::string name = FileNameOf(path);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return ToUpper(name);
}

// The text declares the picture so that it compiles into a program as packed data: the palette
// as red, green, blue triples, then each row's data bytes without the file's padding, bottom row
// first, exactly as the file stores them.
void WriteExport(const std::string& path, const BitmapContents& contents)
{
    const std::string name = ExportName(path);
    std::string text = "int w" + name + " = " + IntToText(contents.width) + ";\n";
    text += "int h" + name + " = " + IntToText(contents.height) + ";\n\n";
    text += "char img" + name + "[] = {\n";
    for (std::size_t entry = 0; entry < contents.PaletteEntries(); ++entry) {
        const unsigned char* colour = contents.palette.data() + entry * paletteEntrySize;
        text += HexByte(colour[2]) + HexByte(colour[1]) + HexByte(colour[0]);
    }
    text += "\n";
    for (int fileRow = 0; fileRow < contents.height; ++fileRow) {
        const unsigned char* row = contents.rows.data() + static_cast<std::size_t>(fileRow) * contents.stride;
        for (std::size_t j = 0; j < contents.rowBytes; ++j) text += HexByte(row[j]);
        text += "\n";
    }
    text += "};\n";

    const std::string exportPath = path + ".c";
    if (FileExists(exportPath)) RemoveFile(exportPath);
    TextFile(exportPath).WriteLines({text});
}

}  // namespace

RgbImage ReadBitmap24(const std::string& path)
{
    BitmapContents contents;
    if (!ReadContents(path, 24, contents)) return {};
    RgbImage image = EmptyImageOf(contents);
    for (int fileRow = 0; fileRow < contents.height; ++fileRow) {
        const unsigned char* row = contents.rows.data() + static_cast<std::size_t>(fileRow) * contents.stride;
        for (int column = 0; column < contents.width; ++column) {
            const unsigned char* source = row + static_cast<std::size_t>(column) * 3;
            unsigned char* pixel = OutputPixel(image, fileRow, column);
            pixel[0] = source[2];
            pixel[1] = source[1];
            pixel[2] = source[0];
        }
    }
    return image;
}

RgbImage ReadBitmap8(const std::string& path)
{
    BitmapContents contents;
    if (!ReadContents(path, 8, contents)) return {};
    RgbImage image = EmptyImageOf(contents);
    for (int fileRow = 0; fileRow < contents.height; ++fileRow) {
        const unsigned char* row = contents.rows.data() + static_cast<std::size_t>(fileRow) * contents.stride;
        for (int column = 0; column < contents.width; ++column)
            CopyPaletteColour(contents, row[column], OutputPixel(image, fileRow, column));
    }
    return image;
}

RgbImage ReadBitmap4(const std::string& path)
{
    BitmapContents contents;
    if (!ReadContents(path, 4, contents)) return {};
    RgbImage image = EmptyImageOf(contents);
    for (int fileRow = 0; fileRow < contents.height; ++fileRow) {
        const unsigned char* row = contents.rows.data() + static_cast<std::size_t>(fileRow) * contents.stride;
        for (int column = 0; column < contents.width; ++column) {
            const unsigned char byte = row[column / 2];
            const unsigned index = column % 2 == 0 ? byte >> 4 : byte & 0x0Fu;
            CopyPaletteColour(contents, index, OutputPixel(image, fileRow, column));
        }
    }
    WriteExport(path, contents);
    return image;
}
