#include "toolkit/ButtonCustom.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "graphics/DrawContext.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"

namespace {

constexpr char carriageReturn = 13;

}  // namespace

ButtonCustom::ButtonCustom(GUIElement* form, const std::string& caption) : Child(form)
{
    typeName = "ButtonCustom";
    tabStop = true;
    painted = true;
    width = 80;
    height = 30;
    text = caption;
    relocation = Relocation::hiddenAndShown;
}

void ButtonCustom::SetText(const std::string& value) { SetAndPaint(text, value); }

void ButtonCustom::SetPressed(bool value)
{
    pressed = value;
    PaintAtOnce();
}

void ButtonCustom::MouseDown(Point point)
{
    if (!enabled) return;
    SetPressed(true);
    Child::MouseDown(point);
}

void ButtonCustom::Click(Point point)
{
    if (!enabled) return;
    SetPressed(false);
    if (!Survives([&] { RunCommand(*this); })) return;
    Child::Click(point);
}

void ButtonCustom::KeyDown(unsigned long keysym)
{
    if (!enabled) return;
    if (!Survives([&] { Child::KeyDown(keysym); })) return;
    if (focused && keysym == XK_Return) SetPressed(true);
}

bool ButtonCustom::KeyChar(char character)
{
    if (!enabled) return false;
    if (focused && character == carriageReturn) {
        SetPressed(false);
        if (!Survives([&] { RunCommand(*this); })) return true;
    }
    return Child::KeyChar(character);
}

void ButtonCustom::SetTextColor(Colour colour) { SetAndPaint(textColor, colour); }

void ButtonCustom::SetHideContent(bool value) { SetAndPaint(hideContent, value); }

void ButtonCustom::SetImage(_XImage* value) { SetAndPaint(image, value); }

void ButtonCustom::SetDisabledImage(_XImage* value) { SetAndPaint(disabledImage, value); }

void ButtonCustom::Paint()
{
    if (!ReadyToPaint()) return;
    DrawContext context(Target());
    const Point origin = ToFormCoordinates(x, y);
    const int left = origin.x, top = origin.y, right = left + width - 1, bottom = top + height - 1;
    const Colour background = BackgroundColour();
    context.FillRectangle(left, top, width, height, 0, 0, background);

    const Colour light = pressed ? 0x000000 : 0xFFFFFF;
    const Colour dark = pressed ? 0xFFFFFF : 0x000000;
    DrawBevel(context, left, top, right, bottom, light, dark);
    if (focused && enabled && !pressed) DrawFocusFrame(context, left + 4, top + 3, right - 4, bottom - 3, textColor);
    if (hideContent) return;

    const Colour captionColour = enabled ? textColor : disabledTextColour;
    XImage* picture = !enabled && disabledImage ? disabledImage : image;
    if (!text.empty()) {
        if (!image) {
            context.DrawText(left + 6, top + 4, width - 12, height - 8, text, captionColour, background, 2);
        } else {
            // Beside a picture the caption is not wrapped: it runs on from the picture's right.
            context.DrawText(left + picture->width + 10, top + 4, 0, height - 8, text, captionColour, background, 0);
            context.PutImage(left + 8, top + (height - picture->height) / 2, 0, 0, picture);
        }
    } else if (image) {
        context.PutImage(left + (width - picture->width) / 2, top + (height - picture->height) / 2, 0, 0, picture);
    }
}
