// The chat window's rules, apart from the window: when the edit line is
// sent, to whom and with which verb, how a received line is classified,
// how a line is composed and wrapped, how many lines the conversation
// keeps, the order and colours of the lists, the player label and the
// player menu (shared with the lobby window's players page).
//
// Interface: ChatSendGate, StripChatText, ChatPlayer, ChatRecipients,
// MakeChatRecipients, ClassifyReceivedChat, ComposeChatLine, CutReceivedChat,
// WrapChatLine, ChatLinesToDrop, CompareChatPlayers, ChatColours,
// ChatPlayerLabel, PlayerMenuEntry, PlayerMenuFacts, MakePlayerMenu,
// AppendIgnoreAndBuddyEntries,
// ChatLayoutInput, ChatLayout, LayoutChatWindow, and the constants below.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr size_t kChatTextLimit = 500;
constexpr uint32_t kChatRepeatMs = 5000;
constexpr size_t kChatLineCap = 5000;
constexpr size_t kChatLinesDropped = 100;
constexpr char kSelectEveryone[] = "Select Everyone";

// Chat modes: the verb shown and sent with a line.
enum ChatMode : uint32_t { CHAT_OWN = 0, CHAT_TELL = 1, CHAT_SAY = 2, CHAT_SHOUT = 3, CHAT_ANNOUNCE = 4 };
// Colour classes of conversation lines.
enum ChatLineClass : int { CHATLINE_OTHER = 1, CHATLINE_ANNOUNCE = 2, CHATLINE_TELL = 3 };

// The Send button's first two steps: a text of fewer than two characters,
// or the text sent last within 5 seconds, is not sent (the edit keeps it).
class ChatSendGate {
 public:
  bool Pass(const std::string& text, uint32_t nowMs);

 private:
  std::string last_;
  uint32_t lastMs_ = 0;
  bool sent_ = false;
};

// White space taken off both ends.
std::string StripChatText(const std::string& text);

struct ChatPlayer {
  std::string nickname;
  std::string channel;
  uint32_t id = 0;  // 0: "Select Everyone"
  bool registered = false;
  bool inChannel = true;
  bool ignored = false;
  bool selected = false;
};

struct ChatRecipients {
  uint32_t mode = 0;  // 0: nobody to send to
  std::vector<uint32_t> ids;
  std::string shownName;  // a tell to one user: the user's nickname
};
// From the player list: "Select Everyone" alone reaches every other user
// (in any channel) as a shout; otherwise the selected users but oneself:
// one is a tell, more a say.
ChatRecipients MakeChatRecipients(const std::vector<ChatPlayer>& players, uint32_t ownId);

// The log kind of a received line (see chat_log.h); only 0 is shown.
int ClassifyReceivedChat(bool filtered, uint32_t mode, bool ignoreShouts, bool senderIgnored);

// "%s %s%s: %s": sender, verb, "(name)" for an own tell or "(you)" for a
// received one, text.
std::string ComposeChatLine(const std::string& sender, uint32_t mode, const std::string& tellName,
                            const std::string& text);
// Received lines are cut to what an own line may hold before composing.
std::string CutReceivedChat(const std::string& text);

// Pieces that fit `width` as `measure` reports them: the longest prefix that
// fits, moved back to the last white space when the cut falls inside a word
// (unless nothing would be left); continuation pieces start with three
// blanks, measured with them. Every piece holds at least one character.
std::vector<std::string> WrapChatLine(const std::string& line, int width,
                                      const std::function<int(const std::string&)>& measure);

// How many of the oldest lines go when the list holds `count`.
size_t ChatLinesToDrop(size_t count);

// <0, 0, >0: outside the current channel after inside, "Select Everyone"
// first, registered users before others, then nicknames compared with
// `compareText` (the system's case-sensitive compare in the window).
int CompareChatPlayers(const ChatPlayer& a, const ChatPlayer& b,
                       const std::function<int(const char*, const char*)>& compareText);

// Palette indices of a row.
struct ChatColours {
  int background;
  int text;
};
ChatColours PlayerRowColours(const ChatPlayer& p, bool selected);
ChatColours ConversationRowColours(int lineClass, bool selected);

// "Players: (all selected)" or "Players: (%d selected)"; Send is enabled
// with at least one selection.
std::string ChatPlayerLabel(bool everyoneSelected, int selectedCount);

// Player menus: entries in order, each with its command and text.
enum PlayerMenuCommand : int {
  PMENU_PROFILE = 30000,
  PMENU_CHALLENGE = 30002,
  PMENU_IGNORE = 30003,
  PMENU_ADD_BUDDY = 30004,
  PMENU_REMOVE_BUDDY = 30005,
  PMENU_ACCEPT = 30010,
  PMENU_VIEW_GAME = 30012,
  PMENU_PROFILE_FIRST = 30013,
  PMENU_PROFILE_SECOND = 30014,
};
struct PlayerMenuEntry {
  int command;
  std::string text;
};
struct PlayerMenuFacts {
  std::string name;
  bool own = false;
  bool known = false;  // the user record exists
  bool registered = false;
  bool canChallenge = false;  // the user is idle or viewing and the own state is not playing
  bool ignored = false;
  bool buddy = false;
  // The lobby's players page: "View game %s vs. %s" when both are set.
  std::string viewWhite, viewBlack;
};
std::vector<PlayerMenuEntry> MakePlayerMenu(const PlayerMenuFacts& f);
// The menus' last entries: "Ignore %s" or "Unignore %s", then "Add %s to
// Buddy List" or "Remove %s from Buddy List".
void AppendIgnoreAndBuddyEntries(std::vector<PlayerMenuEntry>* menu, const std::string& name, bool ignored,
                                 bool buddy);

// Layout of the chat window's client area; rectangles as left, top, right,
// bottom.
struct ChatRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};
struct ChatLayoutInput {
  int clientWidth = 0, clientHeight = 0;
  int unit = 4;
  ChatRect conversation, playerLabel, players, editLabel, edit, send, ignoreChallenges, ignoreShouts;
};
struct ChatLayout {
  ChatRect conversation, playerLabel, players, editLabel, edit, send, ignoreChallenges, ignoreShouts;
};
// The unit: a quarter of the edit label's height plus 2 (4 without one).
int ChatLayoutUnit(int editLabelHeight);
ChatLayout LayoutChatWindow(const ChatLayoutInput& in);
// Minimum track size: width and height of the window's client area.
void ChatMinimumSize(const ChatLayoutInput& in, int ignoreChallengesWidth, int* width, int* height);
