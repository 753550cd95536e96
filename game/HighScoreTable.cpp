#include "game/HighScoreTable.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>

#include "util/Files.h"
#include "util/Strings.h"
#include "util/TextFile.h"

namespace {

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A file in the folder's place would only make every later path inside it fail.
bool EnsureFolder(const std::string& path) { return MakeFolder(path) && IsFolder(path); }

// The table is read back with a line reader that ends a line at a line feed and skips a line with
// a NUL byte or longer than it can hold: a line the game writes must survive that, or the next
// reading would lose it.
std::string StorableLine(std::string line)
{
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::replace(line.begin(), line.end(), '\0', ' ');
    if (line.size() > TextFile::maxLineLength) line.resize(TextFile::maxLineLength);
    return line;
}

// Writes the lines to a new file beside the target, forces them to the disk and only then renames
// the new file over the target, so that a crash, a kill or a full disk at any moment leaves either
// the old table or the new one, never a part of either.
bool ReplaceFileWithLines(const std::string& path, const std::vector<std::string>& lines)
{
    std::string temporary;
    for (int attempt = 0; attempt < 100 && temporary.empty(); ++attempt) {
        const std::string candidate = path + "." + std::to_string(getpid()) + "." + std::to_string(attempt) + ".new";
        const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            temporary = candidate;
        } else if (errno != EEXIST) {
            return false;
        }
    }
    if (temporary.empty()) return false;

    bool written = TextFile(temporary).WriteLines(lines);
    if (written) {
        const int fd = open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
        written = fd >= 0 && fsync(fd) == 0;
        if (fd >= 0) close(fd);
    }
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    unlink(temporary.c_str());
    return false;
}

}  // namespace

HighScoreTable::HighScoreTable(std::string programName) : programName(std::move(programName)) {}

std::string HighScoreTable::ScoreFolder(const std::string& programName)
{
    const std::string programFolder = WithTrailingSlash(DataFolder()) + programName;
    if (!EnsureFolder(programFolder)) return "";
    const std::string scoreFolder = WithTrailingSlash(programFolder) + "Score";
    if (!EnsureFolder(scoreFolder)) return "";
    return WithTrailingSlash(scoreFolder);
}

std::vector<std::string> HighScoreTable::Load()
{
    error = false;
    const std::string folder = ScoreFolder(programName);
    if (folder.empty()) {
        error = true;
        return {};
    }
    const std::string path = folder + fileName;
    if (!FileExists(path)) return {};
    TextFile file(path);
    std::vector<std::string> lines = file.ReadLines();
    // A table that exists but cannot be opened counts as unreadable too: taking it for an empty
    // one would let the next Insert replace it with a single line.
    if (file.HasError()) error = true;
    return lines;
}

bool HighScoreTable::Save(std::vector<std::string> lines)
{
    error = false;
    for (std::string& line : lines) line = StorableLine(std::move(line));
    // std::string compares its bytes as unsigned char, and a line that is a prefix of another is
    // the smaller: exactly the order in which the zero-padded scores rank the lines.
    std::sort(lines.begin(), lines.end(), std::greater<>());
    if (lines.size() > maxEntries) lines.resize(maxEntries);

    const std::string folder = ScoreFolder(programName);
    if (folder.empty() || !ReplaceFileWithLines(folder + fileName, lines)) error = true;
    return !error;
}

bool HighScoreTable::Insert(std::int64_t score, const std::string& entryText)
{
    std::vector<std::string> lines = Load();
    if (error) return false;
    std::string scoreText = IntToText(score, '0', 8);
    if (scoreText.size() > 8) scoreText.erase(0, scoreText.size() - 8);
    lines.push_back(scoreText + " " + entryText);
    Save(std::move(lines));
    return !error;
}
