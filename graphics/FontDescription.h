#pragma once
// An element's font: a family, a pixel size and two style flags, turned into an XLFD pattern and
// loaded lazily on first use. All text is drawn in the main form's font.

#include <memory>
#include <string>
#include <string_view>

#include "graphics/XHandles.h"

// A font loaded on the X server. Only FontDescription.cpp knows what it holds, so that every
// element can carry a font without its users seeing Xlib; the drawing context asks the functions
// below for what it needs.
struct FontHandle;
struct FontHandleDeleter {
    void operator()(FontHandle* handle) const;
};

int FontAscent(const FontHandle& font);
FontId ServerFontId(const FontHandle& font);
int TextWidth(const FontHandle& font, std::string_view text);

class FontDescription {
public:
    FontDescription() = default;
    explicit FontDescription(std::string family) : family(std::move(family)) {}
    FontDescription(std::string family, int pixelSize) : family(std::move(family)), pixelSize(pixelSize) {}
    FontDescription(const FontDescription& other);
    FontDescription& operator=(const FontDescription& other);
    ~FontDescription();

    std::string BuildPattern();
    void Load(Display* display);
    // The loaded font, loading it first when needed; null when it cannot be loaded.
    const FontHandle* Get(Display* display);
    int Height() const;
    bool IsLoaded() const { return loaded; }

    int GetPixelSize() const { return pixelSize; }
    void SetPixelSize(int size) { pixelSize = size; }
    bool GetBold() const { return bold; }
    void SetBold(bool value) { bold = value; }
    bool GetItalic() const { return italic; }
    void SetItalic(bool value) { italic = value; }
    const std::string& GetPattern() const { return pattern; }

private:
    void Release();

    std::unique_ptr<FontHandle, FontHandleDeleter> font;
    bool loaded = false;
    Display* display = nullptr;
    std::string family;
    int pixelSize = 14;
    bool bold = false;
    bool italic = false;
    std::string pattern;
};
