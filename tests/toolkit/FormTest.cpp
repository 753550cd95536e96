// gtest comes before Xlib, whose None macro would break it.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include "tests/support/FormFixture.h"
#include "toolkit/Registry.h"

namespace {

std::vector<Atom> AtomProperty(Display* display, Window window, const char* name)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<Atom> atoms;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 16, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        data) {
        const auto* values = reinterpret_cast<const Atom*>(data);
        atoms.assign(values, values + count);
        XFree(data);
    }
    return atoms;
}

}  // namespace

using FormTest = FormFixture;

TEST_F(FormTest, WindowCarriesNameClassFixedSizeAndDeleteProtocol)
{
    form->SetCaption(std::string("My caption"));
    Sync();
    char* windowName = nullptr;
    ASSERT_TRUE(XFetchName(display, form->GetWindow(), &windowName));
    EXPECT_STREQ(windowName, "My caption");
    XFree(windowName);

    XClassHint classHint{};
    ASSERT_TRUE(XGetClassHint(display, form->GetWindow(), &classHint));
    EXPECT_STREQ(classHint.res_name, "Korvanta.exe");
    EXPECT_STREQ(classHint.res_class, "Korvanta.exe");
    XFree(classHint.res_name);
    XFree(classHint.res_class);

    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(display, form->GetWindow(), &hints, &supplied));
    EXPECT_EQ(hints.min_width, 400);
    EXPECT_EQ(hints.max_width, 400);
    EXPECT_EQ(hints.min_height, 300);
    EXPECT_EQ(hints.max_height, 300);

    const auto protocols = AtomProperty(display, form->GetWindow(), "WM_PROTOCOLS");
    ASSERT_EQ(protocols.size(), 1u);
    EXPECT_EQ(protocols[0], XInternAtom(display, "WM_DELETE_WINDOW", False));
    EXPECT_TRUE(AtomProperty(display, form->GetWindow(), "_NET_WM_WINDOW_TYPE").empty());
}

TEST_F(FormTest, DialogIsTypedAsDialogAndGreyWithoutColour)
{
    TestForm& dialog = AddForm(120, 80, noColour, true);
    const auto type = AtomProperty(display, dialog.GetWindow(), "_NET_WM_WINDOW_TYPE");
    ASSERT_EQ(type.size(), 1u);
    EXPECT_EQ(type[0], XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False));
    EXPECT_EQ(PixelAt(dialog, 60, 40), 0xAAAAAA);
    EXPECT_EQ(PixelAt(5, 5), background);
}
