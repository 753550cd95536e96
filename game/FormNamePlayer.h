#pragma once
// The dialog that asks for the player's name after a game that scored. Closing it, by "OK" with
// a name or by the window manager, raises its onClosed callback, which records the score.

#include <memory>
#include <string>

#include "toolkit/Form.h"

class ButtonCustom;
class CellControl;
class TextBoxCustom;

// The last confirmed name (enteredName); emptied whenever a name form is made.
const std::string& EnteredName();

class FormNamePlayer : public Form {
public:
    FormNamePlayer(Form* parentForm, void* owner, const std::string& title);
    ~FormNamePlayer() override;

    void SetPrompt(const std::string& text);

    virtual void BuildWidgets();
    virtual bool ReleaseParent();
    virtual bool KeyCheck(char character);
    virtual void Confirm(GUIElement& element);

    Form* ParentForm() const { return parentForm; }
    TextBoxCustom* NameBox() const { return nameBox.get(); }
    ButtonCustom* OkButton() const { return okButton.get(); }
    CellControl* PromptLabel() const { return promptLabel.get(); }

private:
    void FocusNameBox();

    Form* parentForm;
    std::unique_ptr<TextBoxCustom> nameBox;
    std::unique_ptr<CellControl> promptLabel;
    std::unique_ptr<ButtonCustom> okButton;
    std::string prompt;
};
