#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

#include "tests/support/TempFolder.h"
#include "util/BinaryFile.h"
#include "util/Files.h"
#include "util/Log.h"
#include "util/TextFile.h"

TEST(TextFile, WritesReadsAndAppendsLines)
{
    TempFolder folder;
    TextFile file("lines.txt");
    EXPECT_TRUE(file.WriteLines({"one", "", "three"}));
    EXPECT_EQ(folder.ReadFile("lines.txt"), "one\n\nthree\n");
    EXPECT_TRUE(file.AppendLines({"four"}));
    EXPECT_EQ(file.ReadLines(), (std::vector<std::string>{"one", "", "three", "four"}));
    EXPECT_EQ(file.ReadAll(), "one\r\n\r\nthree\r\nfour\r\n");
    EXPECT_TRUE(file.WriteLines({"only"}));
    EXPECT_EQ(folder.ReadFile("lines.txt"), "only\n");
}

TEST(TextFile, LastLineWithoutLineFeedIsRead)
{
    TempFolder folder;
    folder.WriteFile("f.txt", "a\nb");
    EXPECT_EQ(TextFile("f.txt").ReadLines(), (std::vector<std::string>{"a", "b"}));
}

TEST(TextFile, LinesItCannotHoldAreSkippedAndTheReadingGoesOn)
{
    TempFolder folder;
    folder.WriteFile("f.txt", "first\n" + std::string(255, 'x') + "\n" + std::string(256, 'y') + "\n" +
                                  std::string("nul\0byte\n", 9) + "last\n" + std::string(300, 'z'));
    TextFile file("f.txt");
    EXPECT_EQ(file.ReadLines(), (std::vector<std::string>{"first", std::string(255, 'x'), "last"}));
    EXPECT_FALSE(file.HasError());
}

TEST(TextFile, MissingFileSetsBothFlags)
{
    TempFolder folder;
    TextFile file("missing.txt");
    EXPECT_EQ(file.ReadAll(), "");
    EXPECT_TRUE(file.OpenFailed());
    EXPECT_TRUE(file.HasError());
    EXPECT_FALSE(TextFile("no/such/folder.txt").WriteLines({"x"}));
    file.WriteLines({"x"});
    EXPECT_FALSE(file.OpenFailed()) << "flags are cleared by each operation";
}

TEST(BinaryFile, ReadsAtOffsetsAndStopsAfterAFailure)
{
    TempFolder folder;
    {
        BinaryFile out("b.bin", false, true);
        ASSERT_TRUE(out.Write("0123456789", 10));
        ASSERT_TRUE(out.Write(2, "ab", 2));
    }
    BinaryFile in("b.bin");
    char buffer[16] = {};
    EXPECT_EQ(in.Read(1, buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "1ab4");
    EXPECT_EQ(in.Read(8, buffer, 16), 2u);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_FALSE(in.HasError()) << "reaching the end is not an error";

    BinaryFile missing("none.bin");
    EXPECT_TRUE(missing.OpenFailed());
    EXPECT_EQ(missing.Read(0, buffer, 4), 0u);
    EXPECT_FALSE(missing.Write("x", 1));
}

TEST(Files, PathTestsAndFolders)
{
    TempFolder folder;
    EXPECT_FALSE(FileExists("x"));
    folder.WriteFile("x", "12345");
    EXPECT_TRUE(FileExists("x"));
    EXPECT_EQ(FileSize("x"), 5);
    EXPECT_EQ(FileSize("nothing"), 0);
    EXPECT_TRUE(RemoveFile("x"));
    EXPECT_FALSE(RemoveFile("x"));

    EXPECT_EQ(DataFolder(), "Data");
    struct stat info {};
    ASSERT_EQ(stat("Data", &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_TRUE(MakeFolder("Data"));

    folder.WriteFile("Musica", "a file in the folder's place");
    EXPECT_EQ(MusicFolder(), "Musica");
    EXPECT_EQ(folder.ReadFile("Musica"), "a file in the folder's place");
}

TEST(Files, LoadWholeFile)
{
    TempFolder folder;
    std::vector<unsigned char> buffer{9, 9};
    EXPECT_FALSE(LoadWholeFile("Data/sheet.bin", buffer, 16));
    EXPECT_EQ(buffer.size(), 2u) << "a missing file leaves the buffer alone";
    EXPECT_EQ(folder.ReadFile("log.txt"), "Data/sheet.bin: non trovato\n");

    folder.WriteFile("empty.bin", "");
    EXPECT_TRUE(LoadWholeFile("empty.bin", buffer, 16));
    EXPECT_TRUE(buffer.empty());

    folder.WriteFile("three.bin", std::string("\x01\x00\xff", 3));
    EXPECT_TRUE(LoadWholeFile("three.bin", buffer, 16));
    EXPECT_EQ(buffer, (std::vector<unsigned char>{1, 0, 255}));
    EXPECT_TRUE(LoadWholeFile("three.bin", buffer, 2));
    EXPECT_EQ(buffer, (std::vector<unsigned char>{1, 0})) << "no more than the most asked for";

    // A FIFO would wait for a writer for ever.
    ASSERT_TRUE(MakeFolder("adir"));
    ASSERT_EQ(mkfifo("fifo", 0600), 0);
    EXPECT_FALSE(LoadWholeFile("adir", buffer, 16));
    EXPECT_FALSE(LoadWholeFile("fifo", buffer, 16));
    EXPECT_NE(folder.ReadFile("log.txt").find("Errore loading adir\nErrore loading fifo\n"), std::string::npos);
}

TEST(Files, RunShellAnswersTrueWhenTheCommandFails)
{
    EXPECT_FALSE(RunShell("true"));
    EXPECT_TRUE(RunShell("exit 3"));
    EXPECT_TRUE(RunShell("kill -KILL $$")) << "a shell killed by a signal did not succeed";
    EXPECT_TRUE(RunShell("no-such-program-anywhere 2>/dev/null"));
    EXPECT_FALSE(RunProgram("test", "-d /"));
    EXPECT_TRUE(RunProgram("test", "-d /no/such/folder"));
}

TEST(Files, SettingsListingCopyAndChecksum)
{
    TempFolder folder;
    EXPECT_EQ(SettingsPath("g", "p", "f.txt"), "Settings/g/p/f.txt");
    EXPECT_TRUE(WriteSettingsText("g", "p", "f.txt", "hello"));
    EXPECT_EQ(ReadSettingsText("g", "p", "f.txt"), "hello\r\n");

    folder.WriteFile("a.bin", std::string(17, '\x01'));
    EXPECT_TRUE(CopyFile("a.bin", "b.bin"));
    EXPECT_EQ(folder.ReadFile("b.bin"), std::string(17, '\x01'));
    folder.WriteFile("empty", "");
    EXPECT_FALSE(CopyFile("empty", "c.bin"));
    // Byte 16 folds back onto position 0: 1 ^ 1 = 0 there, 1 everywhere else.
    std::string expected = "00";
    for (int i = 1; i < 16; ++i) expected += "01";
    EXPECT_EQ(FileChecksum("a.bin"), expected);

    auto names = ListFiles(".");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.bin", "b.bin", "empty"}));
    EXPECT_TRUE(ListFiles("no-such-folder").empty());
}

TEST(Log, EachMessageIsOneLineInTheFileAndOnStandardOutput)
{
    TempFolder folder;
    testing::internal::CaptureStdout();
    Log("first");
    Log(std::string(""));
    Log("third");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "first\n\nthird\n");
    EXPECT_EQ(folder.ReadFile("log.txt"), "first\n\nthird\n");
}

TEST(Log, UnwritableFileStillReachesStandardOutput)
{
    TempFolder folder;
    ASSERT_TRUE(MakeFolder("log.txt"));
    testing::internal::CaptureStdout();
    Log("kept");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "kept\n");
}
