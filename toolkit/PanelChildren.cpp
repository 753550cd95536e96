#include "toolkit/PanelChildren.h"

#include "graphics/DrawContext.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"

PanelChildren::PanelChildren(GUIElement* form) : Child(form)
{
    typeName = "panel";
    tabStop = false;
    painted = true;
    relocation = Relocation::hiddenAndShown;
}

// The panel is painted before its children, which then show themselves over it.
void PanelChildren::Show()
{
    if (!created) Create();
    Paint();
    for (GUIElement* child : CollectChildren(id))
        if (!Survives([&] { child->Show(); })) return;
    GUIElement::Show();
}

void PanelChildren::Hide()
{
    // Before the panel has an id, children of every panel not yet created would answer to 0.
    if (id != 0)
        for (GUIElement* child : CollectChildren(id)) child->Hide();
    Child::Hide();
}

void PanelChildren::SetBorder(bool value)
{
    flatBorder = false;
    SetAndPaint(showBorder, value);
}

void PanelChildren::SetFlatBorder(bool value)
{
    showBorder = true;
    SetAndPaint(flatBorder, value);
}

void PanelChildren::SetSunken(bool value)
{
    showBorder = true;
    SetAndPaint(sunken, value);
}

void PanelChildren::SetCaptionColor(Colour colour) { SetAndPaint(captionColor, colour); }

void PanelChildren::SetChildBackColor(Colour colour) { SetAndPaint(childBackColor, colour); }

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
                DrawBevel(context, left, top, right, bottom, topLeft, bottomRight);
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
