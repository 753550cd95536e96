#pragma once
// The container widget: a rectangle with an optional border and a small caption whose children
// are placed relative to it. It keeps no list of them: the registry finds every element whose
// parent is the panel, so showing, hiding, moving and painting carry the children along.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/Child.h"

class PanelChildren : public Child {
public:
    using EventCallback = std::function<std::intptr_t(GUIElement&, std::intptr_t, std::intptr_t, std::intptr_t,
                                                      std::intptr_t, std::intptr_t)>;
    using Range = std::array<int, 3>;

    explicit PanelChildren(GUIElement* form);

    void Show() override;
    void Hide() override;
    void Paint() override;

    void SetBorder(bool value);
    void SetFlatBorder(bool value);
    void SetSunken(bool value);
    void SetCaptionColor(Colour colour);
    // Given to every child as its background before the child is painted; -1: none.
    void SetChildBackColor(Colour colour);
    void SetScrollA(bool value) { scrollA = value; }
    void SetScrollB(bool value) { scrollB = value; }
    bool GetScrollA() const { return scrollA; }
    bool GetScrollB() const { return scrollB; }
    void SetRange(int a, int b, int c = 0);
    void SetRangeA(int a, int b, int c = 0) { rangeA = {a, b, c}; }
    void SetRangeB(int a, int b, int c = 0) { rangeB = {a, b, c}; }
    const Range& GetRangeA() const { return rangeA; }
    const Range& GetRangeB() const { return rangeB; }
    void SetOnEvent3(EventCallback callback) { onEvent3 = std::move(callback); }
    void SetOnEvent4(EventCallback callback) { onEvent4 = std::move(callback); }
    void SetExtra(const std::string& value) { extra = value; }
    const std::string& GetExtra() const { return extra; }

    bool HasBorder() const { return showBorder; }
    bool IsFlatBorder() const { return flatBorder; }
    bool IsSunken() const { return sunken; }

private:
    std::string extra;
    EventCallback onEvent3;
    EventCallback onEvent4;
    bool showBorder = false;
    bool flatBorder = false;
    bool sunken = true;
    bool scrollA = false;
    bool scrollB = false;
    Range rangeB{};
    Range rangeA{};
    Colour captionColor = noColour;
    Colour childBackColor = noColour;
};
