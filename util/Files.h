#pragma once
// The program's access to the file system and to other programs. Paths are relative to the
// working directory unless the caller gives an absolute one.

#include <cstdint>
#include <string>
#include <vector>

bool FileExists(const std::string& path);
bool RemoveFile(const std::string& path);
std::int64_t FileSize(const std::string& path);
bool MakeFolder(const std::string& path);
bool IsRegularFile(const std::string& path);

// Opens for reading a file whose place the player may have filled with anything: without blocking
// (a FIFO would otherwise wait for a writer for ever), closed on exec, and only when it turns out
// to be a regular file. Returns the descriptor, or -1 with the reason in words.
int OpenRegularFile(const std::string& path, std::string& failure);
// True when OpenRegularFile would take the file.
bool IsReadableRegularFile(const std::string& path);
// Reads until the buffer is full or the file ends; the count read, or -1 (errno set).
std::int64_t ReadUpTo(int fd, void* buffer, std::size_t count);

// Both run the command through the shell and wait for it. They return true when the command did
// not succeed: it exited with a non-zero status, was killed by a signal, or no shell could be
// started at all. False means it ran and exited with status 0.
bool RunShell(const std::string& command);
bool RunProgram(const std::string& program, const std::string& arguments);

// Reads a whole resource file, or its first maxBytes when it is longer. A missing file logs
// "<path>: non trovato", an unreadable one (anything but a regular file among them) "Errore
// loading <path>"; both return false. The buffer holds exactly the bytes read.
bool LoadWholeFile(const std::string& path, std::vector<unsigned char>& buffer, std::size_t maxBytes);

// The fixed folders, created in the working directory when missing.
std::string DataFolder();
std::string DocumentsFolder();
std::string DesktopFolder();
std::string DownloadFolder();
std::string MusicFolder();
std::string PicturesFolder();
std::string ProgramDataFolder();
std::string RootFolder();
std::string SystemFolder();

std::string SettingsPath(const std::string& group, const std::string& program, const std::string& fileName);
std::string ReadSettingsText(const std::string& group, const std::string& program, const std::string& fileName);
bool WriteSettingsText(const std::string& group, const std::string& program, const std::string& fileName,
                       const std::string& text);

std::vector<std::string> ListFiles(const std::string& folder);
bool CopyFile(const std::string& source, const std::string& target);
std::string FileChecksum(const std::string& path);
