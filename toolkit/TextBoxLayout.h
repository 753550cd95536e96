#pragma once
// The character-cell grid of a text box, apart from any drawing: how many cells a box of a given
// size holds, where each one lies, which cell a click lands on and whether a text still fits.
// Every answer stays within the grid whatever the box's size, so callers can index with it.

#include <string>
#include <vector>

class TextBoxLayout {
public:
    // The most cells a box keeps, the one behind the last character included.
    static constexpr int maxCells = 1600;

    TextBoxLayout() = default;
    TextBoxLayout(int cellWidth, int cellHeight) { SetCellSize(cellWidth, cellHeight); }

    void SetCellSize(int cellWidth, int cellHeight);
    void SetBoxSize(int boxWidth, int boxHeight);

    // A box too low for one row of cells is raised to hold exactly one.
    int RaisedHeight(int boxHeight) const;
    // The height SetSize gives a box: at least the font's height plus 10, then the rule above.
    int HeightForSize(int requestedHeight, int fontHeight) const;

    int CellWidth() const { return cellWidth; }
    int CellHeight() const { return cellHeight; }
    int InnerWidth() const { return boxWidth - 6; }
    int InnerHeight() const { return boxHeight - 6; }
    int Columns() const;
    int Rows() const;
    // Cells of the visible grid, never more than the table holds besides the caret's own cell.
    int GridCells() const;
    // Cell records a box keeps: the grid and one more for the caret behind the last character.
    int CellCount() const;

    // The corner of a cell relative to the box's corner.
    int CellLeft(int column) const { return 3 + column * cellWidth; }
    int CellTop(int row) const { return 2 + row * cellHeight + 1; }

    // While laying out: the next column would run past the inner width.
    bool MustWrap(int column) const { return column * cellWidth > InnerWidth() - cellWidth; }
    // The row lies wholly inside the inner height.
    bool RowFits(int row) const { return (row + 1) * cellHeight <= InnerHeight(); }

    // The cell number under a point relative to the box's corner; -1 where there is none.
    int CellAt(int localX, int localY) const;

    // Where one position of a text lands: a cell, or a line break that ends its row there.
    struct Slot {
        int column = 0;
        int row = 0;
        bool lineBreak = false;
    };
    struct Placement {
        // One slot for each position from the first on, as far as they find room.
        std::vector<Slot> slots;
        // The walk ended because the position after the last slot found no row (rather than
        // because the table of cells ran out).
        bool overflowed = false;
    };
    // Lays out count characters row by row, wrapping at the inner width; carriage returns break
    // the line when breaksLines.
    Placement Place(const char* characters, int count, bool breaksLines) const;

    // Whether the positions 0 to count of the text (blanks past its end) all find a cell;
    // positions past maxLength never do.
    bool Fits(const std::string& text, int count, int maxLength) const;

private:
    int cellWidth = 1;
    int cellHeight = 1;
    int boxWidth = 0;
    int boxHeight = 0;
};
