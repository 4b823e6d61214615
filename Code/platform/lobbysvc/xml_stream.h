// The incoming XMPP stream: bytes in any splits, out come the stream header
// and whole stanzas as element trees. Hostile input ends the stream: a stanza
// over 64 KiB, a DOCTYPE, entity declarations, processing instructions,
// comments, or malformed XML. A stanza nesting deeper than 16 is dropped
// whole and the stream goes on: servers relay other users' stanzas, so one
// user's deep message must not end everyone's connection.
// Interface: XmlElement, XmlStreamParser (Feed, Next, Reset), XmlEscape.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lobbysvc {

struct XmlElement {
  std::string ns;    // namespace URI, empty for none
  std::string name;  // local name
  std::vector<std::pair<std::string, std::string>> attributes;  // "ns local" or "local"
  std::string text;  // character data directly inside, concatenated
  std::vector<std::unique_ptr<XmlElement>> children;

  // The attribute's value, or null.
  const std::string* Attribute(const std::string& name) const;
  // The first child with this local name (and namespace when given), or null.
  const XmlElement* Child(const std::string& name, const std::string& ns = {}) const;
};

struct XmlStreamEvent {
  enum Kind { kStreamOpened, kStanza, kStreamClosed } kind;
  std::unique_ptr<XmlElement> element;  // header (no children) or stanza
};

class XmlStreamParser {
 public:
  static constexpr size_t kMaxStanzaBytes = 64 * 1024;
  static constexpr int kMaxStanzaDepth = 16;

  XmlStreamParser();
  ~XmlStreamParser();
  XmlStreamParser(const XmlStreamParser&) = delete;
  XmlStreamParser& operator=(const XmlStreamParser&) = delete;

  // False once the stream is broken; Error() says why. Events are queued.
  bool Feed(const char* data, size_t size);
  bool Next(XmlStreamEvent* event);
  // A new stream starts (after authentication or TLS): input and events so
  // far are dropped.
  void Reset();
  bool Failed() const { return !error_.empty(); }
  const std::string& Error() const { return error_; }

  struct State;

 private:
  std::unique_ptr<State> state_;
  std::string error_;
};

// Text for character data and attribute values (both quote kinds escaped).
std::string XmlEscape(const std::string& text);

}  // namespace lobbysvc
