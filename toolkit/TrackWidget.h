#pragma once
// What the slider and the scroll bar share: a value chosen along a track by pressing the mouse on
// it and dragging (the event loop sends motion to the focused one), or stepped by the cursor keys
// and the space bar. A drag ends when the button is let go or the focus leaves.

#include "toolkit/Child.h"

class TrackWidget : public Child {
public:
    using Child::Child;

    void Click(Point point) override;
    bool KeyChar(char character) override;
    void MouseMove(int pointerX, int pointerY) override;
    void SetFocus() override;

    bool IsDragging() const { return dragging; }

protected:
    // Moves the value to the place on the track that the point reaches; answers whether it changed.
    virtual bool SetFromPoint(Point point) = 0;
    // Follows the pointer to a point, repainting when the value moved; false when the widget did
    // not survive the callbacks of the change.
    bool DragTo(Point point);
    void LetGo() override { dragging = false; }

    bool dragging = false;
};
