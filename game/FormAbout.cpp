#include "game/FormAbout.h"

#include "toolkit/ButtonCustom.h"
#include "toolkit/CellControl.h"
#include "toolkit/MyImage.h"
#include "toolkit/PanelChildren.h"
#include "util/Beep.h"

namespace {

// The web address is a 12-character prefix (scheme and "www.") and the site's domain.
constexpr std::size_t webPrefixLength = 12;
constexpr Colour linkColour = 0x0000FF;

}  // namespace

FormAbout::FormAbout(Form* parentForm) : Form(nullptr, true), parentForm(parentForm)
{
    SetCaption(std::string("Info..."));
    SetSize(600, 210);
    if (parentForm) {
        const Point origin = parentForm->GetPosition();
        const Size size = parentForm->GetSize();
        SetPositionClamped(origin.x + (size.width - 600) / 2, origin.y + (size.height - 210) / 2);
    }
    SetOnCreate([this](GUIElement&, std::uint64_t) { BuildWidgets(); });
    SetOnCloseQuery([this](GUIElement&) { return ReleaseParent(); });
    SetOnKeyChar([this](GUIElement&, char character) { return KeyCheck(character); });
    if (parentForm) {
        parentForm->SetEnabled(false);
        parentForm->SetOwnerForm(this);
    }
}

FormAbout::~FormAbout()
{
    pictureImage.reset();
    picturePanel.reset();
    creditLabel.reset();
    versionLabel.reset();
    webLabel.reset();
    mailLabel.reset();
    noticeLabel.reset();
    okButton.reset();
    // Deleted while still open (the main form going away): leave the parent usable.
    if (parentForm && parentForm->GetOwnerForm() == this) ReleaseParent();
}

void FormAbout::SetPicture(XImage* image, int width, int height)
{
    picture = image;
    pictureWidth = width;
    pictureHeight = height;
}

std::string FormAbout::MailAddress() const
{
    const std::string domain = webAddress.size() > webPrefixLength ? webAddress.substr(webPrefixLength) : webAddress;
    return std::string(mailbox) + "@" + domain;
}

void FormAbout::BuildWidgets()
{
    const int w = GetActualWidth(), h = GetActualHeight();
    const int b = w - (pictureWidth + 55);
    const int x0 = pictureWidth + 45;
    auto makeLabel = [this](const std::string& text, int left, int top, int width, int height) {
        auto label = std::make_unique<CellControl>(this);
        label->SetSize(width, height);
        label->SetPosition(left, top);
        label->SetText(text);
        label->SetTextAlign(0);
        return label;
    };

    picturePanel = std::make_unique<PanelChildren>(this);
    picturePanel->SetSize(pictureWidth + 20, h - 73);
    picturePanel->SetPosition(10, 23);
    picturePanel->SetBorder(true);
    picturePanel->Create();
    pictureImage = std::make_unique<MyImage>(picturePanel.get(), picture);
    pictureImage->SetSize(pictureWidth, pictureHeight);
    pictureImage->SetPosition(5, 5);
    pictureImage->Create();

    versionLabel = makeLabel(versionText, x0, 17, b, 25);
    versionLabel->SetTextColor(0xFFFFFF);
    versionLabel->Create();
    creditLabel = makeLabel(creditText, x0, 38, b, 25);
    creditLabel->Create();

    auto openLink = [this](GUIElement& label, std::uint64_t, Point) { OpenLink(label); };
    webLabel = makeLabel(webAddress, x0, 68, 200, 12);
    webLabel->SetTextColor(linkColour);
    webLabel->SetOnMouseDown(openLink);
    webLabel->Create();
    mailLabel = makeLabel(MailAddress(), pictureWidth + 255, 68, 150, 12);
    mailLabel->SetTextColor(linkColour);
    mailLabel->SetOnMouseDown(openLink);
    mailLabel->Create();

    noticeLabel = makeLabel(noticeText, x0, 95, b, h - 145);
    noticeLabel->SetBordered(true);
    noticeLabel->Create();

    okButton = std::make_unique<ButtonCustom>(this, "OK");
    okButton->SetSize(80, 28);
    okButton->SetPosition(pictureWidth + b / 2 - 80 / 2 + 45, h - 37);
    okButton->SetOnCommand([](GUIElement& clicked) {
        if (auto* about = dynamic_cast<FormAbout*>(static_cast<Child&>(clicked).GetForm())) about->CloseAbout(clicked);
    });
    okButton->Create();
}

bool FormAbout::ReleaseParent()
{
    if (parentForm) {
        parentForm->SetOwnerForm(nullptr);
        parentForm->SetEnabled(true);
        // The keys go back to the window behind, which the dialog took them from.
        parentForm->SetFocus();
    }
    return true;
}

bool FormAbout::KeyCheck(char character)
{
    if (character != 13 && character != 27 && character != 127) return true;
    if (okButton) CloseAbout(*okButton);
    return false;
}

void FormAbout::CloseAbout(GUIElement& element)
{
    if (!okButton || element.GetId() != okButton->GetId()) return;
    if (!ReleaseParent()) return;
    DestroyWindow();
    Closed();
}

void FormAbout::OpenLink(GUIElement& element)
{
    if (webLabel && element.GetId() == webLabel->GetId())
        RunDetached({"firefox", webAddress});
    else if (mailLabel && element.GetId() == mailLabel->GetId())
        // The words a shell would have made of: thunderbird -compose to="<address>".
        RunDetached({"thunderbird", "-compose", "to=" + mailLabel->GetText()});
}
