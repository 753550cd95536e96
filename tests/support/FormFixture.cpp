#include "tests/support/FormFixture.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include "graphics/DrawContext.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Registry.h"
#include "toolkit/Timer.h"
#include "tools/harness/Poll.h"

TestForm::TestForm(DisplayConnection* connection, bool isDialog) : Form(nullptr, isDialog)
{
    SetDisplay(connection);
}

void FormFixture::SetUp()
{
    folder = std::make_unique<TempFolder>();
    ResetRegistry();
    connection = std::make_unique<DisplayConnection>("test");
    ASSERT_NE(connection->GetDisplay(), nullptr);
    display = connection->GetDisplay();
    // An earlier case's dialog may have taken the keyboard and gone with it, leaving the focus on
    // nothing: start each case with the keyboard following the pointer, as a fresh server does.
    XSetInputFocus(display, PointerRoot, RevertToPointerRoot, CurrentTime);
    form = std::make_unique<TestForm>(connection.get());
    form->SetSize(400, 300);
    form->SetPosition(10, 10);
    form->SetBackColor(background);
    form->Show();
    WaitUntilViewable(*form);
}

void FormFixture::TearDown()
{
    extraForms.clear();
    form.reset();
    ResetRegistry();
    connection.reset();
}

TestForm& FormFixture::AddForm(int width, int height, Colour colour, bool isDialog)
{
    auto added = std::make_unique<TestForm>(connection.get(), isDialog);
    added->SetSize(width, height);
    added->SetPosition(450, 10);
    added->SetBackColor(colour);
    added->Show();
    WaitUntilViewable(*added);
    extraForms.push_back(std::move(added));
    return *extraForms.back();
}

void FormFixture::WaitUntilViewable(Form& which)
{
    XWindowAttributes attributes{};
    WaitFor(
        [&] {
            return XGetWindowAttributes(display, which.GetWindow(), &attributes) && attributes.map_state == IsViewable;
        },
        std::chrono::seconds(5), std::chrono::milliseconds(2));
    ASSERT_EQ(attributes.map_state, IsViewable);
    // Let the first Expose be answered by the test's own drawing rather than arrive later.
    XSync(display, False);
}

Colour FormFixture::PixelAt(const Form& which, int x, int y) const
{
    XImage* image = XGetImage(display, which.GetWindow(), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return -2;
    const auto pixel = static_cast<Colour>(XGetPixel(image, 0, 0) & 0xFFFFFF);
    XDestroyImage(image);
    return pixel;
}

void FormFixture::Clear(Colour colour)
{
    DrawContext(form->Target()).FillRectangle(0, 0, form->GetWidth() + 1, form->GetHeight() + 1, 0, 0, colour);
}

bool FormFixture::RunUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline)
{
    bool met = false;
    const auto end = std::chrono::steady_clock::now() + deadline;
    Timer watcher(form.get(), 10);
    watcher.SetOnTimer([&](Timer&) {
        if (condition())
            met = true;
        else if (std::chrono::steady_clock::now() < end)
            return;
        RequestQuit();
    });
    watcher.Start();
    CancelQuitRequest();
    ::Run(*form);
    CancelQuitRequest();
    return met;
}

bool FormFixture::RunSteps(const std::vector<std::function<bool()>>& steps, std::chrono::milliseconds deadline)
{
    std::size_t next = 0;
    return RunUntil(
        [&] {
            while (next < steps.size() && steps[next]()) ++next;
            return next == steps.size();
        },
        deadline);
}

void FormFixture::ReShow(Form& which)
{
    which.Show();
    WaitUntilViewable(which);
}

void FormFixture::MovePointer(const Form& which, int x, int y)
{
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display, which.GetWindow(), DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    XSync(display, False);
}

void FormFixture::PressButton(int button, bool down)
{
    XTestFakeButtonEvent(display, static_cast<unsigned>(button), down, CurrentTime);
    XSync(display, False);
}

void FormFixture::PressKey(unsigned long keysym, bool down)
{
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), down, CurrentTime);
    XSync(display, False);
}

void FormFixture::TypeKey(unsigned long keysym)
{
    PressKey(keysym, true);
    PressKey(keysym, false);
}

void FormFixture::Sync() { XSync(display, False); }
