#include "util/TextFile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "util/Files.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

TextFile::TextFile(std::string path) : path(std::move(path)) {}

bool TextFile::AppendLines(const std::vector<std::string>& lines) { return Write(lines, "ab"); }

bool TextFile::WriteLines(const std::vector<std::string>& lines) { return Write(lines, "wb"); }

void TextFile::Fail(bool opening, std::string why)
{
    error = true;
    openFailed = opening;
    failure = std::move(why);
}

bool TextFile::Write(const std::vector<std::string>& lines, const char* mode)
{
    error = openFailed = false;
    failure.clear();
    FilePtr file(std::fopen(path.c_str(), mode));
    if (!file) {
        Fail(true, std::strerror(errno));
        return false;
    }
    for (const std::string& line : lines) {
        std::fwrite(line.data(), 1, line.size(), file.get());
        std::fputc('\n', file.get());
        if (std::fflush(file.get()) != 0 || std::ferror(file.get())) {
            Fail(false, std::strerror(errno));
            break;
        }
    }
    if (std::fclose(file.release()) != 0 && !error) Fail(false, std::strerror(errno));
    return !error;
}

std::vector<std::string> TextFile::ReadLines()
{
    error = openFailed = false;
    failure.clear();
    std::vector<std::string> lines;
    std::string why;
    const int fd = OpenRegularFile(path, why);
    if (fd < 0) {
        Fail(true, why);
        return lines;
    }
    // One byte more than is taken tells whether the limit cut the file.
    std::string text(maxReadBytes + 1, '\0');
    const std::int64_t got = ReadUpTo(fd, text.data(), text.size());
    if (got < 0) Fail(false, std::strerror(errno));
    close(fd);
    const bool cut = got > static_cast<std::int64_t>(maxReadBytes);
    text.resize(got < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(got), maxReadBytes));

    // A line longer than the reader holds, or one with a NUL byte in it, was never written by the
    // program: it is skipped whole and the reading goes on, so that no line after it is lost when
    // the file is written back. Cutting it instead would keep a line the file never held.
    std::string line;
    bool holdable = true;
    for (const char c : text) {
        if (c == '\n') {
            if (holdable) lines.push_back(line);
            line.clear();
            holdable = true;
        } else if (!holdable) {
            continue;
        } else if (c == '\0' || line.size() == maxLineLength) {
            line.clear();
            holdable = false;
        } else {
            line += c;
        }
    }
    if (!error && !cut && holdable && !line.empty()) lines.push_back(line);
    return lines;
}

std::string TextFile::ReadAll()
{
    std::string all;
    for (const std::string& line : ReadLines()) all += line + "\r\n";
    return error ? std::string() : all;
}
