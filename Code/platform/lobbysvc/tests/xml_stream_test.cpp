// The XMPP stream parser: splits, limits and hostile input.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "xml_stream.h"

using namespace lobbysvc;

namespace {

const std::string kHeader =
    "<?xml version='1.0'?><stream:stream xmlns='jabber:client' "
    "xmlns:stream='http://etherx.jabber.org/streams' from='example.net' id='s1' version='1.0'>";

// What a parser made of the input: one line per event, or the error.
std::string Parse(const std::string& input, const std::vector<size_t>& cuts = {}) {
  XmlStreamParser p;
  size_t at = 0;
  bool ok = true;
  std::vector<size_t> ends = cuts;
  ends.push_back(input.size());
  for (size_t end : ends) {
    if (!ok || end < at) continue;
    ok = p.Feed(input.data() + at, end - at);
    at = end;
  }
  std::string out;
  XmlStreamEvent e;
  while (p.Next(&e)) {
    if (e.kind == XmlStreamEvent::kStreamOpened) out += "open " + *e.element->Attribute("id") + ";";
    if (e.kind == XmlStreamEvent::kStanza) {
      out += e.element->name + "[" + e.element->ns + "]";
      for (const auto& c : e.element->children) out += " " + c->name + "=" + c->text;
      out += ";";
    }
    if (e.kind == XmlStreamEvent::kStreamClosed) out += "closed;";
  }
  if (!ok) out += "error: " + p.Error();
  return out;
}

std::string Nested(int depth) {
  std::string s;
  for (int i = 0; i < depth; ++i) s += "<x>";
  for (int i = 0; i < depth; ++i) s += "</x>";
  return s;
}

// A message stanza of exactly `size` bytes.
std::string MessageOfSize(size_t size) {
  const std::string head = "<message><body>", tail = "</body></message>";
  return head + std::string(size - head.size() - tail.size(), 'a') + tail;
}

}  // namespace

TEST(XmlStream, SameEventsForEverySplit) {
  const std::string input = kHeader +
                            "<message to='a@b/c' type='groupchat'><body>x &amp; y &lt; &#x41;"
                            "</body></message> \n "
                            "<iq type='get' id='1'><query xmlns='jabber:iq:private'/></iq>"
                            "</stream:stream>";
  const std::string expected =
      "open s1;message[jabber:client] body=x & y < A;iq[jabber:client] query=;closed;";
  EXPECT_EQ(Parse(input), expected);
  std::vector<size_t> everyByte;
  for (size_t i = 1; i < input.size(); ++i) everyByte.push_back(i);
  EXPECT_EQ(Parse(input, everyByte), expected);
  std::mt19937 random(41);
  for (int round = 0; round < 50; ++round) {
    std::vector<size_t> cuts;
    for (size_t at = 0; at < input.size(); at += 1 + random() % 40) cuts.push_back(at);
    EXPECT_EQ(Parse(input, cuts), expected) << "round " << round;
  }
}

TEST(XmlStream, HostileInputEndsTheStreamAfterTheGoodStanzas) {
  struct Case {
    const char* what;
    std::string input;
    std::string result;
  };
  const std::string good = "<presence/>";
  const Case cases[] = {
      {"doctype", "<!DOCTYPE x [<!ENTITY a 'b'>]>" + kHeader, "error: a DOCTYPE is not allowed in a stream"},
      {"instruction", kHeader + good + "<?evil x?>", "open s1;presence[jabber:client];error: processing instructions are not allowed in a stream"},
      {"comment", kHeader + good + "<!-- x -->", "open s1;presence[jabber:client];error: comments are not allowed in a stream"},
      {"undefined entity", kHeader + "<message><body>&lol;</body></message>", "open s1;error: undefined entity"},
      {"mismatched tag", kHeader + good + "<message></iq>", "open s1;presence[jabber:client];error: mismatched tag"},
      {"not a stream", "<html><body/></html>", "error: the stream does not begin with a stream header"},
      {"depth 16 passes", kHeader + "<message>" + Nested(15) + "</message>", "open s1;message[jabber:client] x=;"},
      {"depth 17 drops the stanza only", kHeader + "<message>" + Nested(16) + "</message><iq/>", "open s1;iq[jabber:client];"},
      {"64 KiB passes", kHeader + MessageOfSize(65536), "open s1;message[jabber:client] body=" + std::string(65536 - 32, 'a') + ";"},
      {"one byte more fails", kHeader + MessageOfSize(65537), "open s1;error: stanza too large"},
      {"data after the end", kHeader + "</stream:stream><message/>", "open s1;closed;error: junk after document element"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.input), c.result) << c.what;
}

TEST(XmlStream, UnfinishedHugeStanzaFailsWithoutWaitingForItsEnd) {
  XmlStreamParser p;
  ASSERT_TRUE(p.Feed(kHeader.data(), kHeader.size()));
  const std::string start = "<message><body>";
  ASSERT_TRUE(p.Feed(start.data(), start.size()));
  const std::string chunk(8192, 'a');
  bool ok = true;
  int chunks = 0;
  while (ok && chunks < 100) {
    ok = p.Feed(chunk.data(), chunk.size());
    ++chunks;
  }
  EXPECT_FALSE(ok);
  EXPECT_LE(chunks, 9);
  EXPECT_EQ(p.Error(), "stanza too large");
  // An attribute value is buffered by expat until its tag ends: same limit.
  XmlStreamParser q;
  ASSERT_TRUE(q.Feed(kHeader.data(), kHeader.size()));
  const std::string open = "<message to='";
  ASSERT_TRUE(q.Feed(open.data(), open.size()));
  for (chunks = 0; chunks < 100 && q.Feed(chunk.data(), chunk.size()); ++chunks) {
  }
  EXPECT_EQ(q.Error(), "stanza too large");
}

TEST(XmlStream, KeepAlivesDoNotAddUp) {
  XmlStreamParser p;
  ASSERT_TRUE(p.Feed(kHeader.data(), kHeader.size()));
  for (int i = 0; i < 200000; ++i) ASSERT_TRUE(p.Feed(" ", 1)) << i;
  const std::string m = MessageOfSize(60000);
  ASSERT_TRUE(p.Feed(m.data(), m.size())) << p.Error();
}

TEST(XmlStream, ResetStartsANewStream) {
  XmlStreamParser p;
  const std::string first = kHeader + "<success xmlns='urn:ietf:params:xml:ns:xmpp-sasl'/>";
  ASSERT_TRUE(p.Feed(first.data(), first.size()));
  XmlStreamEvent e;
  ASSERT_TRUE(p.Next(&e));
  ASSERT_TRUE(p.Next(&e));
  EXPECT_EQ(e.element->name, "success");
  EXPECT_EQ(e.element->ns, "urn:ietf:params:xml:ns:xmpp-sasl");
  p.Reset();
  const std::string second = kHeader + "<stream:features/>";
  ASSERT_TRUE(p.Feed(second.data(), second.size())) << p.Error();
  ASSERT_TRUE(p.Next(&e));
  EXPECT_EQ(e.kind, XmlStreamEvent::kStreamOpened);
  ASSERT_TRUE(p.Next(&e));
  EXPECT_EQ(e.element->name, "features");
  EXPECT_EQ(e.element->ns, "http://etherx.jabber.org/streams");
}

TEST(XmlStream, EscapeRoundTrips) {
  const std::string text = "a<b>&'\"c";
  EXPECT_EQ(XmlEscape(text), "a&lt;b&gt;&amp;&apos;&quot;c");
  const std::string input = kHeader + "<message><body>" + XmlEscape(text) + "</body></message>";
  EXPECT_EQ(Parse(input), "open s1;message[jabber:client] body=" + text + ";");
}
