// The debug window's text handling without the window: splitting a long
// message into pieces that fit one post, turning control characters into
// line breaks, keeping the edit's text below its limit, and the log file.
//
// Interface: kDebugTextPiece, kDebugEditKeep, SplitDebugText, ConvertDebugText,
// TrimDebugEditText, AppendDebugLog.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// One posted message holds at most this many characters (a 4,096-byte
// buffer with its NUL).
constexpr size_t kDebugTextPiece = 4095;
// Above this many characters the edit loses its first 25 lines before more
// text is added (30,000 less one message).
constexpr size_t kDebugEditKeep = 25904;

// A formatted text cut into pieces of at most kDebugTextPiece characters;
// an empty text gives none.
std::vector<std::string> SplitDebugText(const std::string& text);

// Every run of characters below 32 becomes one "\r\n". The result may grow
// past one piece (a lone control character becomes two); the window shows
// it whole.
std::string ConvertDebugText(const std::string& text);

// The edit's text before `added` is appended: when it holds more than
// kDebugEditKeep characters its first 25 lines go.
std::string TrimDebugEditText(const std::string& shown);

// Appends one converted message to an open log file (read and write, never
// truncated): "\r\n" first when the file is not empty. False on a write
// failure.
bool AppendDebugLog(std::FILE* log, const std::string& converted);
