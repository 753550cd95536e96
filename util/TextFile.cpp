#include "util/TextFile.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

TextFile::TextFile(std::string path) : path(std::move(path)) {}

bool TextFile::AppendLines(const std::vector<std::string>& lines) { return Write(lines, "ab"); }

bool TextFile::WriteLines(const std::vector<std::string>& lines) { return Write(lines, "wb"); }

bool TextFile::Write(const std::vector<std::string>& lines, const char* mode)
{
    error = openFailed = false;
    FilePtr file(std::fopen(path.c_str(), mode));
    if (!file) {
        error = openFailed = true;
        return false;
    }
    for (const std::string& line : lines) {
        std::fwrite(line.data(), 1, line.size(), file.get());
        std::fputc('\n', file.get());
        if (std::fflush(file.get()) != 0 || std::ferror(file.get())) {
            error = true;
            break;
        }
    }
    if (std::fclose(file.release()) != 0) error = true;
    return !error;
}

std::vector<std::string> TextFile::ReadLines()
{
    error = openFailed = false;
    std::vector<std::string> lines;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = openFailed = true;
        return lines;
    }
    // A line longer than the reader holds, or one with a NUL byte in it, was never written by the
    // program: it is skipped whole and the reading goes on, so that no line after it is lost when
    // the file is written back. Cutting it instead would keep a line the file never held.
    std::string line;
    bool holdable = true;
    for (int c; (c = std::getc(file.get())) != EOF;) {
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
            line += static_cast<char>(c);
        }
    }
    if (std::ferror(file.get()))
        error = true;
    else if (holdable && !line.empty())
        lines.push_back(line);
    return lines;
}

std::string TextFile::ReadAll()
{
    std::string all;
    for (const std::string& line : ReadLines()) all += line + "\r\n";
    return error ? std::string() : all;
}
