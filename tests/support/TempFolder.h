#pragma once
// A fresh working directory for one test: the game reads and writes fixed relative paths
// ("log.txt", "Data/..."), so tests run each in a folder of its own.

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path; }
    // Writes a file under the folder (relative path), making no folders.
    void WriteFile(const std::string& relativePath, const std::string& contents) const;
    std::string ReadFile(const std::string& relativePath) const;

private:
    std::string path;
    std::string previous;
};
