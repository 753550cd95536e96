#pragma once
// The top-ten table, kept as whole lines in Data/<program>/Score/Classifica.txt. Every line starts
// with the score as exactly 8 zero-padded digits, so plain descending byte order of the lines is
// descending score order; nothing parses the lines. Games that record at the same moment take
// turns through a lock file beside the table, so that none loses the other's line.

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
    // Why the last Load, Save or Insert failed, in words; empty when it did not.
    const std::string& Failure() const { return failure; }

    static constexpr std::size_t maxEntries = 10;
    static constexpr const char* fileName = "Classifica.txt";
    // Made beside the table by the first Insert and kept: removing it would let a game that
    // opened it before the removal lock a file that the next game no longer sees.
    static constexpr const char* lockFileName = "Classifica.txt.lock";

private:
    void Fail(std::string why);

    std::string programName;
    bool error = false;
    std::string failure;
};
