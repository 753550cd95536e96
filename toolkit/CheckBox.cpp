#include "toolkit/CheckBox.h"

#include <X11/Xlib.h>

#include "graphics/DrawContext.h"
#include "graphics/PackedPicture.h"
#include "graphics/PictureData.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"

namespace {

constexpr Colour disabledColour = 0x9B9B9B;
constexpr int boxSide = 20;

// The built-in pictures come as grey with a mark, white with a mark, grey empty, white empty:
// white is the enabled look, grey the disabled one.
constexpr int pictureFor[4] = {1, 0, 3, 2};

}  // namespace

CheckBox::CheckBox(GUIElement* parentElement, const std::string& caption) : Child(parentElement)
{
    text = caption;
    typeName = "checkbox";
    width = 80;
    height = 30;
    painted = true;
    relocation = Relocation::paintedInPlace;
}

void CheckBox::SetText(const std::string& caption) { SetAndPaint(text, caption); }

void CheckBox::Toggle()
{
    checked = !checked;
    PaintAtOnce();
    RunCommand(*this);
}

void CheckBox::Click(Point point)
{
    if (enabled && !Survives([&] { Toggle(); })) return;
    GUIElement::Click(point);
}

void CheckBox::MouseDown(Point) {}

void CheckBox::KeyDown(unsigned long) {}

bool CheckBox::KeyChar(char character)
{
    if (enabled && focused && character == ' ' && !Survives([&] { Toggle(); })) return false;
    return GUIElement::KeyChar(character);
}

void CheckBox::SetTextColor(Colour colour) { SetAndPaint(textColor, colour); }

void CheckBox::SetChecked(bool state) { SetAndPaint(checked, state); }

void CheckBox::MakeImages()
{
    for (int i = 0; i < 4; ++i) {
        if (images[i]) continue;
        if (const auto rgb = UnpackPicture(packedCheckBoxPictures[pictureFor[i]]))
            images[i].reset(MakeImage(Target(), rgb.get(), packedCheckBoxPictures[pictureFor[i]].width,
                                      packedCheckBoxPictures[pictureFor[i]].height));
    }
}

void CheckBox::Paint()
{
    if (!ReadyToPaint()) return;
    if (height < 22) height = 22;
    MakeImages();
    DrawContext context(Target());
    const Point origin = ToFormCoordinates(x, y);
    const int left = origin.x, top = origin.y;
    const Colour background = BackgroundColour();
    context.FillRectangle(left, top, width + 1, height + 1, 0, 0, background);

    const Picture picture = checked ? (enabled ? checkedPicture : checkedDisabledPicture)
                                    : (enabled ? uncheckedPicture : uncheckedDisabledPicture);
    if (XImage* image = images[picture].get()) context.PutImage(left + 1, top + 1, boxSide, boxSide, image);
    // The text's background fill covers one row more than the height it is given: one less keeps
    // it inside the box, where Hide can erase it.
    context.DrawText(left + 26, top + 1, width - 30, height - 1, text, enabled ? textColor : disabledColour, background, 0);

    if (focused && enabled) DrawFocusFrame(context, left + 23, top + 2, left + width - 8, top + height - 1, textColor);
}
