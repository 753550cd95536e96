#include "joystick/JoystickConfig.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <limits>

#include "util/Files.h"
#include "util/Log.h"
#include "util/Strings.h"
#include "util/TextFile.h"

JoystickSettings joystickSettings;

namespace {

struct Key {
    const char* name;
    std::int32_t JoystickSettings::*setting;
};

constexpr Key keys[] = {
    {"JoystickEnable", &JoystickSettings::joystickEnable},
    {"AixsXCfg", &JoystickSettings::aixsXCfg},
    {"AixsYCfg", &JoystickSettings::aixsYCfg},
    {"MinValueLeftCfg", &JoystickSettings::minValueLeftCfg},
    {"MaxValueLeftCfg", &JoystickSettings::maxValueLeftCfg},
    {"MinValueRightCfg", &JoystickSettings::minValueRightCfg},
    {"MaxValueRightCfg", &JoystickSettings::maxValueRightCfg},
    {"MinValueUpCfg", &JoystickSettings::minValueUpCfg},
    {"MaxValueUpCfg", &JoystickSettings::maxValueUpCfg},
    {"MinValueDownCfg", &JoystickSettings::minValueDownCfg},
    {"MaxValueDownCfg", &JoystickSettings::maxValueDownCfg},
};

// Out-of-range numbers are held at the nearest 32-bit value: cutting their high bits off could
// turn a huge axis number into axis 0, or any value into the -1 of "not read".
std::int32_t SettingValue(const std::string& text)
{
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

// Both processes may find the file missing at the very first start. Each writes the defaults to
// a file of its own and links it into place only if no file is there yet, so that neither can
// ever read a half-written file or see its lines truncated away by the other.
bool CreateDefaultFile()
{
    const std::string temporary = std::string(joystickConfigFile) + "." + std::to_string(getpid()) + ".new";
    bool created = TextFile(temporary).WriteLines(DefaultJoystickConfigLines());
    if (created && link(temporary.c_str(), joystickConfigFile) != 0 && errno != EEXIST) {
        // A file system without hard links: the other process can only have written the same lines.
        created = std::rename(temporary.c_str(), joystickConfigFile) == 0;
    }
    unlink(temporary.c_str());
    return created;
}

}  // namespace

const std::vector<std::string>& DefaultJoystickConfigLines()
{
    static const std::vector<std::string> lines = {
        "JoystickEnable= 1",       "AixsXCfg= 0",          "AixsYCfg= 1",         "MinValueLeftCfg= -32767",
        "MaxValueLeftCfg= -1",     "MinValueRightCfg= 1",  "MaxValueRightCfg= 32767",
        "MinValueUpCfg= -32767",   "MaxValueUpCfg= -1",    "MinValueDownCfg= 1",  "MaxValueDownCfg= 32767",
    };
    return lines;
}

void LoadJoystickConfig()
{
    if (!FileExists(joystickConfigFile) && !CreateDefaultFile())
        Log(std::string("impossibile creare il file ") + joystickConfigFile);
    if (joystickSettings.joystickEnable != -1) return;

    for (const std::string& line : TextFile(joystickConfigFile).ReadLines()) {
        const std::vector<std::string> pieces = Split(line, "=");
        if (pieces.size() != 2) continue;
        const std::string key = Trim(pieces[0]);
        for (const Key& known : keys)
            if (key == known.name) joystickSettings.*known.setting = SettingValue(Trim(pieces[1]));
    }
}

void ForgetJoystickConfig() { joystickSettings = JoystickSettings{}; }
