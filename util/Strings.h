#pragma once
// Free functions on 8-bit byte strings shared by the toolkit, the game and the file helpers.
// Nothing here depends on the locale beyond the C character classes.

#include <cstdint>
#include <string>
#include <vector>

std::string TrimRight(const std::string& text);
std::string Trim(const std::string& text);
std::string TrimLeft(const std::string& text);
std::string ReplaceAll(std::string text, const std::string& pattern, const std::string& replacement);
std::string ReplaceChar(const std::string& text, char from, char to);
std::string ToUpper(std::string text);
std::string ToLower(std::string text);
std::string PadLeft(std::string text, char ch, std::size_t width);
std::string PadRight(std::string text, char ch, std::size_t width);
std::vector<std::string> Split(const std::string& text, const std::string& delimiter);

std::string IntToText(std::int64_t value, char padChar, std::size_t width);
std::string IntToText(std::int64_t value);
std::string ByteToHex(unsigned value);
int RandomBetween(int low, int high);

std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);
std::string WithTrailingSlash(const std::string& path);

std::string WithSuffix(const std::string& text, const std::string& suffix);
std::string FormatReal(double value);
std::string UrlEncode(const std::string& text);
std::string UrlDecode(const std::string& text);
std::string GroupThousands(std::int64_t value);
std::string FormatAmount(double value);
double ParseAmount(const std::string& text);
char DecimalMark();
char ThousandsSeparator();
