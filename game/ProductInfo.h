#pragma once
// The product's own texts: the window title names the maker's web address and a rights notice,
// and the About box derives the mail address from the same web address.

#include <string>

// 24 characters: a 12-character prefix ("https://www.") and the 12-character domain.
inline constexpr const char* webAddress = "https://www.korvanta.org";
inline constexpr const char* rightsNotice = "(C) 2026 The Korvanta developers";

std::string WindowTitle();
