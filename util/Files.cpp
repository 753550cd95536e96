#include "util/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "util/BinaryFile.h"
#include "util/Log.h"
#include "util/Strings.h"
#include "util/TextFile.h"

bool FileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool RemoveFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

std::int64_t FileSize(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
}

bool IsRegularFile(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int OpenRegularFile(const std::string& path, std::string& failure)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failure = std::strerror(errno);
        return -1;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        failure = "not a regular file";
        close(fd);
        return -1;
    }
    return fd;
}

bool IsReadableRegularFile(const std::string& path)
{
    std::string ignored;
    const int fd = OpenRegularFile(path, ignored);
    if (fd >= 0) close(fd);
    return fd >= 0;
}

std::int64_t ReadUpTo(int fd, void* buffer, std::size_t count)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t filled = 0;
    while (filled < count) {
        const ssize_t got = read(fd, bytes + filled, count - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(filled);
}

bool MakeFolder(const std::string& path)
{
    if (FileExists(path)) return true;
    return mkdir(path.c_str(), 0777) == 0;
}

bool RunShell(const std::string& command)
{
    // The wait status is zero only for a shell that exited with 0; a failure to start the shell
    // (-1) and a death by a signal are non-zero too.
    return std::system(command.c_str()) != 0;
}

bool RunProgram(const std::string& program, const std::string& arguments)
{
    return RunShell(program + " " + arguments);
}

bool LoadWholeFile(const std::string& path, std::vector<unsigned char>& buffer, std::size_t maxBytes)
{
    if (!FileExists(path)) {
        Log(path + ": non trovato");
        return false;
    }
    std::string ignored;
    const int fd = OpenRegularFile(path, ignored);
    std::vector<unsigned char> contents(maxBytes);
    const std::int64_t got = fd >= 0 ? ReadUpTo(fd, contents.data(), contents.size()) : -1;
    if (fd >= 0) close(fd);
    if (got < 0) {
        Log("Errore loading " + path);
        return false;
    }
    contents.resize(static_cast<std::size_t>(got));
    buffer = std::move(contents);
    return true;
}

namespace {

std::string FixedFolder(const char* name)
{
    MakeFolder(name);
    return name;
}

}  // namespace

std::string DataFolder() { return FixedFolder("Data"); }
std::string DocumentsFolder() { return FixedFolder("Documenti"); }
std::string DesktopFolder() { return FixedFolder("Desktop"); }
std::string DownloadFolder() { return FixedFolder("Download"); }
std::string MusicFolder() { return FixedFolder("Musica"); }
std::string PicturesFolder() { return FixedFolder("Immagini"); }
std::string ProgramDataFolder() { return FixedFolder("ProgramData"); }
std::string RootFolder() { return "c:"; }
std::string SystemFolder() { return "SYS:"; }

std::string SettingsPath(const std::string& group, const std::string& program, const std::string& fileName)
{
    std::string path = "Settings";
    for (const std::string* piece : {&group, &program}) {
        MakeFolder(path);
        path = WithTrailingSlash(path) + *piece;
    }
    MakeFolder(path);
    return WithTrailingSlash(path) + fileName;
}

std::string ReadSettingsText(const std::string& group, const std::string& program, const std::string& fileName)
{
    return TextFile(SettingsPath(group, program, fileName)).ReadAll();
}

bool WriteSettingsText(const std::string& group, const std::string& program, const std::string& fileName,
                       const std::string& text)
{
    return TextFile(SettingsPath(group, program, fileName)).WriteLines({text});
}

std::vector<std::string> ListFiles(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* directory = opendir(folder.c_str());
    if (!directory) {
        Log(folder + " accesso negato!");
        return names;
    }
    while (const dirent* entry = readdir(directory))
        if (IsRegularFile(WithTrailingSlash(folder) + entry->d_name)) names.emplace_back(entry->d_name);
    closedir(directory);
    return names;
}

bool CopyFile(const std::string& source, const std::string& target)
{
    if (!IsRegularFile(source)) return false;
    std::vector<unsigned char> contents(static_cast<std::size_t>(FileSize(source)));
    BinaryFile in(source);
    if (contents.empty() || in.Read(0, contents.data(), contents.size()) != contents.size()) return false;
    BinaryFile out(target, false, true);
    return out.Write(contents.data(), contents.size());
}

std::string FileChecksum(const std::string& path)
{
    std::array<unsigned char, 16> sum{};
    BinaryFile file(path);
    std::array<unsigned char, 10240> block{};
    std::size_t position = 0;
    for (std::size_t read; (read = file.Read(static_cast<std::int64_t>(position), block.data(), block.size())) > 0;) {
        for (std::size_t i = 0; i < read; ++i) sum[(position + i) % sum.size()] ^= block[i];
        position += read;
    }
    std::string text;
    for (unsigned char byte : sum) text += ByteToHex(byte);
    return text;
}
