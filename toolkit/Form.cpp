#include "toolkit/Form.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>

#include "graphics/Images.h"
#include "toolkit/DisplayConnection.h"
#include "toolkit/Registry.h"
#include "util/Log.h"

namespace {

constexpr long formEventMask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                               EnterWindowMask | LeaveWindowMask | PointerMotionMask | ButtonMotionMask |
                               ExposureMask | StructureNotifyMask | SubstructureNotifyMask;

// The window manager reads both names and the class from this one text.
constexpr const char* applicationName = "Korvanta.exe";

}  // namespace

Form::Form(void* owner, bool isDialog) : GUIElement(owner), isDialog(isDialog)
{
    typeName = "form";
    backColor = noColour;
    RegisterForm(this);
}

Form::~Form()
{
    Unregister(this);
    // The shared message box must not outlive the form it answers to.
    if (currentMsgBox && currentMsgBox->GetParent() == this) currentMsgBox.reset();
    DestroyWindow();
}

Display* Form::GetXDisplay() const { return display ? display->GetDisplay() : nullptr; }

DrawTarget Form::Target() const
{
    Form* mainForm = MainForm();
    return {GetXDisplay(), display ? display->GetScreen() : 0, window, GetWidth(), GetHeight(),
            mainForm ? &mainForm->GetFont() : nullptr};
}

int Form::GetActualWidth() const
{
    if (!created || !window) return width;
    Window root = 0;
    int windowX = 0, windowY = 0;
    unsigned actualWidth = 0, actualHeight = 0, border = 0, depth = 0;
    XGetGeometry(GetXDisplay(), window, &root, &windowX, &windowY, &actualWidth, &actualHeight, &border, &depth);
    return static_cast<int>(actualWidth);
}

int Form::GetActualHeight() const
{
    if (!created || !window) return height;
    Window root = 0;
    int windowX = 0, windowY = 0;
    unsigned actualWidth = 0, actualHeight = 0, border = 0, depth = 0;
    XGetGeometry(GetXDisplay(), window, &root, &windowX, &windowY, &actualWidth, &actualHeight, &border, &depth);
    return static_cast<int>(actualHeight);
}

Point Form::GetPosition() const
{
    if (!created || !window) return {x, y};
    Display* xDisplay = GetXDisplay();
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(xDisplay, window, DefaultRootWindow(xDisplay), 0, 0, &rootX, &rootY, &child);
    return {rootX, rootY};
}

void Form::SetBackColor(Colour colour)
{
    backColor = colour;
    if (created) UpdateBackColor();
}

void Form::Show()
{
    GUIElement::Show();
    if (created && window) XRaiseWindow(GetXDisplay(), window);
}

void Form::ShowWindow()
{
    GUIElement::ShowWindow();
    if (created && window) XMapWindow(GetXDisplay(), window);
}

void Form::Hide()
{
    GUIElement::Hide();
    if (created && window) XUnmapWindow(GetXDisplay(), window);
}

bool Form::IsMappedAndViewable() const
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(GetXDisplay(), window, &attributes) && attributes.map_state == IsViewable;
}

void Form::SetFocus()
{
    // Focusing a window that is not yet viewable is a protocol error that would end the program.
    if (created && window && IsMappedAndViewable()) XSetInputFocus(GetXDisplay(), window, RevertToNone, CurrentTime);
    GUIElement::SetFocus();
}

void Form::Paint()
{
    // A dialog takes the keyboard from the window behind it when it first appears; the window
    // manager may do so too, but without one the keys would keep going to the disabled parent.
    if (isDialog && !focusTaken && created && window) {
        focusTaken = true;
        SetFocus();
    }
    for (GUIElement* child : CollectChildren(id))
        if (child->IsPainted() && child->IsCreated()) child->Paint();
}

void Form::SetFlagA(bool value)
{
    if (created) GUIElement::SetFlagA(value);
}

void Form::SetCaption(const std::string& caption)
{
    SetText(caption);
    if (!created || !window) return;
    std::string name = GetText();
    char* names[] = {name.data()};
    XTextProperty property{};
    if (!XStringListToTextProperty(names, 1, &property)) {
        Log("XStringListToTextProperty - out of memory");
        return;
    }
    XSetWMName(GetXDisplay(), window, &property);
    XSetWMIconName(GetXDisplay(), window, &property);
    XFree(property.value);
}

void Form::SetWindowManagerHints()
{
    Display* xDisplay = GetXDisplay();
    XSizeHints* sizeHints = XAllocSizeHints();
    XWMHints* wmHints = XAllocWMHints();
    XClassHint* classHint = XAllocClassHint();
    if (!sizeHints || !wmHints || !classHint) {
        Log("XAllocSizeHints/XAllocWMHints/XAllocClassHint failed");
    } else {
        // Minimum and maximum equal to the size: the window cannot be resized.
        sizeHints->flags = PPosition | PSize | PMinSize | PMaxSize;
        sizeHints->x = x;
        sizeHints->y = y;
        sizeHints->width = sizeHints->min_width = sizeHints->max_width = width;
        sizeHints->height = sizeHints->min_height = sizeHints->max_height = height;
        wmHints->flags = InputHint | StateHint | IconPixmapHint;
        wmHints->input = True;
        wmHints->initial_state = NormalState;
        wmHints->icon_pixmap = icon;

        std::string caption = GetText();
        std::string iconName = applicationName;
        char* windowNames[] = {caption.data()};
        char* iconNames[] = {iconName.data()};
        XTextProperty windowName{}, iconProperty{};
        const bool named = XStringListToTextProperty(windowNames, 1, &windowName) != 0;
        const bool iconNamed = XStringListToTextProperty(iconNames, 1, &iconProperty) != 0;
        if (!named || !iconNamed) Log("XStringListToTextProperty - error");
        classHint->res_name = iconName.data();
        classHint->res_class = iconName.data();
        XSetWMProperties(xDisplay, window, named ? &windowName : nullptr, iconNamed ? &iconProperty : nullptr,
                         nullptr, 0, sizeHints, wmHints, classHint);
        if (named) XFree(windowName.value);
        if (iconNamed) XFree(iconProperty.value);

        deleteAtom = XInternAtom(xDisplay, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(xDisplay, window, &deleteAtom, 1);
        XSelectInput(xDisplay, window, formEventMask);
    }
    if (sizeHints) XFree(sizeHints);
    if (wmHints) XFree(wmHints);
    if (classHint) XFree(classHint);
}

void Form::Create()
{
    if (created) return;
    Display* xDisplay = GetXDisplay();
    if (!xDisplay) {
        Log("E' necessario impostare il display");
        return;
    }
    const int screen = display->GetScreen();
    const Colour background = backColor == noColour ? defaultBackColour : backColor;
    window = XCreateSimpleWindow(xDisplay, RootWindow(xDisplay, screen), x, y, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 1, BlackPixel(xDisplay, screen),
                                 ScreenChannelMasks(xDisplay, screen).ToPixel(background));
    if (window) SetWindowManagerHints();
    if (window && isDialog) {
        Atom type = XInternAtom(xDisplay, "_NET_WM_WINDOW_TYPE", False);
        Atom dialog = XInternAtom(xDisplay, "_NET_WM_WINDOW_TYPE_DIALOG", False);
        XChangeProperty(xDisplay, window, type, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&dialog), 1);
    }
    SetFocus();
    if (!window) {
        Log("Errore creazione Form ");
        return;
    }
    AssignId();
    SetFormBeingCreated(true);
    const bool survived = Survives([&] { Created(tag != 0 ? tag : static_cast<std::uint64_t>(id)); });
    SetFormBeingCreated(false);
    if (!survived) return;
    created = true;
    UpdateBackColor();
    BeforeMap();
    XMapWindow(xDisplay, window);
    visible = true;
    XFlush(xDisplay);
}

void Form::DestroyWindow()
{
    const WindowId destroyed = window;
    ForgetWindow();
    Display* xDisplay = GetXDisplay();
    if (destroyed && xDisplay) {
        XUnmapWindow(xDisplay, destroyed);
        XDestroyWindow(xDisplay, destroyed);
    }
}

void Form::ForgetWindow()
{
    created = false;
    focusTaken = false;
    if (!window) return;
    ClearFocus();
    window = 0;
}

void Form::SetIcon(PixmapId pixmap)
{
    icon = pixmap;
    if (!created || !window) return;
    if (XWMHints* hints = XAllocWMHints()) {
        hints->flags = InputHint | StateHint | IconPixmapHint;
        hints->input = True;
        hints->initial_state = NormalState;
        hints->icon_pixmap = icon;
        XSetWMHints(GetXDisplay(), window, hints);
        XFree(hints);
    }
}

void Form::SetGeometry(int newX, int newY, int newWidth, int newHeight)
{
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
}

void Form::CenterOnScreen()
{
    const int screenWidth = display ? display->GetScreenWidth() : DisplayConnection::DefaultScreenWidth();
    const int screenHeight = display ? display->GetScreenHeight() : DisplayConnection::DefaultScreenHeight();
    SetPositionClamped((screenWidth - width) / 2, (screenHeight - height) / 2);
}

void Form::ShowForm()
{
    if (!created) Create();
    visible = true;
}

void Form::NativeMove()
{
    if (window) XMoveWindow(GetXDisplay(), window, x, y);
}

void Form::NativeResize()
{
    if (window) XResizeWindow(GetXDisplay(), window, static_cast<unsigned>(width), static_cast<unsigned>(height));
}

void Form::NativeRaise()
{
    if (window) XRaiseWindow(GetXDisplay(), window);
}

void Form::NativeLower()
{
    if (window) XLowerWindow(GetXDisplay(), window);
}
