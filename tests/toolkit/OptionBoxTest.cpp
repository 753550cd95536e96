// gtest comes before Xlib, whose None macro would break it.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "tests/support/FormFixture.h"
#include "tests/toolkit/PixelArea.h"
#include "toolkit/OptionBox.h"
#include "toolkit/Registry.h"

namespace {

constexpr Colour dot = 0x010101;

class OptionBoxTest : public FormFixture {
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        box = std::make_unique<OptionBox>(form.get());
        box->SetPosition(20, 20);
        box->SetSize(150, 30);
        box->SetOnCommand([this](GUIElement& element) {
            EXPECT_EQ(&element, box.get());
            commandsSeen.push_back(box->GetSelected());
        });
    }
    void TearDown() override
    {
        box.reset();
        FormFixture::TearDown();
    }
    void AddThree()
    {
        box->AddItem("Easy", "1");
        box->AddItem("Normal", "2");
        box->AddItem("Hard", "3");
    }
    // The centre of item i's picture: the dot when it is selected.
    Colour Centre(int item) const { return PixelAt(20 + 1 + 10, 20 + 6 + 26 * item + 10); }

    std::unique_ptr<OptionBox> box;
    std::vector<int> commandsSeen;
};

}  // namespace

TEST_F(OptionBoxTest, KeysSelectFromNothingAndWrapAroundBothEnds)
{
    AddThree();
    box->Show();
    box->SetFocus();
    box->KeyDown(XK_Down);
    EXPECT_EQ(box->GetSelected(), 0) << "Down from no selection";
    box->KeyDown(XK_Down);
    box->KeyDown(XK_Down);
    EXPECT_EQ(box->GetSelected(), 2);
    box->KeyDown(XK_Down);
    EXPECT_EQ(box->GetSelected(), 0) << "Down from the last item";
    box->KeyDown(XK_Up);
    EXPECT_EQ(box->GetSelected(), 2) << "Up from the first item";
    box->KeyDown(XK_Left);
    box->KeyDown(XK_Right);
    EXPECT_EQ(box->GetSelected(), 2) << "only Up and Down choose";
    EXPECT_EQ(commandsSeen, (std::vector<int>{0, 1, 2, 0, 2}));

    OptionBox fresh(form.get());
    fresh.AddItem("a", "a");
    fresh.AddItem("b", "b");
    fresh.SetFocus();
    fresh.KeyDown(XK_Up);
    EXPECT_EQ(fresh.GetSelected(), 1) << "Up from no selection selects the last item";
}

TEST_F(OptionBoxTest, KeysNeedTheFocusAndAnEnabledBox)
{
    AddThree();
    box->Show();
    box->KeyDown(XK_Down);
    EXPECT_EQ(box->GetSelected(), -1);
    box->SetFocus();
    box->SetEnabledAndPaint(false);
    box->KeyDown(XK_Down);
    box->KeyChar(' ');
    box->Click({30, 30});
    EXPECT_EQ(box->GetSelected(), -1);
    EXPECT_TRUE(commandsSeen.empty());
}

TEST_F(OptionBoxTest, ClickBelowTheLastItemSelectsTheLastThroughTheLoop)
{
    AddThree();
    box->SetSize(150, 120);
    box->Show();
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 60, 20 + 26 + 5);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return commandsSeen.size() == 1; },
                          [&] {
                              MovePointer(*form, 60, 20 + 110);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return commandsSeen.size() == 2; },
                          [&] {
                              TypeKey(XK_space);
                              return true;
                          },
                          [&] { return commandsSeen.size() == 3; }}));
    EXPECT_EQ(commandsSeen, (std::vector<int>{1, 2, 0})) << "the space bar steps down and wraps";
}

TEST_F(OptionBoxTest, SetSelectedTakesNegativeAsFirstAndRefusesPastTheEnd)
{
    EXPECT_FALSE(box->SelectFirst()) << "nothing to select yet";
    AddThree();
    EXPECT_TRUE(box->SetSelected(-5));
    EXPECT_EQ(box->GetSelected(), 0);
    EXPECT_TRUE(box->SetSelected(2));
    EXPECT_FALSE(box->SetSelected(box->Count()));
    EXPECT_EQ(box->GetSelected(), 2);
    EXPECT_TRUE(box->SelectFirst());
    EXPECT_EQ(box->GetSelected(), 0);
    EXPECT_TRUE(commandsSeen.empty()) << "selecting in code runs no command";
}

TEST_F(OptionBoxTest, RemovingItemsKeepsTheSelectionInRange)
{
    AddThree();
    box->SetSelected(2);
    EXPECT_TRUE(box->RemoveItem(2));
    EXPECT_EQ(box->GetSelected(), 1) << "the selected last item goes: the new last is selected";
    EXPECT_EQ(box->Caption(1), "Normal");

    box->AddItem("Expert", "4");
    box->SetSelected(1);
    EXPECT_TRUE(box->RemoveItem(0));
    EXPECT_EQ(box->GetSelected(), 1) << "the index stays, so the selection passes on";
    EXPECT_EQ(box->Caption(box->GetSelected()), "Expert");
    EXPECT_EQ(box->Value(box->GetSelected()), "4");

    EXPECT_FALSE(box->RemoveItem(-1));
    EXPECT_FALSE(box->RemoveItem(-2)) << "a negative index is never erased";
    EXPECT_FALSE(box->RemoveItem(2));
    EXPECT_FALSE(box->RemoveNone());
    EXPECT_EQ(box->Count(), 2);
}

TEST_F(OptionBoxTest, CaptionsPastEitherEndGiveTheLastAndAnEmptyBoxGivesNothing)
{
    EXPECT_EQ(box->Caption(0), "");
    EXPECT_EQ(box->Value(-1), "");
    AddThree();
    EXPECT_EQ(box->Caption(1), "Normal");
    EXPECT_EQ(box->Caption(7), "Hard");
    EXPECT_EQ(box->Value(-1), "3");
}

TEST_F(OptionBoxTest, ClearEmptiesTheListAndForgetsTheSelection)
{
    AddThree();
    box->SetSelected(2);
    EXPECT_TRUE(box->Clear());
    EXPECT_EQ(box->Count(), 0);
    EXPECT_EQ(box->GetSelected(), -1);
    box->AddItem("Only", "x");
    EXPECT_EQ(box->GetSelected(), -1);

    OptionBox empty(form.get());
    empty.Show();
    empty.SetFocus();
    empty.KeyDown(XK_Down);
    EXPECT_EQ(empty.GetSelected(), -1) << "no items, nothing to choose";
    empty.KeyDown(XK_Up);
    EXPECT_EQ(empty.GetSelected(), -1);
}

TEST_F(OptionBoxTest, PaintGrowsTheBoxAndShowsTheSelectedDotOverATransparentCorner)
{
    AddThree();
    box->Show();
    EXPECT_GE(box->GetHeight(), 78);
    EXPECT_EQ(Centre(0), 0xFFFFFF);
    box->SetSelected(1);
    EXPECT_EQ(Centre(1), dot);
    EXPECT_EQ(Centre(0), 0xFFFFFF);
    // The picture's black corners let the background through.
    EXPECT_EQ(PixelAt(21, 26), background);
    EXPECT_GT(PixelArea(*form, 48, 20, 100, 78).Count(0x000000), 0) << "the captions";

    box->SetBackColor(0x00FF00);
    EXPECT_EQ(PixelAt(21, 26), 0x00FF00) << "still transparent over a new background";
    EXPECT_EQ(PixelAt(21, 26 + 26), 0x00FF00);
    EXPECT_EQ(Centre(1), dot);

    box->SetEnabledAndPaint(false);
    EXPECT_NE(Centre(0), 0xFFFFFF) << "disabled pictures are grey inside";
    EXPECT_GT(PixelArea(*form, 48, 20, 100, 78).Count(0x9B9B9B), 0);
    EXPECT_EQ(PixelArea(*form, 48, 20, 100, 78).Count(0x000000), 0);
}

TEST_F(OptionBoxTest, FocusFrameSurroundsTheSelectedItemOrTheFirst)
{
    AddThree();
    box->SetTextColor(0xFF0000);
    box->Show();
    // Item i's frame runs along row y + 2 + 26 i, from x + 25 to x + width - 6.
    auto frameOn = [&](int item) { return PixelArea(*form, 45, 22 + 26 * item, 100, 1).Count(0xFF0000) > 20; };
    EXPECT_FALSE(frameOn(0));
    box->GotFocus();
    EXPECT_TRUE(frameOn(0));
    box->SetSelected(2);
    EXPECT_FALSE(frameOn(0));
    EXPECT_TRUE(frameOn(2));
    box->LostFocus();
    EXPECT_FALSE(frameOn(2));
}

TEST_F(OptionBoxTest, HiddenBoxIsErasedAndKeepsItsItems)
{
    AddThree();
    box->SetBackColor(0x00FF00);
    box->Show();
    box->Hide();
    EXPECT_FALSE(box->IsCreated());
    EXPECT_EQ(PixelArea(*form, 20, 20, 150, 78).Count(background), 150 * 78);
    box->Show();
    EXPECT_EQ(box->Count(), 3);
    EXPECT_EQ(PixelAt(21, 26), 0x00FF00);
}
