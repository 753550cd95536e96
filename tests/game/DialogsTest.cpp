#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "game/FormAbout.h"
#include "game/FormMsgBox.h"
#include "tests/game/GameFixture.h"
#include "tests/support/FormFixture.h"
#include "toolkit/ButtonCustom.h"
#include "toolkit/CellControl.h"
#include "tools/harness/Poll.h"

namespace {

// A form that writes down the answers its message boxes give it.
class AnsweredForm : public TestForm {
public:
    using TestForm::TestForm;
    void DialogResult(int id, int result) override { answers.emplace_back(id, result); }
    std::vector<std::pair<int, int>> answers;
};

// The fake programs write one line; the shell makes the file before it writes the line into it.
bool WaitForFile(const std::string& path, std::chrono::seconds deadline)
{
    return WaitFor(
        [&] {
            std::ifstream in(path);
            const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            return !text.empty() && text.back() == '\n';
        },
        deadline);
}

}  // namespace

class MessageBox : public FormFixture {
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        asker = std::make_unique<AnsweredForm>(connection.get());
        asker->SetSize(400, 300);
        asker->SetPosition(500, 100);
        asker->Show();
        WaitUntilViewable(*asker);
    }
    void TearDown() override
    {
        currentMsgBox.reset();
        asker.reset();
        FormFixture::TearDown();
    }
    FormMsgBox* Box() { return dynamic_cast<FormMsgBox*>(currentMsgBox.get()); }

    std::unique_ptr<AnsweredForm> asker;
};

TEST_F(MessageBox, MessageHasOnlyOkAndAnswersOne)
{
    FormMsgBox::ShowMessage(7, asker.get(), "Saved.", "Note");
    ASSERT_NE(Box(), nullptr);
    EXPECT_EQ(Box()->FirstButton()->GetText(), "OK");
    EXPECT_FALSE(Box()->SecondButton()->IsVisible());
    EXPECT_EQ(Box()->TextLabel()->GetText(), "Saved.");
    EXPECT_FALSE(asker->IsEnabled());
    EXPECT_EQ(asker->GetOwnerForm(), Box());
    Box()->Answer(*Box()->FirstButton());
    EXPECT_TRUE(asker->IsEnabled());
    EXPECT_EQ(asker->answers, (std::vector<std::pair<int, int>>{{7, 1}}));
}

TEST_F(MessageBox, SecondBoxReplacesTheFirstWhichNeverAnswers)
{
    FormMsgBox::ShowQuestion(1, asker.get(), "First?", "One");
    FormMsgBox::ShowQuestion(2, asker.get(), "Second?", "Two");
    ASSERT_NE(Box(), nullptr);
    EXPECT_EQ(Box()->GetCaption(), "Two");
    Box()->Answer(*Box()->SecondButton());
    EXPECT_EQ(asker->answers, (std::vector<std::pair<int, int>>{{2, 4}}));
}

TEST_F(MessageBox, ClosedByTheWindowManagerAnswersZero)
{
    FormMsgBox::ShowQuestion(5, asker.get(), "Really?", "Ask");
    Form* box = Box();
    ASSERT_NE(box, nullptr);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = box->GetWindow();
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(box->GetDeleteAtom());
    XSendEvent(display, box->GetWindow(), False, NoEventMask, &event);
    Sync();
    ASSERT_TRUE(RunUntil([&] { return !asker->answers.empty(); }));
    EXPECT_EQ(asker->answers, (std::vector<std::pair<int, int>>{{5, 0}}));
    EXPECT_TRUE(asker->IsEnabled());
}

TEST_F(MessageBox, YesIsClickedAtTheBottomRight)
{
    FormMsgBox::ShowQuestion(9, asker.get(), "Go?", "Go");
    Form* box = Box();
    ASSERT_NE(box, nullptr);
    WaitUntilViewable(*box);
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*box, 130 + 55, 110 + 14);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return !asker->answers.empty(); }}));
    EXPECT_EQ(asker->answers, (std::vector<std::pair<int, int>>{{9, 3}}));
}

class About : public GameFixture {
protected:
    void PrepareFolder() override
    {
        std::filesystem::create_directories("bin");
        std::filesystem::create_directories("Data");
        folder->WriteFile("Data/beep.wav", "RIFF");
        for (const char* program : {"firefox", "thunderbird", "aplay"}) {
            folder->WriteFile(std::string("bin/") + program,
                              std::string("#!/bin/sh\necho \"$@\" > \"") + folder->Path() + "/" + program + ".called\"\n");
            std::filesystem::permissions(std::string("bin/") + program, std::filesystem::perms::owner_all);
        }
        savedPath = std::getenv("PATH");
        setenv("PATH", (folder->Path() + "/bin:" + savedPath).c_str(), 1);
    }
    void TearDown() override
    {
        setenv("PATH", savedPath.c_str(), 1);
        GameFixture::TearDown();
    }

    std::string savedPath;
};

TEST_F(About, OpensCentredTakesThePlayerToTheLinksAndClosesWithEscape)
{
    Click("INFO");
    FormAbout* about = OpenDialog<FormAbout>();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->GetCaption(), "Info...");
    EXPECT_EQ(about->GetSize(), (Size{600, 210}));
    const Point main = game->GetPosition();
    EXPECT_EQ(about->GetPosition(), (Point{main.x + 100 + 1, main.y + 195 + 1})) << "inside its border";
    EXPECT_FALSE(game->IsEnabled());
    EXPECT_EQ(game->GetOwnerForm(), about);
    EXPECT_EQ(about->WebLabel()->GetText(), "https://www.korvanta.org");
    EXPECT_EQ(about->MailLabel()->GetText(), "info@korvanta.org");

    about->OpenLink(*about->WebLabel());
    ASSERT_TRUE(WaitForFile(folder->Path() + "/firefox.called", std::chrono::seconds(10)));
    EXPECT_EQ(folder->ReadFile("firefox.called"), "https://www.korvanta.org\n");
    about->OpenLink(*about->MailLabel());
    ASSERT_TRUE(WaitForFile(folder->Path() + "/thunderbird.called", std::chrono::seconds(10)));
    EXPECT_EQ(folder->ReadFile("thunderbird.called"), "-compose to=info@korvanta.org\n");

    // A click on the main window while the box is open beeps and leaves the box in front.
    game->MouseDown({10, 10});
    ASSERT_TRUE(WaitForFile(folder->Path() + "/aplay.called", std::chrono::seconds(10)));
    EXPECT_EQ(folder->ReadFile("aplay.called"), "Data/beep.wav\n");

    EXPECT_TRUE(about->KeyChar('x'));
    EXPECT_FALSE(about->KeyChar(27));
    EXPECT_EQ(about->GetWindow(), 0u);
    EXPECT_TRUE(game->IsEnabled());
    EXPECT_EQ(game->GetOwnerForm(), nullptr);

    Click("INFO");
    ASSERT_NE(OpenDialog<FormAbout>(), nullptr) << "a fresh About box each time";
    EXPECT_FALSE(OpenDialog<FormAbout>()->KeyChar(13));
    EXPECT_TRUE(game->IsEnabled());
}
