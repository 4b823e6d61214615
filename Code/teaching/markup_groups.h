// Brace groups of lesson and clip texts.
//
// Interface: FindGroupEnd, SplitPlainAndMarkup, ContainsDataSetCode.
//
// A group runs from "{" to its matching "}"; groups nest. A group that is
// never closed runs to the end of the text.
#pragma once

#include <cstddef>
#include <string>

// The index just past the "}" that closes the group opened at text[open],
// or text.size() when it is never closed.
size_t FindGroupEnd(const std::string& text, size_t open);

// The text with every group removed (leading blanks, tabs and line ends
// dropped) and the groups in order with their braces (leading blanks and
// line ends dropped). Each is cut at maxChars.
void SplitPlainAndMarkup(const std::string& text, std::string* plain, std::string* markup,
                         size_t maxChars = std::string::npos);

// True when the markup names voice pieces or pictures ("W:", "w:", "L:",
// "l:"), which need the tutorial data set.
bool ContainsDataSetCode(const std::string& markup);
