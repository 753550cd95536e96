// The game's data files damaged or gone: the sprite sheet, the sounds, the player aplay.

#include <filesystem>
#include <optional>
#include <ostream>
#include <random>
#include <regex>

#include "tests/fault/FaultCase.h"

namespace {

constexpr std::size_t sheetBytes = WellLayout::sheetBytes;

std::string RandomBytes(std::size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

struct SheetFault {
    const char* name;
    // Nothing when the file is removed.
    std::optional<std::string> contents;
    // The line the game logs about it, or the empty text.
    const char* logLine;
};

// Names the case in test listings, rather than dumping its bytes.
void PrintTo(const SheetFault& fault, std::ostream* out) { *out << fault.name; }

}  // namespace

class SpriteSheetFault : public FaultCase, public ::testing::WithParamInterface<SheetFault> {};

TEST_P(SpriteSheetFault, TheGameReportsItAndPlaysOn)
{
    const SheetFault& fault = GetParam();
    const std::string sheet = "Data/pallini27x27.bin";
    if (fault.contents)
        game.Write(sheet, *fault.contents);
    else
        std::filesystem::remove(game.Path(sheet));
    StartServer();
    StartGame();
    Player player(game.Path(sheet));
    ASSERT_TRUE(player.WaitForTitleScreen(60s));
    ASSERT_TRUE(player.StartGame(60s));
    EXPECT_TRUE(WaitFor([&] { return game.SoundsPlayed().find("Data/beep.wav") != std::string::npos; }, 60s))
        << "the rules run: a ball falls onto a peg";
    QuitAndExpectStatusZero(player);
    std::string expected = "Could not open joystick. Use the cursor keys to move.\n";
    if (*fault.logLine) expected += std::string(fault.logLine) + "\n";
    EXPECT_EQ(game.Log().size(), expected.size()) << game.Log();
    if (*fault.logLine) {
        EXPECT_EQ(CountLines(game.Log(), fault.logLine), 1);
    }
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, SpriteSheetFault,
    ::testing::Values(SheetFault{"Missing", std::nullopt, "Data/pallini27x27.bin: non trovato"},
                      SheetFault{"Empty", std::string(), "Errore loading Data/pallini27x27.bin"},
                      SheetFault{"OneByte", std::string(1, '\x7f'), "Errore loading Data/pallini27x27.bin"},
                      SheetFault{"OneByteShort", RandomBytes(sheetBytes - 1, 1),
                                 "Errore loading Data/pallini27x27.bin"},
                      SheetFault{"TenMegabytesOfRandomBytes", RandomBytes(10 * 1024 * 1024, 2), ""}),
    [](const ::testing::TestParamInfo<SheetFault>& info) { return std::string(info.param.name); });

class SoundFault : public FaultCase {};

TEST_F(SoundFault, MissingSoundFilesAreReportedAtEachUseAndNothingIsPlayed)
{
    std::filesystem::remove(game.Path("Data/beep.wav"));
    std::filesystem::remove(game.Path("Data/punteggio.wav"));
    // A first game on this machine: its score makes the table.
    std::filesystem::remove(game.Path(GameSandbox::tablePath));
    StartServer();
    StartGame();
    Player player(BuildSheet());
    ASSERT_TRUE(player.WaitForTitleScreen(60s));
    ASSERT_TRUE(player.StartGame(60s));
    ASSERT_TRUE(player.CatchOneThenMiss(180s));
    EXPECT_GE(CountLines(game.Log(), "Data/punteggio.wav non trovato."), 1) << game.Log();
    ASSERT_TRUE(player.EnterName("ANNA", 60s));
    QuitAndExpectStatusZero(player);
    EXPECT_EQ(game.SoundsPlayed(), "");
    EXPECT_TRUE(
        std::regex_match(game.Read(GameSandbox::tablePath), std::regex("(?!00000000)[0-9]{8} ANNA {9}Level 1\n")))
        << "the game goes on and records the score: " << game.Read(GameSandbox::tablePath);
    ExpectNothingLeftBehind();
}

TEST_F(SoundFault, WithoutAplayTheGamePlaysInSilence)
{
    std::filesystem::remove(game.Path(GameSandbox::tablePath));
    StartServer();
    StartGame(GameRun().WithoutAplay());
    Player player(BuildSheet());
    ASSERT_TRUE(player.WaitForTitleScreen(60s));
    ASSERT_TRUE(player.StartGame(60s));
    ASSERT_TRUE(player.CatchOneThenMiss(180s));
    ASSERT_TRUE(player.EnterName("ANNA", 60s));
    QuitAndExpectStatusZero(player);
    EXPECT_EQ(game.SoundsPlayed(), "");
    EXPECT_NE(game.Errors().find("aplay"), std::string::npos) << "the missing player is reported";
    EXPECT_TRUE(
        std::regex_match(game.Read(GameSandbox::tablePath), std::regex("(?!00000000)[0-9]{8} ANNA {9}Level 1\n")))
        << game.Read(GameSandbox::tablePath);
    ExpectNothingLeftBehind();
}
