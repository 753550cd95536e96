// The high-score loader and the insertion of a new score on any score file. A file that cannot be
// read is left exactly as it was; otherwise the new file is the best ten of the lines that could
// be read and the new one, in descending byte order, every line ended by a line feed and every
// line readable again: no score the game could show is lost.

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/HighScoreTable.h"
#include "tests/fuzz/FuzzSupport.h"
#include "util/Strings.h"
#include "util/TextFile.h"

namespace {

const char* const tablePath = "Data/Fuzz/Score/Classifica.txt";

std::string TextOf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnterFuzzFolder();
    if (size < 1) return 0;
    std::filesystem::create_directories("Data/Fuzz/Score");
    // The first byte is the new score; the rest is the file.
    const int score = data[0];
    WriteFuzzFile(tablePath, data + 1, size - 1);
    const std::string before = ReadFuzzFile(tablePath);

    HighScoreTable table("Fuzz");
    const std::vector<std::string> readable = table.Load();
    const bool unreadable = table.HasError();
    FUZZ_CHECK(readable == TextFile(tablePath).ReadLines());

    const std::string entry = PadRight("FUZZ", ' ', 12) + " Level 1";
    const bool inserted = table.Insert(score, entry);
    const std::string after = ReadFuzzFile(tablePath);
    if (unreadable) {
        FUZZ_CHECK(!inserted);
        FUZZ_CHECK(after == before);
        return 0;
    }
    FUZZ_CHECK(inserted);
    std::vector<std::string> best = readable;
    best.push_back(IntToText(score, '0', 8) + " " + entry);
    std::sort(best.begin(), best.end(), std::greater<>());
    if (best.size() > HighScoreTable::maxEntries) best.resize(HighScoreTable::maxEntries);
    FUZZ_CHECK(after == TextOf(best));
    FUZZ_CHECK(table.Load() == best);
    FUZZ_CHECK(!table.HasError());
    return 0;
}
