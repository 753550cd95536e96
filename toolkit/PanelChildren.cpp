#include "toolkit/PanelChildren.h"

#include "graphics/DrawContext.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"

PanelChildren::PanelChildren(GUIElement* form) : Child(form)
{
    typeName = "panel";
    tabStop = false;
    painted = true;
}

void PanelChildren::Create()
{
    if (created) return;
    MarkCreated();
}

void PanelChildren::Show()
{
    if (!created) Create();
    Paint();
    for (GUIElement* child : CollectChildren(id))
        if (!Survives([&] { child->Show(); })) return;
    Child::Show();
}

void PanelChildren::ShowWindow() { PanelChildren::Show(); }

void PanelChildren::Hide()
{
    // Before the panel has an id, children of every panel not yet created would answer to 0.
    if (id != 0)
        for (GUIElement* child : CollectChildren(id)) child->Hide();
    if (!created) return;
    {
        const Point origin = ToFormCoordinates(x, y);
        DrawContext(Target()).FillRectangle(origin.x, origin.y, width + 1, height + 1, 0, 0, EraseColour());
    }
    Child::Hide();
    created = false;
}

void PanelChildren::Relocate(int newX, int newY, int newWidth, int newHeight)
{
    const bool shown = created;
    if (shown) Hide();
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    if (shown) Show();
}

void PanelChildren::SetSize(int newWidth, int newHeight) { Relocate(x, y, newWidth, newHeight); }

void PanelChildren::SetPosition(int newX, int newY) { Relocate(newX, newY, width, height); }

void PanelChildren::SetBorder(bool value)
{
    showBorder = value;
    flatBorder = false;
    if (created) Paint();
}

void PanelChildren::SetFlatBorder(bool value)
{
    flatBorder = value;
    showBorder = true;
    if (created) Paint();
}

void PanelChildren::SetSunken(bool value)
{
    sunken = value;
    showBorder = true;
    if (created) Paint();
}

void PanelChildren::SetCaptionColor(Colour colour)
{
    captionColor = colour;
    if (created) Paint();
}

void PanelChildren::SetChildBackColor(Colour colour)
{
    childBackColor = colour;
    if (created) Paint();
}

void PanelChildren::SetRange(int a, int b, int c)
{
    if (scrollA)
        SetRangeA(a, b, c);
    else if (scrollB)
        SetRangeB(a, b, c);
}

void PanelChildren::Paint()
{
    if (!ReadyToPaint()) return;
    {
        DrawContext context(Target());
        // Through the chain of parents, so that a panel inside a panel lands in its right place.
        const Point origin = ToFormCoordinates(x, y);
        const int left = origin.x, top = origin.y, right = left + width - 1, bottom = top + height - 1;
        const Colour background = backColor != noColour ? backColor : defaultBackColour;
        context.FillRectangle(left, top, width, height, 0, 0, background);
        if (showBorder) {
            if (flatBorder) {
                context.DrawRectangle(left, top, width, height, 1, 0x000000);
            } else {
                const Colour topLeft = sunken ? 0x000000 : 0xFFFFFF;
                const Colour bottomRight = sunken ? 0xFFFFFF : 0x000000;
                context.DrawLine(left, top, right, top, DrawContext::solid, topLeft);
                context.DrawLine(left, bottom, left, top, DrawContext::solid, topLeft);
                context.DrawLine(right, top, right, bottom, DrawContext::solid, bottomRight);
                context.DrawLine(left, bottom, right, bottom, DrawContext::solid, bottomRight);
            }
        }
        if (!text.empty())
            context.DrawText(left + 4, top + 2, width - 8, 10, text, captionColor != noColour ? captionColor : 0x000000,
                             background, 0);
    }
    for (GUIElement* child : CollectChildren(id)) {
        if (!child->IsPainted() || !child->IsCreated()) continue;
        if (childBackColor != noColour) child->SetBackColor(childBackColor);
        child->Paint();
    }
}
