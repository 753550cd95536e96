#pragma once
// A main form on the test's private X server with its clock and its dice in the test's hands, so
// that the rules can be driven tick by tick without waiting for real time.

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <unistd.h>

#include "game/FormMain.h"
#include "joystick/JoystickRecord.h"
#include "tests/support/TempFolder.h"
#include "toolkit/DisplayConnection.h"
#include "toolkit/EventLoop.h"
#include "toolkit/ButtonCustom.h"
#include "toolkit/Registry.h"

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
        game = std::make_unique<FormMain>(connection.get(), "Korvanta test");
        game->SetClock([this] { return Stamp(); });
        game->SetRandom([this](int low, int high) {
            if (dice.empty()) return low;
            const int value = dice.front();
            dice.pop_front();
            EXPECT_GE(value, low);
            EXPECT_LE(value, high);
            return value;
        });
        start = DateTime::Now();
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

    DateTime Stamp() const
    {
        DateTime stamp = start;
        stamp.seconds += elapsed / 1000;
        stamp.millisecond = static_cast<int>(elapsed % 1000);
        return stamp;
    }

    void Wait(long milliseconds) { elapsed += milliseconds; }

    // One timer expiry after another until the next ball step has run.
    void BallStep()
    {
        for (int i = 0; i < 26; ++i) game->Tick();
    }

    void PressStart() { game->ButtonClicked(*game->StartButton()); }

    std::unique_ptr<TempFolder> folder;
    std::unique_ptr<DisplayConnection> connection;
    std::unique_ptr<FormMain> game;
    std::deque<int> dice;
    DateTime start;
    long elapsed = 0;
};
