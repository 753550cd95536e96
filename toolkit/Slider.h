#pragma once
// An integer between a minimum and a maximum, one tick per value along a horizontal or vertical
// track, with a pointer at the current value. The mouse presses and drags it (the event loop
// sends it motion while it holds the focus); the cursor keys step it, wrapping at the ends.

#include <functional>
#include <vector>

#include "toolkit/Child.h"

class Slider : public Child {
public:
    using ValueCallback = std::function<void(Slider&, int newValue)>;

    Slider(GUIElement* parentElement, bool vertical, int minimum, int maximum);

    void SetSize(int newWidth, int newHeight) override;
    void SetPosition(int newX, int newY) override;
    void Show() override;
    void ShowWindow() override;
    void Hide() override;
    void Click(Point point) override;
    void MouseDown(Point point) override;
    void KeyDown(unsigned long keysym) override;
    bool KeyChar(char character) override;
    void MouseMove(int pointerX, int pointerY) override;
    void SetFocus() override;
    void Paint() override;
    void GotFocus() override;
    void LostFocus() override;
    void Create() override;
    virtual void SetEnabledAndPaint(bool on);

    void SetValue(int newValue);
    int GetValue() const { return value; }
    void SetLineColor(Colour colour);
    void SetShowLabels(bool on);
    void SetOnValueChanged(ValueCallback callback) { onValueChanged = std::move(callback); }
    void NotifyValueChanged();

    int GetMinimum() const { return minimum; }
    int GetMaximum() const { return maximum; }
    bool IsVertical() const { return vertical; }
    bool IsDragging() const { return dragging; }
    // Where the last paint put each value's tick, in form coordinates; the mouse is matched
    // against these.
    const std::vector<Point>& Ticks() const { return ticks; }

private:
    bool Usable() const;
    bool SetFromPoint(Point point);
    void SnapSize();

    bool showLabels = true;
    bool dragging = false;
    int minimum;
    int maximum;
    int value;
    Colour lineColor = 0x000000;
    bool vertical;
    std::vector<Point> ticks;
    ValueCallback onValueChanged;
};
