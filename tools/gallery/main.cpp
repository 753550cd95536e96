// The widget gallery: shows every widget of the toolkit on one form until the window is closed
// or "Quit" is pressed.

#include <cstdlib>

#include "tools/gallery/FormGallery.h"
#include "toolkit/DisplayConnection.h"
#include "toolkit/EventLoop.h"

int main()
{
    DisplayConnection connection("Korvanta widget gallery");
    if (connection.OpenFailed()) return EXIT_FAILURE;
    {
        FormGallery gallery(&connection);
        Run(gallery);
    }
    connection.Close();
    return EXIT_SUCCESS;
}
