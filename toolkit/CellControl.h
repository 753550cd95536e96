#pragma once
// The label: one text, wrapped and aligned inside a rectangle, optionally with a sunken frame,
// a highlight colour pair, a small "*" marker and a small picture. It takes no input of its own.

#include <string>

#include "toolkit/Child.h"

struct _XImage;

class CellControl : public Child {
public:
    explicit CellControl(GUIElement* form);

    void Create() override;
    void SetText(const std::string& value) override;
    void Paint() override;

    void SetTextAlign(int align);
    void SetTextColor(Colour colour);
    void SetBordered(bool value);
    void SetShowMarker(bool value);
    void SetFlag2(bool value);
    void SetFlag3(bool value);
    void SetFlag4(bool value);
    void SetFontName(const std::string& value);
    void SetFontSize(int value);
    void SetHighlighted(bool value);
    void SetHighlightTextColor(Colour colour);
    void SetHighlightBackColor(Colour colour);
    // align: 1 right, 2 centred, anything else left; the picture is drawn at width x height.
    void SetImage(_XImage* value, int imageWidthValue, int imageHeightValue, int align);
    // Puts back the background the cell had when it was created, if it has changed since.
    void ApplyBackColor();
    bool IsModified() const { return modified; }
    void ClearModified() { modified = false; }
    Colour GetTextColor() const { return textColor; }

    int GetTextAlign() const { return textAlign; }
    bool IsBordered() const { return bordered; }
    bool IsHighlighted() const { return highlighted; }
    bool GetFlag2() const { return flag2; }
    bool GetFlag3() const { return flag3; }
    bool GetFlag4() const { return flag4; }
    const std::string& GetFontName() const { return fontName; }
    int GetFontSize() const { return fontSize; }
    void SetExtra(const std::string& value) { extra = value; }
    const std::string& GetExtra() const { return extra; }

protected:
    // A hidden cell leaves the form's background, whatever its parent's.
    void Erase() override;

private:
    // Stores a new value; a change marks the cell modified and repaints it.
    template <typename Value>
    void Change(Value& field, const Value& value);

    std::string extra;
    bool modified = false;
    _XImage* image = nullptr;
    int imageAlign = 1;
    int imageWidth = 0;
    int imageHeight = 0;
    bool showMarker = false;
    bool flag2 = false;
    bool flag3 = false;
    bool flag4 = false;
    std::string fontName = "Topaz";
    int fontSize = 8;
    int textAlign = 2;
    Colour textColor = 0x000000;
    Colour pendingBackColor = noColour;
    bool bordered = false;
    bool highlighted = false;
    Colour highlightTextColor = 0x000000;
    Colour highlightBackColor = 0xFFFF00;
};
