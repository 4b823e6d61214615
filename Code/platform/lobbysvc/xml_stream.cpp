// XMPP stream parsing on expat.
#include "xml_stream.h"

#include <expat.h>

namespace lobbysvc {

const std::string* XmlElement::Attribute(const std::string& attr) const {
  for (const auto& a : attributes)
    if (a.first == attr) return &a.second;
  return nullptr;
}

const XmlElement* XmlElement::Child(const std::string& local, const std::string& space) const {
  for (const auto& c : children)
    if (c->name == local && (space.empty() || c->ns == space)) return c.get();
  return nullptr;
}

std::string XmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

struct XmlStreamParser::State {
  XML_Parser parser = nullptr;
  std::string* error = nullptr;
  std::deque<XmlStreamEvent> events;
  // Elements open inside the current stanza; [0] is the stanza.
  std::vector<XmlElement*> open;
  std::unique_ptr<XmlElement> stanza;
  int depth = 0;             // 0 outside the stream, 1 inside the header
  bool tooDeep = false;      // the current stanza nests too deeply: dropped
  bool closed = false;
  // Input bytes fed so far, and where the unfinished part (the current stanza
  // or whatever follows the last complete one) began.
  unsigned long long fed = 0;
  unsigned long long pendingFrom = 0;

  void Fail(const char* why) {
    if (error->empty()) *error = why;
    XML_StopParser(parser, XML_FALSE);
  }
  unsigned long long Here() const { return static_cast<unsigned long long>(XML_GetCurrentByteIndex(parser)); }
  unsigned long long AfterHere() const { return Here() + XML_GetCurrentByteCount(parser); }
};

namespace {

using State = XmlStreamParser::State;

// expat gives "uri name" with namespaces, "name" without.
void SplitName(const XML_Char* full, std::string* ns, std::string* local) {
  const std::string s(full);
  const size_t space = s.find(' ');
  if (space == std::string::npos) {
    ns->clear();
    *local = s;
  } else {
    *ns = s.substr(0, space);
    *local = s.substr(space + 1);
  }
}

void XMLCALL Start(void* data, const XML_Char* name, const XML_Char** attrs) {
  auto* st = static_cast<State*>(data);
  if (!st->error->empty()) return;  // expat may finish the current token
  auto element = std::make_unique<XmlElement>();
  SplitName(name, &element->ns, &element->name);
  for (int i = 0; attrs[i]; i += 2) element->attributes.emplace_back(attrs[i], attrs[i + 1]);
  ++st->depth;
  if (st->depth == 1) {
    if (element->name != "stream" || element->ns != "http://etherx.jabber.org/streams")
      return st->Fail("the stream does not begin with a stream header");
    st->pendingFrom = st->AfterHere();
    st->events.push_back({XmlStreamEvent::kStreamOpened, std::move(element)});
    return;
  }
  if (st->depth - 1 > XmlStreamParser::kMaxStanzaDepth) {
    // Another occupant's message relayed by the server may nest as deep as
    // it likes: the stanza is dropped, the stream itself is sound.
    st->tooDeep = true;
    return;
  }
  if (st->depth == 2) {
    st->pendingFrom = st->Here();
    st->stanza = std::move(element);
    st->open.assign(1, st->stanza.get());
    return;
  }
  XmlElement* parent = st->open.back();
  parent->children.push_back(std::move(element));
  st->open.push_back(parent->children.back().get());
}

void XMLCALL End(void* data, const XML_Char*) {
  auto* st = static_cast<State*>(data);
  if (!st->error->empty()) return;
  const bool kept = st->depth - 1 <= XmlStreamParser::kMaxStanzaDepth;
  --st->depth;
  if (!kept) return;
  if (st->depth == 0) {
    st->closed = true;
    st->events.push_back({XmlStreamEvent::kStreamClosed, nullptr});
    return;
  }
  st->open.pop_back();
  if (st->depth == 1) {
    if (st->AfterHere() - st->pendingFrom > XmlStreamParser::kMaxStanzaBytes)
      return st->Fail("stanza too large");
    st->pendingFrom = st->AfterHere();
    if (st->tooDeep)
      st->stanza.reset();
    else
      st->events.push_back({XmlStreamEvent::kStanza, std::move(st->stanza)});
    st->tooDeep = false;
  }
}

void XMLCALL Text(void* data, const XML_Char* s, int length) {
  auto* st = static_cast<State*>(data);
  if (!st->error->empty()) return;
  // Whitespace between stanzas (keep-alives) belongs to no element, and does
  // not count towards the next stanza's size.
  if (st->open.empty()) {
    st->pendingFrom = st->AfterHere();
    return;
  }
  if (st->depth - 1 > XmlStreamParser::kMaxStanzaDepth) return;
  st->open.back()->text.append(s, static_cast<size_t>(length));
}

void XMLCALL Doctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
  static_cast<State*>(data)->Fail("a DOCTYPE is not allowed in a stream");
}

void XMLCALL Entity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                    const XML_Char*, const XML_Char*, const XML_Char*) {
  static_cast<State*>(data)->Fail("entity declarations are not allowed in a stream");
}

void XMLCALL Instruction(void* data, const XML_Char*, const XML_Char*) {
  static_cast<State*>(data)->Fail("processing instructions are not allowed in a stream");
}

void XMLCALL Comment(void* data, const XML_Char*) {
  static_cast<State*>(data)->Fail("comments are not allowed in a stream");
}

// Entity references other than the five predefined ones: none can be defined,
// so any is an error.
void XMLCALL Skipped(void* data, const XML_Char*, int) {
  static_cast<State*>(data)->Fail("undefined entity in a stream");
}

void Install(State* st, std::string* error) {
  // XMPP streams are UTF-8 only: no guessing of other encodings.
  st->parser = XML_ParserCreateNS("UTF-8", ' ');
  st->error = error;
  XML_SetUserData(st->parser, st);
  XML_SetElementHandler(st->parser, Start, End);
  XML_SetCharacterDataHandler(st->parser, Text);
  XML_SetStartDoctypeDeclHandler(st->parser, Doctype);
  XML_SetEntityDeclHandler(st->parser, Entity);
  XML_SetProcessingInstructionHandler(st->parser, Instruction);
  XML_SetCommentHandler(st->parser, Comment);
  XML_SetSkippedEntityHandler(st->parser, Skipped);
  XML_SetParamEntityParsing(st->parser, XML_PARAM_ENTITY_PARSING_NEVER);
#ifdef RW_EXPAT_REPARSE_DEFERRAL
  // A stanza must be seen when its last byte arrives, not when more follow.
  XML_SetReparseDeferralEnabled(st->parser, XML_FALSE);
#endif
}

}  // namespace

XmlStreamParser::XmlStreamParser() : state_(std::make_unique<State>()) {
  Install(state_.get(), &error_);
}

XmlStreamParser::~XmlStreamParser() { XML_ParserFree(state_->parser); }

void XmlStreamParser::Reset() {
  XML_ParserFree(state_->parser);
  state_ = std::make_unique<State>();
  error_.clear();
  Install(state_.get(), &error_);
}

bool XmlStreamParser::Feed(const char* data, size_t size) {
  State& st = *state_;
  if (Failed()) return false;
  if (!st.parser) {
    error_ = "out of memory";
    return false;
  }
  if (st.closed) {
    if (size) error_ = "data after the end of the stream";
    return size == 0;
  }
  // In pieces, so that an unfinished stanza is caught once it passes the
  // limit rather than after the whole input has been buffered.
  constexpr size_t kPiece = 4096;
  for (size_t at = 0; at < size; at += kPiece) {
    const size_t n = size - at < kPiece ? size - at : kPiece;
    if (XML_Parse(st.parser, data + at, static_cast<int>(n), XML_FALSE) != XML_STATUS_OK) {
      if (error_.empty()) error_ = XML_ErrorString(XML_GetErrorCode(st.parser));
      return false;
    }
    st.fed += n;
    if (st.fed - st.pendingFrom > kMaxStanzaBytes) {
      error_ = "stanza too large";
      return false;
    }
    if (st.closed && at + n < size) {
      error_ = "data after the end of the stream";
      return false;
    }
  }
  return true;
}

bool XmlStreamParser::Next(XmlStreamEvent* event) {
  if (state_->events.empty()) return false;
  *event = std::move(state_->events.front());
  state_->events.pop_front();
  return true;
}

}  // namespace lobbysvc
