#pragma once
// The edits a text box makes to its text, apart from the box: positions are caret positions,
// and every edit stays within the text whatever position it is given.

#include <string>

// Whether the position is one of a date's two separator places (dd/mm/yyyy).
bool IsDateSeparatorSlot(int position);
// Behind a date's separator (positions 3 and 6), Backspace takes the digit before it.
bool IsBehindDateSeparator(int position);

// The text without the character before the position. In date mode, just behind a separator the
// digit before the separator goes instead, and the separators are put back at 2 and 5.
std::string RemoveBefore(const std::string& text, int position, bool dateMode);
// The text without the character at the position (unchanged past the end).
std::string RemoveAt(const std::string& text, int position);
// The text with the character at the position, blanks filling any gap before it.
std::string InsertAt(const std::string& text, int position, char character);
// Only blanks, unlike TrimRight: trailing line breaks stay.
std::string WithoutTrailingBlanks(std::string text);
