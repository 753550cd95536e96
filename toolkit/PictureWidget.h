#pragma once
// What pictures and sprite cells share: they exist on the screen only while created, a hidden
// one erases its box and must be created again, and moving or resizing one redraws it.

#include "toolkit/Child.h"

class PictureWidget : public Child {
public:
    explicit PictureWidget(GUIElement* parentElement);

    void SetSize(int newWidth, int newHeight) override;
    void SetPosition(int newX, int newY) override;
    void Show() override;
    void ShowWindow() override;
    void Hide() override;
    void Create() override;
};
