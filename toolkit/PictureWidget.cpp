#include "toolkit/PictureWidget.h"

PictureWidget::PictureWidget(GUIElement* parentElement) : Child(parentElement)
{
    tabStop = false;
    painted = true;
    relocation = Relocation::hiddenAndShown;
}
