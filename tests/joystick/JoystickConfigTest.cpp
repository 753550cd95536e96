#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <climits>
#include <filesystem>
#include <string>

#include "joystick/JoystickConfig.h"
#include "tests/support/TempFolder.h"

namespace {

const char* const defaultFile =
    "JoystickEnable= 1\n"
    "AixsXCfg= 0\n"
    "AixsYCfg= 1\n"
    "MinValueLeftCfg= -32767\n"
    "MaxValueLeftCfg= -1\n"
    "MinValueRightCfg= 1\n"
    "MaxValueRightCfg= 32767\n"
    "MinValueUpCfg= -32767\n"
    "MaxValueUpCfg= -1\n"
    "MinValueDownCfg= 1\n"
    "MaxValueDownCfg= 32767\n";

class JoystickConfig : public ::testing::Test {
protected:
    void SetUp() override { ForgetJoystickConfig(); }
    void TearDown() override { ForgetJoystickConfig(); }

    // Reads a file of the given lines afresh.
    const JoystickSettings& LoadFrom(const std::string& contents)
    {
        folder.WriteFile("joystick.cfg", contents);
        ForgetJoystickConfig();
        LoadJoystickConfig();
        return joystickSettings;
    }

    TempFolder folder;
};

}  // namespace

TEST_F(JoystickConfig, AMissingFileIsMadeWithTheDefaultLines)
{
    LoadJoystickConfig();
    EXPECT_EQ(folder.ReadFile("joystick.cfg"), defaultFile);
    EXPECT_EQ(joystickSettings.joystickEnable, 1);
    EXPECT_EQ(joystickSettings.aixsXCfg, 0);
    EXPECT_EQ(joystickSettings.aixsYCfg, 1);
    EXPECT_EQ(joystickSettings.minValueLeftCfg, -32767);
    EXPECT_EQ(joystickSettings.maxValueLeftCfg, -1);
    EXPECT_EQ(joystickSettings.minValueRightCfg, 1);
    EXPECT_EQ(joystickSettings.maxValueRightCfg, 32767);
    EXPECT_EQ(joystickSettings.minValueUpCfg, -32767);
    EXPECT_EQ(joystickSettings.maxValueUpCfg, -1);
    EXPECT_EQ(joystickSettings.minValueDownCfg, 1);
    EXPECT_EQ(joystickSettings.maxValueDownCfg, 32767);
    // Nothing but the file is left in the folder.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(JoystickConfig, AnExistingFileIsNeverRewritten)
{
    const std::string own = "# mine\nJoystickEnable=0\n";
    folder.WriteFile("joystick.cfg", own);
    LoadJoystickConfig();
    EXPECT_EQ(folder.ReadFile("joystick.cfg"), own);
    EXPECT_EQ(joystickSettings.joystickEnable, 0);
    EXPECT_EQ(joystickSettings.aixsXCfg, -1) << "keys the file does not give stay -1";
}

TEST_F(JoystickConfig, TheFileIsReadOncePerProcess)
{
    LoadFrom("JoystickEnable=1\nAixsXCfg=4\n");
    folder.WriteFile("joystick.cfg", "JoystickEnable=0\nAixsXCfg=5\n");
    LoadJoystickConfig();
    EXPECT_EQ(joystickSettings.joystickEnable, 1);
    EXPECT_EQ(joystickSettings.aixsXCfg, 4);
}

TEST_F(JoystickConfig, BlanksAroundKeyAndValueAreIgnored)
{
    EXPECT_EQ(LoadFrom("  \tJoystickEnable \t=   0  \r\n").joystickEnable, 0);
    EXPECT_EQ(LoadFrom("JoystickEnable=\t 7\nAixsYCfg   =   3\n").aixsYCfg, 3);
    EXPECT_EQ(joystickSettings.joystickEnable, 7);
}

TEST_F(JoystickConfig, LinesWithoutExactlyTwoPiecesAreSkipped)
{
    const JoystickSettings& settings = LoadFrom(
        "JoystickEnable= 1\n"
        "AixsXCfg= 2 = 3\n"
        "AixsYCfg==3\n"
        "MaxValueUpCfg=\n"
        "MaxValueDownCfg 5\n"
        "= 9\n");
    EXPECT_EQ(settings.joystickEnable, 1);
    EXPECT_EQ(settings.aixsXCfg, -1);
    EXPECT_EQ(settings.aixsYCfg, -1);
    EXPECT_EQ(settings.maxValueUpCfg, -1);
    EXPECT_EQ(settings.maxValueDownCfg, -1);
}

TEST_F(JoystickConfig, ValuesAreReadAsStrtolReadsThem)
{
    const JoystickSettings& settings = LoadFrom(
        "JoystickEnable=1\n"
        "MinValueLeftCfg=abc\n"
        "MaxValueLeftCfg=-12xyz\n"
        "MinValueRightCfg=+7\n"
        "MaxValueRightCfg=0012\n");
    EXPECT_EQ(settings.minValueLeftCfg, 0);
    EXPECT_EQ(settings.maxValueLeftCfg, -12);
    EXPECT_EQ(settings.minValueRightCfg, 7);
    EXPECT_EQ(settings.maxValueRightCfg, 12);
}

TEST_F(JoystickConfig, OutOfRangeNumbersAreHeldAtThe32BitLimits)
{
    const JoystickSettings& settings = LoadFrom(
        "JoystickEnable=4294967295\n"
        "AixsXCfg=4294967296\n"
        "MinValueUpCfg=-99999999999999999999\n");
    EXPECT_EQ(settings.joystickEnable, INT_MAX) << "not the -1 of an unread file";
    EXPECT_EQ(settings.aixsXCfg, INT_MAX) << "not axis 0";
    EXPECT_EQ(settings.minValueUpCfg, INT_MIN);
}

TEST_F(JoystickConfig, KeysMatchExactlyAndTheLastOneWins)
{
    const JoystickSettings& settings = LoadFrom(
        "joystickenable=0\n"
        "JOYSTICKENABLE=0\n"
        "JoystickEnable=3\n"
        "AixsXCfg=1\n"
        "AixsXCfg=6\n"
        "AxisXCfg=2\n"
        "Joystick Enable=0\n");
    EXPECT_EQ(settings.joystickEnable, 3);
    EXPECT_EQ(settings.aixsXCfg, 6);
}

TEST_F(JoystickConfig, WithoutAnEnableLineTheConfigurationCountsAsUnread)
{
    EXPECT_EQ(LoadFrom("AixsXCfg=0\nAixsYCfg=1\n").joystickEnable, -1);
    EXPECT_EQ(joystickSettings.aixsYCfg, 1);
    EXPECT_EQ(LoadFrom("").joystickEnable, -1);
}

TEST_F(JoystickConfig, GarbageChangesNothingItDoesNotName)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
    EXPECT_EQ(LoadFrom(garbage + "\nJoystickEnable=1\n").aixsXCfg, -1);
}

TEST_F(JoystickConfig, AFolderInTheFilesPlaceReadsAsNoConfiguration)
{
    std::filesystem::create_directory(folder.Path() + "/joystick.cfg");
    LoadJoystickConfig();
    EXPECT_EQ(joystickSettings.joystickEnable, -1);
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() + "/joystick.cfg"));
}

TEST_F(JoystickConfig, AFileThatCannotBeWrittenIsLoggedAndLeavesNoPart)
{
    // A file-size limit makes the writes fail part-way as a full disk would, for root as well;
    // the log line itself still fits under it.
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    LoadJoystickConfig();
    setrlimit(RLIMIT_FSIZE, &previous);
    signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(folder.ReadFile("log.txt"), "impossibile creare il file joystick.cfg\n");
    EXPECT_EQ(joystickSettings.joystickEnable, -1);
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_NE(entry.path().filename().string().rfind("joystick.cfg", 0), 0u) << entry.path();

    // The next start makes the whole file.
    LoadJoystickConfig();
    EXPECT_EQ(folder.ReadFile("joystick.cfg"), defaultFile);
    EXPECT_EQ(joystickSettings.joystickEnable, 1);
}
