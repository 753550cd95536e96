#pragma once
// A two-state widget: a 20 x 20 box picture followed by a caption. A click, or the space bar
// while it has the focus, toggles it and runs its command.

#include <array>

#include "graphics/Images.h"
#include "toolkit/Child.h"
#include "toolkit/CommandElement.h"

class CheckBox : public Child, public CommandElement {
public:
    CheckBox(GUIElement* parentElement, const std::string& caption);

    void SetText(const std::string& caption) override;
    void Click(Point point) override;
    void MouseDown(Point point) override;
    void KeyDown(unsigned long keysym) override;
    bool KeyChar(char character) override;
    void Paint() override;
    virtual void SetTextColor(Colour colour);

    void SetChecked(bool state);
    bool IsChecked() const { return checked; }
    Colour GetTextColor() const { return textColor; }

private:
    enum Picture { checkedPicture, checkedDisabledPicture, uncheckedPicture, uncheckedDisabledPicture };

    void Toggle();
    void MakeImages();

    bool checked = false;
    std::array<ImagePtr, 4> images;
    Colour textColor = 0x000000;
};
