#include "toolkit/EventLoop.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/select.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <utility>

#include "toolkit/Child.h"
#include "toolkit/DisplayConnection.h"
#include "toolkit/Form.h"
#include "toolkit/LoopClock.h"
#include "toolkit/Registry.h"
#include "toolkit/Timer.h"
#include "util/Log.h"

namespace {

std::array<unsigned char, 256> keyState{};
bool quitRequested = false;
bool mainWindowDestroyed = false;

// The character each key typed when it went down, by key code, until its release delivers it:
// a fast typist lets go of Shift before the letter, and the release alone would type it small.
std::array<std::optional<char>, 256> typedOnPress{};

// An end signal sets the flag for the loop and writes to the pipe, which wakes the loop's wait
// however long that wait would have been.
volatile sig_atomic_t endSignalled = 0;
int endPipe[2] = {-1, -1};
pid_t loopProcess = 0;

void OnEndSignal(int signalNumber)
{
    // Children made with fork() (the joystick reader, the sounds, the links) inherit this handler;
    // the signal must end them as it would have, and above all must not reach the loop through
    // the inherited pipe: a sound's child is ended with SIGTERM at every new sound.
    if (getpid() != loopProcess) {
        struct sigaction defaultAction {};
        defaultAction.sa_handler = SIG_DFL;
        sigemptyset(&defaultAction.sa_mask);
        sigaction(signalNumber, &defaultAction, nullptr);
        raise(signalNumber);
        return;
    }
    const int savedErrno = errno;
    endSignalled = 1;
    const char byte = 1;
    if (endPipe[1] >= 0 && write(endPipe[1], &byte, 1) < 0) {
        // A full pipe already holds a wake-up.
    }
    errno = savedErrno;
}

// Turns an end signal into the quit request; true when the loop must end.
bool TakeEndSignal()
{
    if (!endSignalled) return QuitRequested();
    endSignalled = 0;
    char drained[64];
    while (endPipe[0] >= 0 && read(endPipe[0], drained, sizeof drained) > 0) {
    }
    RequestQuit();
    return true;
}

struct TypedKey {
    KeySym keysym = NoSymbol;
    char character = 0;
};

TypedKey LookUp(XKeyEvent& event)
{
    char buffer[50] = {};
    TypedKey key;
    if (XLookupString(&event, buffer, sizeof buffer, &key.keysym, nullptr) > 0) key.character = buffer[0];
    return key;
}

// Only the characters 1 to 127 are tracked; a byte above 127 reads as negative here.
void MarkKey(char character, bool down)
{
    if (character > 0) keyState[static_cast<unsigned char>(character)] = down ? 1 : 0;
}

// Each dispatch step may run callbacks that delete the form or the widget at hand (a dialog
// closing itself); the steps make sure that either is still there before touching it again.
class Dispatcher {
public:
    Dispatcher(Form& mainForm, Form& form) : mainForm(mainForm), form(form), formAlive(form.LifeToken()) {}

    void Dispatch(XEvent& event);

private:
    bool FormGone() const { return formAlive.expired(); }
    bool FocusOnThisForm(Point point) const
    {
        return FocusElement() && FocusElement()->HitTest(point) && FocusElement()->GetParent() == &form;
    }
    // The focus element when it lies on this form. Keys and drags typed into a dialog must not
    // reach the widget that kept the focus on the disabled window behind it.
    GUIElement* FocusHere() const
    {
        if (!FocusElement() || !FocusElement()->IsChild()) return nullptr;
        return static_cast<Child*>(FocusElement())->GetForm() == &form ? FocusElement() : nullptr;
    }

    void OnKeyPress(XKeyEvent& event);
    void OnKeyRelease(XKeyEvent& event, std::optional<char> typed);
    void OnButtonPress(const XButtonEvent& event);
    void OnButtonRelease(const XButtonEvent& event);
    void OnClientMessage(const XClientMessageEvent& event);
    void OnDestroyed();
    void CloseAsTheWindowManagerAsks();
    void MoveFocusByTab();

    Form& mainForm;
    Form& form;
    std::weak_ptr<void> formAlive;
};

void Dispatcher::Dispatch(XEvent& event)
{
    switch (event.type) {
    case KeyPress:
        if (form.IsEnabled()) OnKeyPress(event.xkey);
        break;
    case KeyRelease: {
        const std::optional<char> typed = std::exchange(typedOnPress[event.xkey.keycode & 0xFF], std::nullopt);
        if (form.IsEnabled()) OnKeyRelease(event.xkey, typed);
        break;
    }
    case ButtonPress:
        if (!form.IsEnabled())
            form.MouseDown({event.xbutton.x, event.xbutton.y});
        else
            OnButtonPress(event.xbutton);
        break;
    case ButtonRelease:
        if (!form.IsEnabled())
            form.Click({event.xbutton.x, event.xbutton.y});
        else
            OnButtonRelease(event.xbutton);
        break;
    case MotionNotify:
        if (!form.IsEnabled()) break;
        if (GUIElement* focus = FocusHere(); focus && (focus->TypeName() == "slider" || focus->TypeName() == "scrollbar")) {
            focus->MouseMove(event.xmotion.x, event.xmotion.y);
            if (FormGone()) break;
        }
        form.MouseMove(event.xmotion.x, event.xmotion.y);
        break;
    case EnterNotify:
        form.MouseEnter();
        break;
    case LeaveNotify:
        form.MouseLeave();
        break;
    case Expose:
        form.Paint();
        break;
    case ConfigureNotify: {
        const XConfigureEvent& configure = event.xconfigure;
        if (Size{configure.width, configure.height} != form.GetSize()) {
            form.Resized();
            if (FormGone()) break;
        }
        form.SetGeometry(configure.x, configure.y, configure.width, configure.height);
        break;
    }
    case ClientMessage:
        OnClientMessage(event.xclient);
        break;
    case DestroyNotify:
        OnDestroyed();
        break;
    default:
        break;
    }
}

void Dispatcher::OnKeyPress(XKeyEvent& event)
{
    const TypedKey key = LookUp(event);
    typedOnPress[event.keycode & 0xFF] = key.character;
    if (GUIElement* focus = FocusHere()) {
        focus->KeyDown(key.keysym);
        if (FormGone()) return;
    }
    MarkKey(key.character, true);
    form.KeyDown(key.keysym);
}

void Dispatcher::OnKeyRelease(XKeyEvent& event, std::optional<char> typed)
{
    // A key that went down before this window had the focus was not seen going down.
    TypedKey key = LookUp(event);
    if (typed) key.character = *typed;
    GUIElement* focus = FocusHere();
    if (key.keysym == XK_Tab && (!focus || focus->IsTabStop())) {
        MoveFocusByTab();
    } else if (focus) {
        if (focus->Survives([&] { if (key.character > 0) focus->KeyChar(key.character); })) focus->KeyUp(key.keysym);
    }
    if (FormGone()) return;
    if (key.character > 0) {
        MarkKey(key.character, false);
        form.KeyChar(key.character);
        if (FormGone()) return;
    }
    form.KeyUp(key.keysym);
}

void Dispatcher::OnButtonPress(const XButtonEvent& event)
{
    const Point point{event.x, event.y};
    if (event.button == Button2 || event.button == Button3 || event.button == Button4) {
        form.OtherButtonDown(point);
        return;
    }
    if (event.button != Button1) return;

    if (FocusOnThisForm(point)) {
        FocusElement()->MouseDown(point);
        if (!FormGone()) form.MouseDown(point);
        return;
    }
    if (GUIElement* widget = ChildAt(form.GetId(), point)) {
        const bool stillThere = widget->Survives([&] {
            if (FocusElement() && FocusElement()->GetId() != widget->GetId()) {
                if (widget->Survives([&] { FocusElement()->LostFocus(); })) widget->GotFocus();
            } else if (!FocusElement()) {
                widget->GotFocus();
            }
        });
        if (stillThere && widget->Survives([&] { widget->MouseDown(point); })) SetFocusElement(widget);
    } else if (FocusElement()) {
        FocusElement()->LostFocus();
        SetFocusElement(nullptr);
    }
    if (!FormGone()) form.MouseDown(point);
}

void Dispatcher::OnButtonRelease(const XButtonEvent& event)
{
    const Point point{event.x, event.y};
    if (event.button == Button2 || event.button == Button3 || event.button == Button4) {
        form.OtherButtonUp(point);
        return;
    }
    if (event.button != Button1) return;

    if (FocusOnThisForm(point)) {
        FocusElement()->Click(point);
        if (!FormGone()) form.Click(point);
        return;
    }
    GUIElement* widget = ChildAt(form.GetId(), point);
    if (widget && FocusElement() && widget->GetId() == FocusElement()->GetId()) {
        widget->Click(point);
    } else if (FocusElement()) {
        FocusElement()->LostFocus();
        SetFocusElement(nullptr);
    }
    if (!FormGone()) form.Click(point);
}

void Dispatcher::OnClientMessage(const XClientMessageEvent& event)
{
    if (event.format == 32 && static_cast<Atom>(event.data.l[0]) == form.GetDeleteAtom() && form.GetDeleteAtom()) {
        // The main window never closes by itself: the game decides whether to quit.
        if (form.GetId() == mainForm.GetId())
            mainForm.CloseQuery();
        else
            CloseAsTheWindowManagerAsks();
    } else if (event.message_type == 0 && event.data.l[0] == 1) {
        form.UserMessage();
    }
}

void Dispatcher::CloseAsTheWindowManagerAsks()
{
    if (form.CloseQuery() && !FormGone()) {
        form.DestroyWindow();
        form.Closed();
    }
}

// The form still knew the window, so it was not the form that destroyed it: another client did.
void Dispatcher::OnDestroyed()
{
    form.ForgetWindow();
    if (form.GetId() != mainForm.GetId()) {
        // A dialog goes as if closed, which gives the window behind it back to the player.
        CloseAsTheWindowManagerAsks();
        return;
    }
    Log("The main window was destroyed by another program.");
    mainWindowDestroyed = true;
    RequestQuit();
}

void Dispatcher::MoveFocusByTab()
{
    const std::vector<GUIElement*> candidates = CollectChildren(form.GetId());
    GUIElement* next = nullptr;
    for (GUIElement* element : candidates) {
        if ((!FocusHere() || element->GetId() > FocusHere()->GetId()) && element->IsTabStop()) {
            next = element;
            break;
        }
    }
    if (!next) {
        for (GUIElement* element : candidates) {
            if (element->IsTabStop()) {
                next = element;
                break;
            }
        }
    }
    if (!next) return;
    if (FocusElement() && !next->Survives([&] { FocusElement()->LostFocus(); })) return;
    SetFocusElement(next);
    next->GotFocus();
}

Window EventWindow(const XEvent& event)
{
    switch (event.type) {
    case ConfigureNotify:
        return event.xconfigure.window;
    case DestroyNotify:
        return event.xdestroywindow.window;
    default:
        return event.xany.window;
    }
}

enum class WaitResult { readable, timedOut, interrupted };

// Waits for the X connection, for at most the given time when there is one; an end signal cuts
// the wait short.
WaitResult WaitForEvents(Display* display, std::optional<std::int64_t> microseconds)
{
    const int fd = ConnectionNumber(display);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(fd, &readable);
    int highest = fd;
    if (endPipe[0] >= 0) {
        FD_SET(endPipe[0], &readable);
        if (endPipe[0] > highest) highest = endPipe[0];
    }
    timeval wait{};
    if (microseconds) {
        wait.tv_sec = static_cast<time_t>(*microseconds / 1000000);
        wait.tv_usec = static_cast<suseconds_t>(*microseconds % 1000000);
    }
    const int result = select(highest + 1, &readable, nullptr, nullptr, microseconds ? &wait : nullptr);
    if (result == 0) return WaitResult::timedOut;
    if (result < 0 || !FD_ISSET(fd, &readable)) return WaitResult::interrupted;
    return WaitResult::readable;
}

}  // namespace

bool QuitRequested() { return quitRequested; }

bool MainWindowDestroyed() { return mainWindowDestroyed; }

void RequestQuit() { quitRequested = true; }

void CancelQuitRequest() { quitRequested = false; }

bool IsKeyDown(int code) { return code >= 0 && code <= 255 && keyState[static_cast<std::size_t>(code)] == 1; }

void EndLoopOnSignals(std::initializer_list<int> signalNumbers)
{
    loopProcess = getpid();
    if (endPipe[0] < 0 && pipe2(endPipe, O_NONBLOCK | O_CLOEXEC) != 0) endPipe[0] = endPipe[1] = -1;
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : signalNumbers) sigaction(signalNumber, &action, nullptr);
}

void Run(Form& mainForm)
{
    keyState.fill(0);
    typedOnPress.fill(std::nullopt);
    mainWindowDestroyed = false;
    DisplayConnection* connection = mainForm.GetDisplayConnection();
    Display* display = connection ? connection->GetDisplay() : nullptr;
    if (display && !TakeEndSignal()) {
        const auto mainAlive = mainForm.LifeToken();
        LoopClock clock;
        clock.AlignWithWallClock();
        do {
            bool queued = XPending(display) > 0;
            if (!queued) {
                // With no timer running nothing is due: the wait ends only with an event or a signal.
                queued = WaitForEvents(display, clock.PlanWait()) == WaitResult::readable;
            }
            // Counted before the event is handled, so its time stamps and the timers see the time
            // at which it arrived.
            clock.CountSteps();
            if (!queued || mainAlive.expired()) continue;
            XEvent event;
            XNextEvent(display, &event);
            Form* form = FindFormByWindow(EventWindow(event));
            if (!form) continue;
            Dispatcher(mainForm, *form).Dispatch(event);
        } while (!TakeEndSignal() && !mainAlive.expired());
        if (mainAlive.expired()) return;
    }

    for (Form* form : std::vector<Form*>(Forms()))
        if (form->IsCreated() || form->GetWindow()) form->DestroyWindow();
    if (currentMsgBox) {
        currentMsgBox->DestroyWindow();
        currentMsgBox.reset();
    }
    mainForm.Closed();
}
