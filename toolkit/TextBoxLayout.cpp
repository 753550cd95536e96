#include "toolkit/TextBoxLayout.h"

#include <algorithm>

void TextBoxLayout::SetCellSize(int newCellWidth, int newCellHeight)
{
    // A cell of no size would make every division below meaningless.
    cellWidth = std::max(newCellWidth, 1);
    cellHeight = std::max(newCellHeight, 1);
}

void TextBoxLayout::SetBoxSize(int newBoxWidth, int newBoxHeight)
{
    boxWidth = newBoxWidth;
    boxHeight = RaisedHeight(newBoxHeight);
}

int TextBoxLayout::RaisedHeight(int boxHeightValue) const
{
    return cellHeight + 5 >= boxHeightValue ? cellHeight + 6 : boxHeightValue;
}

int TextBoxLayout::HeightForSize(int requestedHeight, int fontHeight) const
{
    return RaisedHeight(std::max(requestedHeight, fontHeight + 10));
}

int TextBoxLayout::Columns() const { return std::max(InnerWidth() / cellWidth, 0); }

int TextBoxLayout::Rows() const { return std::max(InnerHeight() / cellHeight, 0); }

int TextBoxLayout::GridCells() const
{
    const long long cells = static_cast<long long>(Rows()) * Columns();
    return static_cast<int>(std::min<long long>(cells, maxCells - 1));
}

int TextBoxLayout::CellCount() const { return GridCells() + 1; }

int TextBoxLayout::CellAt(int localX, int localY) const
{
    const long long number = static_cast<long long>(Columns()) * ((localY - 4) / cellHeight) + localX / cellWidth;
    return number < 0 || number >= CellCount() ? -1 : static_cast<int>(number);
}

TextBoxLayout::Placement TextBoxLayout::Place(const char* characters, int count, bool breaksLines) const
{
    Placement placement;
    const int columns = Columns();
    const int gridCells = GridCells();
    int column = 0, row = 0;
    for (int i = 0; i < count; ++i) {
        if (breaksLines && characters[i] == '\r') {
            placement.slots.push_back({column, row, true});
            column = 0;
            ++row;
            continue;
        }
        if (MustWrap(column)) {
            column = 0;
            ++row;
        }
        if (!RowFits(row)) {
            placement.overflowed = true;
            break;
        }
        if (column + static_cast<long long>(row) * columns >= gridCells) break;
        placement.slots.push_back({column, row, false});
        ++column;
    }
    return placement;
}

bool TextBoxLayout::Fits(const std::string& text, int count, int maxLength) const
{
    const int columns = Columns();
    const int gridCells = GridCells();
    int column = 0, row = 0;
    for (int i = 0;; ++i) {
        if (i > maxLength) return false;
        const char c = static_cast<std::size_t>(i) < text.size() ? text[static_cast<std::size_t>(i)] : ' ';
        if (c == '\r') {
            column = 0;
            ++row;
            continue;
        }
        if (MustWrap(column)) {
            column = 0;
            ++row;
        }
        if (!RowFits(row) || column + static_cast<long long>(row) * columns >= gridCells) return false;
        if (i >= count) return true;
        ++column;
    }
}
