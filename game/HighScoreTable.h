#pragma once
// The top-ten table, kept as whole lines in Data/<program>/Score/Classifica.txt. Every line starts
// with the score as exactly 8 zero-padded digits, so plain descending byte order of the lines is
// descending score order; nothing parses the lines.

#include <cstdint>
#include <string>
#include <vector>

class HighScoreTable {
public:
    explicit HighScoreTable(std::string programName);

    // Data/<programName>/Score/ with its folders made when missing; empty when one cannot be.
    static std::string ScoreFolder(const std::string& programName);

    std::vector<std::string> Load();
    bool Save(std::vector<std::string> lines);
    bool Insert(std::int64_t score, const std::string& entryText);

    const std::string& ProgramName() const { return programName; }
    bool HasError() const { return error; }

    static constexpr std::size_t maxEntries = 10;
    static constexpr const char* fileName = "Classifica.txt";

private:
    std::string programName;
    bool error = false;
};
