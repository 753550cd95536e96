#include "toolkit/TextBoxCustom.h"

#include <X11/keysym.h>

#include <algorithm>
#include <cstring>

#include "graphics/DrawContext.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"
#include "toolkit/TextEdits.h"
#include "util/Beep.h"
#include "util/Strings.h"

namespace {

constexpr char backspaceKey = 8;
constexpr char enterKey = 13;
constexpr char escapeKey = 27;
constexpr char deleteKey = 127;

// Line breaks in the text are carriage returns; a line feed is shown as a blank.
constexpr char lineBreak = '\r';

}  // namespace

TextBoxCustom::TextBoxCustom(GUIElement* parentForm, const std::string& initialText) : Child(parentForm)
{
    typeName = "TextBoxCustom";
    painted = true;
    backColor = 0xFFFFFF;
    width = 80;
    height = 30;
    relocation = Relocation::hiddenAndShown;
    text = TrimRight(initialText);
    length = static_cast<int>(text.size());
    MeasureCells();
}

void TextBoxCustom::MeasureCells()
{
    DrawContext context(Target());
    layout.SetCellSize(context.CharWidth() + 2, context.LineHeight() + 4);
    // A form without a window yet has no font to measure with: try again when the box is made.
    cellsMeasured = context.IsUsable() && context.CharWidth() > 0;
}

void TextBoxCustom::UpdateLayout()
{
    height = layout.RaisedHeight(height);
    layout.SetBoxSize(width, height);
}

int TextBoxCustom::Limit() const { return std::min(maxLength, Capacity()); }

void TextBoxCustom::Create()
{
    if (created) return;
    if (!cellsMeasured) MeasureCells();
    if (id == 0) AssignId();
    buffer.assign(static_cast<std::size_t>(maxLength) + 1, ' ');
    buffer.back() = 0;
    UpdateLayout();
    const Cell blank{' ', enabled ? textColor : disabledTextColour, enabled ? backColor : defaultBackColour, maxLength};
    cells.assign(static_cast<std::size_t>(layout.CellCount()), blank);
    SyncBuffer();
    created = true;
    visible = true;
}

void TextBoxCustom::SyncBuffer()
{
    if (!multiLine) text = text.substr(0, text.find('\n'));
    if (buffer.empty()) return;
    std::fill(buffer.begin(), buffer.end(), ' ');
    buffer[static_cast<std::size_t>(Limit())] = 0;
    buffer.back() = 0;
    const int count = std::min(static_cast<int>(text.size()), Limit());
    std::copy_n(text.begin(), count, buffer.begin());
    caret = count;
}

std::string TextBoxCustom::BufferText() const
{
    if (buffer.empty()) return text;
    const auto size = static_cast<std::size_t>(Limit());
    return std::string(buffer.data(), strnlen(buffer.data(), size));
}

std::string TextBoxCustom::GetText() const { return created ? TrimRight(BufferText()) : text; }

void TextBoxCustom::SetText(const std::string& value)
{
    text = value;
    length = static_cast<int>(text.size());
    caret = std::max(length - 1, 0);
    if (!created) return;
    SyncBuffer();
    Paint();
}

void TextBoxCustom::SetSize(int newWidth, int newHeight)
{
    Relocate(relocation, x, y, newWidth, layout.HeightForSize(newHeight, font.Height()));
}

void TextBoxCustom::Hide()
{
    // The next Show builds the buffer from the text again: keep what was typed meanwhile.
    if (created) text = TrimRight(BufferText());
    Child::Hide();
}

void TextBoxCustom::SetFocus()
{
    if (!created) return;
    focused = true;
    if (!Survives([&] { GotFocus(); })) return;
    if (GUIElement* previous = FocusElement(); previous && previous != this && previous->GetId() != id) {
        if (!Survives([&] { previous->LostFocus(); })) return;
    }
    SetFocusElement(this);
}

// Only the caret's cell changes with the focus: the cells are redrawn, not the whole box.
void TextBoxCustom::GotFocus()
{
    if (Survives([&] { GUIElement::GotFocus(); })) RedrawCells(false);
}

void TextBoxCustom::LostFocus()
{
    if (Survives([&] { GUIElement::LostFocus(); })) RedrawCells(false);
}

void TextBoxCustom::SetMaxLength(int value)
{
    if (!created) maxLength = std::max(value, 0);
}

void TextBoxCustom::SetDateMode(bool on)
{
    dateMode = on;
    digitsOnly = on;
    if (on) {
        // A box already made keeps its buffer: it may never be asked to hold more than that.
        maxLength = created ? std::min(10, Capacity()) : 10;
        editorMode = false;
    }
    if (!created) return;
    buffer[static_cast<std::size_t>(Limit())] = 0;
    caret = std::min(caret, Limit());
    Paint();
}

void TextBoxCustom::SetEditorMode(bool on)
{
    editorMode = on;
    if (on) multiLine = true;
}

void TextBoxCustom::SetAlignRight(bool on) { ChooseSetting(alignRight, alignCenter, on); }

void TextBoxCustom::SetAlignCenter(bool on) { ChooseSetting(alignCenter, alignRight, on); }

void TextBoxCustom::SetAlignLeft(bool on)
{
    if (on) alignRight = alignCenter = false;
    Refresh();
}

void TextBoxCustom::SetOptionA(bool on) { ChooseSetting(optionA, optionB, on); }

void TextBoxCustom::SetOptionB(bool on) { ChooseSetting(optionB, optionA, on); }

void TextBoxCustom::ChooseSetting(bool& chosen, bool& other, bool on)
{
    SetOneOfTwo(chosen, other, on);
    Refresh();
}

void TextBoxCustom::Refresh()
{
    if (created) Paint();
}

void TextBoxCustom::Paint()
{
    if (!ReadyToPaint()) return;
    UpdateLayout();
    {
        DrawContext context(Target());
        const Point corner = ToFormCoordinates(x, y);
        const int left = corner.x, top = corner.y, right = left + width - 1, bottom = top + height - 1;
        context.FillRectangle(left, top, width, height, 0, 0, enabled ? backColor : defaultBackColour);
        if (border3D) {
            DrawBevel(context, left, top, right, bottom, 0xFFFFFF, 0x000000);
            DrawBevel(context, left + 1, top + 1, right - 1, bottom - 1, 0x000000, 0xFFFFFF);
        }
    }
    RedrawCells(true);
}

void TextBoxCustom::RedrawCells(bool full) { DrawCells(full, caret); }

void TextBoxCustom::DrawCell(DrawContext& context, int left, int top, char shown, Colour fg, Colour bg, int align)
{
    context.DrawText(left, top, layout.CellWidth(), layout.CellHeight(), std::string(1, shown), fg, bg, align);
}

void TextBoxCustom::RefuseInput() { Beep(); }

void TextBoxCustom::DrawCells(bool full, int from)
{
    if (!ReadyToPaint() || buffer.empty()) return;
    UpdateLayout();
    if (layout.GridCells() == 0) return;
    const int columns = layout.Columns();
    const Colour background = enabled ? backColor : defaultBackColour;
    const bool caretShown = focused && enabled && !readOnly;
    const int align = multiLine ? 0 : alignCenter ? 2 : alignRight ? 1 : 0;

    int start = std::max(from - 1, 0);
    if (dateMode && (from == 3 || from == 6)) start = from - 2;
    if (full) start = 0;

    DrawContext context(Target());
    const Point corner = ToFormCoordinates(x, y);
    const int limit = Limit();
    // The terminator behind the last position takes part, so the caret can stand behind the text.
    const TextBoxLayout::Placement placement = layout.Place(buffer.data(), limit + 1, !password);
    for (std::size_t slotIndex = 0; slotIndex < placement.slots.size(); ++slotIndex) {
        const TextBoxLayout::Slot& slot = placement.slots[slotIndex];
        const int i = static_cast<int>(slotIndex);
        const int left = corner.x + layout.CellLeft(slot.column), top = corner.y + layout.CellTop(slot.row);
        if (slot.lineBreak) {
            EndRow(context, slot, i, background);
            if (caretShown && i == caret && layout.RowFits(slot.row))
                DrawCell(context, left, top, ' ', textColor, caretColor, 0);
            continue;
        }
        const auto number = static_cast<std::size_t>(slot.column + slot.row * columns);
        if (i < start || number >= cells.size()) continue;
        const char c = buffer[slotIndex];
        // The terminator shows as a blank, like the padding.
        char shown = c == '\n' || c == 0 ? ' ' : c;
        if (password && shown != ' ') shown = '*';
        const Colour fg = enabled ? textColor : disabledTextColour;
        const Colour bg = caretShown && i == caret ? caretColor : background;
        Cell& cell = cells[number];
        cell.index = i;
        if (full || cell.fg != fg || cell.bg != bg || cell.ch != shown) {
            DrawCell(context, left, top, shown, fg, bg, align);
            cell = {shown, fg, bg, i};
        }
    }
    if (!placement.overflowed) return;
    // Nothing from here on can be shown, so the buffer keeps none of it: what the box holds is
    // what it shows. Only a character that overflows where this redraw starts was just typed and
    // is refused; text that merely runs past the grid is cut without a beep or a caret move.
    const int first = static_cast<int>(placement.slots.size());
    std::fill(buffer.begin() + first, buffer.begin() + limit, ' ');
    if (first == start) {
        caret = std::max(caret - 1, 0);
        RefuseInput();
    }
}

// A line break clears the rest of its row, and the row's remaining cells lead to the break.
void TextBoxCustom::EndRow(DrawContext& context, const TextBoxLayout::Slot& slot, int position, Colour background)
{
    const int cellWidth = layout.CellWidth(), cellHeight = layout.CellHeight(), innerWidth = layout.InnerWidth();
    if (slot.column * cellWidth >= innerWidth - cellWidth) return;
    const Point corner = ToFormCoordinates(x, y);
    if ((slot.row + 1) * cellHeight < height)
        context.FillRectangle(corner.x + layout.CellLeft(slot.column), corner.y + layout.CellTop(slot.row),
                              innerWidth - slot.column * cellWidth + 1, cellHeight + 1, 0, 0, background);
    const int columns = layout.Columns();
    for (int column = slot.column; column < columns; ++column) {
        const long long number = column + static_cast<long long>(slot.row) * columns;
        if (number < layout.GridCells()) cells[static_cast<std::size_t>(number)] = {lineBreak, textColor, background, position};
    }
}

int TextBoxCustom::CaretCell() const
{
    const auto found = std::find_if(cells.begin(), cells.end(), [&](const Cell& cell) { return cell.index == caret; });
    return found == cells.end() ? 0 : static_cast<int>(found - cells.begin());
}

void TextBoxCustom::MoveCaretVertically(int rowStep)
{
    const int columns = layout.Columns();
    if (columns <= 0) {
        RefuseInput();
        return;
    }
    const int cell = CaretCell();
    const int row = cell / columns, column = cell % columns;
    const long long target = static_cast<long long>(row + rowStep) * columns + column;
    if (rowStep < 0) {
        if (row == 0 || target >= static_cast<long long>(cells.size())) {
            RefuseInput();
            return;
        }
        caret = std::min(cells[static_cast<std::size_t>(target)].index, Limit());
        DrawCells(false, caret);
        return;
    }
    if (row < layout.Rows() - 1 && target < static_cast<long long>(cells.size())) {
        const int below = cells[static_cast<std::size_t>(target)].index;
        if (below < length) {
            const int previous = caret;
            caret = std::min(below, Limit());
            DrawCells(false, previous);
            return;
        }
    }
    RefuseInput();
}

void TextBoxCustom::Click(Point point)
{
    if (!Survives([&] { Child::Click(point); }) || !created) return;
    const Point corner = ToFormCoordinates(x, y);
    const int number = layout.CellAt(point.x - corner.x, point.y - corner.y);
    if (number < 0 || number >= static_cast<int>(cells.size())) return;
    int position = cells[static_cast<std::size_t>(number)].index;
    if (position >= length) position = std::max(length, 0);
    caret = std::min(position, Limit());
    if (dateMode && IsDateSeparatorSlot(caret)) --caret;
    DrawCells(false, 0);
}

void TextBoxCustom::KeyDown(unsigned long keysym)
{
    if (!Survives([&] { Child::KeyDown(keysym); }) || !created) return;
    switch (keysym) {
    case XK_Left:
        caret = dateMode && (caret == 3 || caret == 6) ? caret - 2 : std::max(caret - 1, 0);
        RedrawCells(false);
        break;
    case XK_Right:
        if (caret >= length) {
            RefuseInput();
            break;
        }
        caret = std::min(caret + 1, Limit());
        if (dateMode && IsDateSeparatorSlot(caret)) caret = std::min(caret + 1, Limit());
        RedrawCells(false);
        break;
    case XK_Up:
        if (multiLine) MoveCaretVertically(-1);
        break;
    case XK_Down:
        if (multiLine) MoveCaretVertically(1);
        break;
    default:
        break;
    }
}

// The text as the buffer holds it, without the padding: unlike GetText it keeps trailing line
// breaks, which an edit elsewhere in the text must not lose.
std::string TextBoxCustom::EditableText() const { return WithoutTrailingBlanks(BufferText()); }

void TextBoxCustom::DeleteAtCaret()
{
    if (editorMode) {
        const int kept = caret;
        text = RemoveAt(EditableText(), caret);
        SyncBuffer();
        --length;
        caret = kept;
    } else if (caret < Limit()) {
        buffer[static_cast<std::size_t>(caret)] = ' ';
    }
    DrawCells(false, caret);
}

void TextBoxCustom::Backspace()
{
    if (caret < 1) {
        RefuseInput();
        return;
    }
    const bool behindSeparator = dateMode && IsBehindDateSeparator(caret);
    const int newCaret = behindSeparator ? caret - 2 : caret - 1;
    if (behindSeparator) --length;
    text = RemoveBefore(EditableText(), caret, dateMode);
    SyncBuffer();
    --length;
    caret = std::min(newCaret, Limit());
    DrawCells(false, caret);
}

bool TextBoxCustom::AcceptsPrintable(char character)
{
    if (digitsOnly && (character < '0' || character > '9')) {
        const bool decimalPoint = character == '.' && allowDecimalPoint && GetText().find('.') == std::string::npos &&
                                  caret < Limit();
        if (!decimalPoint) {
            RefuseInput();
            return false;
        }
    }
    if (caret >= Limit()) {
        RefuseInput();
        return false;
    }
    return true;
}

void TextBoxCustom::Overwrite(char character)
{
    const int old = caret;
    buffer[static_cast<std::size_t>(caret++)] = character;
    if (dateMode && (old == 1 || old == 4) && caret < Limit()) {
        buffer[static_cast<std::size_t>(caret++)] = '/';
        ++length;
    }
    ++length;
    DrawCells(false, caret);
}

void TextBoxCustom::Insert(char character)
{
    const std::string edited = InsertAt(EditableText(), caret, character);
    // The box's count can lag behind the text; the test covers whichever is longer, so that
    // nothing inserted can push a character out of the buffer or off the grid.
    const int count = std::max(length + 1, static_cast<int>(WithoutTrailingBlanks(edited).size()));
    if (!layout.Fits(edited, count, Limit())) {
        RefuseInput();
        return;
    }
    const int old = caret;
    text = edited;
    SyncBuffer();
    caret = old + 1;
    ++length;
    DrawCells(false, caret);
}

bool TextBoxCustom::KeyChar(char character)
{
    if (!enabled || readOnly) return false;
    bool accepted = false;
    if (!Survives([&] { accepted = Child::KeyChar(character); }) || !accepted) return false;
    if (!created) return true;

    if (character == deleteKey) {
        DeleteAtCaret();
    } else if (character == backspaceKey) {
        Backspace();
    } else if (character == enterKey) {
        if (multiLine && caret < Limit()) Insert(lineBreak);
    } else if (character == escapeKey) {
        // Escape, like Enter on a single line, means nothing to a text box and is not an error.
    } else if (character < 32) {
        RefuseInput();
    } else if (AcceptsPrintable(character)) {
        if (multiLine)
            Insert(character);
        else
            Overwrite(character);
    }
    return true;
}
