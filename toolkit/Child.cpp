#include "toolkit/Child.h"

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

bool Child::ReadyToPaint() const { return !FormBeingCreated() && created; }

Colour Child::BackgroundColour() const { return backColor != noColour ? backColor : EraseColour(); }

void Child::MarkCreated()
{
    if (id == 0) AssignId();
    created = true;
    visible = true;
}

void Child::ResizeRedrawn(int newWidth, int newHeight)
{
    const bool onScreen = created;
    if (onScreen) Hide();
    width = newWidth;
    height = newHeight;
    if (onScreen) Show();
}

void Child::MoveRedrawn(int newX, int newY)
{
    const bool onScreen = created;
    if (onScreen) Hide();
    x = newX;
    y = newY;
    if (onScreen) Show();
}
