#pragma once
// The base of every toolkit object. Setters store their value first and reach the window system
// only once the element is created, so an element can be configured freely before it is shown.
// Elements are registered at construction; containers find their children through the registry.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "graphics/FontDescription.h"
#include "util/DateTime.h"
#include "util/Geometry.h"

class GUIElement {
public:
    using PointCallback = std::function<void(GUIElement&, std::uint64_t tag, Point)>;
    using KeyCallback = std::function<void(GUIElement&, unsigned long keysym)>;
    using Callback = std::function<void(GUIElement&)>;

    explicit GUIElement(void* owner = nullptr);
    virtual ~GUIElement();
    GUIElement(const GUIElement&) = delete;
    GUIElement& operator=(const GUIElement&) = delete;

    virtual int GetWidth() const { return width; }
    virtual int GetActualWidth() const { return width; }
    virtual int GetHeight() const { return height; }
    virtual int GetActualHeight() const { return height; }
    virtual Point GetPosition() const { return {x, y}; }
    virtual Size GetSize() const { return {width, height}; }
    virtual Size GetClientSize() const { return {width, height}; }
    virtual void SetSize(int newWidth, int newHeight);
    virtual void SetPosition(int newX, int newY);
    virtual void SetPositionClamped(int newX, int newY);
    virtual void SetPositionPoint(Point point) { SetPosition(point.x, point.y); }
    virtual void SetBackColor(Colour colour);
    virtual Colour GetBackColor() const { return backColor; }
    virtual void Show();
    virtual void ShowWindow();
    virtual void Hide();
    virtual bool IsVisible() const { return visible; }
    virtual bool IsCreated() const { return created; }
    virtual void SetEnabled(bool value) { enabled = value; }
    virtual bool IsEnabled() const { return enabled; }
    virtual void AddChild(GUIElement* element);
    virtual void BringToFront();
    virtual void SendToBack();
    virtual void SetName(const std::string& value) { name = value; }
    virtual std::string GetName() const { return name; }
    virtual void SetFont(const FontDescription& value);
    virtual FontDescription& GetFont() { return font; }
    virtual bool IsTabStop() const { return tabStop; }
    virtual bool IsPainted() const { return painted; }
    virtual bool IsChild() const { return isChild; }
    virtual bool HitTest(Point point) const;
    virtual void SetText(const std::string& value) { text = value; }
    virtual std::string GetText() const { return text; }
    virtual std::string CurrentText() const { return GetText(); }
    virtual void Click(Point point);
    virtual void MouseDown(Point point);
    virtual void DoubleClick(Point point);
    virtual void OtherButtonUp(Point point);
    virtual void OtherButtonDown(Point point);
    virtual void UserEvent(Point point);
    virtual void KeyUp(unsigned long keysym);
    virtual void KeyDown(unsigned long keysym);
    virtual bool KeyChar(char character);
    virtual void MouseMove(int pointerX, int pointerY);
    virtual void Event1();
    virtual void Event2();
    virtual void SetFocus() { focused = true; }
    virtual void Moved();
    virtual void Resized();
    virtual void Paint() {}
    virtual bool CloseQuery();
    virtual void Closed();
    virtual void GotFocus();
    virtual void LostFocus();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Created(std::uint64_t givenTag);
    virtual void UpdateBackColor();
    virtual bool GetFlagA() const { return flagA; }
    virtual bool GetFlagB() const { return flagB; }
    virtual void SetFlagA(bool value);
    virtual void SetFlagB(bool value);
    virtual std::uint64_t& GetTag() { return tag; }
    virtual void Create() = 0;

    GUIElement* GetParent() const { return parent; }
    int GetId() const { return id; }
    const std::string& TypeName() const { return typeName; }
    bool HasFocus() const { return focused; }
    bool IsClosed() const { return closed; }
    void* GetOwner() const { return owner; }
    void AssignId();

    // Runs a call that may delete this element (a callback may close its own dialog) and answers
    // whether the element is still there afterwards; when it is not, nothing may touch it again.
    template <typename Call>
    bool Survives(Call&& call) const
    {
        const std::weak_ptr<void> alive = lifetime;
        std::forward<Call>(call)();
        return !alive.expired();
    }
    // Expires when the element is destroyed, for a caller that watches it across many steps.
    std::weak_ptr<void> LifeToken() const { return lifetime; }

    void SetOnCreate(std::function<void(GUIElement&, std::uint64_t)> callback) { onCreate = std::move(callback); }
    void SetOnClick(PointCallback callback) { onClick = std::move(callback); }
    void SetOnMouseDown(PointCallback callback) { onMouseDown = std::move(callback); }
    void SetOnDoubleClick(PointCallback callback) { onDoubleClick = std::move(callback); }
    void SetOnOtherButtonUp(PointCallback callback) { onOtherButtonUp = std::move(callback); }
    void SetOnOtherButtonDown(PointCallback callback) { onOtherButtonDown = std::move(callback); }
    void SetOnUserEvent(PointCallback callback) { onUserEvent = std::move(callback); }
    void SetOnKeyUp(KeyCallback callback) { onKeyUp = std::move(callback); }
    void SetOnKeyDown(KeyCallback callback) { onKeyDown = std::move(callback); }
    void SetOnKeyChar(std::function<bool(GUIElement&, char)> callback) { onKeyChar = std::move(callback); }
    void SetOnMoved(Callback callback) { onMoved = std::move(callback); }
    void SetOnResized(std::function<void(GUIElement&, Colour)> callback) { onResized = std::move(callback); }
    void SetOnCloseQuery(std::function<bool(GUIElement&)> callback) { onCloseQuery = std::move(callback); }
    void SetOnClosed(Callback callback) { onClosed = std::move(callback); }
    void SetOnGotFocus(Callback callback) { onGotFocus = std::move(callback); }
    void SetOnLostFocus(Callback callback) { onLostFocus = std::move(callback); }
    void SetOnMouseEnter(Callback callback) { onMouseEnter = std::move(callback); }
    void SetOnMouseLeave(Callback callback) { onMouseLeave = std::move(callback); }
    void SetOnChange(Callback callback) { onChange = std::move(callback); }
    void SetOnMouseMove(std::function<void(GUIElement&, int, int)> callback) { onMouseMove = std::move(callback); }
    void SetOnEvent1(Callback callback) { onEvent1 = std::move(callback); }
    void SetOnEvent2(Callback callback) { onEvent2 = std::move(callback); }

protected:
    // The slot is private, yet a widget whose value changes by input rather than through its text
    // (the slider) must report the change at once instead of waiting for the focus to leave.
    void RaiseChange()
    {
        if (onChange) onChange(*this);
    }

    // Sets one of two settings that exclude each other: setting it on turns the other off.
    static void SetOneOfTwo(bool& chosen, bool& other, bool on)
    {
        chosen = on;
        if (on) other = false;
    }

    virtual void NativeMove() {}
    virtual void NativeResize() {}
    virtual void NativeBackColor() {}
    virtual void NativeRaise() {}
    virtual void NativeLower() {}
    virtual void ChildAdded(GUIElement*) {}
    virtual void NativeUpdate() {}

    std::string typeName;
    bool isChild = false;
    bool tabStop = true;
    bool painted = false;
    bool visible = false;
    bool closed = false;
    bool flagA = false;
    bool flagB = false;
    std::uint64_t tag = 0;
    void* owner;
    FontDescription font;
    int width = 100;
    int height = 50;
    int x = 100;
    int y = 100;
    bool created = false;
    Colour backColor = noColour;
    bool enabled = true;
    int id = 0;
    std::string name;
    std::string text;
    std::string focusText;
    GUIElement* parent = nullptr;
    bool focused = false;
    DateTime lastClick = DateTime::Now();

private:
    std::function<void(GUIElement&, std::uint64_t)> onCreate;
    bool createdNotified = false;
    PointCallback onClick;
    PointCallback onMouseDown;
    PointCallback onDoubleClick;
    PointCallback onOtherButtonUp;
    PointCallback onOtherButtonDown;
    PointCallback onUserEvent;
    KeyCallback onKeyUp;
    KeyCallback onKeyDown;
    std::function<bool(GUIElement&, char)> onKeyChar;
    Callback onMoved;
    std::function<void(GUIElement&, Colour)> onResized;
    std::function<bool(GUIElement&)> onCloseQuery;
    Callback onClosed;
    Callback onGotFocus;
    Callback onLostFocus;
    Callback onMouseEnter;
    Callback onMouseLeave;
    Callback onChange;
    std::function<void(GUIElement&, int, int)> onMouseMove;
    Callback onEvent1;
    Callback onEvent2;
    std::shared_ptr<char> lifetime = std::make_shared<char>();
};
