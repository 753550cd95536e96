#include <gtest/gtest.h>
#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "game/HighScoreTable.h"
#include "tests/support/TempFolder.h"
#include "tools/harness/Poll.h"
#include "util/Strings.h"

namespace {

const char* const tablePath = "Data/Korvanta/Score/Classifica.txt";
// What the score folder holds after an Insert: the table and the lock file that is kept beside it.
const std::vector<std::string> kept = {"Classifica.txt", "Classifica.txt.lock"};

// The entry text as the game composes it when a game ends.
std::string Entry(const std::string& name, int level) { return PadRight(name, ' ', 12) + " Level " + IntToText(level); }

std::string Line(std::int64_t score, const std::string& name, int level)
{
    return IntToText(score, '0', 8) + " " + Entry(name, level);
}

std::string FileOf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

void MakeScoreFolder(const TempFolder& folder)
{
    std::filesystem::create_directories(folder.Path() + "/Data/Korvanta/Score");
}

std::vector<std::string> FolderEntries(const std::string& path)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> TenLines()
{
    std::vector<std::string> lines;
    for (int i = 10; i >= 1; --i) lines.push_back(Line(i * 10, "P" + IntToText(i), 2));
    return lines;
}

}  // namespace

TEST(HighScoreTable, ScoreFolderIsMadeUnderTheDataFolder)
{
    TempFolder folder;
    EXPECT_EQ(HighScoreTable::ScoreFolder("Korvanta"), "Data/Korvanta/Score/");
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() + "/Data/Korvanta/Score"));
    EXPECT_EQ(HighScoreTable::ScoreFolder("Korvanta"), "Data/Korvanta/Score/");
}

TEST(HighScoreTable, AFileInTheFoldersPlaceGivesNoFolder)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.Path() + "/Data");
    folder.WriteFile("Data/Korvanta", "not a folder");
    EXPECT_EQ(HighScoreTable::ScoreFolder("Korvanta"), "");

    HighScoreTable table("Korvanta");
    EXPECT_TRUE(table.Load().empty());
    EXPECT_TRUE(table.HasError());
    EXPECT_FALSE(table.Insert(5, Entry("BOB", 1)));
    EXPECT_EQ(folder.ReadFile("Data/Korvanta"), "not a folder");

    std::filesystem::remove(folder.Path() + "/Data/Korvanta");
    std::filesystem::create_directories(folder.Path() + "/Data/Korvanta");
    folder.WriteFile("Data/Korvanta/Score", "");
    EXPECT_EQ(HighScoreTable::ScoreFolder("Korvanta"), "");
}

TEST(HighScoreTable, NoFileIsAnEmptyTable)
{
    TempFolder folder;
    HighScoreTable table("Korvanta");
    EXPECT_EQ(table.ProgramName(), "Korvanta");
    EXPECT_TRUE(table.Load().empty());
    EXPECT_FALSE(table.HasError());
}

TEST(HighScoreTable, FirstInsertCreatesTheFile)
{
    TempFolder folder;
    HighScoreTable table("Korvanta");
    EXPECT_TRUE(table.Insert(5, Entry("BOB", 1)));
    EXPECT_EQ(folder.ReadFile(tablePath), "00000005 BOB          Level 1\n");
    EXPECT_EQ(table.Load(), std::vector<std::string>{"00000005 BOB          Level 1"});
    EXPECT_FALSE(table.HasError());

    EXPECT_TRUE(table.Insert(12, Entry("ANNA", 3)));
    EXPECT_EQ(folder.ReadFile(tablePath), "00000012 ANNA         Level 3\n00000005 BOB          Level 1\n");
}

TEST(HighScoreTable, AnEleventhLowerEntryLeavesTheTenLines)
{
    TempFolder folder;
    HighScoreTable table("Korvanta");
    for (const std::string& line : TenLines()) ASSERT_TRUE(table.Insert(std::stoll(line.substr(0, 8)), line.substr(9)));
    const std::string before = folder.ReadFile(tablePath);
    ASSERT_EQ(before, FileOf(TenLines()));
    EXPECT_TRUE(table.Insert(9, Entry("LATE", 1)));
    EXPECT_EQ(folder.ReadFile(tablePath), before);

    EXPECT_TRUE(table.Insert(55, Entry("MID", 4)));
    const std::vector<std::string> lines = table.Load();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[5], Line(55, "MID", 4));
    EXPECT_EQ(lines[9], Line(20, "P2", 2)) << "the lowest score dropped out";
}

TEST(HighScoreTable, EqualScoresRankByNameThenLevelTextDescending)
{
    TempFolder folder;
    HighScoreTable table("Korvanta");
    ASSERT_TRUE(table.Insert(7, Entry("ANNA", 1)));
    ASSERT_TRUE(table.Insert(7, Entry("ZED", 1)));
    ASSERT_TRUE(table.Insert(7, Entry("zoe", 1)));
    ASSERT_TRUE(table.Insert(7, Entry("BOB", 10)));
    ASSERT_TRUE(table.Insert(7, Entry("BOB", 9)));
    ASSERT_TRUE(table.Insert(8, Entry("AAA", 1)));
    EXPECT_EQ(table.Load(), (std::vector<std::string>{Line(8, "AAA", 1), Line(7, "zoe", 1), Line(7, "ZED", 1),
                                                      Line(7, "BOB", 9), Line(7, "BOB", 10), Line(7, "ANNA", 1)}));
}

TEST(HighScoreTable, ScoresBeyondEightDigitsKeepTheLastEight)
{
    TempFolder folder;
    HighScoreTable table("Korvanta");
    ASSERT_TRUE(table.Insert(30000000, Entry("HIGH", 1)));
    ASSERT_TRUE(table.Insert(123456789, Entry("HUGE", 9)));
    EXPECT_EQ(table.Load(), (std::vector<std::string>{Line(30000000, "HIGH", 1), "23456789 " + Entry("HUGE", 9)}));
}

TEST(HighScoreTable, SaveOrdersUnsignedBytesAndPrefixes)
{
    TempFolder folder;
    HighScoreTable table("Korvanta");
    ASSERT_TRUE(table.Save({"00000005 BOB", "\x80 high byte", "99999999 top", "00000005 BOB X", "00000005 BOA"}));
    EXPECT_EQ(table.Load(), (std::vector<std::string>{"\x80 high byte", "99999999 top", "00000005 BOB X",
                                                      "00000005 BOB", "00000005 BOA"}));
}

TEST(HighScoreTable, SaveKeepsTheBestTen)
{
    TempFolder folder;
    HighScoreTable table("Korvanta");
    std::vector<std::string> lines;
    for (int score = 1; score <= 15; ++score) lines.push_back(Line(score, "P", 1));
    ASSERT_TRUE(table.Save(lines));
    const std::vector<std::string> stored = table.Load();
    ASSERT_EQ(stored.size(), 10u);
    EXPECT_EQ(stored.front(), Line(15, "P", 1));
    EXPECT_EQ(stored.back(), Line(6, "P", 1));
}

TEST(HighScoreTable, GamesRecordingAtOnceKeepEveryScore)
{
    TempFolder folder;
    MakeScoreFolder(folder);
    std::vector<pid_t> games;
    for (int game = 0; game < 4; ++game) {
        const pid_t pid = fork();
        if (pid == 0) {
            bool inserted = true;
            for (int round = 0; round < 2; ++round)
                inserted = HighScoreTable("Korvanta").Insert(10 * game + round + 1, Entry("G" + IntToText(game), 1)) &&
                           inserted;
            _exit(inserted ? 0 : 1);
        }
        ASSERT_GT(pid, 0);
        games.push_back(pid);
    }
    for (pid_t pid : games) {
        const std::optional<int> status = WaitForExit(pid, std::chrono::seconds(60));
        EXPECT_EQ(status, std::optional<int>(0));
    }
    std::vector<std::string> expected;
    for (int game = 3; game >= 0; --game)
        for (int round = 1; round >= 0; --round) expected.push_back(Line(10 * game + round + 1, "G" + IntToText(game), 1));
    EXPECT_EQ(folder.ReadFile(tablePath), FileOf(expected)) << "no game's line lost to another's";
    EXPECT_EQ(FolderEntries(folder.Path() + "/Data/Korvanta/Score"), kept) << "nothing but the table and its lock";
}

TEST(HighScoreTable, AFailedWriteKeepsTheOldTable)
{
    TempFolder folder;
    HighScoreTable table("Korvanta");
    ASSERT_TRUE(table.Save(TenLines()));
    const std::string before = folder.ReadFile(tablePath);

    // A file-size limit makes the writes fail as a full disk would, for root as well.
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool inserted = table.Insert(1000, Entry("LOST", 5));
    const bool failed = table.HasError();
    setrlimit(RLIMIT_FSIZE, &previous);
    signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(inserted);
    EXPECT_TRUE(failed);
    EXPECT_EQ(folder.ReadFile(tablePath), before);
    EXPECT_EQ(FolderEntries(folder.Path() + "/Data/Korvanta/Score"), kept);
}

TEST(HighScoreTable, AFolderInTheTablesPlaceIsNeverReplaced)
{
    TempFolder folder;
    MakeScoreFolder(folder);
    std::filesystem::create_directories(folder.Path() + "/" + tablePath);
    folder.WriteFile(std::string(tablePath) + "/inside", "kept");

    HighScoreTable table("Korvanta");
    EXPECT_TRUE(table.Load().empty());
    EXPECT_TRUE(table.HasError());
    EXPECT_FALSE(table.Insert(5, Entry("BOB", 1)));
    EXPECT_FALSE(table.Save({Line(5, "BOB", 1)}));
    EXPECT_TRUE(table.HasError());
    EXPECT_EQ(folder.ReadFile(std::string(tablePath) + "/inside"), "kept");
    EXPECT_EQ(FolderEntries(folder.Path() + "/Data/Korvanta/Score"), kept);
}

TEST(HighScoreTable, AFifoOrAnEndlessDeviceInTheTablesPlaceIsUnreadableAtOnce)
{
    TempFolder folder;
    MakeScoreFolder(folder);
    for (const bool fifo : {true, false}) {
        std::filesystem::remove(tablePath);
        if (fifo)
            ASSERT_EQ(mkfifo(tablePath, 0600), 0);
        else
            std::filesystem::create_symlink("/dev/zero", tablePath);
        pid_t loader = fork();
        if (loader == 0) {
            HighScoreTable table("Korvanta");
            const bool unreadable = table.Load().empty() && table.HasError();
            _exit(unreadable && !table.Insert(5, Entry("BOB", 1)) ? 0 : 1);
        }
        ASSERT_GT(loader, 0);
        EXPECT_EQ(WaitForExit(loader, std::chrono::seconds(1)), std::optional<int>(0)) << (fifo ? "FIFO" : "/dev/zero");
        if (loader > 0) kill(loader, SIGKILL);
        WaitForExit(loader, std::chrono::seconds(10));
    }
}

TEST(HighScoreTable, ALastLineWithoutLineFeedCounts)
{
    TempFolder folder;
    MakeScoreFolder(folder);
    folder.WriteFile(tablePath, Line(7, "X", 1) + "\n" + Line(3, "Y", 1));
    HighScoreTable table("Korvanta");
    EXPECT_EQ(table.Load(), (std::vector<std::string>{Line(7, "X", 1), Line(3, "Y", 1)}));
    ASSERT_TRUE(table.Insert(5, Entry("Z", 2)));
    EXPECT_EQ(folder.ReadFile(tablePath), FileOf({Line(7, "X", 1), Line(5, "Z", 2), Line(3, "Y", 1)}));
}

TEST(HighScoreTable, AThousandLinesAreCutToTheBestTen)
{
    TempFolder folder;
    MakeScoreFolder(folder);
    std::vector<std::string> many;
    for (int i = 0; i < 1000; ++i) many.push_back(Line((i * 7919) % 1000, "P" + IntToText(i), 1));
    folder.WriteFile(tablePath, FileOf(many));

    HighScoreTable table("Korvanta");
    EXPECT_EQ(table.Load(), many) << "lines come back in file order, unparsed";
    ASSERT_TRUE(table.Insert(995, Entry("NEW", 3)));
    const std::vector<std::string> best = table.Load();
    ASSERT_EQ(best.size(), 10u);
    EXPECT_TRUE(std::is_sorted(best.begin(), best.end(), std::greater<>()));
    EXPECT_EQ(best.front().substr(0, 8), "00000999");
    EXPECT_NE(std::find(best.begin(), best.end(), Line(995, "NEW", 3)), best.end());
}

TEST(HighScoreTable, AnOverlongLineInTheTableLosesNoScoreAfterIt)
{
    TempFolder folder;
    MakeScoreFolder(folder);
    folder.WriteFile(tablePath, FileOf({Line(50, "A", 1), std::string(10000, 'x'), Line(40, "B", 1), Line(30, "D", 2)}));
    HighScoreTable table("Korvanta");
    EXPECT_EQ(table.Load(), (std::vector<std::string>{Line(50, "A", 1), Line(40, "B", 1), Line(30, "D", 2)}));
    EXPECT_FALSE(table.HasError());
    ASSERT_TRUE(table.Insert(45, Entry("C", 1)));
    EXPECT_EQ(folder.ReadFile(tablePath), FileOf({Line(50, "A", 1), Line(45, "C", 1), Line(40, "B", 1), Line(30, "D", 2)}));
}

TEST(HighScoreTable, BinaryGarbageIsReplacedByAReadableTable)
{
    TempFolder folder;
    MakeScoreFolder(folder);
    std::mt19937 random(12345);
    for (int round = 0; round < 20; ++round) {
        std::string garbage(1 + random() % 4000, '\0');
        for (char& byte : garbage) byte = static_cast<char>(random() % 256);
        folder.WriteFile(tablePath, garbage);

        HighScoreTable table("Korvanta");
        table.Load();
        if (table.HasError()) continue;
        ASSERT_TRUE(table.Insert(99999999, Entry("TOP", 1))) << round;
        const std::string written = folder.ReadFile(tablePath);
        const std::vector<std::string> lines = table.Load();
        EXPECT_FALSE(table.HasError());
        ASSERT_LE(lines.size(), 10u);
        EXPECT_EQ(static_cast<std::size_t>(std::count(written.begin(), written.end(), '\n')), lines.size())
            << "every stored line reads back";
        EXPECT_EQ(written.find('\0'), std::string::npos);
        EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end(), std::greater<>()));
    }
}

TEST(HighScoreTable, LinesTheReaderCouldNotTakeBackAreMadeStorable)
{
    TempFolder folder;
    HighScoreTable table("Korvanta");
    ASSERT_TRUE(table.Insert(9, std::string(300, 'n')));
    ASSERT_TRUE(table.Insert(8, "two\nlines"));
    ASSERT_TRUE(table.Insert(7, std::string("nul\0byte", 8)));
    ASSERT_TRUE(table.Insert(6, Entry("LAST", 1)));
    const std::vector<std::string> lines = table.Load();
    ASSERT_EQ(lines.size(), 4u) << "no line hides the ones after it";
    EXPECT_EQ(lines[0], ("00000009 " + std::string(300, 'n')).substr(0, 255));
    EXPECT_EQ(lines[1], "00000008 two lines");
    EXPECT_EQ(lines[2], "00000007 nul byte");
    EXPECT_EQ(lines[3], Line(6, "LAST", 1));
}
