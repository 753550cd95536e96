#include "game/FormMsgBox.h"

#include "toolkit/ButtonCustom.h"
#include "toolkit/CellControl.h"
#include "toolkit/Registry.h"

FormMsgBox::FormMsgBox(int dialogId, bool isQuestion, DisplayConnection* display, Form* parent,
                       const std::string& title, const std::string& text)
    : Form(nullptr, true), text(text), isQuestion(isQuestion), dialogId(dialogId), parentForm(parent)
{
    if (display) SetDisplay(display);
    this->parent = parent;
    if (parent) {
        parent->SetEnabled(false);
        parent->SetOwnerForm(this);
    }
    SetSize(250, 150);
    if (parent) {
        const Point origin = parent->GetPosition();
        const Size size = parent->GetSize();
        SetPositionClamped(origin.x + (size.width - 250) / 2, origin.y + (size.height - 150) / 2);
    }
    SetCaption(title);
    SetOnCreate([this](GUIElement&, std::uint64_t) { BuildWidgets(); });
    SetOnCloseQuery([this](GUIElement&) { return ReleaseParent(); });
    SetOnClosed([this](GUIElement&) {
        if (parentForm) parentForm->DialogResult(this->dialogId, answer);
    });
    SetOnKeyChar([](GUIElement&, char) { return true; });
    SetBackColor(0xAAAAAA);
    Create();
}

FormMsgBox::~FormMsgBox()
{
    DestroyWindow();
    // A box deleted before it answered must not leave its parent disabled for good.
    if (parentForm && parentForm->GetOwnerForm() == this) {
        parentForm->SetOwnerForm(nullptr);
        parentForm->SetEnabled(true);
    }
}

FormMsgBox* FormMsgBox::Open(int id, bool isQuestion, Form* parent, const std::string& text,
                             const std::string& title)
{
    if (!parent && !Forms().empty()) parent = Forms().front();
    currentMsgBox.reset();
    auto box = std::make_unique<FormMsgBox>(id, isQuestion, parent ? parent->GetDisplayConnection() : nullptr,
                                            parent, title, text);
    currentMsgBox = std::move(box);
    return static_cast<FormMsgBox*>(currentMsgBox.get());
}

FormMsgBox* FormMsgBox::ShowQuestion(int id, Form* parent, const std::string& text, const std::string& title)
{
    return Open(id, true, parent, text, title);
}

FormMsgBox* FormMsgBox::ShowMessage(int id, Form* parent, const std::string& text, const std::string& title)
{
    return Open(id, false, parent, text, title);
}

void FormMsgBox::BuildWidgets()
{
    const Size size = GetSize();
    textLabel = std::make_unique<CellControl>(this);
    textLabel->SetSize(size.width - 20, size.height - 60);
    textLabel->SetPosition(10, 10);
    textLabel->SetBordered(true);
    textLabel->SetBackColor(0xB7B7B7);
    textLabel->SetTextColor(0x000000);
    textLabel->SetText(text);
    textLabel->Create();

    auto makeButton = [this](const char* caption, int left, int top) {
        auto button = std::make_unique<ButtonCustom>(this, caption);
        button->SetSize(110, 28);
        button->SetPosition(left, top);
        button->SetOnCommand([](GUIElement& clicked) {
            if (auto* box = dynamic_cast<FormMsgBox*>(static_cast<Child&>(clicked).GetForm())) box->Answer(clicked);
        });
        button->Create();
        return button;
    };
    firstButton = makeButton(isQuestion ? "YES" : "OK", size.width - 120, size.height - 40);
    secondButton = makeButton("NO", 10, size.height - 40);
    if (!isQuestion) secondButton->Hide();
}

bool FormMsgBox::ReleaseParent()
{
    if (parentForm) {
        parentForm->SetEnabled(true);
        if (parentForm->GetOwnerForm() == this) parentForm->SetOwnerForm(nullptr);
        // The keys go back to the window behind, which the box took them from.
        parentForm->SetFocus();
    }
    return true;
}

void FormMsgBox::Answer(GUIElement& element)
{
    ReleaseParent();
    if (firstButton && element.GetId() == firstButton->GetId())
        answer = isQuestion ? answerYes : answerOk;
    else if (secondButton && element.GetId() == secondButton->GetId())
        answer = answerNo;
    DestroyWindow();
    Closed();
}
