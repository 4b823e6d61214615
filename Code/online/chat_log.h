// The chat log: what the chat window handles, appended to a text file with
// a local time stamp and a tag per line:
//   "%d/%02d/%02d %02d:%02d:%02d " then "%s %s %s: %s\r\n"
// (tag, first name, second name, text). The file is flushed after every
// line, so a reader sees each line as it is written.
//
// Interface: ChatLogKind, ChatLogFile, OpenChatLog, WriteChatLogLine,
// CloseChatLog, FormatChatLogLine, kChatLogFileName.
#pragma once

#include <ctime>
#include <string>

enum ChatLogKind : int {
  CHATLOG_PLAIN = 0,
  CHATLOG_IGNORED_USER = 1,
  CHATLOG_IGNORED_SHOUT = 2,
  CHATLOG_FILTERED = 3,
  CHATLOG_UNSENT = 4,
  CHATLOG_ENTERING_CHANNEL = 5,
  CHATLOG_CLOSING = 6,
  CHATLOG_OPENING = 7,
};

// The file the live menu's "Log Chat" keeps in the user's folder.
constexpr char kChatLogFileName[] = "Chat.log";

struct ChatLogFile;

// Opens or creates the file, moves to its end and writes the opening
// entry; null when the file cannot be opened.
ChatLogFile* OpenChatLog(const std::string& path);
// One entry; null texts write empty fields. The number of bytes written,
// 0 on failure or for a null log.
int WriteChatLogLine(ChatLogFile* log, const char* text, const char* name1, const char* name2, int kind);
// Writes the closing entry and closes the file; nothing for null.
void CloseChatLog(ChatLogFile* log);

// One entry's bytes for the local time `when`.
std::string FormatChatLogLine(const std::tm& when, const char* text, const char* name1, const char* name2,
                              int kind);
