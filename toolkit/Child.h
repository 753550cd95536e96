#pragma once
// The base of every widget placed on a form. Widgets have no window of their own: they paint
// into their form's window at positions relative to their parent (a form or a panel).

#include "graphics/DrawTarget.h"
#include "toolkit/GUIElement.h"

class Form;

class Child : public GUIElement {
public:
    explicit Child(GUIElement* parentElement);

    Form* GetForm() const;
    // What the widget draws on: its form's window, or the main form's for a widget on no form.
    DrawTarget Target() const;
    Point ToFormCoordinates(int localX, int localY) const;
    // What a widget leaves behind when it is erased: the parent's background, else the
    // form's, else the default grey.
    Colour EraseColour() const;

protected:
    // Whether a paint may draw now: the widget is on the screen and its form is not raising its
    // onCreate callback, when the window is not mapped yet and the first Expose paints everything.
    bool ReadyToPaint() const;
    // The widget's own background colour, or what erasing it would leave when it has none.
    Colour BackgroundColour() const;
    // The common realisation of a widget: it takes its id and counts as created and visible.
    void MarkCreated();
    // How a widget that paints itself moves or changes size: once on the screen it erases its
    // old place (Hide), takes the new values and draws itself there (Show); before that it only
    // stores them.
    void ResizeRedrawn(int newWidth, int newHeight);
    void MoveRedrawn(int newX, int newY);
};
