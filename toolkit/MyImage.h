#pragma once
// A widget that shows one picture: a ready image, or pixel data (RGB or packed 16-colour)
// turned into an image on the first paint.

#include <X11/Xlib.h>

#include "graphics/PackedPicture.h"
#include "toolkit/PictureWidget.h"

class MyImage : public PictureWidget {
public:
    MyImage(GUIElement* parentElement, XImage* image);
    MyImage(GUIElement* parentElement, const PackedPicture& picture);
    // rgb: width * height * 3 bytes that outlive the widget.
    MyImage(GUIElement* parentElement, const unsigned char* rgb, int width, int height);
    ~MyImage() override;

    void Paint() override;

    virtual void SetImage(XImage* newImage);
    virtual void SetData(const unsigned char* rgb);
    virtual void SetData(const PackedPicture& picture);
    virtual void SetBorder(bool sunken);
    virtual void SetEnabledFlag(int value) { enabled = value != 0; }

    XImage* GetImage() const { return image; }

private:
    bool HasSource() const { return sourceData != nullptr; }
    void ForgetBuiltImage();

    XImage* image = nullptr;
    const unsigned char* sourceData = nullptr;
    bool sourceIsRGB = false;
    bool sunkenBorder = false;
    std::size_t sourceSize = 0;
};
