#pragma once
// An element's font: a family, a pixel size and two style flags, turned into an XLFD pattern and
// loaded lazily on first use. All text is drawn in the main form's font.

#include <X11/Xlib.h>

#include <string>

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
    XFontStruct* Get(Display* display);
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

    XFontStruct* font = nullptr;
    bool loaded = false;
    Display* display = nullptr;
    std::string family;
    int pixelSize = 14;
    bool bold = false;
    bool italic = false;
    std::string pattern;
};
