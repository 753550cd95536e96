#pragma once
// The "Info..." dialog: the About picture, name and version, credits, the maker's web and mail
// links (which start the browser or the mail program without waiting for them) and a notice.

#include <memory>
#include <string>

#include "graphics/XHandles.h"
#include "toolkit/Form.h"

class ButtonCustom;
class CellControl;
class MyImage;
class PanelChildren;

class FormAbout : public Form {
public:
    explicit FormAbout(Form* parentForm);
    ~FormAbout() override;

    void SetPicture(XImage* image, int width, int height);
    void SetVersionText(const std::string& value) { versionText = value; }
    void SetCreditText(const std::string& value) { creditText = value; }
    void SetNoticeText(const std::string& value) { noticeText = value; }
    void SetWebAddress(const std::string& value) { webAddress = value; }

    virtual void BuildWidgets();
    virtual bool ReleaseParent();
    virtual bool KeyCheck(char character);
    virtual void CloseAbout(GUIElement& element);
    virtual void OpenLink(GUIElement& element);

    // The mail address: a fixed mailbox at the web address's domain.
    std::string MailAddress() const;
    CellControl* WebLabel() const { return webLabel.get(); }
    CellControl* MailLabel() const { return mailLabel.get(); }
    ButtonCustom* OkButton() const { return okButton.get(); }

    static constexpr const char* mailbox = "info";

private:
    Form* parentForm;
    std::unique_ptr<MyImage> pictureImage;
    std::unique_ptr<CellControl> versionLabel;
    std::unique_ptr<CellControl> creditLabel;
    std::unique_ptr<PanelChildren> picturePanel;
    std::unique_ptr<CellControl> noticeLabel;
    std::unique_ptr<ButtonCustom> okButton;
    std::unique_ptr<CellControl> webLabel;
    std::unique_ptr<CellControl> mailLabel;
    XImage* picture = nullptr;
    int pictureWidth = 0;
    int pictureHeight = 0;
    std::string versionText;
    std::string creditText;
    std::string noticeText;
    std::string webAddress;
};
