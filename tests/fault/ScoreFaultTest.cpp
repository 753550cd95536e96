// The top-ten file damaged, replaced by a folder, or in a folder the game may not write to. The game
// must start, show what it can read, and, when a finished game records its score, keep every line
// it could read that still ranks in the best ten: no score it could show is ever lost.

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <regex>

#include "tests/fault/FaultCase.h"
#include "util/Strings.h"
#include "util/TextFile.h"

namespace {

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string TextOf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

std::string TopLines(std::size_t count)
{
    const std::vector<std::string> seeded = LinesOf(GameSandbox::SeededTable());
    return TextOf(std::vector<std::string>(seeded.begin(), seeded.begin() + static_cast<long>(count)));
}

std::string ScoreLine(int score, const std::string& name, int level)
{
    return IntToText(score, '0', 8) + " " + PadRight(name, ' ', 12) + " Level " + IntToText(level);
}

// The table after a game that scored some points as ANNA on level 1: the best ten of the lines
// the game could read before and the new line, each ended by a line feed.
bool HoldsTheBestTenWithTheNewEntry(const std::vector<std::string>& readable, const std::string& written)
{
    for (int score = 1; score < 100; ++score) {
        std::vector<std::string> lines = readable;
        lines.push_back(ScoreLine(score, "ANNA", 1));
        std::sort(lines.begin(), lines.end(), std::greater<>());
        if (lines.size() > 10) lines.resize(10);
        if (written == TextOf(lines)) return true;
    }
    return false;
}

void MakeReadOnly(const std::string& folder)
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        chmod(entry.path().c_str(), entry.is_directory() ? 0555 : 0444);
    chmod(folder.c_str(), 0555);
}

}  // namespace

class ScoreFault : public FaultCase {
protected:
    // Starts the game, plays until a ball falls and quits: a table the game only reads stays
    // exactly as it was.
    void PlayWithoutRecording()
    {
        before = game.Read(GameSandbox::tablePath);
        StartServer();
        StartGame();
        Player player(BuildSheet());
        ASSERT_TRUE(player.WaitForTitleScreen(60s));
        ASSERT_TRUE(player.StartGame(60s));
        ASSERT_TRUE(player.BallsAreFalling(60s));
        QuitAndExpectStatusZero(player);
        EXPECT_EQ(game.Read(GameSandbox::tablePath), before);
    }

    // Starts the game, checks that starting leaves the file as it was, plays a game that scores,
    // types ANNA and quits.
    void PlayAndRecord(GameRun run = {})
    {
        before = game.Read(GameSandbox::tablePath);
        readable = TextFile(game.Path(GameSandbox::tablePath)).ReadLines();
        StartServer();
        StartGame(run);
        Player player(BuildSheet());
        ASSERT_TRUE(player.WaitForTitleScreen(60s));
        EXPECT_EQ(game.Read(GameSandbox::tablePath), before) << "starting changes nothing";
        ASSERT_TRUE(player.StartGame(60s));
        ASSERT_TRUE(player.CatchOneThenMiss(180s));
        ASSERT_TRUE(player.EnterName("ANNA", 60s));
        QuitAndExpectStatusZero(player);
    }

    // Only the table itself (or what stands in its place) is in the score folder, with the lock
    // file that recording keeps beside it: no half-written new table is left there.
    void ExpectScoreFolderHoldsOnlyTheTable()
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(game.Path("Data/Korvanta/Score")))
            if (entry.path().filename() != "Classifica.txt.lock") names.push_back(entry.path().filename());
        EXPECT_EQ(names, std::vector<std::string>{"Classifica.txt"});
    }

    std::string before;
    std::vector<std::string> readable;
};

TEST_F(ScoreFault, BinaryGarbageKeepsWhatCouldBeReadAndBecomesAReadableTable)
{
    std::mt19937 random(20240611);
    std::string garbage(4096, '\0');
    for (char& byte : garbage) byte = static_cast<char>(random() & 0xFF);
    game.Write(GameSandbox::tablePath, garbage);
    PlayAndRecord();
    const std::string written = game.Read(GameSandbox::tablePath);
    EXPECT_TRUE(HoldsTheBestTenWithTheNewEntry(readable, written)) << written;
    EXPECT_EQ(written.find('\0'), std::string::npos);
    EXPECT_EQ(TextFile(game.Path(GameSandbox::tablePath)).ReadLines(), LinesOf(written)) << "every line reads back";
    ExpectScoreFolderHoldsOnlyTheTable();
    ExpectNothingLeftBehind();
}

TEST_F(ScoreFault, LinesOfTenThousandCharactersAfterTheTableLoseNoScore)
{
    game.Write(GameSandbox::tablePath, TopLines(5) + std::string(10000, 'x') + "\n" + std::string(10000, '9') + "\n" +
                                           std::string(10000, ' ') + "\n");
    PlayAndRecord();
    const std::string written = game.Read(GameSandbox::tablePath);
    EXPECT_EQ(readable, LinesOf(TopLines(5)));
    EXPECT_TRUE(HoldsTheBestTenWithTheNewEntry(readable, written)) << written;
    ExpectScoreFolderHoldsOnlyTheTable();
    ExpectNothingLeftBehind();
}

// Recording into these two is shown at unit level (the best ten of a thousand lines, a last line
// without line feed kept); here the game only has to start on them and leave them alone.
TEST_F(ScoreFault, AThousandLinesAreLeftAsTheyAre)
{
    std::mt19937 random(7);
    std::vector<std::string> many;
    for (int i = 0; i < 1000; ++i)
        many.push_back(
            ScoreLine(static_cast<int>(random() % 100000), "P" + IntToText(i), 1 + static_cast<int>(random() % 9)));
    game.Write(GameSandbox::tablePath, TextOf(many));
    PlayWithoutRecording();
    ExpectNothingLeftBehind();
}

TEST_F(ScoreFault, ALastLineWithoutLineFeedIsLeftAsItIs)
{
    std::string table = TopLines(5);
    table.pop_back();
    game.Write(GameSandbox::tablePath, table);
    PlayWithoutRecording();
    ExpectNothingLeftBehind();
}

TEST_F(ScoreFault, AFolderInTheTablesPlaceIsLeftAsItIs)
{
    std::filesystem::remove(game.Path(GameSandbox::tablePath));
    std::filesystem::create_directory(game.Path(GameSandbox::tablePath));
    game.Write(std::string(GameSandbox::tablePath) + "/keep", "kept\n");
    PlayAndRecord();
    EXPECT_TRUE(std::filesystem::is_directory(game.Path(GameSandbox::tablePath)));
    EXPECT_EQ(game.Read(std::string(GameSandbox::tablePath) + "/keep"), "kept\n");
    ExpectScoreFolderHoldsOnlyTheTable();
    ExpectNothingLeftBehind();
}

TEST_F(ScoreFault, AReadOnlyDataFolderKeepsTheTableAsItWas)
{
    if (!CanChangeUser()) GTEST_SKIP() << "modes bind only users other than root; changing user needs root";
    game.Write(GameSandbox::tablePath, TopLines(5));
    MakeReadOnly(game.Path("Data"));
    PlayAndRecord(GameRun().AsOtherUser());
    EXPECT_EQ(game.Read(GameSandbox::tablePath), TopLines(5));
    EXPECT_EQ(game.Log(), "Could not open joystick. Use the cursor keys to move.\n"
                          "could not save the top ten: Permission denied\n");
    ExpectScoreFolderHoldsOnlyTheTable();
    ExpectNothingLeftBehind();
}

TEST_F(ScoreFault, AReadOnlyWorkingFolderStillRecordsTheScore)
{
    if (!CanChangeUser()) GTEST_SKIP() << "modes bind only users other than root; changing user needs root";
    game.Write(GameSandbox::tablePath, TopLines(5));
    chmod(game.Folder().c_str(), 0555);
    PlayAndRecord(GameRun().AsOtherUser());
    const std::string written = game.Read(GameSandbox::tablePath);
    EXPECT_TRUE(HoldsTheBestTenWithTheNewEntry(readable, written)) << written;
    EXPECT_FALSE(game.Exists("log.txt")) << "nowhere to write it";
    EXPECT_FALSE(game.Exists("joystick.cfg"));
    EXPECT_GE(CountLines(game.Output(), "impossibile creare il file joystick.cfg"), 1);
    ExpectScoreFolderHoldsOnlyTheTable();
    ExpectNothingLeftBehind();
}
