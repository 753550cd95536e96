#pragma once
// What pictures and sprite cells share: they take no focus, a hidden one erases its box and must
// be created again, and moving or resizing one redraws it.

#include "toolkit/Child.h"

class PictureWidget : public Child {
public:
    explicit PictureWidget(GUIElement* parentElement);
};
