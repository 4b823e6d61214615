// The advice window's print-out: the calls to the program's list printer,
// one line each, for the advice text with its markup already removed.
//
// Interface: kAdviceLineBuffer, AdvicePrintLines.
#pragma once

#include <string>
#include <vector>

// A line breaks at the first space after 66 characters or at a line feed;
// a run of 119 characters without either is broken there.
constexpr int kAdviceLineBuffer = 120;
// Empty when the text is empty: then nothing is printed.
std::vector<std::string> AdvicePrintLines(const std::string& text, const std::string& title);
