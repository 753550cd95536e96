#include "graphics/FontDescription.h"

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
    if (loaded && font && display) XFreeFont(display, font);
    font = nullptr;
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
    if (display) font = XLoadQueryFont(display, pattern.c_str());
    if (!font) {
        if (FirstFailureOf(pattern)) Log("XLoadQueryFont failed");
        return;
    }
    loaded = true;
}

XFontStruct* FontDescription::Get(Display* onDisplay)
{
    if (!font) Load(onDisplay);
    return font;
}

int FontDescription::Height() const { return loaded && font ? font->ascent : pixelSize; }
