// Start-up and shut-down of the game, in a fixed order: nothing else lives here.

#include <signal.h>
#include <sys/types.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "game/FormMain.h"
#include "game/ProductInfo.h"
#include "joystick/JoystickPoll.h"
#include "joystick/JoystickReader.h"
#include "toolkit/DisplayConnection.h"
#include "toolkit/EventLoop.h"
#include "util/Files.h"
#include "util/Log.h"

namespace {

pid_t readerProcess = -1;

// With the X server gone the windows are gone too; what must not outlive the game is the reader
// and the shared record.
void EndWithoutDisplay()
{
    if (readerProcess > 0) StopJoystickReader(readerProcess);
    readerProcess = -1;
    CloseJoystick();
}

}  // namespace

int main()
{
    // A request to terminate, or Ctrl-C in the terminal, ends the game as EXIT and YES do.
    EndLoopOnSignals({SIGTERM, SIGINT});

    // The log holds the messages of this run only.
    if (FileExists("log.txt")) RemoveFile("log.txt");

    const std::string title = WindowTitle();
    auto connection = std::make_unique<DisplayConnection>(title.c_str());
    // Nothing can work without a display: stop before forking or making any window.
    if (connection->OpenFailed()) return EXIT_FAILURE;

    DisplayConnection::SetOnConnectionLost(EndWithoutDisplay);

    const pid_t reader = readerProcess = StartJoystickReader();
    if (reader < 0) Log("Could not open joystick. Use the cursor keys to move.");

    auto mainForm = std::make_unique<FormMain>(connection.get(), title);
    Run(*mainForm);

    if (reader > 0) StopJoystickReader(reader);
    readerProcess = -1;
    CloseJoystick();
    mainForm.reset();
    if (!connection->Close()) Log("Chiusura screen non riuscita");
    connection.reset();
    // A game whose window another program destroyed ended without the player's say, as one whose
    // X server went away does: it tidies up the same way and reports the same status.
    return MainWindowDestroyed() ? EXIT_FAILURE : EXIT_SUCCESS;
}
