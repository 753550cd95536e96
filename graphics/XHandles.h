#pragma once
// Xlib's handle types for headers that only pass them on. Including <X11/Xlib.h> would bring its
// macros (None, Bool, True, False, Status...) into every file that uses an element, so the
// display and the image are declared here as Xlib itself declares them, and the ids are the
// unsigned longs that Xlib's Window, Pixmap, Atom and Font are on the client side
// (DrawContext.cpp checks every one of them against Xlib).

typedef struct _XDisplay Display;
typedef struct _XImage XImage;

using WindowId = unsigned long;
using PixmapId = unsigned long;
using AtomId = unsigned long;
using FontId = unsigned long;
