#pragma once
// The push button: a raised frame with a caption (and optionally a picture) that looks pressed
// while the mouse button or Return is down, and runs its command when it is let go.

#include <string>

#include "toolkit/Child.h"
#include "toolkit/CommandElement.h"

struct _XImage;

class ButtonCustom : public Child, public CommandElement {
public:
    ButtonCustom(GUIElement* form, const std::string& caption);

    void SetText(const std::string& value) override;
    void Click(Point point) override;
    void MouseDown(Point point) override;
    void KeyDown(unsigned long keysym) override;
    bool KeyChar(char character) override;
    void Paint() override;

    virtual void SetTextColor(Colour colour);

    void SetHideContent(bool value);
    void SetImage(_XImage* value);
    void SetDisabledImage(_XImage* value);

    bool IsPressed() const { return pressed; }
    Colour GetTextColor() const { return textColor; }

    // The caption colour of a disabled button.
    static constexpr Colour disabledTextColour = 0x9B9B9B;

protected:
    // Losing the focus lets the button up without running its command.
    void LetGo() override { pressed = false; }

private:
    void SetPressed(bool value);

    Colour textColor = 0x000000;
    bool pressed = false;
    bool hideContent = false;
    _XImage* image = nullptr;
    _XImage* disabledImage = nullptr;
};
