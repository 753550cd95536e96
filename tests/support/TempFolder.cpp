#include "tests/support/TempFolder.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempFolder::TempFolder()
{
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) throw std::runtime_error("getcwd failed");
    previous = cwd;
    std::string pattern = (std::filesystem::temp_directory_path() / "korvanta-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path = pattern;
    if (chdir(path.c_str()) != 0) throw std::runtime_error("chdir failed");
}

TempFolder::~TempFolder()
{
    if (chdir(previous.c_str()) != 0) return;
    std::error_code ignored;
    // Tests may leave read-only folders behind; make them writable so they can go.
    for (auto it = std::filesystem::recursive_directory_iterator(path, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path, ignored);
}

void TempFolder::WriteFile(const std::string& relativePath, const std::string& contents) const
{
    std::ofstream(path + "/" + relativePath, std::ios::binary) << contents;
}

std::string TempFolder::ReadFile(const std::string& relativePath) const
{
    std::ifstream in(path + "/" + relativePath, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}
