// Split, ReplaceAll, the trimming functions and the date and time parsers on any text. The input's
// first byte picks the operation; the rest is cut into its arguments at 0xFF bytes.

#include <cctype>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzSupport.h"
#include "util/DateTime.h"
#include "util/Strings.h"

namespace {

std::vector<std::string> Arguments(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF)
            arguments.emplace_back();
        else
            arguments.back() += static_cast<char>(data[i]);
    }
    arguments.resize(3);
    return arguments;
}

void CheckSplit(const std::string& text, const std::string& delimiter)
{
    const std::vector<std::string> pieces = Split(text, delimiter);
    if (text.empty() || delimiter.empty()) {
        FUZZ_CHECK(pieces.empty());
        return;
    }
    // The pieces joined again give the text, or the text but for a last delimiter, which adds no
    // empty piece; and since every piece ends at the first delimiter after its start, none holds one.
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) joined += (i ? delimiter : "") + pieces[i];
    FUZZ_CHECK(joined == text || joined + delimiter == text);
    for (const std::string& piece : pieces) FUZZ_CHECK(piece.find(delimiter) == std::string::npos);
}

std::string OnePass(const std::string& text, const std::string& pattern, const std::string& replacement)
{
    std::string result;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(pattern, from)) != std::string::npos; from = at + pattern.size())
        result += text.substr(from, at - from) + replacement;
    return result + text.substr(from);
}

// The replacements restart at the beginning until no occurrence is left, except where that could
// go on for ever: a replacement that holds the pattern, or one no shorter than the pattern that
// keeps joining its neighbours into new occurrences; those are done in one left-to-right pass.
void CheckReplaceAll(const std::string& text, const std::string& pattern, const std::string& replacement)
{
    // Each search starts again at the beginning, so texts are kept short enough for that.
    if (text.size() > 256 || pattern.size() > 8 || replacement.size() > 8) return;
    const std::string result = ReplaceAll(text, pattern, replacement);
    if (pattern.empty()) {
        FUZZ_CHECK(result == text);
    } else if (replacement.find(pattern) != std::string::npos) {
        FUZZ_CHECK(result == OnePass(text, pattern, replacement));
    } else if (replacement.size() < pattern.size()) {
        FUZZ_CHECK(result.find(pattern) == std::string::npos);
    } else {
        FUZZ_CHECK(result.find(pattern) == std::string::npos || result == OnePass(text, pattern, replacement));
    }
    if (text.find(pattern) == std::string::npos) FUZZ_CHECK(result == text);
}

void CheckTrims(const std::string& text)
{
    auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    const std::string both = Trim(text), left = TrimLeft(text), right = TrimRight(text);
    FUZZ_CHECK(both.empty() || (!space(both.front()) && !space(both.back())));
    FUZZ_CHECK(left.empty() || !space(left.front()));
    FUZZ_CHECK(right.empty() || !space(right.back()));
    FUZZ_CHECK(text.find(both) != std::string::npos);
}

void CheckDate(const DateTime& date, bool parsedTime)
{
    if (date.invalid) return;
    FUZZ_CHECK(date.month >= 1 && date.month <= 12);
    FUZZ_CHECK(date.day >= 1 && date.day <= 31);
    FUZZ_CHECK(date.hour >= 0 && date.hour <= 23);
    FUZZ_CHECK(date.minute >= 0 && date.minute <= 59);
    FUZZ_CHECK(date.second >= 0 && date.second <= 60);
    FUZZ_CHECK(date.weekday >= 0 && date.weekday <= 6);
    if (!parsedTime) FUZZ_CHECK(date.day <= date.DaysInMonth());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const std::vector<std::string> arguments = Arguments(data + 1, size - 1);
    switch (data[0] % 5) {
    case 0:
        CheckSplit(arguments[0], arguments[1]);
        break;
    case 1:
        CheckReplaceAll(arguments[0], arguments[1], arguments[2]);
        break;
    case 2:
        CheckTrims(arguments[0]);
        break;
    case 3: {
        DateTime monthFirst, dayFirst;
        monthFirst.ParseDateMDY(arguments[0]);
        dayFirst.ParseDateDMY(arguments[0]);
        if (arguments[0].size() != 10) FUZZ_CHECK(monthFirst.invalid && dayFirst.invalid);
        CheckDate(monthFirst, false);
        CheckDate(dayFirst, false);
        break;
    }
    default: {
        DateTime moment(2024, 2, 29);
        moment.ParseTime(arguments[0]);
        if (arguments[0].size() != 8) FUZZ_CHECK(moment.invalid);
        CheckDate(moment, true);
        break;
    }
    }
    return 0;
}
