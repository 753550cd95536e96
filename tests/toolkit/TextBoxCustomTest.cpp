#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "graphics/DrawContext.h"
#include "tests/toolkit/WidgetFixture.h"
#include "toolkit/ButtonCustom.h"
#include "toolkit/Registry.h"
#include "toolkit/TextBoxCustom.h"

namespace {

constexpr Colour white = 0xFFFFFF;
constexpr Colour black = 0x000000;
constexpr Colour caretYellow = 0xFFFF00;
constexpr char backspace = 8;
constexpr char enter = 13;
constexpr char del = 127;

// Writes down every cell it paints and every input it refuses, instead of beeping.
class ProbedTextBox : public TextBoxCustom {
public:
    using TextBoxCustom::TextBoxCustom;

    struct Drawn {
        int left, top;
        char shown;
        Colour fg, bg;
    };

    std::vector<Drawn> drawn;
    int refusals = 0;

    bool DrewWithBackground(Colour colour) const
    {
        return std::any_of(drawn.begin(), drawn.end(), [&](const Drawn& cell) { return cell.bg == colour; });
    }

protected:
    void DrawCell(DrawContext& context, int left, int top, char shown, Colour fg, Colour bg, int align) override
    {
        drawn.push_back({left, top, shown, fg, bg});
        TextBoxCustom::DrawCell(context, left, top, shown, fg, bg, align);
    }
    void RefuseInput() override { ++refusals; }
};

class TextBoxTest : public WidgetFixture {
protected:
    // A box at (20, 20); 80 x 30 unless told.
    std::unique_ptr<ProbedTextBox> MakeBox(const std::string& text = "", int w = 80, int h = 30)
    {
        auto made = std::make_unique<ProbedTextBox>(form.get(), text);
        made->SetPosition(20, 20);
        made->SetSize(w, h);
        return made;
    }

    static void Type(TextBoxCustom& box, const std::string& characters)
    {
        for (char c : characters) box.KeyChar(c);
    }

    // The middle of a cell in form coordinates.
    static Point CellCentre(const TextBoxCustom& box, int column, int row)
    {
        const TextBoxLayout& layout = box.Layout();
        return {box.GetPosition().x + layout.CellLeft(column) + layout.CellWidth() / 2,
                box.GetPosition().y + layout.CellTop(row) + layout.CellHeight() / 2};
    }

    // The area of one cell in form coordinates: x, y, width, height.
    static std::array<int, 4> CellArea(const TextBoxCustom& box, int column, int row)
    {
        const TextBoxLayout& layout = box.Layout();
        return {box.GetPosition().x + layout.CellLeft(column), box.GetPosition().y + layout.CellTop(row),
                layout.CellWidth() - 1, layout.CellHeight()};
    }

    int CountInCell(const TextBoxCustom& box, int column, int row, Colour colour) const
    {
        const auto area = CellArea(box, column, row);
        return CountColour(area[0], area[1], area[2], area[3], colour);
    }

    std::vector<Colour> Snapshot(const TextBoxCustom& box) const
    {
        std::vector<Colour> pixels;
        ForEachPixel(box.GetPosition().x, box.GetPosition().y, box.GetWidth(), box.GetHeight(),
                     [&](int, int, Colour pixel) { pixels.push_back(pixel); });
        return pixels;
    }
};

}  // namespace

TEST_F(TextBoxTest, ALowBoxIsRaisedToHoldOneRow)
{
    auto box = MakeBox("", 80, 5);
    const int cellHeight = box->Layout().CellHeight();
    EXPECT_GE(box->GetHeight(), cellHeight + 6);
    EXPECT_GE(box->GetHeight(), 14 + 10) << "at least the font's height plus 10";
    box->Show();
    EXPECT_EQ(box->Layout().Rows(), 1);
    EXPECT_EQ(box->Layout().Columns(), (80 - 6) / box->Layout().CellWidth());
}

TEST_F(TextBoxTest, PaintDrawsTheDoubleBevelAndTheText)
{
    auto box = MakeBox("AB");
    box->Show();
    const int right = 20 + box->GetWidth() - 1, bottom = 20 + box->GetHeight() - 1;
    EXPECT_EQ(PixelAt(20, 20), white);
    EXPECT_EQ(PixelAt(20, 25), white);
    EXPECT_EQ(PixelAt(right, 25), black);
    EXPECT_EQ(PixelAt(40, bottom), black);
    EXPECT_EQ(PixelAt(21, 22), black);
    EXPECT_EQ(PixelAt(40, 21), black);
    EXPECT_EQ(PixelAt(right - 1, 25), white);
    EXPECT_EQ(PixelAt(40, bottom - 1), white);
    EXPECT_GT(CountInCell(*box, 0, 0, black), 0);
    EXPECT_GT(CountInCell(*box, 1, 0, black), 0);
    EXPECT_EQ(CountInCell(*box, 2, 0, black), 0);
    EXPECT_EQ(CountInCell(*box, 2, 0, white), (box->Layout().CellWidth() - 1) * box->Layout().CellHeight());
}

TEST_F(TextBoxTest, TheCaretCellShowsOnlyWhileTheBoxHasTheFocus)
{
    auto box = MakeBox("ab");
    box->Show();
    EXPECT_EQ(box->GetCaret(), 2);
    EXPECT_EQ(CountColour(20, 20, box->GetWidth(), box->GetHeight(), caretYellow), 0);
    box->SetFocus();
    EXPECT_EQ(FocusElement(), box.get());
    EXPECT_GT(CountInCell(*box, 2, 0, caretYellow), 0);
    EXPECT_EQ(CountInCell(*box, 1, 0, caretYellow), 0);
    box->LostFocus();
    EXPECT_EQ(CountColour(20, 20, box->GetWidth(), box->GetHeight(), caretYellow), 0);
}

TEST_F(TextBoxTest, RedrawsOnlyTheCellsThatChanged)
{
    auto box = MakeBox("ab");
    box->Show();
    box->SetFocus();
    box->drawn.clear();
    Type(*box, "x");
    ASSERT_EQ(box->drawn.size(), 2u) << "the typed cell and the caret's new cell";
    EXPECT_EQ(box->drawn[0].shown, 'x');
    EXPECT_EQ(box->drawn[0].bg, white);
    EXPECT_EQ(box->drawn[1].shown, ' ');
    EXPECT_EQ(box->drawn[1].bg, caretYellow);

    box->drawn.clear();
    box->KeyDown(XK_Left);
    ASSERT_EQ(box->drawn.size(), 2u) << "the caret's old and new cells";
    box->drawn.clear();
    box->KeyDown(XK_Right);
    EXPECT_EQ(box->drawn.size(), 2u);

    // What the incremental redraws left on the screen is what a full paint draws.
    const std::vector<Colour> incremental = Snapshot(*box);
    box->drawn.clear();
    box->Paint();
    EXPECT_EQ(static_cast<int>(box->drawn.size()), box->Layout().GridCells()) << "a paint draws every cell";
    EXPECT_EQ(Snapshot(*box), incremental);
}

TEST_F(TextBoxTest, AClickPutsTheCaretOnTheCellOrBehindTheText)
{
    auto box = MakeBox("abcdef", 100);
    box->Show();
    box->Click(CellCentre(*box, 3, 0));
    EXPECT_EQ(box->GetCaret(), 3);
    box->Click(CellCentre(*box, box->Layout().Columns() - 1, 0));
    EXPECT_EQ(box->GetCaret(), 6);
    box->Click({20 + box->GetWidth(), 20 + box->GetHeight()});
    EXPECT_LE(box->GetCaret(), 6) << "a click past the last cell finds no cell or the text's end";
}

TEST_F(TextBoxTest, LeftAndRightStayWithinTheText)
{
    auto box = MakeBox("abc");
    box->Show();
    box->KeyDown(XK_Right);
    EXPECT_EQ(box->GetCaret(), 3);
    EXPECT_EQ(box->refusals, 1) << "Right at the end beeps";
    for (int i = 0; i < 5; ++i) box->KeyDown(XK_Left);
    EXPECT_EQ(box->GetCaret(), 0);
    EXPECT_EQ(box->refusals, 1) << "Left at the start is silent";
    box->KeyDown(XK_Right);
    EXPECT_EQ(box->GetCaret(), 1);
    box->KeyDown(XK_Up);
    box->KeyDown(XK_Down);
    EXPECT_EQ(box->GetCaret(), 1) << "up and down mean nothing on one line";
    EXPECT_EQ(box->refusals, 1);
}

TEST_F(TextBoxTest, SingleLineTypingOverwrites)
{
    auto box = MakeBox("abc");
    box->Show();
    box->Click(CellCentre(*box, 0, 0));
    ASSERT_EQ(box->GetCaret(), 0);
    Type(*box, "x");
    EXPECT_EQ(box->GetText(), "xbc");
    EXPECT_EQ(box->GetCaret(), 1);
    EXPECT_EQ(box->GetLength(), 4) << "the count grows even when a character was replaced";
    Type(*box, "yz!");
    EXPECT_EQ(box->GetText(), "xyz!");
    EXPECT_EQ(box->refusals, 0);
}

TEST_F(TextBoxTest, SingleLineRefusesACharacterPastTheLastColumn)
{
    auto box = MakeBox();
    box->Show();
    box->SetFocus();
    const int columns = box->Layout().Columns();
    const std::string full(static_cast<std::size_t>(columns), 'w');
    Type(*box, full);
    EXPECT_EQ(box->refusals, 0);
    EXPECT_EQ(box->GetCaret(), columns);
    Type(*box, "q");
    EXPECT_EQ(box->refusals, 1);
    EXPECT_EQ(box->GetCaret(), columns);
    EXPECT_EQ(box->GetText(), full) << "the refused character is blanked again";
}

TEST_F(TextBoxTest, TextPastTheLastColumnIsCutWithoutABeepOrACaretMove)
{
    auto box = MakeBox();
    box->Show();
    const int columns = box->Layout().Columns();
    ASSERT_GT(columns, 0);
    const std::string shown(static_cast<std::size_t>(columns), 'w');
    box->SetText(shown + "xyz");
    const int caret = box->GetCaret();
    ASSERT_EQ(caret, columns + 3);
    box->SetFocus();
    EXPECT_EQ(box->refusals, 0) << "nothing was typed past the grid";
    EXPECT_EQ(box->GetCaret(), caret);
    EXPECT_EQ(box->GetText(), shown) << "what cannot be shown is not kept";
}

TEST_F(TextBoxTest, EnterStartsANewRowAndTypingInsertsInMultiLineMode)
{
    auto box = MakeBox("", 120, 80);
    box->SetMultiLine(true);
    box->Show();
    box->SetFocus();
    ASSERT_GE(box->Layout().Rows(), 3);
    Type(*box, "ab");
    Type(*box, std::string(1, enter));
    box->drawn.clear();
    Type(*box, "cd");
    EXPECT_EQ(box->GetText(), "ab\rcd");
    EXPECT_EQ(box->GetCaret(), 5);
    const auto c = std::find_if(box->drawn.begin(), box->drawn.end(), [](const auto& d) { return d.shown == 'c'; });
    ASSERT_NE(c, box->drawn.end());
    EXPECT_EQ(c->left, 20 + box->Layout().CellLeft(0));
    EXPECT_EQ(c->top, 20 + box->Layout().CellTop(1)) << "on the second row";

    box->Click(CellCentre(*box, 1, 0));
    ASSERT_EQ(box->GetCaret(), 1);
    Type(*box, "X");
    EXPECT_EQ(box->GetText(), "aXb\rcd");
    EXPECT_EQ(box->GetCaret(), 2);
    EXPECT_EQ(box->refusals, 0);
    EXPECT_GT(CountInCell(*box, 2, 0, black), 0) << "b moved one cell on";
}

TEST_F(TextBoxTest, MultiLineRefusesWhatWouldRunBelowTheLastRow)
{
    auto box = MakeBox("", 60, 60);
    box->SetMultiLine(true);
    box->Show();
    const int rows = box->Layout().Rows(), columns = box->Layout().Columns();
    ASSERT_GE(rows, 2);
    const std::string full(static_cast<std::size_t>(rows * columns - 1), 'm');
    Type(*box, full);
    EXPECT_EQ(box->refusals, 0) << "every cell but the caret's own";
    Type(*box, "n");
    EXPECT_EQ(box->refusals, 1);
    EXPECT_EQ(box->GetText(), full);

    box->SetText("a");
    for (int i = 1; i < rows; ++i) {
        box->Click(CellCentre(*box, 0, 0));
        Type(*box, std::string(1, enter));
    }
    const std::string breaks = box->GetText();
    EXPECT_EQ(std::count(breaks.begin(), breaks.end(), '\r'), rows - 1);
    box->Click(CellCentre(*box, 0, 0));
    Type(*box, std::string(1, enter));
    EXPECT_EQ(box->refusals, 2) << "one more line would leave the grid";
    EXPECT_EQ(box->GetText(), breaks) << "and the text stays as it was";
}

TEST_F(TextBoxTest, InsertingNeverPushesACharacterOffTheGrid)
{
    auto box = MakeBox("", 60, 60);
    box->SetEditorMode(true);
    box->Show();
    const int cells = box->Layout().Rows() * box->Layout().Columns();
    Type(*box, std::string(static_cast<std::size_t>(cells - 1), 'm'));
    // Delete behind the text removes nothing, yet counts one character less each time.
    Type(*box, std::string(6, del));
    ASSERT_LT(box->GetLength(), cells - 1);
    box->Click(CellCentre(*box, 0, 0));
    Type(*box, "nn");
    const std::string text = box->GetText();
    EXPECT_EQ(std::count(text.begin(), text.end(), 'm'), cells - 1) << "no character is lost off the end";
    EXPECT_EQ(box->refusals, 2);
}

TEST_F(TextBoxTest, UpAndDownMoveBetweenRowsInTheSameColumn)
{
    auto box = MakeBox("", 140, 80);
    box->SetMultiLine(true);
    box->SetText("abc\rdefg");
    box->Show();
    ASSERT_GE(box->Layout().Rows(), 3);
    ASSERT_EQ(box->GetCaret(), 8);
    box->KeyDown(XK_Up);
    EXPECT_EQ(box->GetCaret(), 3) << "the line break of the row above";
    box->KeyDown(XK_Up);
    EXPECT_EQ(box->GetCaret(), 3);
    EXPECT_EQ(box->refusals, 1) << "no row above the first";
    box->KeyDown(XK_Down);
    EXPECT_EQ(box->GetCaret(), 7) << "g, below the line break's first cell";
    box->KeyDown(XK_Down);
    EXPECT_EQ(box->GetCaret(), 7);
    EXPECT_EQ(box->refusals, 2) << "nothing typed below";
    box->KeyDown(XK_Left);
    box->KeyDown(XK_Left);
    box->KeyDown(XK_Up);
    EXPECT_EQ(box->GetCaret(), 1);
}

TEST_F(TextBoxTest, DeleteBlanksInPlaceOrRemovesInEditorMode)
{
    auto box = MakeBox("abcd");
    box->Show();
    box->Click(CellCentre(*box, 1, 0));
    Type(*box, std::string(1, del));
    EXPECT_EQ(box->GetText(), "a cd");
    EXPECT_EQ(box->GetCaret(), 1);

    auto editor = MakeBox("abcd", 120, 60);
    editor->SetPosition(20, 100);
    editor->SetEditorMode(true);
    EXPECT_TRUE(editor->IsMultiLine());
    editor->Show();
    editor->Click(CellCentre(*editor, 1, 0));
    Type(*editor, std::string(1, del));
    EXPECT_EQ(editor->GetText(), "acd");
    EXPECT_EQ(editor->GetCaret(), 1);
    EXPECT_EQ(editor->GetLength(), 3);
}

TEST_F(TextBoxTest, BackspaceRemovesTheCharacterBeforeTheCaret)
{
    auto box = MakeBox("abcd");
    box->Show();
    Type(*box, std::string(1, backspace));
    EXPECT_EQ(box->GetText(), "abc");
    EXPECT_EQ(box->GetCaret(), 3);
    box->Click(CellCentre(*box, 1, 0));
    Type(*box, std::string(1, backspace));
    EXPECT_EQ(box->GetText(), "bc");
    EXPECT_EQ(box->GetCaret(), 0);
    EXPECT_EQ(box->refusals, 0);
    Type(*box, std::string(1, backspace));
    EXPECT_EQ(box->refusals, 1) << "nothing before the first character";
    EXPECT_EQ(box->GetText(), "bc");
}

TEST_F(TextBoxTest, ControlCharactersBeepExceptEnterAndEscape)
{
    auto box = MakeBox("ab");
    box->Show();
    Type(*box, std::string{enter, 27});
    EXPECT_EQ(box->refusals, 0);
    EXPECT_EQ(box->GetText(), "ab");
    Type(*box, std::string{1, 9});
    EXPECT_EQ(box->refusals, 2);
    EXPECT_EQ(box->GetText(), "ab");
}

TEST_F(TextBoxTest, DigitsOnlyTakesOneDecimalPoint)
{
    auto box = MakeBox("", 120);
    box->SetDigitsOnly(true);
    box->Show();
    Type(*box, "1.");
    EXPECT_EQ(box->GetText(), "1");
    EXPECT_EQ(box->refusals, 1) << "no decimal point unless allowed";
    box->SetAllowDecimalPoint(true);
    Type(*box, ".5a.");
    EXPECT_EQ(box->GetText(), "1.5");
    EXPECT_EQ(box->refusals, 3) << "a letter and the second point";
}

TEST_F(TextBoxTest, DateModeKeepsTheSeparators)
{
    auto box = MakeBox("", 140);
    box->SetDateMode(true);
    EXPECT_EQ(box->GetMaxLength(), 10);
    EXPECT_TRUE(box->IsDigitsOnly());
    box->Show();
    ASSERT_GE(box->Layout().Columns(), 11);
    Type(*box, "01022024");
    EXPECT_EQ(box->GetText(), "01/02/2024");
    EXPECT_EQ(box->GetCaret(), 10);
    EXPECT_EQ(box->refusals, 0);
    Type(*box, "1");
    EXPECT_EQ(box->refusals, 1) << "the box is full";
    Type(*box, "/");
    EXPECT_EQ(box->refusals, 2) << "separators are not typed";

    std::vector<int> stops;
    for (int i = 0; i < 7; ++i) {
        box->KeyDown(XK_Left);
        stops.push_back(box->GetCaret());
    }
    EXPECT_EQ(stops, (std::vector<int>{9, 8, 7, 6, 4, 3, 1}));
    box->KeyDown(XK_Right);
    EXPECT_EQ(box->GetCaret(), 3) << "Right skips the separator";
    box->KeyDown(XK_Right);
    box->KeyDown(XK_Right);
    EXPECT_EQ(box->GetCaret(), 6);

    box->KeyDown(XK_Left);
    box->KeyDown(XK_Left);
    ASSERT_EQ(box->GetCaret(), 3);
    Type(*box, std::string(1, backspace));
    EXPECT_EQ(box->GetText(), "00/22/024");
    EXPECT_EQ(box->GetCaret(), 1);

    box->Click(CellCentre(*box, 2, 0));
    EXPECT_EQ(box->GetCaret(), 1) << "a click on a separator lands before it";
}

TEST_F(TextBoxTest, PasswordShowsStarsForEveryCharacterButBlanks)
{
    auto box = MakeBox("", 160);
    box->SetMultiLine(true);
    box->SetPassword(true);
    box->SetText("ab c\rd");
    box->Show();
    std::string shown;
    for (int i = 0; i < 7; ++i) shown += box->drawn[static_cast<std::size_t>(i)].shown;
    EXPECT_EQ(shown, "** *** ") << "the line break shows as a star too";
    EXPECT_TRUE(std::all_of(box->drawn.begin(), box->drawn.begin() + 7,
                            [&](const auto& d) { return d.top == box->drawn[0].top; }))
        << "the line break does not break the line";
    EXPECT_EQ(box->GetText(), "ab c\rd");
}

TEST_F(TextBoxTest, ReadOnlyBoxTakesNoCharactersAndShowsNoCaret)
{
    auto box = MakeBox("abc");
    box->SetReadOnly(true);
    box->Show();
    box->SetFocus();
    EXPECT_FALSE(box->KeyChar('x'));
    EXPECT_FALSE(box->KeyChar(backspace));
    EXPECT_EQ(box->GetText(), "abc");
    EXPECT_FALSE(box->DrewWithBackground(caretYellow));
    box->KeyDown(XK_Left);
    EXPECT_EQ(box->GetCaret(), 2);
    EXPECT_EQ(box->refusals, 0);
}

TEST_F(TextBoxTest, DisabledBoxIsGreyIgnoresCharactersButMovesTheCaret)
{
    auto box = MakeBox("abc");
    box->Show();
    box->SetFocus();
    box->SetEnabledAndPaint(false);
    EXPECT_EQ(PixelAt(25, 25), defaultBackColour);
    EXPECT_GT(CountInCell(*box, 0, 0, ButtonCustom::disabledTextColour), 0);
    EXPECT_EQ(CountInCell(*box, 0, 0, black), 0);
    EXPECT_EQ(CountColour(20, 20, box->GetWidth(), box->GetHeight(), caretYellow), 0);
    EXPECT_FALSE(box->KeyChar('x'));
    EXPECT_EQ(box->GetText(), "abc");
    box->KeyDown(XK_Left);
    EXPECT_EQ(box->GetCaret(), 2);

    box->SetEnabledAndPaint(true);
    EXPECT_EQ(PixelAt(25, 25), white);
    EXPECT_GT(CountInCell(*box, 2, 0, caretYellow), 0);
}

TEST_F(TextBoxTest, MaximumLengthIsFixedAtCreation)
{
    auto box = MakeBox("", 140);
    box->SetMaxLength(3);
    box->Show();
    box->SetMaxLength(8);
    EXPECT_EQ(box->GetMaxLength(), 3);
    Type(*box, "abcd");
    EXPECT_EQ(box->GetText(), "abc");
    EXPECT_EQ(box->refusals, 1);
    EXPECT_EQ(box->GetCaret(), 3);
    box->KeyDown(XK_Right);
    EXPECT_EQ(box->GetCaret(), 3);
}

TEST_F(TextBoxTest, DateModeOnAMadeBoxNeverOutgrowsItsBuffer)
{
    auto box = MakeBox("", 140);
    box->SetMaxLength(4);
    box->Show();
    box->SetDateMode(true);
    EXPECT_EQ(box->GetMaxLength(), 4);
    Type(*box, "01022024");
    EXPECT_EQ(box->GetText(), "01/0");
    EXPECT_GT(box->refusals, 0);
    for (int i = 0; i < 6; ++i) box->KeyDown(XK_Right);
    EXPECT_LE(box->GetCaret(), 4);
    box->Click(CellCentre(*box, box->Layout().Columns() - 1, 0));
    EXPECT_LE(box->GetCaret(), 4);
    Type(*box, std::string{del, backspace, '7'});
    EXPECT_LE(box->GetText().size(), 4u);
}

TEST_F(TextBoxTest, BoxesWithoutRoomOrLengthStayWithinBounds)
{
    struct Case {
        int w, h, maxLength;
        bool multiLine;
    };
    for (const Case& shape : {Case{1, 1, 256, false}, Case{4, 40, 256, true}, Case{80, 30, 0, false},
                              Case{80, 30, 1, false}, Case{80, 60, 1, true}, Case{2000, 2000, 3000, true},
                              Case{-50, -50, 5, true}}) {
        SCOPED_TRACE(std::to_string(shape.w) + "x" + std::to_string(shape.h) + " max " +
                     std::to_string(shape.maxLength));
        auto box = MakeBox("seed", shape.w, shape.h);
        box->SetMaxLength(shape.maxLength);
        box->SetMultiLine(shape.multiLine);
        box->Show();
        box->SetFocus();
        Type(*box, std::string{'x', 'y', enter, 'z', del, backspace, '.'});
        for (unsigned long key : {XK_Left, XK_Right, XK_Up, XK_Down, XK_Right, XK_Down}) box->KeyDown(key);
        box->Click({20, 20});
        box->Click({20 + std::max(shape.w, 1) / 2, 20 + box->GetHeight() - 1});
        box->SetDateMode(true);
        Type(*box, "12345678");
        box->Paint();
        EXPECT_LE(static_cast<int>(box->GetText().size()), std::max(shape.maxLength, 0));
        EXPECT_LE(box->GetCaret(), std::max(shape.maxLength, 0));
        EXPECT_GE(box->GetCaret(), 0);
    }
}

TEST_F(TextBoxTest, GetTextDropsTrailingBlanksAndLineBreaks)
{
    auto box = MakeBox("", 120, 80);
    box->SetMultiLine(true);
    box->SetText("ab \r\r");
    EXPECT_EQ(box->GetText(), "ab \r\r") << "before creation the text is kept as given";
    box->Show();
    EXPECT_EQ(box->GetText(), "ab");
}

TEST_F(TextBoxTest, SingleLineCutsTheTextAtItsFirstLineFeed)
{
    auto box = MakeBox("one\ntwo", 120);
    box->Show();
    EXPECT_EQ(box->GetText(), "one");
}

TEST_F(TextBoxTest, MovingOrResizingKeepsWhatWasTyped)
{
    auto box = MakeBox("", 120);
    box->Show();
    Type(*box, "abc");
    box->SetPosition(40, 60);
    EXPECT_EQ(box->GetText(), "abc");
    EXPECT_EQ(PixelAt(25, 25), background) << "erased where it was";
    box->SetSize(150, 30);
    EXPECT_EQ(box->GetText(), "abc");
    EXPECT_GT(CountColour(40, 60, 150, box->GetHeight(), black), 0);
    box->Hide();
    box->Show();
    EXPECT_EQ(box->GetText(), "abc");
}

TEST_F(TextBoxTest, SetFocusTakesTheFocusFromTheElementThatHadIt)
{
    ButtonCustom button(form.get(), "B");
    button.SetPosition(200, 20);
    button.Show();
    SetFocusElement(&button);
    button.GotFocus();
    auto box = MakeBox("x");
    box->SetFocus();
    EXPECT_EQ(FocusElement(), &button) << "a box not yet created takes no focus";
    box->Show();
    box->SetFocus();
    EXPECT_EQ(FocusElement(), box.get());
    EXPECT_FALSE(button.HasFocus());
    EXPECT_TRUE(box->HasFocus());
}

TEST_F(TextBoxTest, KeyCharCallbackMayRefuseACharacter)
{
    auto box = MakeBox("", 120);
    box->SetOnKeyChar([](GUIElement&, char c) { return c != 'q'; });
    box->Show();
    EXPECT_FALSE(box->KeyChar('q'));
    EXPECT_TRUE(box->KeyChar('r'));
    EXPECT_EQ(box->GetText(), "r");
}

TEST_F(TextBoxTest, TypingThroughTheLoop)
{
    auto box = MakeBox("", 120);
    box->Show();
    ASSERT_TRUE(RunSteps({[&] {
                              const Point cell = CellCentre(*box, 0, 0);
                              MovePointer(*form, cell.x, cell.y);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return FocusElement() == box.get(); },
                          [&] {
                              for (unsigned long key : {XK_a, XK_b, XK_c, XK_Left, XK_Left, XK_x, XK_Return})
                                  TypeKey(key);
                              return true;
                          },
                          [&] { return box->GetText() == "axc"; },
                          [&] {
                              TypeKey(XK_BackSpace);
                              return true;
                          },
                          [&] { return box->GetText() == "ac" && box->GetCaret() == 1; }}));
    EXPECT_EQ(box->refusals, 0);
}

TEST_F(TextBoxTest, DisabledBoxInTheLoopIgnoresCharactersButCursorKeysMove)
{
    auto box = MakeBox("abc", 120);
    box->Show();
    box->SetFocus();
    box->SetEnabledAndPaint(false);
    bool charSeen = false;
    form->SetOnKeyChar([&](GUIElement&, char c) {
        charSeen = charSeen || c == 'z';
        return true;
    });
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 300, 200);
                              TypeKey(XK_z);
                              TypeKey(XK_Left);
                              return true;
                          },
                          [&] { return charSeen && box->GetCaret() == 2; }}));
    EXPECT_EQ(box->GetText(), "abc");
}
