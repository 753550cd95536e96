#pragma once
// A group of mutually exclusive options listed one under the other, 26 pixels per item: a round
// picture and a caption each. Every item also carries a value, which is not shown. Choosing an
// item by mouse or keys runs the widget's command.

#include <array>
#include <string>
#include <vector>

#include "graphics/Images.h"
#include "toolkit/Child.h"
#include "toolkit/CommandElement.h"

class OptionBox : public Child, public CommandElement {
public:
    explicit OptionBox(GUIElement* parentElement);

    void Click(Point point) override;
    void MouseDown(Point point) override;
    void KeyDown(unsigned long keysym) override;
    bool KeyChar(char character) override;
    void Paint() override;

    virtual int GetSelected() const { return selected; }
    virtual bool SetSelected(int index);
    virtual bool RemoveItem(int index);
    virtual void AddItem(const std::string& caption, const std::string& value);
    virtual int Count() const { return static_cast<int>(captions.size()); }
    virtual std::string Caption(int index) const { return CaptionAt(index); }
    virtual std::string Value(int index) const { return ValueAt(index); }
    // An index past the end, or a negative one, gives the last item; an empty box gives "".
    virtual std::string CaptionAt(int index) const;
    virtual std::string ValueAt(int index) const;
    // Kept for callers of the old interface: it removes nothing and answers false.
    virtual bool RemoveNone() { return RemoveItem(-1); }
    virtual bool Clear();
    virtual bool SelectFirst() { return SetSelected(-1); }
    virtual void SetTextColor(Colour colour);

    Colour GetTextColor() const { return textColor; }

    static constexpr int itemHeight = 26;

private:
    enum Picture { selectedPicture, selectedDisabledPicture, unselectedPicture, unselectedDisabledPicture };

    void Choose(int index);
    void MakeImages();

    std::vector<std::string> captions;
    std::vector<std::string> values;
    int selected = -1;
    Colour textColor = 0x000000;
    std::array<ImagePtr, 4> images;
    // Drawing with a transparent colour overwrites the picture's transparent pixels with what lay
    // under them; the pictures are copied here first so that they keep their transparency.
    ImagePtr scratch;
};
