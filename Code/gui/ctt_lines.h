// Line breaking of the text renderer's paragraphs, OS-free: the caller
// gives each character's width.
//
// Interface: BreakParagraph.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Characters join a line while the sum of their widths stays below
// lineWidth (at least one per line). The last space, CR, LF or tab that
// follows a character of the line ends it and is dropped; a full line with
// none ends before its last character, which starts the next line.
std::vector<std::string> BreakParagraph(const std::string& text,
                                        const std::function<int(unsigned char)>& width, int lineWidth);
