#include "joystick/JoystickRecord.h"

#include <climits>
#include <cstring>

namespace {

// A plain array rather than a std::string: the reader's SIGTERM handler reads it.
char recordName[NAME_MAX + 1] = "/mem_shared_hardJoy";

}  // namespace

const char* JoystickRecordName() { return recordName; }

void SetJoystickRecordName(const std::string& name)
{
    std::strncpy(recordName, name.c_str(), sizeof recordName - 1);
    recordName[sizeof recordName - 1] = '\0';
}
