#include <gtest/gtest.h>

#include "tests/support/FormFixture.h"
#include "tests/toolkit/Recorder.h"
#include "toolkit/Registry.h"
#include "toolkit/Timer.h"
#include "util/DateTime.h"

namespace {

// Counts the calls that reach the window system, to show what configuring before creation does.
class HookCounter : public Child {
public:
    explicit HookCounter(GUIElement* parentElement) : Child(parentElement) { typeName = "counter"; }
    void Create() override { MarkCreated(); }
    int moves = 0, resizes = 0, updates = 0, paints = 0;

protected:
    void NativeMove() override { ++moves; }
    void NativeResize() override { ++resizes; }
    void NativeUpdate() override { ++updates; }

public:
    void Paint() override { ++paints; }
};

}  // namespace

TEST(Element, HooksRunOnlyOnceCreated)
{
    TempFolder folder;
    HookCounter element(nullptr);
    element.SetPosition(5, 6);
    element.SetSize(30, 40);
    element.SetBackColor(0x123456);
    EXPECT_EQ(element.moves + element.resizes + element.paints, 0);
    EXPECT_EQ(element.GetId(), 0) << "ids are given lazily";

    element.Show();
    EXPECT_GT(element.GetId(), 0);
    EXPECT_EQ(element.GetTag(), static_cast<std::uint64_t>(element.GetId()));
    element.SetSize(30, 40);
    EXPECT_EQ(element.resizes, 0) << "an unchanged size is skipped";
    element.SetSize(31, 40);
    element.SetPositionClamped(-3, 7);
    EXPECT_EQ(element.resizes, 1);
    EXPECT_EQ(element.moves, 1);
    EXPECT_EQ(element.GetPosition(), (Point{0, 7}));
    element.SetBackColor(0x654321);
    EXPECT_EQ(element.paints, 1);
}

TEST(Element, HitTestIncludesTheRightAndBottomEdges)
{
    TempFolder folder;
    Recorder widget(nullptr, 10, 20, 30, 40);
    EXPECT_FALSE(widget.HitTest({10, 20})) << "not created";
    widget.Show();
    EXPECT_TRUE(widget.HitTest({10, 20}));
    EXPECT_TRUE(widget.HitTest({40, 60}));
    EXPECT_FALSE(widget.HitTest({41, 60}));
    EXPECT_FALSE(widget.HitTest({40, 61}));
    widget.Hide();
    EXPECT_FALSE(widget.HitTest({20, 30}));
}

TEST(Element, FlagsExcludeEachOtherAndCreatedNotifiesOnce)
{
    TempFolder folder;
    Recorder widget(nullptr, 0, 0, 1, 1);
    widget.SetFlagA(true);
    widget.SetFlagB(true);
    EXPECT_FALSE(widget.GetFlagA());
    EXPECT_TRUE(widget.GetFlagB());
    int created = 0;
    widget.SetOnCreate([&](GUIElement&, std::uint64_t tag) {
        ++created;
        EXPECT_EQ(tag, 77u);
    });
    widget.Created(77);
    widget.Created(88);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(widget.GetTag(), 77u);
}

TEST(Element, ChangeIsReportedOnlyWhenTheTextChangedWhileFocused)
{
    TempFolder folder;
    Recorder widget(nullptr, 0, 0, 1, 1);
    int changes = 0;
    widget.SetOnChange([&](GUIElement&) { ++changes; });
    widget.SetText("same");
    widget.GotFocus();
    widget.LostFocus();
    EXPECT_EQ(changes, 0);
    widget.GotFocus();
    widget.SetText("other");
    widget.LostFocus();
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(widget.HasFocus());
}

TEST(Element, SecondClickWithinASecondIsADoubleClick)
{
    TempFolder folder;
    Recorder widget(nullptr, 0, 0, 1, 1);
    int doubles = 0;
    widget.SetOnDoubleClick([&](GUIElement&, std::uint64_t, Point) { ++doubles; });
    // The millisecond counter only moves with the loop's idle time, so quick clicks are double.
    widget.Click({0, 0});
    widget.Click({0, 0});
    EXPECT_GE(doubles, 1);
}

TEST(Element, SurvivesTellsWhetherTheCallDeletedTheElement)
{
    TempFolder folder;
    auto widget = std::make_unique<Recorder>(nullptr, 0, 0, 1, 1);
    GUIElement* element = widget.get();
    int calls = 0;
    EXPECT_TRUE(element->Survives([&] { ++calls; }));
    EXPECT_FALSE(element->Survives([&] {
        ++calls;
        widget.reset();
    }));
    EXPECT_EQ(calls, 2);
}

TEST(Registry, ChildAtLooksIntoPanelsAndSkipsHiddenAndDisabledWidgets)
{
    TempFolder folder;
    Recorder container(nullptr, 0, 0, 500, 500, "panel");
    container.Show();
    Recorder panel(&container, 100, 100, 200, 200, "panel");
    Recorder inside(&panel, 10, 10, 20, 20);
    Recorder hidden(&container, 0, 0, 50, 50);
    Recorder disabled(&container, 60, 0, 30, 30);
    panel.Show();
    inside.Show();
    hidden.Show();
    hidden.Hide();
    disabled.Show();
    disabled.SetEnabled(false);

    EXPECT_EQ(ChildAt(container.GetId(), {115, 115}), &inside) << "point translated by the panel's position";
    EXPECT_EQ(ChildAt(container.GetId(), {150, 150}), nullptr) << "inside the panel but on no child";
    EXPECT_EQ(ChildAt(container.GetId(), {10, 10}), nullptr);
    EXPECT_EQ(ChildAt(container.GetId(), {70, 10}), nullptr);

    const auto children = CollectChildren(container.GetId());
    EXPECT_EQ(children, (std::vector<GUIElement*>{&panel, &inside, &hidden, &disabled}));
}

TEST(Registry, UnregisteringTwiceLogsAndChangesNothingElse)
{
    TempFolder folder;
    const auto elementsBefore = AllElements().size();
    {
        Recorder widget(nullptr, 0, 0, 1, 1);
        widget.Show();
        Unregister(&widget);
        EXPECT_EQ(AllElements().size(), elementsBefore);
        Unregister(&widget);
        EXPECT_EQ(folder.ReadFile("log.txt"), " NON TROVATO! Application::RemoveWinForm = recorder size " +
                                                  std::to_string(elementsBefore) + " id " +
                                                  std::to_string(widget.GetId()) + "\n");
    }
    {
        Timer timer(nullptr, 10);
        timer.Start();
        Unregister(&timer);
        const auto timersLeft = Timers().size();
        Unregister(&timer);
        EXPECT_NE(folder.ReadFile("log.txt").find(" NON TROVATO! Application::RemoveWindow = timer lx " +
                                                  std::to_string(timersLeft) + " id " + std::to_string(timer.GetId()) +
                                                  "\n"),
                  std::string::npos);
        // Put it back so that its destructor finds it.
        Register(&timer);
        RegisterTimer(&timer);
    }
    EXPECT_EQ(AllElements().size(), elementsBefore);
}

TEST(Timer, FiresOnItsIntervalRoundedToTicksAndDropsTheExcess)
{
    TempFolder folder;
    Timer timer(nullptr, 25);
    int fired = 0;
    timer.SetOnTimer([&](Timer&) { ++fired; });
    TickTimers(10);
    EXPECT_EQ(fired, 0) << "never started, never fires";
    timer.Start();
    for (int i = 0; i < 6; ++i) TickTimers(10);
    EXPECT_EQ(fired, 2) << "25 ms fire every third tick";

    timer.Stop();
    TickTimers(10);
    TickTimers(10);
    timer.Start();
    TickTimers(10);
    EXPECT_EQ(fired, 2) << "a stopped timer counts nothing";
    TickTimers(10);
    TickTimers(10);
    EXPECT_EQ(fired, 3) << "and resumes from what it had counted";

    Timer everyTick(nullptr, 0);
    int quick = 0;
    everyTick.SetOnTimer([&](Timer&) { ++quick; });
    everyTick.Start();
    TickTimers(10);
    TickTimers(10);
    EXPECT_EQ(quick, 2);
    EXPECT_EQ(everyTick.GetSize(), (Size{0, 0}));
    EXPECT_FALSE(everyTick.IsTabStop());
}

TEST(Timer, CallbackMayDeleteAnotherTimer)
{
    TempFolder folder;
    std::unique_ptr<Timer> victim;
    Timer killer(nullptr, 10);
    killer.SetOnTimer([&](Timer&) { victim.reset(); });
    // Made after the killer, so it comes later in the same round of ticks.
    victim = std::make_unique<Timer>(nullptr, 10);
    int victimFired = 0;
    victim->SetOnTimer([&](Timer&) { ++victimFired; });
    killer.Start();
    victim->Start();
    TickTimers(10);
    EXPECT_EQ(victim, nullptr);
    EXPECT_EQ(victimFired, 0);
}

using FormLifecycle = FormFixture;

TEST_F(FormLifecycle, ShownAgainAfterDestructionKeepsItsIdAndNotifiesOnce)
{
    TestForm second(connection.get());
    int creates = 0;
    second.SetOnCreate([&](GUIElement&, std::uint64_t) { ++creates; });
    second.SetCaption(std::string("before"));
    second.SetSize(50, 50);
    second.Show();
    WaitUntilViewable(second);
    const int id = second.GetId();
    const Window first = second.GetWindow();
    second.DestroyWindow();
    EXPECT_FALSE(second.IsCreated());
    second.Show();
    WaitUntilViewable(second);
    EXPECT_EQ(second.GetId(), id);
    EXPECT_NE(second.GetWindow(), 0u);
    EXPECT_NE(second.GetWindow(), first);
    EXPECT_EQ(creates, 1);
    char* name = nullptr;
    ASSERT_TRUE(XFetchName(display, second.GetWindow(), &name));
    EXPECT_STREQ(name, "before");
    XFree(name);
}

TEST_F(FormLifecycle, FormWithoutDisplayLogsAndStaysWindowless)
{
    TestForm orphan(nullptr);
    orphan.Show();
    EXPECT_EQ(orphan.GetWindow(), 0u);
    EXPECT_EQ(folder->ReadFile("log.txt"), "E' necessario impostare il display\n");
}

TEST_F(FormLifecycle, CenterOnScreenUsesTheConnectionsScreen)
{
    TestForm centred(connection.get());
    centred.SetSize(280, 24);
    centred.CenterOnScreen();
    EXPECT_EQ(centred.GetPosition(), (Point{500, 500}));
}
