#pragma once
// A value between a minimum and a maximum shown as a blue bar inside an optional sunken frame.
// It takes no input and no focus.

#include "toolkit/Child.h"

class ProgressBar : public Child {
public:
    ProgressBar(GUIElement* parentElement, int minimum, int maximum);

    void Create() override;
    void SetValue(int newValue);
    int GetValue() const { return value; }
    void SetBordered(bool on);
    void Show() override;
    void ShowWindow() override;
    void Hide() override;
    void SetSize(int newWidth, int newHeight) override;
    void SetPosition(int newX, int newY) override;
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
