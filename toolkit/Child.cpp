#include "toolkit/Child.h"

#include <X11/Xlib.h>

#include "graphics/DrawContext.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"

Child::Child(GUIElement* parentElement)
{
    isChild = true;
    parent = parentElement;
}

Form* Child::GetForm() const
{
    for (GUIElement* element = parent; element; element = element->GetParent())
        if (element->TypeName() == "form") return static_cast<Form*>(element);
    return nullptr;
}

DrawTarget Child::Target() const
{
    const Form* form = GetForm();
    if (!form) form = MainForm();
    return form ? form->Target() : DrawTarget{};
}

Point Child::ToFormCoordinates(int localX, int localY) const
{
    Point point{localX, localY};
    for (GUIElement* element = parent; element && element->TypeName() != "form"; element = element->GetParent()) {
        const Point offset = element->GetPosition();
        point.x += offset.x;
        point.y += offset.y;
    }
    return point;
}

Colour Child::EraseColour() const
{
    if (parent && parent->GetBackColor() != noColour) return parent->GetBackColor();
    if (const Form* form = GetForm(); form && form->GetBackColor() != noColour) return form->GetBackColor();
    return defaultBackColour;
}

void Child::SetSize(int newWidth, int newHeight)
{
    if (relocation == Relocation::stored)
        GUIElement::SetSize(newWidth, newHeight);
    else
        Relocate(relocation, x, y, newWidth, newHeight);
}

void Child::SetPosition(int newX, int newY)
{
    if (relocation == Relocation::stored)
        GUIElement::SetPosition(newX, newY);
    else
        Relocate(relocation, newX, newY, width, height);
}

// Unlike the element's own resize, equal values are not skipped: the widget is drawn again.
void Child::Relocate(Relocation how, int newX, int newY, int newWidth, int newHeight)
{
    const bool hideFirst = how == Relocation::hiddenAndShown && created;
    if (hideFirst) Hide();
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    if (hideFirst)
        Show();
    else if (how == Relocation::paintedInPlace)
        Paint();
}

void Child::Show()
{
    GUIElement::Show();
    if (painted) Paint();
}

void Child::Hide()
{
    const bool onScreen = painted && created;
    if (onScreen) Erase();
    GUIElement::Hide();
    if (onScreen) created = false;
}

void Child::GotFocus()
{
    if (Survives([&] { GUIElement::GotFocus(); }) && tabStop) Paint();
}

void Child::LostFocus()
{
    if (!Survives([&] { GUIElement::LostFocus(); })) return;
    LetGo();
    if (tabStop) Paint();
}

void Child::Create()
{
    if (!created) MarkCreated();
}

void Child::SetEnabledAndPaint(bool on) { SetAndPaint(enabled, on); }

bool Child::ReadyToPaint() const { return !FormBeingCreated() && created; }

Colour Child::BackgroundColour() const { return backColor != noColour ? backColor : EraseColour(); }

void Child::MarkCreated()
{
    if (id == 0) AssignId();
    created = true;
    visible = true;
}

void Child::PaintAtOnce()
{
    Paint();
    if (const Form* form = GetForm(); form && form->GetXDisplay()) XFlush(form->GetXDisplay());
}

void Child::Erase() { EraseBox(1, EraseColour()); }

void Child::EraseBox(int margin, Colour colour)
{
    const Point origin = ToFormCoordinates(x, y);
    DrawContext(Target()).FillRectangle(origin.x, origin.y, width + margin, height + margin, 0, 0, colour);
}

void Child::DrawFocusFrame(DrawContext& context, int left, int top, int right, int bottom, Colour colour)
{
    const int dash = DrawContext::onOffDash;
    context.DrawLine(left, top, right, top, dash, colour);
    context.DrawLine(left, bottom, left, top - 1, dash, colour);
    context.DrawLine(right, top, right, bottom + 1, dash, colour);
    context.DrawLine(left, bottom, right, bottom, dash, colour);
}

void Child::DrawBevel(DrawContext& context, int left, int top, int right, int bottom, Colour topLeft,
                      Colour bottomRight)
{
    context.DrawLine(left, top, right, top, DrawContext::solid, topLeft);
    context.DrawLine(left, bottom, left, top, DrawContext::solid, topLeft);
    context.DrawLine(right, top, right, bottom, DrawContext::solid, bottomRight);
    context.DrawLine(left, bottom, right, bottom, DrawContext::solid, bottomRight);
}
