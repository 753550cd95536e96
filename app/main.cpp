// Start-up and shut-down of the game, in a fixed order: nothing else lives here.

#include <cstdlib>
#include <memory>
#include <string>

#include "game/ProductInfo.h"
#include "toolkit/DisplayConnection.h"
#include "util/Files.h"
#include "util/Log.h"

int main()
{
    // The log holds the messages of this run only.
    if (FileExists("log.txt")) RemoveFile("log.txt");

    const std::string title = WindowTitle();
    auto connection = std::make_unique<DisplayConnection>(title.c_str());
    // Nothing can work without a display: stop before forking or making any window.
    if (connection->OpenFailed()) return EXIT_FAILURE;

    if (!connection->Close()) Log("Chiusura screen non riuscita");
    connection.reset();
    return EXIT_SUCCESS;
}
