// Jabber ids, and which room stanzas reach the host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base64.h"
#include "jid.h"
#include "muc_room.h"

using namespace lobbysvc;

TEST(Jid, ParseAndEscape) {
  Jid j;
  ASSERT_TRUE(ParseJid("rwlive@rooms.localhost/Alice B", &j));
  EXPECT_EQ(j.local, "rwlive");
  EXPECT_EQ(j.domain, "rooms.localhost");
  EXPECT_EQ(j.resource, "Alice B");
  for (const char* bad : {"", "@x", "a@", "a@b@c", "a@b/", "/r"}) EXPECT_FALSE(ParseJid(bad, &j)) << bad;

  const struct {
    const char* name;
    const char* local;
  } cases[] = {{"alice", "alice"},
               {"d'artagnan", "d\\27artagnan"},
               {"a b@c/d:e", "a\\20b\\40c\\2fd\\3ae"},
               {"<&\">", "\\3c\\26\\22\\3e"},
               {"c:\\5cnet", "c\\3a\\5c5cnet"},
               {"back\\slash", "back\\slash"}};
  for (const auto& c : cases) {
    EXPECT_EQ(EscapeLocalpart(c.name), c.local);
    EXPECT_EQ(UnescapeLocalpart(c.local), c.name);
  }
  EXPECT_TRUE(EqualIgnoringCase("Alice", "aLICE"));
  EXPECT_FALSE(EqualIgnoringCase("Alice", "Alicia"));
}

namespace {

const std::string kHeader =
    "<stream:stream xmlns='jabber:client' xmlns:stream='http://etherx.jabber.org/streams' "
    "id='s' version='1.0'>";

// Runs stanza texts through a parser and a room of our nick "carol";
// returns one line per event.
std::string Events(const std::vector<std::string>& stanzas, MucRoom* room) {
  XmlStreamParser p;
  std::string input = kHeader;
  for (const auto& s : stanzas) input += s;
  EXPECT_TRUE(p.Feed(input.data(), input.size())) << p.Error();
  std::string out;
  XmlStreamEvent e;
  while (p.Next(&e)) {
    if (e.kind != XmlStreamEvent::kStanza) continue;
    std::vector<RoomEvent> events;
    if (e.element->name == "presence") room->HandlePresence(*e.element, &events);
    RoomEvent d;
    if (e.element->name == "message" && room->HandleMessage(*e.element, &d)) events.push_back(d);
    for (const auto& ev : events) {
      const char* kinds[] = {"joined", "left", "self", "refused", "data"};
      out += std::string(kinds[ev.kind]) + " " + std::to_string(ev.id);
      if (ev.kind == RoomEvent::kData) out += " " + ev.data;
      out += ";";
    }
  }
  return out;
}

std::string Presence(const std::string& nick, const std::string& jid, const std::string& extra = "",
                     const std::string& type = "") {
  return "<presence from='rwlive@rooms.localhost/" + XmlEscape(nick) + "'" +
         (type.empty() ? "" : " type='" + type + "'") +
         "><x xmlns='http://jabber.org/protocol/muc#user'><item affiliation='none' role='participant'" +
         (jid.empty() ? "" : " jid='" + XmlEscape(jid) + "'") + "/>" + extra + "</x></presence>";
}

std::string Message(const std::string& nick, const std::string& body, const std::string& extra = "",
                    const std::string& type = "groupchat") {
  return "<message from='rwlive@rooms.localhost/" + nick + "' type='" + type + "'><body>" + body +
         "</body>" + extra + "</message>";
}

const std::string kSelf = Presence("carol", "carol@localhost/rw", "<status code='110'/>");

}  // namespace

TEST(MucRoom, OnlyVerifiedOccupantsDeliver) {
  MucRoom room("rwlive@rooms.localhost", "carol");
  const std::string hi = Base64Encode("hi");
  const std::string max(kMaxPayload, 'z');
  struct Case {
    const char* what;
    std::string stanza;
    std::string events;
  };
  const Case cases[] = {
      {"before our join", Message("alice", hi), ""},
      {"own presence", kSelf, "self 0;"},
      {"alice arrives", Presence("alice", "alice@localhost/rw"), "joined 1;"},
      {"seen again", Presence("alice", "Alice@localhost/rw"), ""},
      {"escaped account", Presence("d'Art", "d\\27art@localhost/rw"), "joined 2;"},
      {"nick not its account", Presence("bob", "mallory@localhost/rw"), ""},
      {"account hidden", Presence("eve", ""), ""},
      {"groupchat", Message("alice", hi), "data 1 hi;"},
      {"private", Message("alice", hi, "", "chat"), "data 1 hi;"},
      {"16 KiB", Message("alice", Base64Encode(max)), "data 1 " + max + ";"},
      {"one byte more", Message("alice", Base64Encode(max + "z")), ""},
      {"empty", Message("alice", ""), ""},
      {"bad base64", Message("alice", "aGk"), ""},
      {"not canonical", Message("alice", "aGl="), ""},
      {"history", Message("alice", hi, "<delay xmlns='urn:xmpp:delay' stamp='2026-01-01T00:00:00Z'/>"), ""},
      {"unverified nick", Message("bob", hi), ""},
      {"unknown nick", Message("zed", hi), ""},
      {"our echo", Message("carol", hi), ""},
      {"error type", Message("alice", hi, "", "error"), ""},
      {"other room", "<message from='other@rooms.localhost/alice' type='groupchat'><body>" + hi + "</body></message>", ""},
      {"direct from a user", "<message from='alice@localhost/rw' type='chat'><body>" + hi + "</body></message>", ""},
      {"nick change", Presence("alice", "alice@localhost/rw", "<status code='303'/>", "unavailable"), "left 1;"},
      {"gone nick", Message("alice", hi), ""},
      {"back again keeps its id", Presence("alice", "alice@localhost/rw"), "joined 1;"},
      {"verified becomes hidden", Presence("d'Art", ""), "left 2;"},
      {"next good message", Message("alice", hi), "data 1 hi;"},
  };
  for (const Case& c : cases) EXPECT_EQ(Events({c.stanza}, &room), c.events) << c.what;
  EXPECT_EQ(*room.NickOf(1), "alice");
  EXPECT_EQ(room.NickOf(3), nullptr);
  std::vector<RoomEvent> lost;
  room.ConnectionLost(&lost);
  ASSERT_EQ(lost.size(), 1u);
  EXPECT_EQ(lost[0].kind, RoomEvent::kLeft);
  EXPECT_EQ(lost[0].id, 1u);
}

TEST(MucRoom, JoinRefusals) {
  const struct {
    const char* what;
    std::string stanza;
  } cases[] = {
      {"nick in use", "<presence from='rwlive@rooms.localhost/carol' type='error'><error type='cancel'>"
                      "<conflict xmlns='urn:ietf:params:xml:ns:xmpp-stanzas'/></error></presence>"},
      {"real ids hidden", Presence("carol", "", "<status code='110'/>")},
  };
  for (const auto& c : cases) {
    MucRoom room("rwlive@rooms.localhost", "carol");
    EXPECT_EQ(Events({c.stanza}, &room), "refused 0;") << c.what;
    EXPECT_FALSE(room.Joined());
  }
  // Kicked: every other occupant is reported gone.
  MucRoom room("rwlive@rooms.localhost", "carol");
  EXPECT_EQ(Events({kSelf, Presence("alice", "alice@localhost/x"),
                    Presence("carol", "carol@localhost/rw", "<status code='110'/><status code='307'/>", "unavailable")},
                   &room),
            "self 0;joined 1;left 1;");
  EXPECT_FALSE(room.Joined());
}
