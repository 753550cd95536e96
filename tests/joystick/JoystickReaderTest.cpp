// The reader runs in a process of its own, fed with device events through a FIFO that stands in
// for the joystick; the test watches it through the game's poll. Events are served in order, so
// a distinct marker event sent last and seen in the record shows that everything before it has
// been applied.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <grp.h>
#include <linux/joystick.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "joystick/JoystickConfig.h"
#include "joystick/JoystickPoll.h"
#include "joystick/JoystickReader.h"
#include "joystick/JoystickRecord.h"
#include "tests/support/TempFolder.h"
#include "tools/harness/Poll.h"
#include "util/ChildProcesses.h"

using namespace std::chrono_literals;

namespace {

constexpr std::uint8_t button = JS_EVENT_BUTTON;
constexpr std::uint8_t axis = JS_EVENT_AXIS;
constexpr std::uint8_t initial = JS_EVENT_INIT;

std::string Directions()
{
    std::string held;
    if (JoystickUp()) held += 'U';
    if (JoystickDown()) held += 'D';
    if (JoystickLeft()) held += 'L';
    if (JoystickRight()) held += 'R';
    return held;
}

class JoystickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int run = 0;
        recordName = "/korvanta-test-" + std::to_string(getpid()) + "-" + std::to_string(++run);
        SetJoystickRecordName(recordName);
        ForgetJoystickConfig();
        CloseJoystick();
    }

    void TearDown() override
    {
        if (writer >= 0) close(writer);
        StopJoystickReader(reader);
        shm_unlink(recordName.c_str());
        CloseJoystick();
        ForgetJoystickConfig();
        SetJoystickRecordName("/mem_shared_hardJoy");
    }

    bool RecordExists() const
    {
        const int fd = shm_open(recordName.c_str(), O_RDONLY, 0);
        if (fd >= 0) close(fd);
        return fd >= 0;
    }

    void MakeRecord(const std::vector<unsigned char>& bytes, off_t size) const
    {
        const int fd = shm_open(recordName.c_str(), O_CREAT | O_RDWR, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, size), 0);
        if (!bytes.empty()) {
            ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
        }
        close(fd);
    }

    // Starts the reader on a FIFO in the device's place and opens the FIFO's writing end,
    // which succeeds only once the reader has opened the other end.
    void StartOnFifoUnsynced()
    {
        ASSERT_EQ(mkfifo("js0", 0600), 0);
        LoadJoystickConfig();
        reader = StartJoystickReader("js0");
        ASSERT_GT(reader, 0);
        ASSERT_TRUE(WaitFor([&] {
            writer = open("js0", O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            return writer >= 0;
        }, 10s));
        ASSERT_EQ(fcntl(writer, F_SETFL, 0), 0);
    }

    void StartOnFifo()
    {
        StartOnFifoUnsynced();
        ASSERT_TRUE(SyncByButton());
    }

    void Send(std::uint8_t type, std::uint8_t number, std::int16_t value)
    {
        js_event event{};
        event.time = 1234;
        event.value = value;
        event.type = type;
        event.number = number;
        ASSERT_EQ(write(writer, &event, sizeof event), static_cast<ssize_t>(sizeof event));
    }

    // A press of a button not used before; true once the record shows it.
    bool SyncByButton()
    {
        const std::uint8_t marker = nextMarker++;
        Send(button, marker, 1);
        return WaitFor([&] {
            PollJoystick();
            return JoystickButtonNumber() == marker && JoystickButtonPressed();
        }, 10s);
    }

    // Moves axis 0 to the far side from where it was; true once the record shows it.
    bool SyncByAxis()
    {
        markerLeft = !markerLeft;
        Send(axis, 0, markerLeft ? -20000 : 20000);
        return WaitFor([&] {
            PollJoystick();
            return markerLeft ? JoystickLeft() : JoystickRight();
        }, 10s);
    }

    std::string Log() const { return folder.ReadFile("log.txt"); }

    // Runs the check in a process of a user of its own (0, 1, ...), without root's rights: 0 when
    // it held, 2 when the user could not be changed.
    static int AsUser(int which, const std::function<bool()>& check)
    {
        const uid_t other = static_cast<uid_t>(3000000 + getpid() % 1000000 * 2 + which);
        const pid_t child = fork();
        if (child == 0) {
            if (setgroups(0, nullptr) != 0 || setresgid(other, other, other) != 0 || setresuid(other, other, other) != 0)
                _exit(2);
            _exit(check() ? 0 : 1);
        }
        int status = 0;
        return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : 3;
    }

    TempFolder folder;
    std::string recordName;
    pid_t reader = -1;
    int writer = -1;
    std::uint8_t nextMarker = 100;
    bool markerLeft = false;
};

using JoystickReader = JoystickTest;

// The poll reads only the record that a running reader has said it made: a process that stands in
// for such a reader lets the cases plant the records themselves.
class JoystickPoll : public JoystickTest {
protected:
    void SetUp() override
    {
        JoystickTest::SetUp();
        int recordMade[2];
        ASSERT_EQ(pipe2(recordMade, O_CLOEXEC), 0);
        ASSERT_EQ(write(recordMade[1], "1", 1), 1);
        close(recordMade[1]);
        reader = ForkChild();
        if (reader == 0) {
            pause();
            _exit(0);
        }
        ASSERT_GT(reader, 0);
        WatchJoystickReader(reader, recordMade[0]);
    }
};

}  // namespace

TEST_F(JoystickReader, AxisRangesWithTheDefaults)
{
    StartOnFifo();
    const struct {
        std::uint8_t number;
        std::int16_t value;
        const char* held;
    } cases[] = {
        {0, -20000, "L"}, {0, 0, ""},     {0, 15000, "R"},  {0, -32768, ""}, {0, -32767, "L"}, {0, -1, "L"},
        {0, 1, "R"},      {0, 32767, "R"}, {1, -20000, "U"}, {1, 0, ""},      {1, 20000, "D"},  {1, -1, "U"},
        {1, 1, "D"},      {1, -32768, ""}, {1, 32767, "D"},
    };
    for (const auto& step : cases) {
        Send(axis, step.number, step.value);
        ASSERT_TRUE(SyncByButton());
        EXPECT_EQ(Directions(), step.held) << "axis " << int(step.number) << " value " << step.value;
    }
}

TEST_F(JoystickReader, TheLastAxisEventWins)
{
    StartOnFifo();
    Send(axis, 0, -32767);
    ASSERT_TRUE(SyncByButton());
    EXPECT_EQ(Directions(), "L");
    Send(axis, 1, 0);
    ASSERT_TRUE(SyncByButton());
    EXPECT_EQ(Directions(), "") << "the vertical axis clears a held left";

    Send(axis, 1, -5);
    Send(axis, 0, 5);
    ASSERT_TRUE(SyncByButton());
    EXPECT_EQ(Directions(), "R") << "one direction at a time";

    Send(axis, 0, -5);
    Send(axis, 7, -20000);
    ASSERT_TRUE(SyncByButton());
    EXPECT_EQ(Directions(), "") << "an axis that is not configured clears all";
}

TEST_F(JoystickReader, InitialStateEventsChangeNothing)
{
    StartOnFifo();
    Send(axis, 0, -20000);
    ASSERT_TRUE(SyncByButton());
    ASSERT_EQ(Directions(), "L");

    Send(initial | axis, 0, 20000);
    Send(initial | axis, 1, -20000);
    Send(0x04, 0, 20000);
    ASSERT_TRUE(SyncByButton());
    EXPECT_EQ(Directions(), "L");

    const std::uint8_t pressedMarker = JoystickButtonNumber();
    Send(initial | button, 7, 0);
    Send(initial | button, 9, 1);
    Send(0x04, 3, 0);
    ASSERT_TRUE(SyncByAxis());
    EXPECT_EQ(JoystickButtonNumber(), pressedMarker);
    EXPECT_TRUE(JoystickButtonPressed());
}

TEST_F(JoystickReader, AReleaseKeepsTheButtonNumber)
{
    StartOnFifo();
    Send(button, 3, 1);
    ASSERT_TRUE(WaitFor([] {
        PollJoystick();
        return JoystickButtonNumber() == 3 && JoystickButtonPressed();
    }, 10s));
    Send(button, 3, 0);
    ASSERT_TRUE(WaitFor([] {
        PollJoystick();
        return !JoystickButtonPressed();
    }, 10s));
    EXPECT_EQ(JoystickButtonNumber(), 3);
}

TEST_F(JoystickReader, OnlyTheLastButtonEventIsKept)
{
    StartOnFifo();
    Send(button, 3, 1);
    Send(button, 5, -1);
    ASSERT_TRUE(SyncByAxis());
    EXPECT_EQ(JoystickButtonNumber(), 5);
    EXPECT_TRUE(JoystickButtonPressed()) << "any value other than 0 is a press";

    Send(button, 3, 0);
    ASSERT_TRUE(SyncByAxis());
    EXPECT_EQ(JoystickButtonNumber(), 3);
    EXPECT_FALSE(JoystickButtonPressed()) << "releasing either button shows it released";
}

TEST_F(JoystickReader, AnEventSplitAcrossWritesIsJoinedWhole)
{
    StartOnFifo();
    js_event event{};
    event.value = -20000;
    event.type = axis;
    event.number = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&event);
    ASSERT_EQ(write(writer, bytes, 3), 3);
    ASSERT_TRUE(WaitFor([&] {
        PollJoystick();
        return JoystickButtonPressed();
    }, 10s));
    ASSERT_EQ(write(writer, bytes + 3, sizeof event - 3), static_cast<ssize_t>(sizeof event - 3));
    ASSERT_TRUE(SyncByButton());
    EXPECT_EQ(Directions(), "L");
}

TEST_F(JoystickReader, ConfiguredAxesAndRanges)
{
    folder.WriteFile("joystick.cfg",
                     "JoystickEnable=2\nAixsXCfg=3\nAixsYCfg=4\n"
                     "MinValueLeftCfg=-100\nMaxValueLeftCfg=-50\nMinValueRightCfg=50\nMaxValueRightCfg=100\n"
                     "MinValueUpCfg=-100\nMaxValueUpCfg=-50\nMinValueDownCfg=50\nMaxValueDownCfg=100\n");
    StartOnFifo();
    const struct {
        std::uint8_t number;
        std::int16_t value;
        const char* held;
    } cases[] = {
        {3, -75, "L"}, {3, -20, ""}, {3, -100, "L"}, {3, -101, ""}, {3, 100, "R"}, {3, 101, ""},
        {0, -75, ""},  {4, 60, "D"}, {4, -50, "U"},  {1, -75, ""},
    };
    for (const auto& step : cases) {
        Send(axis, step.number, step.value);
        ASSERT_TRUE(SyncByButton());
        EXPECT_EQ(Directions(), step.held) << "axis " << int(step.number) << " value " << step.value;
    }
}

TEST_F(JoystickReader, WhenTheDeviceEndsTheRecordGoes)
{
    StartOnFifo();
    Send(axis, 0, -20000);
    ASSERT_TRUE(SyncByButton());
    ASSERT_TRUE(RecordExists());
    close(writer);
    writer = -1;
    EXPECT_TRUE(WaitFor([&] { return !ChildRunning(reader); }, 10s)) << "the reader ends by itself";
    EXPECT_FALSE(RecordExists());
    PollJoystick();
    EXPECT_EQ(Directions(), "");
    EXPECT_FALSE(JoystickButtonPressed());
    EXPECT_EQ(JoystickButtonNumber(), 0);
}

TEST_F(JoystickReader, SigtermEndsTheReaderAndRemovesTheRecord)
{
    StartOnFifo();
    ASSERT_TRUE(RecordExists());
    StopJoystickReader(reader);
    EXPECT_FALSE(ChildRunning(reader));
    EXPECT_FALSE(RecordExists());
    EXPECT_EQ(Log(), "");
    StopJoystickReader(reader);  // already reaped: nothing is signalled
}

TEST_F(JoystickReader, WithoutADeviceTheLogSaysSoOnce)
{
    LoadJoystickConfig();
    reader = StartJoystickReader("no-such-device");
    ASSERT_GT(reader, 0);
    WaitForChild(reader);
    EXPECT_EQ(Log(), "Could not open joystick. Use the cursor keys to move.\n");
    EXPECT_FALSE(RecordExists());
    for (int poll = 0; poll < 3; ++poll) {
        PollJoystick();
        EXPECT_EQ(Directions(), "");
        EXPECT_FALSE(JoystickButtonPressed());
    }
    EXPECT_EQ(Log(), "Could not open joystick. Use the cursor keys to move.\n");
}

TEST_F(JoystickReader, WithoutADeviceARecordLeftBehindIsRemoved)
{
    MakeRecord({1, 0, 0, 1, 0, 4, 1}, 7);
    LoadJoystickConfig();
    reader = StartJoystickReader("no-such-device");
    ASSERT_GT(reader, 0);
    WaitForChild(reader);
    EXPECT_FALSE(RecordExists());
    PollJoystick();
    EXPECT_EQ(Directions(), "");
}

TEST_F(JoystickReader, ARecordAnotherGameHoldsIsLeftAlone)
{
    MakeRecord({1, 0, 0, 0, 1, 0, 0}, 7);
    const int held = shm_open(recordName.c_str(), O_RDWR, 0);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0) << "as the other game's running reader holds it";
    LoadJoystickConfig();
    reader = StartJoystickReader("no-such-device");
    WaitForChild(reader);
    EXPECT_TRUE(RecordExists()) << "a game without a device leaves it alone";

    StartOnFifoUnsynced();
    EXPECT_TRUE(WaitFor([&] { return !ChildRunning(reader); }, 10s)) << "a game with one goes without";
    PollJoystick();
    EXPECT_EQ(Directions(), "");
    EXPECT_TRUE(RecordExists());
    close(held);
    EXPECT_EQ(Log(), "Could not open joystick. Use the cursor keys to move.\n"
                     "Joystick in use by another game: " + recordName + "\n");
}

TEST_F(JoystickReader, ARecordPlantedByAnotherUserGivesNoJoystick)
{
    if (geteuid() != 0) GTEST_SKIP() << "other players need changes of user, which need root";
    ASSERT_EQ(chmod(folder.Path().c_str(), 0777), 0);
    LoadJoystickConfig();
    // "Active, right", which any user may rewrite.
    ASSERT_EQ(AsUser(0, [&] {
        const unsigned char right[] = {1, 0, 0, 0, 1, 0, 0};
        const int fd = shm_open(recordName.c_str(), O_CREAT | O_EXCL | O_RDWR, 0666);
        return fd >= 0 && fchmod(fd, 0666) == 0 && pwrite(fd, right, 7, 0) == 7;
    }), 0);
    EXPECT_EQ(AsUser(1, [&] {
        const pid_t own = StartJoystickReader("no-such-device");
        WaitForChild(own);
        PollJoystick();
        return own > 0 && Directions().empty() && !JoystickButtonPressed();
    }), 0) << "another user's record steers this game";
    EXPECT_TRUE(RecordExists()) << "and it is left alone";
}

TEST_F(JoystickReader, ADisabledJoystickEndsTheReaderSilently)
{
    folder.WriteFile("joystick.cfg", "JoystickEnable= 0\n");
    ASSERT_EQ(mkfifo("js0", 0600), 0);
    reader = StartJoystickReader("js0");
    ASSERT_GT(reader, 0);
    WaitForChild(reader);
    EXPECT_EQ(Log(), "");
    EXPECT_FALSE(RecordExists());
}

TEST_F(JoystickReader, AnUnreadableConfigurationIsLoggedByReaderAndPoll)
{
    folder.WriteFile("joystick.cfg", "AixsXCfg= 0\n");
    reader = StartJoystickReader("no-such-device");
    ASSERT_GT(reader, 0);
    WaitForChild(reader);
    EXPECT_EQ(Log(), "Errore lettura configurazione joystick\n");

    LoadJoystickConfig();
    PollJoystick();
    PollJoystick();
    EXPECT_EQ(Log(), "Errore lettura configurazione joystick\n"
                     "Errore lettura configurazione joystick\n"
                     "Errore lettura configurazione joystick\n");
    EXPECT_EQ(Directions(), "");
}

TEST(JoystickEvents, ApplyChangesOnlyWhatTheEventSays)
{
    JoystickSettings settings;
    settings.joystickEnable = 1;
    settings.aixsXCfg = 0;
    settings.aixsYCfg = 1;
    settings.minValueLeftCfg = -32767;
    settings.maxValueLeftCfg = -1;
    settings.minValueRightCfg = 1;
    settings.maxValueRightCfg = 32767;
    unsigned char record[joystickRecordSize] = {1, 0, 0, 0, 0, 0, 0};

    js_event event{};
    event.type = JS_EVENT_BUTTON;
    event.number = 200;
    event.value = 1;
    ApplyJoystickEvent(record, event, settings);
    EXPECT_EQ(std::vector<unsigned char>(record, record + 7), (std::vector<unsigned char>{1, 0, 0, 0, 0, 200, 1}));

    event.type = JS_EVENT_AXIS;
    event.number = 0;
    event.value = 9;
    ApplyJoystickEvent(record, event, settings);
    EXPECT_EQ(std::vector<unsigned char>(record, record + 7), (std::vector<unsigned char>{1, 0, 0, 0, 1, 200, 1}));

    // A missing up range (both ends -1) holds the value -1 only.
    event.number = 1;
    event.value = -1;
    ApplyJoystickEvent(record, event, settings);
    EXPECT_EQ(std::vector<unsigned char>(record, record + 7), (std::vector<unsigned char>{1, 1, 0, 0, 0, 200, 1}));
    event.value = -2;
    ApplyJoystickEvent(record, event, settings);
    EXPECT_EQ(std::vector<unsigned char>(record, record + 7), (std::vector<unsigned char>{1, 0, 0, 0, 0, 200, 1}));
}

TEST_F(JoystickPoll, NoRecordMeansNoJoystick)
{
    joystickSettings.joystickEnable = 1;
    MakeRecord({1, 0, 0, 1, 0, 4, 1}, 7);
    PollJoystick();
    ASSERT_EQ(Directions(), "L");
    ASSERT_EQ(JoystickButtonNumber(), 4);
    ASSERT_TRUE(JoystickButtonPressed());

    shm_unlink(recordName.c_str());
    PollJoystick();
    EXPECT_EQ(Directions(), "");
    EXPECT_FALSE(JoystickButtonPressed());
    EXPECT_EQ(JoystickButtonNumber(), 0);
}

TEST_F(JoystickPoll, ShortRecordsMeanNoJoystick)
{
    joystickSettings.joystickEnable = 1;
    for (const off_t size : {off_t{0}, off_t{3}, off_t{6}}) {
        MakeRecord({1, 0, 0, 0, 1, 9, 1}, 7);
        PollJoystick();
        ASSERT_EQ(Directions(), "R");

        shm_unlink(recordName.c_str());
        MakeRecord(std::vector<unsigned char>(static_cast<std::size_t>(size), 1), size);
        PollJoystick();
        EXPECT_EQ(Directions(), "") << size << " bytes";
        EXPECT_FALSE(JoystickButtonPressed()) << size << " bytes";
        EXPECT_EQ(JoystickButtonNumber(), 0) << size << " bytes";
        shm_unlink(recordName.c_str());
    }
}

TEST_F(JoystickPoll, ARecordOthersMayWriteIsNotTrusted)
{
    joystickSettings.joystickEnable = 1;
    MakeRecord({1, 0, 0, 0, 1, 5, 1}, 7);
    PollJoystick();
    ASSERT_EQ(Directions(), "R");
    for (const mode_t mode : {0620, 0602}) {
        ASSERT_EQ(chmod(("/dev/shm" + recordName).c_str(), mode), 0);
        PollJoystick();
        EXPECT_EQ(Directions(), "") << std::oct << mode;
        EXPECT_FALSE(JoystickButtonPressed());
    }
    EXPECT_EQ(Log(), "Joystick record not trusted: " + recordName + "\n") << "once";
}

TEST_F(JoystickPoll, ALongerRecordIsReadFromItsStart)
{
    joystickSettings.joystickEnable = 1;
    MakeRecord({1, 0, 1, 0, 0, 2, 0}, 4096);
    PollJoystick();
    EXPECT_EQ(Directions(), "D");
    EXPECT_EQ(JoystickButtonNumber(), 2);
    EXPECT_FALSE(JoystickButtonPressed());
}

TEST_F(JoystickPoll, AnInactiveRecordReportsNothing)
{
    joystickSettings.joystickEnable = 1;
    MakeRecord({0, 1, 0, 1, 0, 6, 1}, 7);
    PollJoystick();
    EXPECT_EQ(Directions(), "");
    EXPECT_FALSE(JoystickButtonPressed());
    EXPECT_EQ(JoystickButtonNumber(), 0);
}

TEST_F(JoystickPoll, ADisabledJoystickKeepsTheSnapshot)
{
    joystickSettings.joystickEnable = 1;
    MakeRecord({1, 0, 0, 1, 0, 0, 0}, 7);
    PollJoystick();
    ASSERT_EQ(Directions(), "L");
    joystickSettings.joystickEnable = 0;
    shm_unlink(recordName.c_str());
    PollJoystick();
    EXPECT_EQ(Directions(), "L");
    EXPECT_EQ(Log(), "");
}

TEST_F(JoystickReader, AReaderKilledWithTheStickHeldGivesNoDirection)
{
    StartOnFifo();
    Send(axis, 0, 20000);
    ASSERT_TRUE(SyncByButton());
    ASSERT_EQ(Directions(), "R");
    ASSERT_TRUE(SignalChild(reader, SIGKILL));
    ASSERT_TRUE(WaitFor([&] {
        PollJoystick();
        return Directions().empty();
    }, 10s));
    EXPECT_FALSE(JoystickButtonPressed());
    EXPECT_FALSE(RecordExists()) << "the record it left is removed";
    PollJoystick();
    EXPECT_EQ(Log(), "Joystick reader ended. Use the cursor keys to move.\n") << "once";
}
