#pragma once
// The product's own texts: the window title names the maker's web address and a rights notice,
// and the About box shows them with the credits and derives the mail address from the web address.

#include <string>

// 24 characters: a 12-character prefix ("https://www.") and the 12-character domain.
inline constexpr const char* webAddress = "https://www.korvanta.org";
inline constexpr const char* rightsNotice = "(C) 2026 The Korvanta developers";
// 38 characters, as the About box's credits line is laid out for.
inline constexpr const char* creditLine = "Code and artwork by the Korvanta team.";
inline constexpr const char* freewareNotice =
    "This game is freeware: you may copy it and give it away freely, but not sell it.";

std::string WindowTitle();
