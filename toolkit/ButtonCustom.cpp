#include "toolkit/ButtonCustom.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "graphics/DrawContext.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"

namespace {

constexpr char carriageReturn = 13;

void FlushDisplay(const Form* form)
{
    if (Display* display = form ? form->GetXDisplay() : nullptr) XFlush(display);
}

}  // namespace

ButtonCustom::ButtonCustom(GUIElement* form, const std::string& caption) : Child(form)
{
    typeName = "ButtonCustom";
    tabStop = true;
    painted = true;
    width = 80;
    height = 30;
    text = caption;
}

void ButtonCustom::Create()
{
    if (created) return;
    MarkCreated();
}

void ButtonCustom::SetText(const std::string& value)
{
    text = value;
    if (created) Paint();
}

void ButtonCustom::SetSize(int newWidth, int newHeight) { ResizeRedrawn(newWidth, newHeight); }

void ButtonCustom::SetPosition(int newX, int newY) { MoveRedrawn(newX, newY); }

void ButtonCustom::Show()
{
    Child::Show();
    Paint();
}

void ButtonCustom::ShowWindow()
{
    Child::ShowWindow();
    Paint();
}

void ButtonCustom::Hide()
{
    if (!created) return;
    {
        const Point origin = ToFormCoordinates(x, y);
        // One more in each direction than the box: the frame's right and bottom lines lie on the
        // box's last column and row, and must go too.
        DrawContext(Target()).FillRectangle(origin.x, origin.y, width + 1, height + 1, 0, 0, EraseColour());
    }
    Child::Hide();
    created = false;
}

void ButtonCustom::SetPressed(bool value)
{
    pressed = value;
    Paint();
    // The pressed look has to reach the screen before a command that may take a while.
    FlushDisplay(GetForm());
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

void ButtonCustom::GotFocus()
{
    if (Survives([&] { Child::GotFocus(); })) Paint();
}

void ButtonCustom::LostFocus()
{
    if (!Survives([&] { Child::LostFocus(); })) return;
    // Losing the focus lets the button up without running its command.
    pressed = false;
    Paint();
}

void ButtonCustom::SetEnabledAndPaint(bool value)
{
    enabled = value;
    if (created) Paint();
}

void ButtonCustom::SetTextColor(Colour colour)
{
    textColor = colour;
    if (created) Paint();
}

void ButtonCustom::SetHideContent(bool value)
{
    hideContent = value;
    if (created) Paint();
}

void ButtonCustom::SetImage(_XImage* value)
{
    image = value;
    if (created) Paint();
}

void ButtonCustom::SetDisabledImage(_XImage* value)
{
    disabledImage = value;
    if (created) Paint();
}

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
    context.DrawLine(left, top, right, top, DrawContext::solid, light);
    context.DrawLine(left, bottom, left, top, DrawContext::solid, light);
    context.DrawLine(right, top, right, bottom, DrawContext::solid, dark);
    context.DrawLine(left, bottom, right, bottom, DrawContext::solid, dark);

    if (focused && enabled && !pressed) {
        const int dash = DrawContext::onOffDash;
        context.DrawLine(left + 4, top + 3, right - 4, top + 3, dash, textColor);
        context.DrawLine(left + 4, bottom - 3, left + 4, top + 2, dash, textColor);
        context.DrawLine(right - 4, top + 3, right - 4, bottom - 2, dash, textColor);
        context.DrawLine(left + 4, bottom - 3, right - 4, bottom - 3, dash, textColor);
    }
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
