#include "graphics/FontDescription.h"

#include <X11/Xlib.h>

#include <set>

#include "util/Log.h"
#include "util/Strings.h"

namespace {

// A font that is missing is asked for again at every draw; the first failure for a pattern says
// all there is to say, and repeating it would grow the log without bound.
bool FirstFailureOf(const std::string& pattern)
{
    static std::set<std::string> reported;
    return reported.insert(pattern).second;
}

}  // namespace

// The font with the display it was loaded on, which freeing it needs.
struct FontHandle {
    Display* display;
    XFontStruct* font;
};

void FontHandleDeleter::operator()(FontHandle* handle) const
{
    XFreeFont(handle->display, handle->font);
    delete handle;
}

int FontAscent(const FontHandle& font) { return font.font->ascent; }

FontId ServerFontId(const FontHandle& font) { return font.font->fid; }

int TextWidth(const FontHandle& font, std::string_view text)
{
    return XTextWidth(font.font, text.data(), static_cast<int>(text.size()));
}

// A copy takes the description only: the loaded font has one owner, and the copy loads its own
// when it is first asked for.
FontDescription::FontDescription(const FontDescription& other)
    : family(other.family), pixelSize(other.pixelSize), bold(other.bold), italic(other.italic)
{
}

FontDescription& FontDescription::operator=(const FontDescription& other)
{
    if (this != &other) {
        Release();
        family = other.family;
        pixelSize = other.pixelSize;
        bold = other.bold;
        italic = other.italic;
        pattern.clear();
    }
    return *this;
}

FontDescription::~FontDescription() { Release(); }

void FontDescription::Release()
{
    font.reset();
    loaded = false;
}

std::string FontDescription::BuildPattern()
{
    pattern = family.empty() ? "-*-*-" : "-" + family + "-";
    pattern += bold ? "Bold-R-" : "Medium-R-";
    pattern += italic ? "Italic--" : "Normal--";
    pattern += IntToText(pixelSize) + "-*";
    return pattern;
}

void FontDescription::Load(Display* onDisplay)
{
    Release();
    display = onDisplay;
    BuildPattern();
    if (XFontStruct* loadedFont = display ? XLoadQueryFont(display, pattern.c_str()) : nullptr)
        font.reset(new FontHandle{display, loadedFont});
    if (!font) {
        if (FirstFailureOf(pattern)) Log("XLoadQueryFont failed");
        return;
    }
    loaded = true;
}

const FontHandle* FontDescription::Get(Display* onDisplay)
{
    if (!font) Load(onDisplay);
    return font.get();
}

int FontDescription::Height() const { return loaded && font ? FontAscent(*font) : pixelSize; }
