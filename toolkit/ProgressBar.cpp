#include "toolkit/ProgressBar.h"

#include <cmath>
#include <cstdint>

#include "graphics/DrawContext.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"

ProgressBar::ProgressBar(GUIElement* parentElement, int minimum, int maximum)
    : Child(parentElement), minimum(minimum), maximum(maximum), value(minimum)
{
    typeName = "progressbar";
    width = 190;
    height = 25;
    tabStop = false;
    painted = true;
    relocation = Relocation::hiddenAndShown;
}

void ProgressBar::SetValue(int newValue)
{
    if (newValue == value) return;
    // Not std::clamp: a bar built with its limits the wrong way round must not be undefined.
    if (newValue > maximum) newValue = maximum;
    if (newValue < minimum) newValue = minimum;
    value = newValue;
    if (created) Paint();
}

void ProgressBar::SetBordered(bool on) { SetAndPaint(bordered, on); }

// Unlike other widgets, a hidden bar stays created: only its visibility goes.
void ProgressBar::Hide()
{
    if (created) Erase();
    GUIElement::Hide();
}

// The bar measures the value's distance from the minimum, so that a range that does not start at
// 0 still fills from empty to full; an empty range (or one given the wrong way round) has no
// meaningful fraction and shows empty.
int ProgressBar::FilledWidth() const
{
    const std::int64_t range = static_cast<std::int64_t>(maximum) - minimum;
    const int inner = width - 2;
    if (range <= 0 || inner <= 0) return 0;
    const double fraction = static_cast<double>(static_cast<std::int64_t>(value) - minimum) / static_cast<double>(range);
    if (!(fraction > 0)) return 0;
    const double filled = std::floor(inner * fraction);
    return filled >= inner ? inner : static_cast<int>(filled);
}

void ProgressBar::Paint()
{
    // A hidden bar keeps its created state (only its visibility goes), so it must not come back
    // on the form's next expose or on a new value.
    if (!ReadyToPaint() || !visible) return;
    DrawContext context(Target());
    const Point origin = ToFormCoordinates(x, y);
    const int left = origin.x, top = origin.y, right = left + width - 1, bottom = top + height - 1;
    context.FillRectangle(left, top, width, height, 0, 0, backColor != noColour ? backColor : defaultBackColour);
    if (bordered) DrawBevel(context, left, top, right, bottom, 0x000000, 0xFFFFFF);
    if (const int filled = FilledWidth(); filled > 0)
        context.FillRectangle(left + 1, top + 1, filled, height - 2, 0, 0, 0x0000FF);
}
