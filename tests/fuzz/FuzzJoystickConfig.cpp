// The joystick settings parser on any "joystick.cfg": an existing file is never rewritten, and
// the settings are exactly what its lines give, read as the file's format describes: a line of
// exactly two pieces around "=" (a trailing "=" gives no empty piece), key and value trimmed, the
// value read with strtol in base 10 and held at the nearest 32-bit number, unknown keys ignored,
// the last of repeated keys winning, and -1 for every setting no line gives.

#include <cctype>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "joystick/JoystickConfig.h"
#include "tests/fuzz/FuzzSupport.h"
#include "util/TextFile.h"

namespace {

std::vector<std::string> Pieces(const std::string& line)
{
    std::vector<std::string> pieces;
    if (line.empty()) return pieces;
    std::size_t from = 0;
    for (std::size_t at; (at = line.find('=', from)) != std::string::npos; from = at + 1)
        pieces.push_back(line.substr(from, at - from));
    if (from < line.size()) pieces.push_back(line.substr(from));
    return pieces;
}

std::string Trimmed(const std::string& text)
{
    std::size_t first = 0, last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

std::int32_t Number(const std::string& text)
{
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnterFuzzFolder();
    WriteFuzzFile(joystickConfigFile, data, size);
    const std::string before = ReadFuzzFile(joystickConfigFile);

    JoystickSettings expected;
    std::int32_t JoystickSettings::*const fields[] = {
        &JoystickSettings::joystickEnable,   &JoystickSettings::aixsXCfg,        &JoystickSettings::aixsYCfg,
        &JoystickSettings::minValueLeftCfg,  &JoystickSettings::maxValueLeftCfg, &JoystickSettings::minValueRightCfg,
        &JoystickSettings::maxValueRightCfg, &JoystickSettings::minValueUpCfg,   &JoystickSettings::maxValueUpCfg,
        &JoystickSettings::minValueDownCfg,  &JoystickSettings::maxValueDownCfg,
    };
    const char* const names[] = {"JoystickEnable",  "AixsXCfg",         "AixsYCfg",         "MinValueLeftCfg",
                                 "MaxValueLeftCfg", "MinValueRightCfg", "MaxValueRightCfg", "MinValueUpCfg",
                                 "MaxValueUpCfg",   "MinValueDownCfg",  "MaxValueDownCfg"};
    for (const std::string& line : TextFile(joystickConfigFile).ReadLines()) {
        const std::vector<std::string> pieces = Pieces(line);
        if (pieces.size() != 2) continue;
        const std::string key = Trimmed(pieces[0]);
        for (std::size_t i = 0; i < std::size(names); ++i)
            if (key == names[i]) expected.*fields[i] = Number(Trimmed(pieces[1]));
    }

    ForgetJoystickConfig();
    LoadJoystickConfig();
    FUZZ_CHECK(ReadFuzzFile(joystickConfigFile) == before);
    for (const auto field : fields) FUZZ_CHECK(joystickSettings.*field == expected.*field);
    return 0;
}
