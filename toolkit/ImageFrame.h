#pragma once
// A sprite cell: one sprite cut from a picture source: a sprite sheet in memory (each cell makes
// its own image of it), a ready sheet image that many cells share, ready images or packed
// pictures. Changing the sprite redraws the cell at once.

#include <X11/Xlib.h>

#include <string>
#include <utility>

#include "graphics/PackedPicture.h"
#include "toolkit/PictureWidget.h"

class ImageFrame : public PictureWidget {
public:
    // sheetData: sheetWidth * sheetHeight * 3 RGB bytes, shared and outliving the cell.
    ImageFrame(GUIElement* parentElement, const unsigned char* sheetData, int flag, int sheetWidth, int sheetHeight,
               int spriteColumn, int spriteRow);
    ImageFrame(GUIElement* parentElement, XImage* sheetImage, int spriteColumn, int spriteRow);
    ImageFrame(GUIElement* parentElement, XImage* const* images, int imageCount, int spriteColumn, int spriteRow);
    ImageFrame(GUIElement* parentElement, const PackedPicture* pictures, int pictureCount, int spriteColumn,
               int spriteRow);
    ~ImageFrame() override;

    void Paint() override;

    void SetSprite(int column, int row);
    std::pair<int, int> GetSprite() const { return {spriteColumn, spriteRow}; }
    void SetTransparent(bool value);
    // Gives a cell on a ready sheet image its image, the caller's and shared by many cells; used
    // from the next paint on. A sheet image can only be made once the form's window is viewable.
    void SetSheetImage(XImage* image) { sheetImage = image; }

    std::string tagText;

private:
    void BuildImages();
    XImage* SheetImage() const { return ownSheetImage ? ownSheetImage : sheetImage; }
    XImage* SpriteImage() const;
    bool SpriteInsideSheet(const XImage* sheet) const;

    bool transparent = false;
    XImage* sheetImage = nullptr;
    XImage* ownSheetImage = nullptr;
    XImage* const* images = nullptr;
    int imageCount = 0;
    std::unique_ptr<XImage*[]> ownImages;
    const PackedPicture* packedPictures = nullptr;
    int pictureCount = 0;
    int spriteColumn;
    int spriteRow;
    const unsigned char* sheetData = nullptr;
    int sheetWidth = 0;
    int sheetHeight = 0;
};
