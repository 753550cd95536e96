#pragma once
// A form on the test's private X server, shown and ready to draw on, with helpers to read its
// pixels back and to run the real event loop until a condition holds.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

#include "tests/support/TempFolder.h"
#include "toolkit/DisplayConnection.h"
#include "toolkit/Form.h"
#include "util/Geometry.h"

// A plain form, as the game's own forms are: a Form with nothing of its own.
class TestForm : public Form {
public:
    explicit TestForm(DisplayConnection* connection, bool isDialog = false);
};

class FormFixture : public ::testing::Test {
protected:
    // Shows a 400 x 300 form at (10, 10) with the given background, waiting until it is viewable.
    void SetUp() override;
    void TearDown() override;

    // Makes and shows a further form (ownership stays with the fixture).
    TestForm& AddForm(int width, int height, Colour background, bool isDialog = false);
    void WaitUntilViewable(Form& form);

    // The pixel of the form's window as 0xRRGGBB.
    Colour PixelAt(int x, int y) const { return PixelAt(*form, x, y); }
    Colour PixelAt(const Form& which, int x, int y) const;
    // Fills the whole window with one colour, so tests start from a known picture.
    void Clear(Colour colour);

    // Runs the event loop on the main test form until the condition holds (checked every 10 ms of
    // idle time) or the deadline passes; false on the deadline. Like the game's loop, it destroys
    // every form's window when it ends: call ReShow to draw again.
    bool RunUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline = std::chrono::seconds(5));
    void ReShow(Form& which);
    // Runs the event loop through the steps in order: each is called every 10 ms of idle time
    // until it answers true (a step may send input and answer true at once, or wait for an
    // effect). False when the deadline passed before the last step was done.
    bool RunSteps(const std::vector<std::function<bool()>>& steps,
                  std::chrono::milliseconds deadline = std::chrono::seconds(5));

    // Real input through XTest, in the form's window coordinates.
    void MovePointer(const Form& which, int x, int y);
    void PressButton(int button, bool down);
    void PressKey(unsigned long keysym, bool down);
    void TypeKey(unsigned long keysym);
    void Sync();

    Colour background = 0x203040;
    std::unique_ptr<TempFolder> folder;
    std::unique_ptr<DisplayConnection> connection;
    std::unique_ptr<TestForm> form;
    std::vector<std::unique_ptr<TestForm>> extraForms;
    Display* display = nullptr;
};
