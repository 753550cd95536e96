#include "toolkit/MyImage.h"

#include "graphics/DrawContext.h"
#include "graphics/Images.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"

MyImage::MyImage(GUIElement* parentElement, XImage* image) : PictureWidget(parentElement), image(image)
{
    typeName = "image";
}

MyImage::MyImage(GUIElement* parentElement, const PackedPicture& picture)
    : PictureWidget(parentElement), sourceData(picture.data), sourceSize(picture.size)
{
    typeName = "image";
    width = picture.width;
    height = picture.height;
}

MyImage::MyImage(GUIElement* parentElement, const unsigned char* rgb, int width, int height)
    : PictureWidget(parentElement), sourceData(rgb), sourceIsRGB(true)
{
    typeName = "image";
    this->width = width;
    this->height = height;
}

MyImage::~MyImage() { ForgetBuiltImage(); }

// Images built from the source data are ours; images handed in stay the caller's.
void MyImage::ForgetBuiltImage()
{
    if (HasSource() && image) DestroyImage(image);
    if (HasSource()) image = nullptr;
}

void MyImage::SetImage(XImage* newImage)
{
    if (HasSource() && image) {
        DestroyImage(image);
        sourceData = nullptr;
    }
    image = newImage;
    if (created) Paint();
}

void MyImage::SetData(const unsigned char* rgb)
{
    ForgetBuiltImage();
    sourceData = rgb;
    sourceIsRGB = true;
    if (created) Paint();
}

void MyImage::SetData(const PackedPicture& picture)
{
    ForgetBuiltImage();
    sourceData = picture.data;
    sourceSize = picture.size;
    sourceIsRGB = false;
    if (created) Paint();
}

void MyImage::SetBorder(bool sunken)
{
    sunkenBorder = sunken;
    if (created) Paint();
}

void MyImage::Paint()
{
    if (!ReadyToPaint()) return;
    DrawContext context(Target());
    const Point origin = ToFormCoordinates(x, y);
    if (HasSource() && !image) {
        if (sourceIsRGB) {
            image = MakeImage(Target(), sourceData, width, height);
        } else if (auto rgb = UnpackPicture(width, height, sourceData, sourceSize)) {
            image = MakeImage(Target(), rgb.get(), width, height);
        }
    }
    if (image)
        context.PutImage(origin.x, origin.y, width, height, image);
    else
        context.FillRectangle(origin.x, origin.y, width, height, 0, 0, EraseColour());
    if (sunkenBorder)
        DrawBevel(context, origin.x, origin.y, origin.x + width - 1, origin.y + height - 1, 0x000000, 0xFFFFFF);
}
