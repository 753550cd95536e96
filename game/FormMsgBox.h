#pragma once
// The modal message box: a 250 x 150 dialog over its parent with a text and either "OK" or
// "YES" and "NO". Opening one returns at once; the parent is disabled meanwhile and learns the
// answer through its DialogResult hook when the box closes. At most one box exists at a time.

#include <memory>
#include <string>

#include "toolkit/Form.h"

class ButtonCustom;
class CellControl;
class DisplayConnection;

class FormMsgBox : public Form {
public:
    enum Answer { noAnswer = 0, answerOk = 1, answerYes = 3, answerNo = 4 };

    FormMsgBox(int dialogId, bool isQuestion, DisplayConnection* display, Form* parent, const std::string& title,
               const std::string& text);
    ~FormMsgBox() override;

    // Both replace any open box; a null parent means the main form.
    static FormMsgBox* ShowQuestion(int id, Form* parent, const std::string& text, const std::string& title);
    static FormMsgBox* ShowMessage(int id, Form* parent, const std::string& text, const std::string& title);

    virtual void BuildWidgets();
    virtual bool ReleaseParent();
    virtual void Answer(GUIElement& element);

    int GetAnswer() const { return answer; }
    ButtonCustom* FirstButton() const { return firstButton.get(); }
    ButtonCustom* SecondButton() const { return secondButton.get(); }
    CellControl* TextLabel() const { return textLabel.get(); }

private:
    static FormMsgBox* Open(int id, bool isQuestion, Form* parent, const std::string& text, const std::string& title);

    std::unique_ptr<CellControl> textLabel;
    std::string text;
    bool isQuestion;
    int dialogId;
    int answer = noAnswer;
    std::unique_ptr<ButtonCustom> firstButton;
    std::unique_ptr<ButtonCustom> secondButton;
    Form* parentForm;
};
