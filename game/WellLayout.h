#pragma once
// Where the main window shows the well and its buttons, in window pixels, and how the sprite sheet
// is cut. The form that draws them and everyone who watches the game from outside (the harness,
// the screenshot taker, the benchmark) take the numbers from here. No X.

#include "game/Well.h"

namespace WellLayout {

inline constexpr int cellSize = 27;
// The sheet is one row of sprites, each a cell.
inline constexpr int spriteCount = 14;
inline constexpr int sheetWidth = spriteCount * cellSize;
inline constexpr int sheetBytes = sheetWidth * cellSize * 3;

// The top-left pixel of cell (0, 0), the top of the left wall.
inline constexpr int wellLeft = 175, wellTop = 117;
inline constexpr int wellWidth = Well::columns * cellSize, wellHeight = Well::rows * cellSize;

inline constexpr int CellLeft(int column) { return wellLeft + column * cellSize; }
inline constexpr int CellTop(int row) { return wellTop + row * cellSize; }
// Cells are kept row by row.
inline constexpr int CellIndex(int column, int row) { return column + Well::columns * row; }

// The three buttons, one under the other to the right of the well.
inline constexpr int buttonLeft = 572, buttonWidth = 100, buttonHeight = 28;
inline constexpr int startTop = 117, infoTop = 147, exitTop = 177;
inline constexpr int buttonCentreX = buttonLeft + buttonWidth / 2;
inline constexpr int ButtonCentreY(int top) { return top + buttonHeight / 2; }

}  // namespace WellLayout
