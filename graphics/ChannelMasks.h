#pragma once
// Colours as pixels of a TrueColor visual. Such a visual keeps red, green and blue in three bit
// fields named by its masks: 8 bits each at depth 24, but 5/6/5 at depth 16 and 10 bits each at
// depth 30, so 0xRRGGBB is the pixel itself only at depth 24. The conversion needs no X server,
// which is what lets it be checked on its own.

#include <bit>
#include <cstdint>

struct ChannelMasks {
    std::uint32_t red = 0xFF0000;
    std::uint32_t green = 0x00FF00;
    std::uint32_t blue = 0x0000FF;

    // The masks of whatever carries X's three mask fields: a Visual, an XImage.
    template <typename WithMasks>
    static constexpr ChannelMasks Of(const WithMasks& source)
    {
        return {static_cast<std::uint32_t>(source.red_mask), static_cast<std::uint32_t>(source.green_mask),
                static_cast<std::uint32_t>(source.blue_mask)};
    }

    // Each 8-bit channel of 0xRRGGBB scaled to the width of its field, to the nearest step.
    constexpr std::uint32_t ToPixel(std::int32_t colour) const
    {
        const auto rgb = static_cast<std::uint32_t>(colour);
        return ToField(rgb >> 16 & 0xFF, red) | ToField(rgb >> 8 & 0xFF, green) | ToField(rgb & 0xFF, blue);
    }

    // Back to 0xRRGGBB; exact for fields of 8 bits or more, the nearest 8-bit value below that.
    constexpr std::int32_t FromPixel(std::uint32_t pixel) const
    {
        return static_cast<std::int32_t>(FromField(pixel, red) << 16 | FromField(pixel, green) << 8 |
                                          FromField(pixel, blue));
    }

    // The bits that carry colour; what else a pixel holds is padding.
    constexpr std::uint32_t ColourBits() const { return red | green | blue; }

    friend bool operator==(const ChannelMasks&, const ChannelMasks&) = default;

private:
    static constexpr std::uint32_t ToField(std::uint32_t value, std::uint32_t mask)
    {
        if (mask == 0) return 0;
        const int shift = std::countr_zero(mask);
        const std::uint64_t top = mask >> shift;
        return static_cast<std::uint32_t>((value * top + 127) / 255) << shift;
    }

    static constexpr std::uint32_t FromField(std::uint32_t pixel, std::uint32_t mask)
    {
        if (mask == 0) return 0;
        const int shift = std::countr_zero(mask);
        const std::uint64_t top = mask >> shift;
        return static_cast<std::uint32_t>((((pixel & mask) >> shift) * std::uint64_t{255} + top / 2) / top);
    }
};
