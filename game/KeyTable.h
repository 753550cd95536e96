#pragma once
// Which steering keys are held. The letters a, d, w and x share their flags with the four cursor
// keys; with clear-on-press every press first forgets all keys, so the most recent press wins.

#include <array>
#include <optional>

class KeyTable {
public:
    void KeyPressed(unsigned long keysym);
    void KeyReleased(unsigned long keysym);
    bool IsDown(unsigned long keysym) const;
    void SetClearOnPress(bool value) { clearOnPress = value; }
    void Clear() { down.fill(0); }

    // The table index of a key symbol, or nothing for keys that are never recorded.
    static std::optional<unsigned char> IndexOf(unsigned long keysym);

private:
    std::array<unsigned char, 256> down{};
    bool clearOnPress = true;
};
