// The chat window: numbered window 17, the modeless dialog "IDD_CHAT". It
// lists the players of the current channel, shows the conversation, sends
// the edit line as chat to the chosen players and screens, logs and shows
// what arrives. User-table changes reach it as RWM_ONLINE_USER.
//
// Interface: CreateChatWindow, ReceiveChatLine, GetCurrentChatChannel,
// SetIgnoreChallengesCheck, ToggleIgnoreShouts, SetChatLogging,
// IsChatLogging, ChatLogPath.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

HWND CreateChatWindow(HWND parent, HINSTANCE instance);
void ReceiveChatLine(HWND window, const std::string& text, uint32_t senderId, uint32_t mode);
// The current channel's name and number.
std::string GetCurrentChatChannel(HWND window, uint32_t* number);
void SetIgnoreChallengesCheck(HWND window, bool on);
void ToggleIgnoreShouts(HWND window);
// Opens (on) or closes the chat log at `path`; false when it cannot open.
bool SetChatLogging(HWND window, const std::string& path, bool on);
bool IsChatLogging(HWND window);
// "Chat.log" in the user's folder.
std::string ChatLogPath();
