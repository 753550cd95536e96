#pragma once
// An integer between a minimum and a maximum, one tick per value along a horizontal or vertical
// track, with a pointer at the current value. The mouse presses and drags it (the event loop
// sends it motion while it holds the focus); the cursor keys step it, wrapping at the ends.

#include <functional>
#include <vector>

#include "toolkit/TrackWidget.h"

class Slider : public TrackWidget {
public:
    using ValueCallback = std::function<void(Slider&, int newValue)>;

    Slider(GUIElement* parentElement, bool vertical, int minimum, int maximum);

    void Hide() override;
    void MouseDown(Point point) override;
    void KeyDown(unsigned long keysym) override;
    void Paint() override;

    void SetValue(int newValue);
    int GetValue() const { return value; }
    void SetLineColor(Colour colour);
    void SetShowLabels(bool on);
    void SetOnValueChanged(ValueCallback callback) { onValueChanged = std::move(callback); }
    void NotifyValueChanged();

    int GetMinimum() const { return minimum; }
    int GetMaximum() const { return maximum; }
    bool IsVertical() const { return vertical; }
    // Where the last paint put each value's tick, in form coordinates; the mouse is matched
    // against these.
    const std::vector<Point>& Ticks() const { return ticks; }

protected:
    bool SetFromPoint(Point point) override;

private:
    bool Usable() const;
    void SnapSize();

    bool showLabels = true;
    int minimum;
    int maximum;
    int value;
    Colour lineColor = 0x000000;
    bool vertical;
    std::vector<Point> ticks;
    ValueCallback onValueChanged;
};
