#include "util/Beep.h"

#include "util/ChildProcesses.h"
#include "util/Files.h"

bool RunDetached(const std::vector<std::string>& command)
{
    // The child is listed, so that it is reaped as soon as it ends.
    if (StartProgram(command) > 0) return true;
    RunProgramAndWait(command);
    return false;
}

void Beep()
{
    if (!IsReadableRegularFile("Data/beep.wav")) return;
    RunDetached({"aplay", "Data/beep.wav"});
}
