#include "toolkit/PictureWidget.h"

#include "graphics/DrawContext.h"
#include "toolkit/Form.h"

PictureWidget::PictureWidget(GUIElement* parentElement) : Child(parentElement)
{
    tabStop = false;
    painted = true;
}

void PictureWidget::Create()
{
    if (!created) MarkCreated();
}

void PictureWidget::Show()
{
    GUIElement::Show();
    Paint();
}

void PictureWidget::ShowWindow()
{
    GUIElement::ShowWindow();
    Paint();
}

void PictureWidget::Hide()
{
    if (!created) return;
    const Point origin = ToFormCoordinates(x, y);
    DrawContext(Target()).FillRectangle(origin.x, origin.y, width + 1, height + 1, 0, 0, EraseColour());
    GUIElement::Hide();
    created = false;
}

// Unlike the base, equal values are not skipped: the widget is always drawn again.
void PictureWidget::SetSize(int newWidth, int newHeight) { ResizeRedrawn(newWidth, newHeight); }

void PictureWidget::SetPosition(int newX, int newY) { MoveRedrawn(newX, newY); }
