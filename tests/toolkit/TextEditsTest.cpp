#include <gtest/gtest.h>

#include "toolkit/TextEdits.h"

TEST(TextEdits, BackspaceBehindADateSeparatorTakesTheDigitBeforeIt)
{
    EXPECT_EQ(RemoveBefore("01/02/2024", 3, true), "00/22/024");
    EXPECT_EQ(RemoveBefore("01/02/2024", 6, true), "01/02/024");
    EXPECT_EQ(RemoveBefore("01/02/2024", 10, true), "01/02/202");
    EXPECT_EQ(RemoveBefore("01/02/2024", 1, true), "10/22/024");
    EXPECT_EQ(RemoveBefore("0", 1, true), "");
    EXPECT_EQ(RemoveBefore("01/", 3, true), "0") << "no separator for a single digit";
}

TEST(TextEdits, BackspaceOutsideDateMode)
{
    EXPECT_EQ(RemoveBefore("abcd", 4, false), "abc");
    EXPECT_EQ(RemoveBefore("abcd", 1, false), "bcd");
    EXPECT_EQ(RemoveBefore("abcd", 3, false), "abd") << "date rules only in date mode";
    EXPECT_EQ(RemoveBefore("abcd", 0, false), "abcd");
    EXPECT_EQ(RemoveBefore("ab", 9, false), "ab") << "past the end nothing is there to remove";
    EXPECT_EQ(RemoveBefore("a/b", 2, false), "ab");
}

TEST(TextEdits, RemoveAtStaysWithinTheText)
{
    EXPECT_EQ(RemoveAt("abcd", 1), "acd");
    EXPECT_EQ(RemoveAt("abcd", 3), "abc");
    EXPECT_EQ(RemoveAt("abcd", 4), "abcd");
    EXPECT_EQ(RemoveAt("abcd", -1), "abcd");
}

TEST(TextEdits, InsertAtFillsAGapWithBlanks)
{
    EXPECT_EQ(InsertAt("ab", 1, 'X'), "aXb");
    EXPECT_EQ(InsertAt("ab", 2, '\r'), "ab\r");
    EXPECT_EQ(InsertAt("ab", 4, 'c'), "ab  c");
    EXPECT_EQ(InsertAt("", -2, 'c'), "c");
}

TEST(TextEdits, OnlyBlanksAreTrimmed)
{
    EXPECT_EQ(WithoutTrailingBlanks("ab\r  "), "ab\r");
    EXPECT_EQ(WithoutTrailingBlanks("   "), "");
    EXPECT_EQ(WithoutTrailingBlanks(""), "");
}

TEST(TextEdits, DateSeparatorPlaces)
{
    EXPECT_TRUE(IsDateSeparatorSlot(2));
    EXPECT_TRUE(IsDateSeparatorSlot(5));
    EXPECT_FALSE(IsDateSeparatorSlot(3));
    EXPECT_TRUE(IsBehindDateSeparator(3));
    EXPECT_TRUE(IsBehindDateSeparator(6));
    EXPECT_FALSE(IsBehindDateSeparator(5));
}
