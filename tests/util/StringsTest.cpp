#include <gtest/gtest.h>

#include "util/Strings.h"

TEST(Strings, TrimmingRemovesEveryKindOfWhiteSpace)
{
    EXPECT_EQ(TrimRight(" \t\r\n\v\f "), "");
    EXPECT_EQ(TrimRight("  ab c \r\n"), "  ab c");
    EXPECT_EQ(TrimLeft("\n\t ab c  "), "ab c  ");
    EXPECT_EQ(Trim("\n  ab c\t"), "ab c");
    EXPECT_EQ(Trim(""), "");
}

TEST(Strings, ReplaceAllRestartsFromTheBeginning)
{
    EXPECT_EQ(ReplaceAll("aaaa", "aa", "a"), "a");
    EXPECT_EQ(ReplaceAll("a-b-c", "-", "+"), "a+b+c");
    EXPECT_EQ(ReplaceAll("abc", "x", "y"), "abc");
}

TEST(Strings, ReplaceAllEndsWhereRestartingWouldLoopForever)
{
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAll("a.b.", ".", ".."), "a..b..");
    EXPECT_EQ(ReplaceAll("xx", "x", "yxy"), "yxyyxy");
}

TEST(Strings, ReplaceAllEndsWhenReplacementsKeepJoiningIntoNewOccurrences)
{
    // No replacement holds the pattern, yet each one makes a new occurrence with the blank after it.
    using namespace std::string_literals;
    EXPECT_EQ(ReplaceAll("\0 "s + " ", "\0 "s, "  \0\0"s), "  \0\0 "s);
    // Joins that end are still followed to the end.
    EXPECT_EQ(ReplaceAll("aab", "ab", "ba"), "baa");
    EXPECT_EQ(ReplaceAll("aaab", "ab", "bba"), "bbbbbbbbaaa");
}

TEST(Strings, ReplaceCharWithZeroRemoves)
{
    EXPECT_EQ(ReplaceChar("1.234.567", '.', '\0'), "1234567");
    EXPECT_EQ(ReplaceChar("a\\b\\c", '\\', '/'), "a/b/c");
}

TEST(Strings, CaseAndPadding)
{
    EXPECT_EQ(ToUpper("ball.bmp"), "BALL.BMP");
    EXPECT_EQ(ToLower("AbC1"), "abc1");
    EXPECT_EQ(PadRight("Anna", ' ', 12), "Anna        ");
    EXPECT_EQ(PadRight("a very long name", ' ', 12), "a very long name");
    EXPECT_EQ(PadLeft("7", '0', 3), "007");
}

TEST(Strings, SplitKeepsInnerEmptyPiecesButNoTrailingOne)
{
    EXPECT_EQ(Split("a,,b,", ","), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Split("a", ","), (std::vector<std::string>{"a"}));
    EXPECT_EQ(Split(",a", ","), (std::vector<std::string>{"", "a"}));
    EXPECT_EQ(Split("k::v::", "::"), (std::vector<std::string>{"k", "v"}));
    EXPECT_TRUE(Split("", ",").empty());
    EXPECT_TRUE(Split("a,b", "").empty());
}

TEST(Strings, IntToTextPadsInFrontOfTheSign)
{
    EXPECT_EQ(IntToText(7, '0', 2), "07");
    EXPECT_EQ(IntToText(123, '0', 2), "123");
    EXPECT_EQ(IntToText(-5, '0', 4), "00-5");
    EXPECT_EQ(IntToText(9223372036854775807LL), "9223372036854775807");
    EXPECT_EQ(ByteToHex(10), "0A");
    EXPECT_EQ(ByteToHex(0x1FF), "FF");
}

TEST(Strings, RandomBetweenStaysInRange)
{
    EXPECT_EQ(RandomBetween(1, 1), 1);
    bool sawLow = false, sawHigh = false;
    for (int i = 0; i < 2000; ++i) {
        const int value = RandomBetween(0, 3);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 3);
        sawLow |= value == 0;
        sawHigh |= value == 3;
    }
    EXPECT_TRUE(sawLow && sawHigh);
}

TEST(Strings, PathPieces)
{
    EXPECT_EQ(FolderOf("a\\b/c.txt"), "a/b/");
    EXPECT_EQ(FolderOf("c:file"), "c:");
    EXPECT_EQ(FolderOf("file"), "");
    EXPECT_EQ(FileNameOf("Data/ball.bmp"), "ball.bmp");
    EXPECT_EQ(FileNameOf("ball.bmp"), "ball.bmp");
    EXPECT_EQ(WithTrailingSlash("Data"), "Data/");
    EXPECT_EQ(WithTrailingSlash(""), "");
    EXPECT_EQ(WithTrailingSlash("C:"), "C:");
    EXPECT_EQ(WithTrailingSlash("a\\"), "a\\");
    EXPECT_EQ(WithTrailingSlash("a/"), "a/");
}

TEST(Strings, NumbersTheItalianWay)
{
    EXPECT_EQ(GroupThousands(1234567), "1.234.567");
    EXPECT_EQ(GroupThousands(123), "123");
    EXPECT_EQ(GroupThousands(1000), "1.000");
    EXPECT_EQ(FormatAmount(1234.5), "1.234,50");
    EXPECT_DOUBLE_EQ(ParseAmount("1.234,50"), 1234.5);
    EXPECT_EQ(FormatReal(2.0 / 3.0), "0.67");
    EXPECT_EQ(WithSuffix("score", ".txt"), "score.txt");
    EXPECT_EQ(WithSuffix("SCORE.TXT", ".txt"), "SCORE.TXT");
}

TEST(Strings, UrlCodingRoundTrips)
{
    EXPECT_EQ(UrlEncode("a b/c~"), "a%20b%2Fc~");
    EXPECT_EQ(UrlDecode("a%20b%2Fc~"), "a b/c~");
    EXPECT_EQ(UrlDecode("100%"), "100%");
    EXPECT_EQ(UrlDecode("%4"), "%4");
}
