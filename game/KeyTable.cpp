#include "game/KeyTable.h"

#include <X11/keysym.h>

std::optional<unsigned char> KeyTable::IndexOf(unsigned long keysym)
{
    switch (keysym) {
    case XK_Left:
        return 'a';
    case XK_Right:
        return 'd';
    case XK_Up:
        return 'w';
    case XK_Down:
        return 'x';
    default:
        if (keysym <= 255) return static_cast<unsigned char>(keysym);
        return std::nullopt;
    }
}

void KeyTable::KeyPressed(unsigned long keysym)
{
    if (clearOnPress) Clear();
    if (const auto index = IndexOf(keysym)) down[*index] = 1;
}

void KeyTable::KeyReleased(unsigned long keysym)
{
    if (const auto index = IndexOf(keysym)) down[*index] = 0;
}

bool KeyTable::IsDown(unsigned long keysym) const
{
    const auto index = IndexOf(keysym);
    return index && down[*index] == 1;
}
