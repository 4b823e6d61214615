#include "chat_model.h"

#include <cstdio>

#include "session.h"

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int Height(const ChatRect& r) { return r.bottom - r.top; }
int Width(const ChatRect& r) { return r.right - r.left; }
ChatRect At(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

}  // namespace

bool ChatSendGate::Pass(const std::string& text, uint32_t nowMs) {
  if (text.size() < 2) return false;
  if (sent_ && text == last_ && nowMs - lastMs_ < kChatRepeatMs) return false;
  last_ = text;
  lastMs_ = nowMs;
  sent_ = true;
  return true;
}

std::string StripChatText(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

ChatRecipients MakeChatRecipients(const std::vector<ChatPlayer>& players, uint32_t ownId) {
  ChatRecipients r;
  bool everyone = false;
  std::vector<const ChatPlayer*> chosen;
  for (const ChatPlayer& p : players) {
    if (!p.selected) continue;
    if (p.id == 0)
      everyone = true;
    else if (p.id != ownId)
      chosen.push_back(&p);
  }
  // "Select Everyone" counts only when nobody else is chosen with it.
  bool othersSelected = false;
  for (const ChatPlayer& p : players) othersSelected |= p.selected && p.id != 0;
  if (everyone && !othersSelected) {
    for (const ChatPlayer& p : players)
      if (p.id != 0 && p.id != ownId) r.ids.push_back(p.id);
    if (!r.ids.empty()) r.mode = CHAT_SHOUT;
    return r;
  }
  for (const ChatPlayer* p : chosen) r.ids.push_back(p->id);
  if (r.ids.size() == 1) {
    r.mode = CHAT_TELL;
    r.shownName = chosen[0]->nickname;
  } else if (r.ids.size() > 1) {
    r.mode = CHAT_SAY;
  }
  return r;
}

int ClassifyReceivedChat(bool filtered, uint32_t mode, bool ignoreShouts, bool senderIgnored) {
  if (filtered) return 3;
  if (mode == CHAT_SHOUT && ignoreShouts) return 2;
  if (mode != CHAT_ANNOUNCE && senderIgnored) return 1;
  return 0;
}

std::string ComposeChatLine(const std::string& sender, uint32_t mode, const std::string& tellName,
                            const std::string& text) {
  std::string suffix;
  if (mode == CHAT_TELL) suffix = "(" + (tellName.empty() ? std::string("you") : tellName) + ")";
  return sender + " " + GetChatVerbText(mode) + suffix + ": " + text;
}

std::string CutReceivedChat(const std::string& text) {
  return text.size() > kChatTextLimit ? text.substr(0, kChatTextLimit) : text;
}

std::vector<std::string> WrapChatLine(const std::string& line, int width,
                                      const std::function<int(const std::string&)>& measure) {
  std::vector<std::string> pieces;
  const std::string indent = "   ";
  size_t at = 0;
  while (at < line.size()) {
    const std::string lead = pieces.empty() ? "" : indent;
    // The longest prefix that fits, found by halving: widths grow with length.
    size_t low = 1, high = line.size() - at;
    if (measure(lead + line.substr(at, high)) > width) {
      while (low < high) {
        const size_t mid = (low + high + 1) / 2;
        if (measure(lead + line.substr(at, mid)) <= width)
          low = mid;
        else
          high = mid - 1;
      }
    } else {
      low = high;
    }
    size_t take = low;
    const size_t end = at + take;
    if (end < line.size() && !IsBlank(line[end]) && !IsBlank(line[end - 1])) {
      size_t back = take;
      while (back > 0 && !IsBlank(line[at + back - 1])) --back;
      if (back > 0) take = back;
    }
    pieces.push_back(lead + line.substr(at, take));
    at += take;
  }
  return pieces;
}

size_t ChatLinesToDrop(size_t count) { return count > kChatLineCap ? kChatLinesDropped : 0; }

int CompareChatPlayers(const ChatPlayer& a, const ChatPlayer& b,
                       const std::function<int(const char*, const char*)>& compareText) {
  if (a.inChannel != b.inChannel) return a.inChannel ? -1 : 1;
  if ((a.id == 0) != (b.id == 0)) return a.id == 0 ? -1 : 1;
  if (a.registered != b.registered) return a.registered ? -1 : 1;
  return compareText(a.nickname.c_str(), b.nickname.c_str());
}

ChatColours PlayerRowColours(const ChatPlayer& p, bool selected) {
  if (selected) return {84, 23};
  if (p.ignored) return {243, 145};
  if (p.id == 0) return {243, 32};
  return {243, 45};
}

ChatColours ConversationRowColours(int lineClass, bool selected) {
  switch (lineClass) {
    case CHATLINE_TELL:
      return selected ? ChatColours{84, 252} : ChatColours{243, 126};
    case CHATLINE_ANNOUNCE:
      return selected ? ChatColours{84, 249} : ChatColours{243, 249};
    default:
      return selected ? ChatColours{84, 23} : ChatColours{243, 45};
  }
}

std::string ChatPlayerLabel(bool everyoneSelected, int selectedCount) {
  if (everyoneSelected) return "Players: (all selected)";
  char text[48];
  std::snprintf(text, sizeof text, "Players: (%d selected)", selectedCount);
  return text;
}

std::vector<PlayerMenuEntry> MakePlayerMenu(const PlayerMenuFacts& f) {
  std::vector<PlayerMenuEntry> menu;
  if (f.name.empty() || f.name == kSelectEveryone) return menu;
  menu.push_back({PMENU_PROFILE, "View Profile for " + f.name});
  if (f.own) return menu;
  if (!f.known || !f.registered) menu.pop_back();
  if (f.canChallenge) menu.push_back({PMENU_CHALLENGE, "Challenge " + f.name});
  if (!f.viewWhite.empty() && !f.viewBlack.empty())
    menu.push_back({PMENU_VIEW_GAME, "View game " + f.viewWhite + " vs. " + f.viewBlack});
  AppendIgnoreAndBuddyEntries(&menu, f.name, f.ignored, f.buddy);
  return menu;
}

void AppendIgnoreAndBuddyEntries(std::vector<PlayerMenuEntry>* menu, const std::string& name, bool ignored,
                                 bool buddy) {
  menu->push_back({PMENU_IGNORE, (ignored ? "Unignore " : "Ignore ") + name});
  if (buddy)
    menu->push_back({PMENU_REMOVE_BUDDY, "Remove " + name + " from Buddy List"});
  else
    menu->push_back({PMENU_ADD_BUDDY, "Add " + name + " to Buddy List"});
}

int ChatLayoutUnit(int editLabelHeight) { return editLabelHeight > 0 ? (editLabelHeight + 2) / 4 : 4; }

ChatLayout LayoutChatWindow(const ChatLayoutInput& in) {
  ChatLayout out;
  const int u = in.unit, w = in.clientWidth, h = in.clientHeight;
  // Bottom row: the switches keep their horizontal places.
  const int switchHeight = Height(in.ignoreChallenges);
  const int switchTop = h - u - switchHeight;
  out.ignoreChallenges = At(in.ignoreChallenges.left, switchTop, Width(in.ignoreChallenges), switchHeight);
  out.ignoreShouts = At(in.ignoreShouts.left, switchTop, Width(in.ignoreShouts), Height(in.ignoreShouts));
  // The player column keeps its width, three units from the right edge.
  const int playersRight = w - 3 * u;
  const int playersLeft = playersRight - Width(in.players);
  // The edit line and the Send button above the switches, the label above.
  const int sendWidth = Width(in.send), editHeight = Height(in.edit);
  const int editTop = switchTop - u - editHeight;
  out.send = At(playersRight - sendWidth, editTop + (editHeight - Height(in.send)) / 2, sendWidth, Height(in.send));
  out.edit = {in.edit.left, editTop, out.send.left - u, editTop + editHeight};
  const int labelHeight = Height(in.editLabel);
  out.editLabel = At(in.editLabel.left, editTop - labelHeight, Width(in.editLabel), labelHeight);
  out.playerLabel = At(playersLeft, in.playerLabel.top, Width(in.playerLabel), Height(in.playerLabel));
  int listBottom = out.editLabel.top - u;
  const int listTop = in.players.top;
  if (listBottom - listTop < 20) listBottom = listTop + 20;
  out.players = {playersLeft, listTop, playersRight, listBottom};
  out.conversation = {in.conversation.left, in.conversation.top, playersLeft - 3 * u, listBottom};
  return out;
}

void ChatMinimumSize(const ChatLayoutInput& in, int ignoreChallengesWidth, int* width, int* height) {
  const int u = in.unit;
  *width = ignoreChallengesWidth + Width(in.players) + 9 * u;
  *height = in.conversation.top + 5 * Height(in.edit) + Height(in.editLabel) + 2 * Height(in.ignoreChallenges) + 6 * u;
}
