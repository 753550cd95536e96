// A toolkit form and no timer, served by the game's event loop. With no timer there is nothing to
// count, so the loop must sleep until an event comes: the benchmark expects no wake-ups at all.

#include <cstdlib>
#include <string>

#include "toolkit/DisplayConnection.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Form.h"

int main()
{
    DisplayConnection connection("Korvanta idle form");
    if (connection.OpenFailed()) return EXIT_FAILURE;
    {
        Form form(nullptr, false);
        form.SetDisplay(&connection);
        form.SetSize(400, 300);
        form.SetCaption(std::string("Korvanta idle form"));
        form.Show();
        Run(form);
    }
    connection.Close();
    return EXIT_SUCCESS;
}
