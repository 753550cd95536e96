#include "tools/PngFile.h"

#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void PutBigEndian(std::vector<unsigned char>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

void PutChunk(std::vector<unsigned char>& out, const char type[5], const std::vector<unsigned char>& data)
{
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    // The checksum covers the type and the data, not the length.
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), out.data() + typeStart, static_cast<uInt>(4 + data.size()));
    PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

int Paeth(int left, int up, int upLeft)
{
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up), toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) return left;
    return toUp <= toUpLeft ? up : upLeft;
}

// Each row is filtered with the filter whose output has the smallest sum of magnitudes, the
// usual guess at which one deflate will pack best; flat artwork then shrinks to a few kilobytes.
std::vector<unsigned char> FilteredRows(const PngImage& image, std::size_t bytesPerPixel)
{
    const std::size_t stride = static_cast<std::size_t>(image.width) * bytesPerPixel;
    const std::vector<unsigned char> zeros(stride, 0);
    std::vector<unsigned char> out;
    out.reserve((stride + 1) * static_cast<std::size_t>(image.height));
    std::array<std::vector<unsigned char>, 5> candidates;
    for (auto& candidate : candidates) candidate.resize(stride);
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* row = image.pixels.data() + static_cast<std::size_t>(y) * stride;
        const unsigned char* above = y > 0 ? row - stride : zeros.data();
        std::size_t best = 0;
        long bestCost = -1;
        for (std::size_t filter = 0; filter < candidates.size(); ++filter) {
            long cost = 0;
            for (std::size_t i = 0; i < stride; ++i) {
                const int left = i >= bytesPerPixel ? row[i - bytesPerPixel] : 0;
                const int upLeft = i >= bytesPerPixel ? above[i - bytesPerPixel] : 0;
                int predicted = 0;
                switch (filter) {
                case 1: predicted = left; break;
                case 2: predicted = above[i]; break;
                case 3: predicted = (left + above[i]) / 2; break;
                case 4: predicted = Paeth(left, above[i], upLeft); break;
                default: break;
                }
                const auto value = static_cast<unsigned char>(row[i] - predicted);
                candidates[filter][i] = value;
                cost += value < 128 ? value : 256 - value;
            }
            if (bestCost < 0 || cost < bestCost) {
                bestCost = cost;
                best = filter;
            }
        }
        out.push_back(static_cast<unsigned char>(best));
        out.insert(out.end(), candidates[best].begin(), candidates[best].end());
    }
    return out;
}

}  // namespace

std::vector<unsigned char> EncodePng(const PngImage& image)
{
    const std::size_t bytesPerPixel = image.alpha ? 4 : 3;
    if (image.width < 1 || image.height < 1 || image.width > 65535 || image.height > 65535 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * bytesPerPixel)
        return {};

    const std::vector<unsigned char> raw = FilteredRows(image, bytesPerPixel);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
        return {};
    packed.resize(packedSize);

    std::vector<unsigned char> header;
    PutBigEndian(header, static_cast<std::uint32_t>(image.width));
    PutBigEndian(header, static_cast<std::uint32_t>(image.height));
    // Bit depth 8; colour type 6 (RGBA) or 2 (RGB); deflate; adaptive filtering; no interlace.
    header.insert(header.end(), {8, static_cast<unsigned char>(image.alpha ? 6 : 2), 0, 0, 0});

    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});
    return file;
}

bool WritePng(const std::string& path, const PngImage& image)
{
    const std::vector<unsigned char> bytes = EncodePng(image);
    if (bytes.empty()) return false;
    const std::string temporary = path + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
