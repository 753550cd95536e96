#include "toolkit/OptionBox.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstring>

#include "graphics/DrawContext.h"
#include "graphics/PackedPicture.h"
#include "graphics/PictureData.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"

namespace {

constexpr Colour disabledColour = 0x9B9B9B;
constexpr int pictureSide = 20;

// The built-in pictures come as grey with a dot, white with a dot, grey empty, white empty:
// white is the enabled look, grey the disabled one.
constexpr int pictureFor[4] = {1, 0, 3, 2};

}  // namespace

OptionBox::OptionBox(GUIElement* parentElement) : Child(parentElement)
{
    typeName = "optionbox";
    width = 80;
    height = 30;
    painted = true;
    relocation = Relocation::paintedInPlace;
}

void OptionBox::Choose(int index)
{
    selected = index;
    PaintAtOnce();
    RunCommand(*this);
}

void OptionBox::Click(Point point)
{
    if (enabled) {
        const int row = std::max((point.y - ToFormCoordinates(x, y).y) / itemHeight, 0);
        if (!Survives([&] { Choose(std::min(row, Count() - 1)); })) return;
    }
    GUIElement::Click(point);
}

void OptionBox::MouseDown(Point) {}

void OptionBox::KeyDown(unsigned long keysym)
{
    if (!enabled || !focused || (keysym != XK_Up && keysym != XK_Down)) return;
    const int count = Count();
    int next = selected;
    if (keysym == XK_Down)
        next = selected + 1 >= count ? 0 : selected + 1;
    else
        next = selected - 1 < 0 ? count - 1 : selected - 1;
    // With no items there is nothing to choose; "none" is the only valid answer.
    if (count == 0) next = -1;
    Choose(next);
}

bool OptionBox::KeyChar(char character)
{
    if (enabled && focused && character == ' ' && !Survives([&] { KeyDown(XK_Down); })) return false;
    return GUIElement::KeyChar(character);
}

bool OptionBox::SetSelected(int index)
{
    if (index < 0) index = 0;
    if (index >= Count()) return false;
    selected = index;
    Paint();
    return true;
}

// Removing an item before the selected one keeps the index, so the selection passes to the item
// that followed; removing at or after the last selected place moves the selection up one.
bool OptionBox::RemoveItem(int index)
{
    const int count = Count();
    if (index < 0 || index >= count) return false;
    captions.erase(captions.begin() + index);
    values.erase(values.begin() + index);
    if (selected >= count - 1) --selected;
    Paint();
    return true;
}

void OptionBox::AddItem(const std::string& caption, const std::string& value)
{
    captions.push_back(caption);
    values.push_back(value);
    Paint();
}

std::string OptionBox::CaptionAt(int index) const
{
    if (captions.empty()) return {};
    return index < 0 || index >= Count() ? captions.back() : captions[static_cast<std::size_t>(index)];
}

std::string OptionBox::ValueAt(int index) const
{
    if (values.empty()) return {};
    return index < 0 || index >= Count() ? values.back() : values[static_cast<std::size_t>(index)];
}

// An empty box has nothing selected: a selection left over would point past the items that
// are added later.
bool OptionBox::Clear()
{
    captions.clear();
    values.clear();
    selected = -1;
    return true;
}

void OptionBox::SetTextColor(Colour colour) { SetAndPaint(textColor, colour); }

void OptionBox::MakeImages()
{
    for (int i = 0; i < 4; ++i) {
        if (images[i]) continue;
        const PackedPicture& picture = packedOptionBoxPictures[pictureFor[i]];
        if (const auto rgb = UnpackPicture(picture)) images[i].reset(MakeImage(Target(), rgb.get(), picture.width, picture.height));
    }
    if (!scratch && images[unselectedPicture]) {
        const PackedPicture& picture = packedOptionBoxPictures[pictureFor[unselectedPicture]];
        if (const auto rgb = UnpackPicture(picture)) scratch.reset(MakeImage(Target(), rgb.get(), picture.width, picture.height));
    }
}

void OptionBox::Paint()
{
    if (!ReadyToPaint()) return;
    const int count = Count();
    if (height < count * itemHeight) height = count * itemHeight;
    MakeImages();
    DrawContext context(Target());
    const Point origin = ToFormCoordinates(x, y);
    const int left = origin.x;
    const Colour background = BackgroundColour();
    context.FillRectangle(left, origin.y, width + 1, height + 1, 0, 0, background);

    for (int i = 0; i < count; ++i) {
        const int bottom = origin.y + 25 + itemHeight * i;
        const Picture picture = i == selected ? (enabled ? selectedPicture : selectedDisabledPicture)
                                              : (enabled ? unselectedPicture : unselectedDisabledPicture);
        const XImage* source = images[picture].get();
        if (source && scratch && source->bytes_per_line == scratch->bytes_per_line && source->height == scratch->height) {
            std::memcpy(scratch->data, source->data, static_cast<std::size_t>(source->bytes_per_line) * source->height);
            context.PutImageTransparent(left + 1, bottom - 19, pictureSide, pictureSide, scratch.get(), 0x000000);
        }
        // The text's background fill covers one row more than the height it is given: one less
        // keeps the last caption inside the box, where Hide can erase it.
        context.DrawText(left + 28, bottom - 24, width - 30, itemHeight - 1, captions[static_cast<std::size_t>(i)],
                         enabled ? textColor : disabledColour, background, 0);
        if (focused && enabled && (i == selected || (i == 0 && selected == -1)))
            DrawFocusFrame(context, left + 25, bottom - 23, left + width - 6, bottom, textColor);
    }
}
