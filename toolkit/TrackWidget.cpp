#include "toolkit/TrackWidget.h"

#include <X11/keysym.h>

void TrackWidget::Click(Point point)
{
    dragging = false;
    GUIElement::Click(point);
}

// The space bar steps on as the Down key does.
bool TrackWidget::KeyChar(char character)
{
    if (enabled && focused && character == ' ' && !Survives([&] { KeyDown(XK_Down); })) return false;
    return GUIElement::KeyChar(character);
}

void TrackWidget::MouseMove(int pointerX, int pointerY)
{
    if (dragging && !DragTo({pointerX, pointerY})) return;
    GUIElement::MouseMove(pointerX, pointerY);
}

void TrackWidget::SetFocus()
{
    GUIElement::SetFocus();
    Paint();
}

bool TrackWidget::DragTo(Point point)
{
    bool moved = false;
    if (!Survives([&] { moved = SetFromPoint(point); })) return false;
    if (moved) Paint();
    return true;
}
