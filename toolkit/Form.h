#pragma once
// A top-level window. Widgets are drawn into it and receive its events through the event loop.
// The window is made by Create and may be destroyed and made again; the form object stays.

#include <string>
#include <string_view>

#include "graphics/DrawTarget.h"
#include "graphics/XHandles.h"
#include "toolkit/GUIElement.h"

class DisplayConnection;

class Form : public GUIElement {
public:
    Form(void* owner, bool isDialog);
    ~Form() override;

    int GetActualWidth() const override;
    int GetActualHeight() const override;
    Point GetPosition() const override;
    void SetBackColor(Colour colour) override;
    void Show() override;
    void ShowWindow() override;
    void Hide() override;
    void SetFocus() override;
    void Paint() override;
    void SetFlagA(bool value) override;
    void Create() override;

    virtual std::string GetCaption() const { return CurrentText(); }
    virtual void SetCaption(const std::string& caption);
    virtual void SetCaption(std::string_view caption) { SetCaption(std::string(caption)); }
    virtual void BeforeMap() {}
    virtual void UserMessage() {}
    virtual void SetFlag2(bool value) { flags2 = value; }
    virtual void SetFlag3(bool value) { flags3 = value; }
    virtual void SetFlag4(bool value) { flags4 = value; }
    virtual void DestroyWindow();
    virtual void DialogResult(int /*id*/, int /*result*/) {}
    virtual bool IsDialog() const { return isDialog; }
    virtual void SetIcon(PixmapId pixmap);
    virtual void SetFlag5(bool value) { flag5 = value; }
    virtual void SetFlag1(bool value) { flags1 = value; }
    virtual void SetOwnerForm(Form* form) { ownerForm = form; }
    virtual void SetGeometry(int newX, int newY, int newWidth, int newHeight);
    virtual void SetDisplay(DisplayConnection* connection) { display = connection; }
    virtual DisplayConnection* GetDisplayConnection() const { return display; }
    virtual void CenterOnScreen();
    virtual void ShowForm();
    virtual WindowId GetWindow() const { return window; }

    // For a window that someone else destroyed: the form lets go of it without touching it.
    void ForgetWindow();
    Form* GetOwnerForm() const { return ownerForm; }
    AtomId GetDeleteAtom() const { return deleteAtom; }
    Display* GetXDisplay() const;
    // What the form's widgets draw on: its window, with text in the main form's font.
    DrawTarget Target() const;

protected:
    void NativeMove() override;
    void NativeResize() override;
    void NativeRaise() override;
    void NativeLower() override;

private:
    void SetWindowManagerHints();
    bool IsMappedAndViewable() const;

    Form* ownerForm = nullptr;
    bool flag0 = false;
    std::string extra;
    AtomId deleteAtom = 0;
    PixmapId icon = 0;
    DisplayConnection* display = nullptr;
    WindowId window = 0;
    bool flags1 = true;
    bool flags2 = true;
    bool flags3 = true;
    bool flags4 = true;
    bool isDialog;
    bool flag5 = false;
    bool focusTaken = false;
};
