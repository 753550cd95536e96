#pragma once
// A main form on the test's private X server with its clock and its dice in the test's hands, so
// that it can be played tick by tick without waiting for real time. The form's widgets are found
// the way the toolkit finds them, by walking the registry.

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

#include "game/FormMain.h"
#include "joystick/JoystickRecord.h"
#include "tests/game/LoadedDice.h"
#include "tests/support/TempFolder.h"
#include "toolkit/DisplayConnection.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Registry.h"
#include "toolkit/Timer.h"

class GameFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        // No joystick record of another test may steer this game.
        SetJoystickRecordName("/korvanta-game-test-" + std::to_string(getpid()));
        folder = std::make_unique<TempFolder>();
        PrepareFolder();
        ResetRegistry();
        connection = std::make_unique<DisplayConnection>("test");
        WellSeams seams{[this] { return Stamp(); }, LoadedDice(dice)};
        start = DateTime::Now();
        game = std::make_unique<FormMain>(connection.get(), "Korvanta test", std::move(seams));
        BeforeFirstPaint();
        WaitUntilViewable();
        game->Paint();
    }

    void TearDown() override
    {
        game.reset();
        ResetRegistry();
        connection.reset();
    }

    // Files a test wants in place before the game starts.
    virtual void PrepareFolder() {}
    virtual void BeforeFirstPaint() {}

    DateTime Stamp() const
    {
        DateTime stamp = start;
        stamp.seconds += elapsed / 1000;
        stamp.millisecond = static_cast<int>(elapsed % 1000);
        return stamp;
    }

    void Wait(long milliseconds) { elapsed += milliseconds; }

    // What is drawn on the window goes only to a viewable window.
    void WaitUntilViewable()
    {
        Display* display = game->GetXDisplay();
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        XWindowAttributes attributes{};
        while (std::chrono::steady_clock::now() < end) {
            XSync(display, False);
            if (XGetWindowAttributes(display, game->GetWindow(), &attributes) && attributes.map_state == IsViewable) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        FAIL() << "the main window never became viewable";
    }

    // One of the main form's widgets, by its kind and what it says.
    template <class Widget>
    Widget* Find(const std::function<bool(const std::string&)>& text) const
    {
        for (GUIElement* element : CollectChildren(game->GetId()))
            if (auto* widget = dynamic_cast<Widget*>(element); widget && text(widget->GetText())) return widget;
        return nullptr;
    }
    template <class Widget>
    Widget* Find(const std::string& text) const
    {
        return Find<Widget>([&](const std::string& shown) { return shown == text; });
    }

    // A form the main form opened, by its kind.
    template <class Dialog>
    Dialog* OpenDialog() const
    {
        for (Form* open : Forms())
            if (auto* dialog = dynamic_cast<Dialog*>(open)) return dialog;
        return nullptr;
    }

    Timer* GameTimer() const
    {
        for (GUIElement* element : Timers())
            if (element->GetParent() == game.get()) return static_cast<Timer*>(element);
        return nullptr;
    }

    void Click(const std::string& button);

    // Plays as a player would, 30 ms a tick, with the keys: the catcher goes under the lowest ball,
    // or, to miss, as far from it as the well allows. Stops when the condition holds.
    bool PlayUntil(const std::function<bool()>& done, bool miss = false);

    std::unique_ptr<TempFolder> folder;
    std::unique_ptr<DisplayConnection> connection;
    std::unique_ptr<FormMain> game;
    std::deque<int> dice;
    DateTime start;
    long elapsed = 0;
};
