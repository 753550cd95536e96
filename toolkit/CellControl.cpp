#include "toolkit/CellControl.h"

#include <X11/Xlib.h>

#include "graphics/DrawContext.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"

CellControl::CellControl(GUIElement* form) : Child(form)
{
    typeName = "cellcontrol";
    tabStop = false;
    painted = true;
}

void CellControl::Create()
{
    if (created) return;
    MarkCreated();
    pendingBackColor = backColor;
    modified = false;
}

template <typename Value>
void CellControl::Change(Value& field, const Value& value)
{
    if (field == value) return;
    field = value;
    modified = true;
    if (created) Paint();
}

void CellControl::SetText(const std::string& value) { Change(text, value); }
void CellControl::SetTextAlign(int align) { Change(textAlign, align); }
void CellControl::SetTextColor(Colour colour) { Change(textColor, colour); }
void CellControl::SetBordered(bool value) { Change(bordered, value); }
void CellControl::SetShowMarker(bool value) { Change(showMarker, value); }
void CellControl::SetFlag2(bool value) { Change(flag2, value); }
void CellControl::SetFlag3(bool value) { Change(flag3, value); }
void CellControl::SetFlag4(bool value) { Change(flag4, value); }
void CellControl::SetFontName(const std::string& value) { Change(fontName, value); }
void CellControl::SetFontSize(int value) { Change(fontSize, value); }

void CellControl::SetHighlighted(bool value)
{
    if (highlighted != value) modified = true;
    highlighted = value;
    if (created) Paint();
}

void CellControl::SetHighlightTextColor(Colour colour)
{
    if (highlightTextColor != colour) modified = true;
    highlightTextColor = colour;
    if (created) Paint();
}

void CellControl::SetHighlightBackColor(Colour colour)
{
    if (highlightBackColor != colour) modified = true;
    highlightBackColor = colour;
    if (created) Paint();
}

void CellControl::SetImage(_XImage* value, int imageWidthValue, int imageHeightValue, int align)
{
    image = value;
    imageWidth = imageWidthValue;
    imageHeight = imageHeightValue;
    imageAlign = align;
    modified = true;
    if (created) Paint();
}

void CellControl::ApplyBackColor()
{
    if (!created || pendingBackColor < 0 || pendingBackColor == backColor) return;
    backColor = pendingBackColor;
    modified = true;
    Paint();
}

void CellControl::Erase()
{
    const Form* form = GetForm();
    const Colour formColour = form ? form->GetBackColor() : noColour;
    EraseBox(1, formColour != noColour ? formColour : defaultBackColour);
}

void CellControl::Paint()
{
    if (!ReadyToPaint()) return;
    DrawContext context(Target());
    const Point origin = ToFormCoordinates(x, y);
    const int left = origin.x, top = origin.y, right = left + width - 1, bottom = top + height - 1;
    const int lineHeight = context.LineHeight();

    const int boxX = bordered ? left + 1 : left;
    const int boxY = bordered ? top + 1 : top;
    const int boxW = bordered ? width - 2 : width;
    const int boxH = bordered ? height - 2 : height;
    const int boxRight = boxX + boxW;
    const int boxBottom = boxY + boxH;

    Colour background = backColor != noColour ? backColor : defaultBackColour;
    if (highlighted) background = highlightBackColor;
    const Colour foreground = highlighted ? highlightTextColor : textColor;

    // On white the light half of the sunken frame would vanish, so it is drawn black too.
    const Colour lightEdge = background == 0xFFFFFF ? 0x000000 : 0xFFFFFF;
    if (bordered) DrawBevel(context, left, top, right, bottom, 0x000000, lightEdge);
    context.DrawText(boxX, boxY, boxW, boxH, text, foreground, background, textAlign);
    if (showMarker)
        context.DrawText(boxRight - lineHeight, boxBottom - lineHeight - 4, lineHeight, lineHeight, "*", foreground,
                         background, 2);
    if (image) {
        const int imageX = imageAlign == 1   ? boxRight - imageWidth - 3
                           : imageAlign == 2 ? boxX + (boxW - imageWidth) / 2
                                             : boxX + 3;
        context.PutImage(imageX, boxY + (boxH - imageHeight) / 2, imageWidth, imageHeight, image);
    }
}
