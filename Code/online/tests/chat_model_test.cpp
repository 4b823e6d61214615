#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "chat_log.h"
#include "chat_model.h"

namespace {

ChatPlayer P(const char* nick, uint32_t id, bool selected = false) {
  ChatPlayer p;
  p.nickname = nick;
  p.id = id;
  p.selected = selected;
  p.registered = true;
  return p;
}

int Measure(const std::string& s) { return int(s.size()) * 7; }  // a fixed-pitch font, 7 pixels a letter

}  // namespace

TEST(ChatSending, RepeatsWithinFiveSecondsAndShortLines) {
  ChatSendGate gate;
  EXPECT_TRUE(gate.Pass("hello", 1000));
  EXPECT_FALSE(gate.Pass("hello", 1000 + 4999));
  EXPECT_TRUE(gate.Pass("hello", 1000 + 5000));
  EXPECT_TRUE(gate.Pass("other", 6001));
  EXPECT_TRUE(gate.Pass("hello", 6002));  // not the last text any more
  EXPECT_FALSE(gate.Pass("x", 20000));
  EXPECT_FALSE(gate.Pass("", 20000));
  // Passing the gate is not enough: the stripped text needs two characters.
  struct Case {
    const char* edit;
    const char* stripped;
  } cases[] = {{"  x  ", "x"}, {"\tab\r\n", "ab"}, {"a b", "a b"}, {"   ", ""}};
  for (const Case& c : cases) EXPECT_EQ(StripChatText(c.edit), c.stripped);
}

TEST(ChatSending, RecipientsAndVerbs) {
  const uint32_t own = 5;
  std::vector<ChatPlayer> list = {P(kSelectEveryone, 0), P("me", own), P("bob", 7), P("carol", 9)};
  list[3].inChannel = false;  // shouts reach users in any channel
  auto with = [&](std::vector<int> chosen) {
    std::vector<ChatPlayer> l = list;
    for (int i : chosen) l[i].selected = true;
    return MakeChatRecipients(l, own);
  };
  ChatRecipients r = with({0});
  EXPECT_EQ(r.mode, uint32_t(CHAT_SHOUT));
  EXPECT_EQ(r.ids, (std::vector<uint32_t>{7, 9}));
  r = with({0, 2});  // "Select Everyone" and one user: a tell to that user only
  EXPECT_EQ(r.mode, uint32_t(CHAT_TELL));
  EXPECT_EQ(r.ids, std::vector<uint32_t>{7});
  EXPECT_EQ(r.shownName, "bob");
  r = with({2, 3, 1});
  EXPECT_EQ(r.mode, uint32_t(CHAT_SAY));
  EXPECT_EQ(r.ids, (std::vector<uint32_t>{7, 9}));
  EXPECT_EQ(with({1}).mode, 0u);  // oneself alone: nobody
  EXPECT_EQ(with({}).mode, 0u);
  EXPECT_EQ(MakeChatRecipients({P(kSelectEveryone, 0, true), P("me", own)}, own).mode, 0u);
}

TEST(ChatReceiving, Classification) {
  struct Case {
    bool filtered;
    uint32_t mode;
    bool ignoreShouts, ignored;
    int kind;
  } cases[] = {
      {true, CHAT_SHOUT, true, true, CHATLOG_FILTERED},
      {false, CHAT_SHOUT, true, true, CHATLOG_IGNORED_SHOUT},  // "[Ignored shout:]" only with the switch on
      {false, CHAT_SHOUT, false, true, CHATLOG_IGNORED_USER},
      {false, CHAT_SHOUT, true, false, CHATLOG_IGNORED_SHOUT},
      {false, CHAT_TELL, true, true, CHATLOG_IGNORED_USER},
      {false, CHAT_ANNOUNCE, false, true, CHATLOG_PLAIN},  // an ignored user's announcement still shows
      {false, CHAT_SAY, false, false, CHATLOG_PLAIN},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClassifyReceivedChat(c.filtered, c.mode, c.ignoreShouts, c.ignored), c.kind) << c.mode;
}

TEST(ChatReceiving, ComposedLines) {
  EXPECT_EQ(ComposeChatLine("bob", CHAT_TELL, "", "hi"), "bob tells(you): hi");
  EXPECT_EQ(ComposeChatLine("me", CHAT_TELL, "bob", "hi"), "me tells(bob): hi");
  EXPECT_EQ(ComposeChatLine("me", CHAT_SHOUT, "", "hi"), "me shouts: hi");
  EXPECT_EQ(ComposeChatLine("x", CHAT_ANNOUNCE, "", "hi"), "x announces: hi");
  EXPECT_EQ(ComposeChatLine("x", CHAT_SAY, "", "hi"), "x says: hi");
  EXPECT_EQ(ComposeChatLine("x", 9, "", "hi"), "x thinks: hi");
  const std::string huge(70000, 'a');
  EXPECT_EQ(CutReceivedChat(huge).size(), kChatTextLimit);
  EXPECT_EQ(CutReceivedChat("short"), "short");
}

TEST(ChatReceiving, Wrapping) {
  struct Case {
    const char* line;
    int width;
    std::vector<std::string> pieces;
  } cases[] = {
      {"short", 70, {"short"}},
      {"alpha beta gamma", 70, {"alpha beta", "    gamma"}},
      {"abcdefghijklmnop", 70, {"abcdefghij", "   klmnop"}},  // one word: cut where it must
      {"ab cdefghijklmn", 56, {"ab ", "   cdefg", "   hijkl", "   mn"}},  // back to the blank
  };
  for (const Case& c : cases) EXPECT_EQ(WrapChatLine(c.line, c.width, Measure), c.pieces) << c.line;
  // Every piece fits and nothing is lost, whatever the width.
  const std::string line = "the quick brown fox jumps over the lazy dog, again and again and again";
  for (int width = 7; width < 400; width += 13) {
    std::string joined;
    for (const std::string& piece : WrapChatLine(line, width, Measure)) {
      EXPECT_TRUE(Measure(piece) <= width || piece.size() <= 4) << width << " " << piece;
      joined += joined.empty() ? piece : piece.substr(3);
    }
    EXPECT_EQ(joined, line) << width;
  }
}

TEST(ChatConversation, TheLineCapDropsTheOldestHundred) {
  EXPECT_EQ(ChatLinesToDrop(5000), 0u);
  EXPECT_EQ(ChatLinesToDrop(5001), 100u);
}

TEST(ChatPlayers, OrderColoursAndLabel) {
  auto cmp = [](const char* a, const char* b) { return std::strcmp(a, b); };
  ChatPlayer everyone = P(kSelectEveryone, 0);
  ChatPlayer ann = P("ann", 3), Bob = P("Bob", 4), guest = P("aaron", 6), away = P("al", 8);
  guest.registered = false;
  away.inChannel = false;
  std::vector<ChatPlayer> list = {away, guest, ann, Bob, everyone};
  std::sort(list.begin(), list.end(), [&](const ChatPlayer& a, const ChatPlayer& b) {
    return CompareChatPlayers(a, b, cmp) < 0;
  });
  std::vector<std::string> names;
  for (auto& p : list) names.push_back(p.nickname);
  EXPECT_EQ(names, (std::vector<std::string>{kSelectEveryone, "Bob", "ann", "aaron", "al"}));

  ChatPlayer ignored = ann;
  ignored.ignored = true;
  EXPECT_EQ(PlayerRowColours(ignored, false).text, 145);
  EXPECT_EQ(PlayerRowColours(everyone, false).text, 32);
  EXPECT_EQ(PlayerRowColours(ann, false).text, 45);
  EXPECT_EQ(PlayerRowColours(ann, false).background, 243);
  EXPECT_EQ(PlayerRowColours(ignored, true).background, 84);
  EXPECT_EQ(PlayerRowColours(ignored, true).text, 23);
  EXPECT_EQ(ConversationRowColours(CHATLINE_TELL, false).text, 126);
  EXPECT_EQ(ConversationRowColours(CHATLINE_TELL, true).text, 252);
  EXPECT_EQ(ConversationRowColours(CHATLINE_ANNOUNCE, false).text, 249);
  EXPECT_EQ(ConversationRowColours(CHATLINE_ANNOUNCE, false).background, 243);
  EXPECT_EQ(ConversationRowColours(CHATLINE_OTHER, true).text, 23);
  EXPECT_EQ(ConversationRowColours(CHATLINE_OTHER, false).text, 45);

  EXPECT_EQ(ChatPlayerLabel(true, 1), "Players: (all selected)");
  EXPECT_EQ(ChatPlayerLabel(false, 2), "Players: (2 selected)");
}

TEST(ChatPlayers, Menus) {
  auto texts = [](const std::vector<PlayerMenuEntry>& m) {
    std::vector<std::string> out;
    for (auto& e : m) out.push_back(e.text);
    return out;
  };
  PlayerMenuFacts f;
  f.name = "bob";
  f.known = f.registered = f.canChallenge = true;
  EXPECT_EQ(texts(MakePlayerMenu(f)), (std::vector<std::string>{"View Profile for bob", "Challenge bob", "Ignore bob",
                                                               "Add bob to Buddy List"}));
  f.registered = f.canChallenge = false;
  f.ignored = f.buddy = true;
  EXPECT_EQ(texts(MakePlayerMenu(f)), (std::vector<std::string>{"Unignore bob", "Remove bob from Buddy List"}));
  f.own = true;
  EXPECT_EQ(texts(MakePlayerMenu(f)), std::vector<std::string>{"View Profile for bob"});
  f.name = kSelectEveryone;
  EXPECT_TRUE(MakePlayerMenu(f).empty());
  PlayerMenuFacts lobby;
  lobby.name = "eve";
  lobby.viewWhite = "eve";
  lobby.viewBlack = "dan";
  std::vector<PlayerMenuEntry> m = MakePlayerMenu(lobby);
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0].text, "View game eve vs. dan");
  EXPECT_EQ(m[0].command, PMENU_VIEW_GAME);
}

TEST(ChatLayout, PlacesAndMinimum) {
  ChatLayoutInput in;
  in.unit = ChatLayoutUnit(14);
  EXPECT_EQ(in.unit, 4);
  EXPECT_EQ(ChatLayoutUnit(0), 4);
  EXPECT_EQ(ChatLayoutUnit(22), 6);
  in.clientWidth = 600;
  in.clientHeight = 400;
  in.conversation = {8, 8, 300, 200};
  in.playerLabel = {320, 8, 450, 22};
  in.players = {320, 24, 450, 200};
  in.editLabel = {8, 210, 120, 224};
  in.edit = {8, 226, 300, 246};
  in.send = {310, 226, 370, 246};
  in.ignoreChallenges = {8, 260, 128, 280};
  in.ignoreShouts = {140, 260, 240, 280};
  ChatLayout out = LayoutChatWindow(in);
  EXPECT_EQ(out.ignoreChallenges.bottom, 400 - 4);
  EXPECT_EQ(out.ignoreShouts.left, 140);
  EXPECT_EQ(out.players.right, 600 - 12);
  EXPECT_EQ(out.players.right - out.players.left, 130);
  EXPECT_EQ(out.conversation.right, out.players.left - 12);
  EXPECT_EQ(out.edit.bottom, out.ignoreChallenges.top - 4);
  EXPECT_EQ(out.editLabel.bottom, out.edit.top);
  EXPECT_LE(out.edit.right, out.send.left);
  EXPECT_EQ(out.send.right, out.players.right);
  EXPECT_EQ(out.players.bottom, out.editLabel.top - 4);
  // Too small for the player list: it keeps 20 pixels.
  in.clientHeight = 60;
  out = LayoutChatWindow(in);
  EXPECT_EQ(out.players.bottom - out.players.top, 20);
  int w, h;
  ChatMinimumSize(in, 120, &w, &h);
  EXPECT_EQ(w, 120 + 130 + 36);
  EXPECT_EQ(h, 8 + 5 * 20 + 14 + 2 * 20 + 24);
}
