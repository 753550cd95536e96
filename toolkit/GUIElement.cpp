#include "toolkit/GUIElement.h"

#include <algorithm>

#include "toolkit/Registry.h"

GUIElement::GUIElement(void* owner) : owner(owner) { Register(this); }

namespace {

// Calls a callback slot through a copy: a callback may delete its own element, and with it the
// slot that holds the callback, while the callback is still running.
template <typename Callback, typename... Arguments>
auto Raise(const Callback& slot, Arguments&&... arguments)
{
    using Result = decltype(slot(std::forward<Arguments>(arguments)...));
    if (!slot) return Result();
    const Callback running = slot;
    return running(std::forward<Arguments>(arguments)...);
}

}  // namespace

// Forms and timers unregister in their own destructors, while they are still whole; every other
// element is taken out here.
GUIElement::~GUIElement()
{
    const std::vector<GUIElement*>& all = AllElements();
    if (std::find(all.begin(), all.end(), this) != all.end()) Unregister(this);
}

void GUIElement::SetSize(int newWidth, int newHeight)
{
    if (newWidth == width && newHeight == height) return;
    width = newWidth;
    height = newHeight;
    if (created) NativeResize();
}

void GUIElement::SetPosition(int newX, int newY)
{
    x = newX;
    y = newY;
    if (created) NativeMove();
}

void GUIElement::SetPositionClamped(int newX, int newY) { SetPosition(newX < 0 ? 0 : newX, newY < 0 ? 0 : newY); }

void GUIElement::SetBackColor(Colour colour)
{
    backColor = colour;
    if (created) Paint();
}

void GUIElement::Show()
{
    if (!created) Create();
    visible = true;
}

void GUIElement::ShowWindow() { GUIElement::Show(); }

void GUIElement::Hide()
{
    if (created) visible = false;
}

void GUIElement::AddChild(GUIElement* element)
{
    if (created && element) ChildAdded(element);
}

void GUIElement::BringToFront()
{
    if (created) NativeRaise();
}

void GUIElement::SendToBack()
{
    if (created) NativeLower();
}

void GUIElement::SetFont(const FontDescription& value)
{
    font = value;
    if (created) NativeUpdate();
}

bool GUIElement::HitTest(Point point) const
{
    return created && visible && x <= point.x && point.x <= x + width && y <= point.y && point.y <= y + height;
}

void GUIElement::Click(Point point)
{
    if (!Survives([&] { Raise(onClick, *this, tag, point); })) return;
    const DateTime now = DateTime::Now();
    if (lastClick.MillisecondsTo(now) < 1000 && !Survives([&] { DoubleClick(point); })) return;
    lastClick = now;
}

void GUIElement::MouseDown(Point point)
{
    Raise(onMouseDown, *this, tag, point);
}

void GUIElement::DoubleClick(Point point)
{
    Raise(onDoubleClick, *this, tag, point);
}

void GUIElement::OtherButtonUp(Point point)
{
    Raise(onOtherButtonUp, *this, tag, point);
}

void GUIElement::OtherButtonDown(Point point)
{
    Raise(onOtherButtonDown, *this, tag, point);
}

void GUIElement::UserEvent(Point point)
{
    Raise(onUserEvent, *this, tag, point);
}

void GUIElement::KeyUp(unsigned long keysym)
{
    Raise(onKeyUp, *this, keysym);
}

void GUIElement::KeyDown(unsigned long keysym)
{
    Raise(onKeyDown, *this, keysym);
}

bool GUIElement::KeyChar(char character) { return onKeyChar ? Raise(onKeyChar, *this, character) : true; }

void GUIElement::MouseMove(int pointerX, int pointerY)
{
    Raise(onMouseMove, *this, pointerX, pointerY);
}

void GUIElement::Event1()
{
    Raise(onEvent1, *this);
}

void GUIElement::Event2()
{
    Raise(onEvent2, *this);
}

void GUIElement::Moved()
{
    Raise(onMoved, *this);
}

void GUIElement::Resized()
{
    if (Survives([&] { SetBackColor(backColor); })) Raise(onResized, *this, backColor);
}

bool GUIElement::CloseQuery() { return onCloseQuery ? Raise(onCloseQuery, *this) : true; }

void GUIElement::Closed()
{
    if (Survives([&] { Raise(onClosed, *this); })) closed = true;
}

void GUIElement::GotFocus()
{
    focused = true;
    focusText = CurrentText();
    Raise(onGotFocus, *this);
}

void GUIElement::LostFocus()
{
    focused = false;
    if (Survives([&] { Raise(onLostFocus, *this); }) && onChange && CurrentText() != focusText) Raise(onChange, *this);
}

void GUIElement::MouseEnter()
{
    Raise(onMouseEnter, *this);
}

void GUIElement::MouseLeave()
{
    Raise(onMouseLeave, *this);
}

void GUIElement::Created(std::uint64_t givenTag)
{
    if (tag == 0) tag = givenTag;
    if (createdNotified) return;
    createdNotified = true;
    Raise(onCreate, *this, tag);
}

void GUIElement::UpdateBackColor()
{
    if (created) NativeBackColor();
}

void GUIElement::SetFlagA(bool value) { SetOneOfTwo(flagA, flagB, value); }

void GUIElement::SetFlagB(bool value) { SetOneOfTwo(flagB, flagA, value); }

void GUIElement::AssignId()
{
    if (id == 0) {
        id = TakeNextId();
        tag = static_cast<std::uint64_t>(id);
    }
    if (created) NativeUpdate();
}
