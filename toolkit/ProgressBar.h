#pragma once
// A value between a minimum and a maximum shown as a blue bar inside an optional sunken frame.
// It takes no input and no focus.

#include "toolkit/Child.h"

class ProgressBar : public Child {
public:
    ProgressBar(GUIElement* parentElement, int minimum, int maximum);

    void SetValue(int newValue);
    int GetValue() const { return value; }
    void SetBordered(bool on);
    void Hide() override;
    void Paint() override;

    int GetMinimum() const { return minimum; }
    int GetMaximum() const { return maximum; }
    bool IsBordered() const { return bordered; }
    // The width in pixels that the blue bar is given at the current size and value.
    int FilledWidth() const;

private:
    int minimum;
    int maximum;
    int value;
    bool bordered = true;
};
