#pragma once
// The base of every widget placed on a form. Widgets have no window of their own: they paint
// into their form's window at positions relative to their parent (a form or a panel).
//
// The life of a widget is written here once, so that a new widget is its constructor, its Paint
// and its input. A widget that paints itself (painted) is painted when shown; hiding erases its
// box and leaves it to be created again. A widget the Tab key can reach (tabStop) shows whether
// it has the focus, so gaining or losing the focus repaints it. How a move or a resize reaches
// the screen is the widget's choice of relocation. Elements that draw nothing, such as timers,
// keep the plain element's behaviour.

#include "graphics/DrawTarget.h"
#include "toolkit/GUIElement.h"

class DrawContext;
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

    void SetSize(int newWidth, int newHeight) override;
    void SetPosition(int newX, int newY) override;
    void Show() override;
    void ShowWindow() override { Show(); }
    void Hide() override;
    void GotFocus() override;
    void LostFocus() override;
    // The common realisation of a widget: it takes its id and counts as created and visible.
    void Create() override;
    virtual void SetEnabledAndPaint(bool on);

protected:
    enum class Relocation {
        // The element's own: store, and tell the window system (a widget has nothing to tell).
        stored,
        // Store, then Paint at the new place; the old place keeps what was drawn there.
        paintedInPlace,
        // Once on the screen: erase the old place (Hide), store, and draw at the new one (Show).
        hiddenAndShown,
    };

    // Whether a paint may draw now: the widget is on the screen and its form is not raising its
    // onCreate callback, when the window is not mapped yet and the first Expose paints everything.
    bool ReadyToPaint() const;
    // The widget's own background colour, or what erasing it would leave when it has none.
    Colour BackgroundColour() const;
    void MarkCreated();
    // Takes a new place and size in one of the ways above.
    void Relocate(Relocation how, int newX, int newY, int newWidth, int newHeight);
    // Stores a value that changes the look, and paints it.
    template <typename Value>
    void SetAndPaint(Value& field, const Value& value)
    {
        field = value;
        Paint();
    }
    // Paints and sends the drawing to the server at once: a new state must be on the screen before
    // a command that may take a while runs.
    void PaintAtOnce();

    // Clears the widget's place when it is hidden: its box, in the erase colour, one pixel wider
    // and higher than its size, since the frames draw their right and bottom lines there.
    virtual void Erase();
    void EraseBox(int margin, Colour colour);
    // Ends what the pointer or a key was holding, a drag or a pressed look, when the focus leaves
    // and before the widget is repainted without it.
    virtual void LetGo() {}

    // The dashed frame of a focused widget; the two upright lines reach one pixel further.
    static void DrawFocusFrame(DrawContext& context, int left, int top, int right, int bottom, Colour colour);
    // A one-pixel frame, one colour on the top and left edges and another on the right and bottom.
    static void DrawBevel(DrawContext& context, int left, int top, int right, int bottom, Colour topLeft,
                          Colour bottomRight);

    Relocation relocation = Relocation::stored;
};
