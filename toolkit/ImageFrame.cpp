#include "toolkit/ImageFrame.h"

#include "graphics/DrawContext.h"
#include "graphics/Images.h"
#include "toolkit/Form.h"

ImageFrame::ImageFrame(GUIElement* parentElement, const unsigned char* sheetData, int /*flag*/, int sheetWidth,
                       int sheetHeight, int spriteColumn, int spriteRow)
    : PictureWidget(parentElement), spriteColumn(spriteColumn), spriteRow(spriteRow), sheetData(sheetData),
      sheetWidth(sheetWidth), sheetHeight(sheetHeight)
{
    typeName = "imageframe";
}

ImageFrame::ImageFrame(GUIElement* parentElement, XImage* sheetImage, int spriteColumn, int spriteRow)
    : PictureWidget(parentElement), sheetImage(sheetImage), spriteColumn(spriteColumn), spriteRow(spriteRow)
{
    typeName = "imageframe";
}

ImageFrame::ImageFrame(GUIElement* parentElement, XImage* const* images, int imageCount, int spriteColumn,
                       int spriteRow)
    : PictureWidget(parentElement), images(images), imageCount(imageCount), spriteColumn(spriteColumn),
      spriteRow(spriteRow)
{
    typeName = "imageframe";
}

ImageFrame::ImageFrame(GUIElement* parentElement, const PackedPicture* pictures, int pictureCount, int spriteColumn,
                       int spriteRow)
    : PictureWidget(parentElement), packedPictures(pictures), pictureCount(pictureCount),
      spriteColumn(spriteColumn), spriteRow(spriteRow)
{
    typeName = "imageframe";
}

ImageFrame::~ImageFrame()
{
    DestroyImage(ownSheetImage);
    for (int i = 0; ownImages && i < pictureCount; ++i) DestroyImage(ownImages[i]);
}

void ImageFrame::SetSprite(int column, int row)
{
    if (column == spriteColumn && row == spriteRow) return;
    spriteColumn = column;
    spriteRow = row;
    if (created) Paint();
}

void ImageFrame::SetTransparent(bool value)
{
    transparent = value;
    Paint();
}

// Each cell builds its own images on its first paint and keeps them.
void ImageFrame::BuildImages()
{
    if (packedPictures && !ownImages && pictureCount > 0) {
        ownImages = std::make_unique<XImage*[]>(static_cast<std::size_t>(pictureCount) + 1);
        for (int i = 0; i < pictureCount; ++i) {
            if (auto rgb = UnpackPicture(width, height, packedPictures[i].data, packedPictures[i].size))
                ownImages[i] = MakeImage(Target(), rgb.get(), width, height);
        }
        images = ownImages.get();
        imageCount = pictureCount;
    }
    if (sheetData && !ownSheetImage) ownSheetImage = MakeImage(Target(), sheetData, sheetWidth, sheetHeight);
}

// An index outside the sheet or the array shows nothing rather than memory that is not a sprite.
bool ImageFrame::SpriteInsideSheet(const XImage* sheet) const
{
    return spriteColumn >= 0 && spriteRow >= 0 && (spriteColumn + 1) * width <= sheet->width &&
           (spriteRow + 1) * height <= sheet->height;
}

XImage* ImageFrame::SpriteImage() const
{
    const int index = spriteColumn + spriteRow;
    return images && spriteColumn >= 0 && spriteRow >= 0 && index < imageCount ? images[index] : nullptr;
}

void ImageFrame::Paint()
{
    if (!created) return;
    DrawContext context(Target());
    const Point origin = ToFormCoordinates(x, y);
    BuildImages();
    XImage* sheet = SheetImage();
    if (transparent) context.FillRectangle(origin.x, origin.y, width, height, 0, 0, EraseColour());
    if (sheet) {
        if (!SpriteInsideSheet(sheet)) return;
        if (transparent)
            context.PutImageRegionTransparent(origin.x, origin.y, width, height, sheet, width * spriteColumn,
                                              height * spriteRow, 0);
        else
            context.PutImageRegion(origin.x, origin.y, width, height, sheet, width * spriteColumn, height * spriteRow);
    } else if (XImage* sprite = SpriteImage()) {
        if (transparent)
            context.PutImageTransparent(origin.x, origin.y, width, height, sprite, 0);
        else
            context.PutImage(origin.x, origin.y, width, height, sprite);
    }
}
