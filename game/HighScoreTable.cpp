#include "game/HighScoreTable.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>

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

constexpr const char* noFolder = "its folder cannot be made";

// Writes the lines to a new file beside the target, forces them to the disk and only then renames
// the new file over the target, so that a crash, a kill or a full disk at any moment leaves either
// the old table or the new one, never a part of either. Returns why it failed, or the empty text.
std::string ReplaceFileWithLines(const std::string& path, const std::vector<std::string>& lines)
{
    std::string temporary;
    for (int attempt = 0; attempt < 100 && temporary.empty(); ++attempt) {
        const std::string candidate = path + "." + std::to_string(getpid()) + "." + std::to_string(attempt) + ".new";
        const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            temporary = candidate;
        } else if (errno != EEXIST) {
            return std::strerror(errno);
        }
    }
    if (temporary.empty()) return std::strerror(EEXIST);

    TextFile file(temporary);
    std::string failure = file.WriteLines(lines) ? "" : file.Failure();
    if (failure.empty()) {
        const int fd = open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || fsync(fd) != 0) failure = std::strerror(errno);
        if (fd >= 0) close(fd);
    }
    if (failure.empty() && std::rename(temporary.c_str(), path.c_str()) != 0) failure = std::strerror(errno);
    if (!failure.empty()) unlink(temporary.c_str());
    return failure;
}

// An exclusive flock on the lock file beside the table, held for the object's life. Another
// game's Insert holds it for a few milliseconds; one that holds it for seconds is not a game, and
// this score is then given up rather than the whole game stalled.
class TableLock {
public:
    explicit TableLock(const std::string& path)
    {
        fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0) {
            // Taken before the text is stored: making the string may change errno.
            const int openError = errno;
            failure = std::strerror(openError);
            // A lock file made by another player may be theirs to write; reading it is enough to lock it.
            if (openError == EACCES) fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0) return;
            failure.clear();
        }
        struct stat info {};
        if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            failure = std::string(HighScoreTable::lockFileName) + " is not a regular file";
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > deadline) {
                failure = errno == EWOULDBLOCK ? std::string("the table stays locked by another program")
                                               : std::string(std::strerror(errno));
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    ~TableLock()
    {
        if (fd >= 0) close(fd);
    }
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;

    // Why the lock could not be taken, or the empty text when it is held.
    const std::string& Failure() const { return failure; }

private:
    int fd = -1;
    std::string failure;
};

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

void HighScoreTable::Fail(std::string why)
{
    error = true;
    failure = std::move(why);
}

std::vector<std::string> HighScoreTable::Load()
{
    error = false;
    failure.clear();
    const std::string folder = ScoreFolder(programName);
    if (folder.empty()) {
        Fail(noFolder);
        return {};
    }
    const std::string path = folder + fileName;
    if (!FileExists(path)) return {};
    TextFile file(path);
    std::vector<std::string> lines = file.ReadLines();
    // A table that exists but cannot be opened counts as unreadable too: taking it for an empty
    // one would let the next Insert replace it with a single line.
    if (file.HasError()) Fail(file.Failure());
    return lines;
}

bool HighScoreTable::Save(std::vector<std::string> lines)
{
    error = false;
    failure.clear();
    for (std::string& line : lines) line = StorableLine(std::move(line));
    // std::string compares its bytes as unsigned char, and a line that is a prefix of another is
    // the smaller: exactly the order in which the zero-padded scores rank the lines.
    std::sort(lines.begin(), lines.end(), std::greater<>());
    if (lines.size() > maxEntries) lines.resize(maxEntries);

    const std::string folder = ScoreFolder(programName);
    if (folder.empty()) {
        Fail(noFolder);
    } else if (std::string why = ReplaceFileWithLines(folder + fileName, lines); !why.empty()) {
        Fail(std::move(why));
    }
    return !error;
}

bool HighScoreTable::Insert(std::int64_t score, const std::string& entryText)
{
    error = false;
    failure.clear();
    const std::string folder = ScoreFolder(programName);
    if (folder.empty()) {
        Fail(noFolder);
        return false;
    }
    // Held from the load to the rename: a game that recorded in between would otherwise have its
    // line overwritten by this one's table, read before that line was there.
    const TableLock lock(folder + lockFileName);
    if (!lock.Failure().empty()) {
        Fail(lock.Failure());
        return false;
    }
    std::vector<std::string> lines = Load();
    if (error) return false;
    std::string scoreText = IntToText(score, '0', 8);
    if (scoreText.size() > 8) scoreText.erase(0, scoreText.size() - 8);
    lines.push_back(scoreText + " " + entryText);
    Save(std::move(lines));
    return !error;
}
