#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/support/FormFixture.h"
#include "tests/toolkit/Recorder.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Registry.h"
#include "toolkit/TextBoxCustom.h"
#include "toolkit/Timer.h"

using EventLoopTest = FormFixture;

namespace {

const std::string keyA = std::to_string(XK_a);
const std::string keyLeft = std::to_string(XK_Left);

}  // namespace

TEST_F(EventLoopTest, ClickGoesToTheWidgetUnderThePointerThenToTheForm)
{
    Recorder left(form.get(), 10, 10, 50, 30), right(form.get(), 100, 10, 50, 30);
    left.Show();
    right.Show();
    std::vector<std::string> formLog;
    Recorder::Listen(*form, formLog);
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 120, 20);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return !formLog.empty() && formLog.back() == "click"; }}));
    EXPECT_TRUE(left.log.empty());
    EXPECT_EQ(right.log, (std::vector<std::string>{"got", "down 120,20", "click"}));
    EXPECT_EQ(formLog, (std::vector<std::string>{"down 120,20", "click"}));
    EXPECT_EQ(FocusElement(), nullptr) << "the loop closed the windows, which clears the focus";
}

TEST_F(EventLoopTest, PressOnEmptyAreaTakesTheFocusAwayAndPressingTheFocusKeepsIt)
{
    Recorder widget(form.get(), 10, 10, 50, 30);
    widget.Show();
    std::vector<std::string> formLog;
    Recorder::Listen(*form, formLog);
    GUIElement* focusAfterSecondPress = nullptr;
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 20, 20);
                              PressButton(1, true);
                              PressButton(1, false);
                              PressButton(1, true);
                              return true;
                          },
                          [&] {
                              if (std::count(formLog.begin(), formLog.end(), "down 20,20") < 2) return false;
                              focusAfterSecondPress = FocusElement();
                              PressButton(1, false);
                              MovePointer(*form, 300, 200);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return Contains(formLog, "down 300,200") && formLog.back() == "click"; }}));
    EXPECT_EQ(focusAfterSecondPress, &widget);
    EXPECT_EQ(std::count(widget.log.begin(), widget.log.end(), "got"), 1) << "no second GotFocus";
    EXPECT_EQ(widget.log.back(), "lost");
}

TEST_F(EventLoopTest, CharactersArriveOnReleaseAndCursorKeysTypeNothing)
{
    Recorder widget(form.get(), 10, 10, 50, 30);
    widget.Show();
    std::vector<std::string> afterPress;
    bool downWhilePressed = false;
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 20, 20);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return Contains(widget.log, "click"); },
                          [&] {
                              widget.log.clear();
                              PressKey(XK_a, true);
                              return true;
                          },
                          [&] {
                              if (widget.log.empty()) return false;
                              afterPress = widget.log;
                              downWhilePressed = IsKeyDown('a');
                              PressKey(XK_a, false);
                              TypeKey(XK_Left);
                              return true;
                          },
                          [&] { return Contains(widget.log, "keyup " + keyLeft); }}));
    EXPECT_EQ(afterPress, (std::vector<std::string>{"keydown " + keyA}));
    EXPECT_TRUE(downWhilePressed);
    EXPECT_EQ(widget.log, (std::vector<std::string>{"keydown " + keyA, "char a", "keyup " + keyA,
                                                    "keydown " + keyLeft, "keyup " + keyLeft}));
    EXPECT_FALSE(IsKeyDown('a'));
    EXPECT_FALSE(IsKeyDown(300));
}

TEST_F(EventLoopTest, TabFollowsIdsSkipsNonTabStopsAndWraps)
{
    Recorder first(form.get(), 10, 10, 20, 20), skipped(form.get(), 40, 10, 20, 20), last(form.get(), 70, 10, 20, 20);
    skipped.SetTabStop(false);
    first.Show();
    skipped.Show();
    last.Show();
    std::vector<GUIElement*> focusSeen;
    auto tab = [&] {
        TypeKey(XK_Tab);
        return true;
    };
    auto focusChanged = [&] {
        if (FocusElement() == (focusSeen.empty() ? nullptr : focusSeen.back())) return false;
        focusSeen.push_back(FocusElement());
        return true;
    };
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 300, 200);
                              return true;
                          },
                          tab, focusChanged, tab, focusChanged, tab, focusChanged}));
    EXPECT_EQ(focusSeen, (std::vector<GUIElement*>{&first, &last, &first}));
}

TEST_F(EventLoopTest, DisabledFormGetsOnlyMouseDownAndClick)
{
    Recorder widget(form.get(), 10, 10, 50, 30);
    widget.Show();
    std::vector<std::string> formLog;
    Recorder::Listen(*form, formLog);
    form->SetEnabled(false);
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 20, 20);
                              TypeKey(XK_a);
                              MovePointer(*form, 25, 25);
                              PressButton(3, true);
                              PressButton(3, false);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return !formLog.empty() && formLog.back() == "click"; }}));
    EXPECT_TRUE(widget.log.empty());
    EXPECT_EQ(formLog, (std::vector<std::string>{"down 25,25", "click", "down 25,25", "click"}))
        << "the right button too reaches a disabled form only as mouse-down and click";
}

TEST_F(EventLoopTest, OtherButtonsGoToTheForm)
{
    std::vector<std::string> formLog;
    Recorder::Listen(*form, formLog);
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 30, 30);
                              PressButton(2, true);
                              PressButton(2, false);
                              return true;
                          },
                          [&] { return Contains(formLog, "other up"); }}));
    EXPECT_EQ(formLog, (std::vector<std::string>{"other down", "other up"}));
}

namespace {

void SendDelete(Display* display, Form& target)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target.GetWindow();
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(target.GetDeleteAtom());
    XSendEvent(display, target.GetWindow(), False, NoEventMask, &event);
    XFlush(display);
}

}  // namespace

TEST_F(EventLoopTest, CloseOnTheMainFormOnlyAsksWhileADialogCloses)
{
    TestForm& dialog = AddForm(100, 100, 0x00FF00, true);
    int mainQueries = 0, dialogQueries = 0, dialogClosed = 0;
    form->SetOnCloseQuery([&](GUIElement&) {
        ++mainQueries;
        return true;
    });
    dialog.SetOnCloseQuery([&](GUIElement&) {
        ++dialogQueries;
        return true;
    });
    dialog.SetOnClosed([&](GUIElement&) { ++dialogClosed; });
    bool mainStillCreated = false;
    ASSERT_TRUE(RunSteps({[&] {
                              SendDelete(display, *form);
                              SendDelete(display, dialog);
                              return true;
                          },
                          [&] {
                              if (dialogClosed == 0) return false;
                              mainStillCreated = form->IsCreated() && form->GetWindow() != 0;
                              return true;
                          }}));
    EXPECT_EQ(mainQueries, 1);
    EXPECT_TRUE(mainStillCreated) << "the main window never closes by itself";
    EXPECT_EQ(dialogQueries, 1);
    EXPECT_EQ(dialog.GetWindow(), 0u);
    EXPECT_TRUE(dialog.IsClosed());
}

TEST_F(EventLoopTest, TimersKeepTheirPaceWhileThePointerMovesAt500Hz)
{
    Timer gameTimer(form.get(), 30);
    std::atomic<bool> moving = true;
    int firedWhileMoving = 0;
    gameTimer.SetOnTimer([&](Timer&) { firedWhileMoving += moving ? 1 : 0; });
    gameTimer.Start();
    int motionsSeen = 0;
    form->SetOnMouseMove([&](GUIElement&, int, int) { ++motionsSeen; });
    MovePointer(*form, 5, 5);
    // A mouse of another client: every 2 ms for a second, over the form.
    std::thread mouse([&] {
        Display* own = XOpenDisplay(nullptr);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        for (int i = 0; own && std::chrono::steady_clock::now() < end; ++i) {
            XTestFakeMotionEvent(own, -1, 20 + i % 300, 30, CurrentTime);
            XFlush(own);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        moving = false;
        if (own) XCloseDisplay(own);
    });
    const bool ended = RunUntil([&] { return !moving; });
    mouse.join();
    ASSERT_TRUE(ended);
    EXPECT_GT(motionsSeen, 250) << "the pointer did not stream motion";
    EXPECT_GE(firedWhileMoving, 28) << "a 30 ms timer fires about 33 times a second, mouse or not";
    EXPECT_LE(firedWhileMoving, 35);
}

TEST_F(EventLoopTest, ACapitalTypedWithAQuickShiftStaysCapital)
{
    TextBoxCustom box(form.get(), "");
    box.SetPosition(20, 20);
    box.SetSize(200, 30);
    box.Show();
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 30, 30);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return FocusElement() == &box; },
                          [&] {
                              // Shift goes up before the letter does.
                              PressKey(XK_Shift_L, true);
                              PressKey(XK_a, true);
                              PressKey(XK_Shift_L, false);
                              PressKey(XK_a, false);
                              TypeKey(XK_a);
                              return true;
                          },
                          [&] { return box.GetText().size() == 2; }}));
    EXPECT_EQ(box.GetText(), "Aa");
}

TEST_F(EventLoopTest, CallbackMayDeleteItsOwnDialog)
{
    auto dialog = std::make_unique<TestForm>(connection.get(), true);
    dialog->SetSize(100, 100);
    dialog->SetPosition(450, 10);
    dialog->Show();
    WaitUntilViewable(*dialog);
    auto* button = new Recorder(dialog.get(), 10, 10, 50, 50);
    button->Show();
    // A click on the widget deletes the widget and its form from inside the callback.
    button->SetOnClick([&](GUIElement&, std::uint64_t, Point) {
        delete button;
        dialog.reset();
    });
    ASSERT_TRUE(RunSteps({[&] {
                              XWarpPointer(display, 0, dialog->GetWindow(), 0, 0, 0, 0, 20, 20);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return dialog == nullptr; }}));
    EXPECT_EQ(FocusElement(), nullptr);
}

TEST_F(EventLoopTest, RunWithQuitAlreadySetOnlyCloses)
{
    int closed = 0;
    form->SetOnClosed([&](GUIElement&) { ++closed; });
    RequestQuit();
    ::Run(*form);
    CancelQuitRequest();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(form->GetWindow(), 0u);
    // The form can be shown again: a new window, the same id.
    const int id = form->GetId();
    ReShow(*form);
    EXPECT_NE(form->GetWindow(), 0u);
    EXPECT_EQ(form->GetId(), id);
}

TEST_F(EventLoopTest, KeysTypedIntoAnotherWindowSkipTheFocusedWidgetBehind)
{
    Recorder behind(form.get(), 10, 10, 50, 30);
    behind.Show();
    TestForm& dialog = AddForm(100, 100, 0x00FF00, true);
    std::vector<std::string> dialogLog;
    Recorder::Listen(dialog, dialogLog);
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 20, 20);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return FocusElement() == &behind; },
                          [&] {
                              behind.log.clear();
                              MovePointer(dialog, 50, 50);
                              TypeKey(XK_Return);
                              return true;
                          },
                          [&] { return Contains(dialogLog, "keyup " + std::to_string(XK_Return)); }}));
    EXPECT_TRUE(behind.log.empty()) << "the widget on the other window got the dialog's key";
    EXPECT_TRUE(Contains(dialogLog, "char \r"));
}
