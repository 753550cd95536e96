#include "toolkit/TextEdits.h"

#include <algorithm>

#include "util/Strings.h"

bool IsDateSeparatorSlot(int position) { return position == 2 || position == 5; }

bool IsBehindDateSeparator(int position) { return position == 3 || position == 6; }

std::string RemoveBefore(const std::string& text, int position, bool dateMode)
{
    if (position < 1) return text;
    const bool behindSeparator = dateMode && IsBehindDateSeparator(position);
    const auto keep = static_cast<std::size_t>(behindSeparator ? position - 2 : position - 1);
    const auto from = static_cast<std::size_t>(position);
    std::string edited = text.substr(0, std::min(keep, text.size()));
    if (from < text.size()) edited += text.substr(from);
    if (!dateMode) return edited;
    edited = TrimRight(ReplaceAll(edited, "/", ""));
    if (edited.size() > 1) edited.insert(2, "/");
    if (edited.size() > 4) edited.insert(5, "/");
    return edited;
}

std::string RemoveAt(const std::string& text, int position)
{
    std::string edited = text;
    if (position >= 0 && static_cast<std::size_t>(position) < edited.size())
        edited.erase(static_cast<std::size_t>(position), 1);
    return edited;
}

std::string InsertAt(const std::string& text, int position, char character)
{
    const auto at = static_cast<std::size_t>(std::max(position, 0));
    std::string edited = text;
    if (edited.size() < at) edited.append(at - edited.size(), ' ');
    edited.insert(at, 1, character);
    return edited;
}

std::string WithoutTrailingBlanks(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}
