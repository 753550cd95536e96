#include "util/Strings.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Numbers are written the Italian way: '.' groups thousands, ',' marks decimals.
constexpr bool italianNumbers = true;

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

// Each separator counts towards the next position: 1234567 becomes 1.234.567.
std::string WithThousandsSeparators(std::string digits)
{
    for (std::size_t position : {3u, 7u, 11u})
        if (digits.size() > position) digits.insert(digits.size() - position, 1, ThousandsSeparator());
    return digits;
}

}  // namespace

std::string TrimRight(const std::string& text)
{
    std::size_t end = text.size();
    while (end > 0 && IsSpace(text[end - 1])) --end;
    return text.substr(0, end);
}

std::string TrimLeft(const std::string& text)
{
    std::size_t start = 0;
    while (start < text.size() && IsSpace(text[start])) ++start;
    return text.substr(start);
}

std::string Trim(const std::string& text) { return TrimRight(TrimLeft(text)); }

namespace {

std::string ReplaceInOnePass(const std::string& text, const std::string& pattern, const std::string& replacement)
{
    std::string result;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(pattern, from)) != std::string::npos; from = at + pattern.size())
        result.append(text, from, at - from).append(replacement);
    return result.append(text, from);
}

}  // namespace

std::string ReplaceAll(std::string text, const std::string& pattern, const std::string& replacement)
{
    if (pattern.empty()) return text;
    // Restarting from the beginning would never end here: one left-to-right pass instead.
    if (replacement.find(pattern) != std::string::npos) return ReplaceInOnePass(text, pattern, replacement);
    // Every search starts again at the beginning, so a replacement that joins its
    // neighbours into a new occurrence is replaced as well ("aaaa", "aa" -> "a" gives "a").
    // A shorter replacement shrinks the text at every step, so this ends. One that is no shorter
    // can go on joining its neighbours for ever without holding the pattern itself ("\0 " by
    // "  \0\0" in "\0  " grows without end): more replacements than the text has bytes, and a
    // margin, come only from such joins, and the one left-to-right pass is taken instead.
    const bool mayNotEnd = replacement.size() >= pattern.size();
    const std::string original = mayNotEnd ? text : std::string();
    const std::size_t budget = text.size() + 1024;
    std::size_t replaced = 0;
    for (std::size_t at; (at = text.find(pattern)) != std::string::npos; ++replaced) {
        if (mayNotEnd && replaced == budget) return ReplaceInOnePass(original, pattern, replacement);
        text.replace(at, pattern.size(), replacement);
    }
    return text;
}

std::string ReplaceChar(const std::string& text, char from, char to)
{
    return ReplaceAll(text, std::string(1, from), to == '\0' ? std::string() : std::string(1, to));
}

std::string ToUpper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string ToLower(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string PadLeft(std::string text, char ch, std::size_t width)
{
    if (text.size() < width) text.insert(0, width - text.size(), ch);
    return text;
}

std::string PadRight(std::string text, char ch, std::size_t width)
{
    if (text.size() < width) text.append(width - text.size(), ch);
    return text;
}

std::vector<std::string> Split(const std::string& text, const std::string& delimiter)
{
    std::vector<std::string> pieces;
    if (text.empty() || delimiter.empty()) return pieces;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(delimiter, from)) != std::string::npos; from = at + delimiter.size())
        pieces.push_back(text.substr(from, at - from));
    if (from < text.size()) pieces.push_back(text.substr(from));
    return pieces;
}

std::string IntToText(std::int64_t value, char padChar, std::size_t width)
{
    return PadLeft(std::to_string(value), padChar, width);
}

std::string IntToText(std::int64_t value) { return IntToText(value, '0', 0); }

std::string ByteToHex(unsigned value)
{
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", value & 0xFFu);
    return digits;
}

int RandomBetween(int low, int high)
{
    static const bool seeded = [] {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        return true;
    }();
    (void)seeded;
    const long span = static_cast<long>(high) - low + 1;
    if (span <= 0) return low;
    return static_cast<int>(low + std::rand() % span);
}

std::string FolderOf(const std::string& path)
{
    const std::string unified = ReplaceChar(path, '\\', '/');
    std::size_t at = unified.rfind('/');
    if (at == std::string::npos) at = unified.rfind(':');
    return at == std::string::npos ? std::string() : unified.substr(0, at + 1);
}

std::string FileNameOf(const std::string& path)
{
    const std::string folder = FolderOf(path);
    return folder.empty() ? path : path.substr(folder.size());
}

std::string WithTrailingSlash(const std::string& path)
{
    if (path.empty()) return path;
    const char last = path.back();
    return (last == '/' || last == ':' || last == '\\') ? path : path + '/';
}

std::string WithSuffix(const std::string& text, const std::string& suffix)
{
    if (text.empty() || suffix.empty()) return text;
    if (text.size() > suffix.size() && ToLower(text.substr(text.size() - suffix.size())) == suffix) return text;
    return text + suffix;
}

std::string FormatReal(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

std::string UrlEncode(const std::string& text)
{
    std::string result;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~')
            result += c;
        else
            result += "%" + ByteToHex(byte);
    }
    return result;
}

std::string UrlDecode(const std::string& text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            result += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            i += 2;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::string GroupThousands(std::int64_t value) { return WithThousandsSeparators(IntToText(value)); }

std::string FormatAmount(double value)
{
    const std::string fixed = FormatReal(value);
    const std::size_t point = fixed.find('.');
    return WithThousandsSeparators(fixed.substr(0, point)) + DecimalMark() + fixed.substr(point + 1);
}

double ParseAmount(const std::string& text)
{
    std::string plain = ReplaceChar(text, ThousandsSeparator(), '\0');
    plain = ReplaceChar(plain, DecimalMark(), '.');
    return std::strtod(plain.c_str(), nullptr);
}

char DecimalMark() { return italianNumbers ? ',' : '.'; }
char ThousandsSeparator() { return italianNumbers ? '.' : ','; }
