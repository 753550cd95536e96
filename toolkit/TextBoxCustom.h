#pragma once
// The text entry field. Its text lies on a fixed grid of character cells, one character a cell,
// with the caret shown as a highlighted cell. Single-line boxes overwrite, multi-line boxes
// insert and break lines on Enter; read-only, digits-only (with one optional decimal point),
// date (dd/mm/yyyy) and password settings restrict what is typed. Redraws are incremental: each
// cell remembers what it last showed and is painted again only when that changes.

#include <string>
#include <vector>

#include "toolkit/Child.h"
#include "toolkit/TextBoxLayout.h"

class DrawContext;

class TextBoxCustom : public Child {
public:
    TextBoxCustom(GUIElement* parentForm, const std::string& initialText);

    void SetSize(int newWidth, int newHeight) override;
    void Hide() override;
    void SetText(const std::string& value) override;
    std::string GetText() const override;
    void Click(Point point) override;
    void KeyDown(unsigned long keysym) override;
    bool KeyChar(char character) override;
    void SetFocus() override;
    void Paint() override;
    void GotFocus() override;
    void LostFocus() override;
    void Create() override;

    virtual void RedrawCells(bool full);
    // Lays the whole buffer out and paints the cells that changed, from the position before
    // `from` on (every cell when full).
    virtual void DrawCells(bool full, int from);

    // Only before the box is created; the buffer keeps its size until it is made again.
    void SetMaxLength(int value);
    void SetTextColor(Colour colour) { textColor = colour; }
    void SetCaretColor(Colour colour) { caretColor = colour; }
    void SetBorder3D(bool value) { border3D = value; }
    void SetMultiLine(bool value) { SetAndPaint(multiLine, value); }
    void SetReadOnly(bool value) { SetAndPaint(readOnly, value); }
    void SetDigitsOnly(bool value) { SetAndPaint(digitsOnly, value); }
    void SetAllowDecimalPoint(bool value) { SetAndPaint(allowDecimalPoint, value); }
    void SetPassword(bool value) { SetAndPaint(password, value); }
    void SetDateMode(bool on);
    void SetEditorMode(bool on);
    void SetAlignRight(bool on);
    void SetAlignCenter(bool on);
    void SetAlignLeft(bool on);
    // Kept for callers; the box itself never reads them.
    void SetOptionA(bool on);
    void SetOptionB(bool on);
    void SetOption1(bool on) { SetAndPaint(option1, on); }
    void SetOption2(bool on) { SetAndPaint(option2, on); }
    void SetOption3(bool on) { option3 = on; }
    void Refresh();

    int GetCaret() const { return caret; }
    int GetLength() const { return length; }
    int GetMaxLength() const { return maxLength; }
    bool IsMultiLine() const { return multiLine; }
    bool IsDateMode() const { return dateMode; }
    bool IsDigitsOnly() const { return digitsOnly; }
    bool IsEditorMode() const { return editorMode; }
    bool GetOptionA() const { return optionA; }
    bool GetOptionB() const { return optionB; }
    const TextBoxLayout& Layout() const { return layout; }

    static constexpr Colour disabledTextColour = 0x9B9B9B;

protected:
    // Seams: every cell painted and every refused input pass through here.
    virtual void DrawCell(DrawContext& context, int left, int top, char shown, Colour fg, Colour bg, int align);
    virtual void RefuseInput();

private:
    struct Cell {
        char ch = ' ';
        Colour fg = 0;
        Colour bg = 0;
        int index = 0;
    };

    void ChooseSetting(bool& chosen, bool& other, bool on);
    void MeasureCells();
    void UpdateLayout();
    void SyncBuffer();
    // The positions the buffer really holds: maxLength, never more than was allocated.
    int Capacity() const { return buffer.empty() ? 0 : static_cast<int>(buffer.size()) - 1; }
    int Limit() const;
    std::string BufferText() const;
    std::string EditableText() const;
    void EndRow(DrawContext& context, const TextBoxLayout::Slot& slot, int position, Colour background);
    int CaretCell() const;
    void MoveCaretVertically(int rowStep);
    void DeleteAtCaret();
    void Backspace();
    bool AcceptsPrintable(char character);
    void Overwrite(char character);
    void Insert(char character);

    TextBoxLayout layout;
    bool cellsMeasured = false;
    std::vector<char> buffer;
    std::vector<Cell> cells;
    Colour textColor = 0x000000;
    int caret = 0;
    int length = 0;
    Colour caretColor = 0xFFFF00;
    int maxLength = 256;
    bool multiLine = false;
    bool dateMode = false;
    bool readOnly = false;
    bool digitsOnly = false;
    bool allowDecimalPoint = false;
    bool password = false;
    bool alignRight = false;
    bool alignCenter = false;
    bool border3D = true;
    bool editorMode = false;
    bool optionA = false;
    bool optionB = false;
    bool option1 = false;
    bool option2 = false;
    bool option3 = false;
};
