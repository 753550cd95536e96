#include "game/FormNamePlayer.h"

#include "toolkit/ButtonCustom.h"
#include "toolkit/CellControl.h"
#include "toolkit/Registry.h"
#include "toolkit/TextBoxCustom.h"
#include "util/Beep.h"

namespace {

constexpr int maxNameLength = 10;

std::string enteredName;

}  // namespace

const std::string& EnteredName() { return enteredName; }

FormNamePlayer::FormNamePlayer(Form* parentForm, void* owner, const std::string& title)
    : Form(owner, true), parentForm(parentForm)
{
    enteredName.clear();
    if (parentForm) {
        SetDisplay(parentForm->GetDisplayConnection());
        parentForm->SetEnabled(false);
        parentForm->SetOwnerForm(this);
    }
    SetSize(250, 115);
    SetCaption(title);
    SetOnCreate([this](GUIElement&, std::uint64_t) { BuildWidgets(); });
    SetOnCloseQuery([this](GUIElement&) { return ReleaseParent(); });
    SetOnKeyChar([this](GUIElement&, char character) { return KeyCheck(character); });
}

FormNamePlayer::~FormNamePlayer()
{
    nameBox.reset();
    promptLabel.reset();
    okButton.reset();
    if (parentForm && parentForm->GetOwnerForm() == this) ReleaseParent();
}

void FormNamePlayer::SetPrompt(const std::string& text)
{
    prompt = text;
    if (created && promptLabel) promptLabel->SetText(text);
}

void FormNamePlayer::BuildWidgets()
{
    const int w = GetActualWidth();
    promptLabel = std::make_unique<CellControl>(this);
    promptLabel->SetSize(w, 14);
    promptLabel->SetPosition(0, 15);
    promptLabel->SetText(prompt);
    promptLabel->SetTextAlign(2);
    promptLabel->Create();

    nameBox = std::make_unique<TextBoxCustom>(this, "");
    nameBox->SetSize(w / 2, 20);
    nameBox->SetPosition(w / 4, 45);
    nameBox->SetMaxLength(maxNameLength);
    nameBox->Create();

    okButton = std::make_unique<ButtonCustom>(this, "OK");
    okButton->SetSize(80, 28);
    okButton->SetPosition((w - 80) / 2, 80);
    okButton->SetOnCommand([](GUIElement& clicked) {
        if (auto* dialog = dynamic_cast<FormNamePlayer*>(static_cast<Child&>(clicked).GetForm()))
            dialog->Confirm(clicked);
    });
    okButton->Create();
    FocusNameBox();
}

// The player types at once: the box becomes the element the event loop sends keys to.
void FormNamePlayer::FocusNameBox()
{
    if (!nameBox) return;
    if (FocusElement() && FocusElement() != nameBox.get()) FocusElement()->LostFocus();
    if (FocusElement() != nameBox.get()) {
        SetFocusElement(nameBox.get());
        nameBox->GotFocus();
    }
    nameBox->SetFocus();
}

bool FormNamePlayer::ReleaseParent()
{
    if (parentForm) {
        parentForm->SetOwnerForm(nullptr);
        parentForm->SetEnabled(true);
        // The keys go back to the window behind, which the dialog took them from.
        parentForm->SetFocus();
    }
    return true;
}

bool FormNamePlayer::KeyCheck(char character)
{
    if (character != 13 && character != 127) return true;
    if (okButton) Confirm(*okButton);
    return false;
}

void FormNamePlayer::Confirm(GUIElement& element)
{
    if (!okButton || element.GetId() != okButton->GetId() || !nameBox) return;
    const std::string name = nameBox->GetText();
    if (name.empty()) {
        Beep();
        FocusNameBox();
        return;
    }
    if (!ReleaseParent()) return;
    enteredName = name;
    DestroyWindow();
    Closed();
}
