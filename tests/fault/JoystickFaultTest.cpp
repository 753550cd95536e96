// The joystick's settings file damaged or replaced, its shared record left over in odd shapes,
// and a device that sends garbage or stops in the middle of an event. The device is a FIFO that
// the case writes to.

#include <linux/joystick.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "tests/fault/DeviceWriter.h"
#include "tests/fault/FaultCase.h"

namespace {

const char* const recordName = "mem_shared_hardJoy";

std::string RandomBytes(std::size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

}  // namespace

class JoystickFault : public FaultCase {
protected:
    // Starts the game with the FIFO as its joystick and waits for the title screen.
    void StartWithDevice(Player& player, GameRun run = GameRun())
    {
        StartGame(run.Joystick());
        ASSERT_TRUE(player.WaitForTitleScreen(60s));
    }

    std::string RecordPath() const { return game.SharedMemory() + "/" + recordName; }
    bool RecordIsLive() const
    {
        const std::string bytes = ReadRecord();
        return bytes.size() == 7 && bytes[0] == 1;
    }
    std::string ReadRecord() const
    {
        std::ifstream in(RecordPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Each setting that the file cannot give is reported by the reader once and by every poll.
    void ExpectUnreadableSettingsReported()
    {
        EXPECT_GE(CountLines(game.Log(), "Errore lettura configurazione joystick"), 2) << game.Log();
        EXPECT_EQ(CountLines(game.Log(), "Could not open joystick. Use the cursor keys to move."), 0);
    }

    DeviceWriter device;
};

TEST_F(JoystickFault, GarbageSettingsMeanNoJoystick)
{
    const std::string garbage = RandomBytes(2048, 11);
    game.Write("joystick.cfg", garbage);
    StartServer();
    Player player(BuildSheet());
    StartWithDevice(player);
    ASSERT_TRUE(player.StartGame(60s));
    ASSERT_TRUE(player.BallsAreFalling(60s));
    QuitAndExpectStatusZero(player);
    ExpectUnreadableSettingsReported();
    EXPECT_EQ(game.Read("joystick.cfg"), garbage) << "an existing file is never rewritten";
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(JoystickFault, HugeNumbersInTheSettingsAreTakenWithoutHarm)
{
    const std::string settings =
        "JoystickEnable= 4294967297\n"
        "AixsXCfg= 99999999999999999999999\n"
        "AixsYCfg= -99999999999999999999999\n"
        "MinValueLeftCfg= -9223372036854775808\n"
        "MaxValueLeftCfg= 2147483648\n"
        "MinValueRightCfg= 18446744073709551616\n"
        "MaxValueRightCfg= 123456789012345\n"
        "MinValueUpCfg= -2147483649\n"
        "MaxValueUpCfg= 4294967295\n"
        "MinValueDownCfg= 1e99\n"
        "MaxValueDownCfg= 0x7fffffffffffffff\n";
    game.Write("joystick.cfg", settings);
    StartServer();
    Player player(BuildSheet());
    StartWithDevice(player);
    ASSERT_TRUE(device.Open(game.JoystickDevice(), 60s));
    ASSERT_TRUE(WaitFor([&] { return RecordIsLive(); }, 60s));
    ASSERT_TRUE(player.StartGame(60s));
    for (const std::int16_t value : {-32768, -1, 0, 1, 32767})
        for (const std::uint8_t axis : {0, 1, 255}) ASSERT_TRUE(device.Send(value, JS_EVENT_AXIS, axis));
    ASSERT_TRUE(player.BallsAreFalling(60s));
    QuitAndExpectStatusZero(player);
    EXPECT_EQ(game.Read("joystick.cfg"), settings);
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(JoystickFault, MissingKeysLeaveTheirRangesEmpty)
{
    game.Write("joystick.cfg", "JoystickEnable= 1\n");
    StartServer();
    Player player(BuildSheet());
    StartWithDevice(player);
    ASSERT_TRUE(device.Open(game.JoystickDevice(), 60s));
    ASSERT_TRUE(WaitFor([&] { return RecordIsLive(); }, 60s));
    ASSERT_TRUE(player.StartGame(60s));
    // Every limit is -1: only -1 lies in the left range, on any axis numbered -1 (none).
    ASSERT_TRUE(device.Send(-1, JS_EVENT_AXIS, 0));
    ASSERT_TRUE(device.Send(15000, JS_EVENT_AXIS, 0));
    ASSERT_TRUE(player.BallsAreFalling(60s));
    // The catcher starts at the left wall; a right that had been taken would have moved it away
    // for good. A read may fall on a cell being repainted, hence a few tries.
    EXPECT_TRUE(WaitFor([&] { return player.CatcherAt() == 1; }, 60s)) << "no direction was set";
    QuitAndExpectStatusZero(player);
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(JoystickFault, AFolderInTheSettingsPlaceMeansNoJoystick)
{
    std::filesystem::create_directory(game.Path("joystick.cfg"));
    StartServer();
    Player player(BuildSheet());
    StartWithDevice(player);
    ASSERT_TRUE(player.StartGame(60s));
    ASSERT_TRUE(player.BallsAreFalling(60s));
    QuitAndExpectStatusZero(player);
    ExpectUnreadableSettingsReported();
    EXPECT_TRUE(std::filesystem::is_directory(game.Path("joystick.cfg")));
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

class LeftoverRecordFault : public JoystickFault, public ::testing::WithParamInterface<int> {};

TEST_P(LeftoverRecordFault, IsTakenOverByTheReaderAndRemovedAtTheEnd)
{
    const int size = GetParam();
    StartServer();
    Player player(BuildSheet());
    std::filesystem::create_directories(game.SharedMemory());
    {
        std::ofstream(RecordPath(), std::ios::binary) << std::string(static_cast<std::size_t>(size), '\x01');
    }
    StartGame(GameRun().Joystick());
    ASSERT_TRUE(player.WaitForTitleScreen(60s));
    ASSERT_TRUE(device.Open(game.JoystickDevice(), 60s));
    ASSERT_TRUE(WaitFor([&] { return RecordIsLive(); }, 60s)) << "the reader makes the record whole";
    ASSERT_TRUE(player.StartGame(60s));
    // Right on the default settings' horizontal axis takes the catcher to the right wall.
    ASSERT_TRUE(device.Send(15000, JS_EVENT_AXIS, 0));
    EXPECT_TRUE(WaitFor([&] { return player.CatcherAt() == 10; }, 60s)) << "the joystick moves the catcher";
    ASSERT_TRUE(device.Send(0, JS_EVENT_AXIS, 0));
    QuitAndExpectStatusZero(player);
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

INSTANTIATE_TEST_SUITE_P(Sizes, LeftoverRecordFault, ::testing::Values(0, 3),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "OfBytes" + std::to_string(info.param);
                         });

TEST_F(JoystickFault, ALeftoverRecordWithoutADeviceIsRemovedAtStart)
{
    StartServer();
    std::filesystem::create_directories(game.SharedMemory());
    std::ofstream(RecordPath(), std::ios::binary) << "";
    StartGame();
    Player player(BuildSheet());
    ASSERT_TRUE(player.WaitForTitleScreen(60s));
    EXPECT_TRUE(WaitFor([&] { return game.SharedObjects().empty(); }, 60s)) << "it must not pass for a joystick";
    QuitAndExpectStatusZero(player);
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(JoystickFault, ARecordOfAnotherUserThatTheGameMayNotWriteIsLeftAlone)
{
    if (!CanChangeUser()) GTEST_SKIP() << "another owner needs a game run as another user";
    StartServer();
    std::filesystem::create_directories(game.SharedMemory());
    {
        std::ofstream(RecordPath(), std::ios::binary) << std::string(7, '\0');
    }
    chmod(RecordPath().c_str(), 0444);
    Player player(BuildSheet());
    StartGame(GameRun().Joystick().AsOtherUser());
    ASSERT_TRUE(player.WaitForTitleScreen(60s));
    ASSERT_TRUE(device.Open(game.JoystickDevice(), 60s));
    ASSERT_TRUE(WaitFor([&] { return CountLines(game.Log(), "shm_open fallita") == 1; }, 60s)) << game.Log();
    ASSERT_TRUE(player.StartGame(60s));
    ASSERT_TRUE(player.BallsAreFalling(60s));
    QuitAndExpectStatusZero(player);
    struct stat info {};
    ASSERT_EQ(stat(RecordPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
    EXPECT_EQ(ReadRecord(), std::string(7, '\0'));
    ExpectNothingLeftBehind({recordName});
    ExpectTableIntact();
}

TEST_F(JoystickFault, ADeviceThatSendsRandomBytesDoesNoHarm)
{
    StartServer();
    Player player(BuildSheet());
    StartWithDevice(player);
    ASSERT_TRUE(device.Open(game.JoystickDevice(), 60s));
    ASSERT_TRUE(player.StartGame(60s));
    for (unsigned seed = 1; seed <= 16; ++seed) ASSERT_TRUE(device.Write(RandomBytes(4096, seed)));
    ASSERT_TRUE(player.BallsAreFalling(60s));
    EXPECT_TRUE(RecordIsLive());
    ASSERT_TRUE(device.Write(RandomBytes(65536, 99)));
    QuitAndExpectStatusZero(player);
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(JoystickFault, ADeviceThatEndsInTheMiddleOfAnEventEndsTheReaderAlone)
{
    StartServer();
    Player player(BuildSheet());
    StartWithDevice(player);
    ASSERT_TRUE(device.Open(game.JoystickDevice(), 60s));
    ASSERT_TRUE(WaitFor([&] { return RecordIsLive(); }, 60s));
    ASSERT_TRUE(device.Send(1, JS_EVENT_BUTTON, 3));
    ASSERT_TRUE(device.Write(std::string(3, '\x05')));
    device.Close();
    EXPECT_TRUE(WaitFor([&] { return game.SharedObjects().empty(); }, 60s)) << "the reader removes its record";
    EXPECT_TRUE(WaitFor([&] { return game.ProcessesLeft(0ms).size() == 1; }, 60s)) << "only the game is left";
    ASSERT_TRUE(player.StartGame(60s));
    ASSERT_TRUE(player.BallsAreFalling(60s));
    EXPECT_TRUE(game.Running());
    QuitAndExpectStatusZero(player);
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}
