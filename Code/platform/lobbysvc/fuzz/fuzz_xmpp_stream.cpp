// The XMPP stream parser on arbitrary bytes, fed in the splits the input's
// first bytes choose; the same bytes in one piece must give the same events.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "xml_stream.h"

using namespace lobbysvc;

static std::string Events(XmlStreamParser& p) {
  std::string out;
  XmlStreamEvent e;
  while (p.Next(&e)) {
    out += char('0' + e.kind);
    if (e.element) out += e.element->ns + "|" + e.element->name + "|" + e.element->text;
  }
  return out;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  const uint8_t* cuts = data;
  data += 8;
  size -= 8;
  const char* text = reinterpret_cast<const char*>(data);

  XmlStreamParser whole;
  const bool wholeOk = whole.Feed(text, size);
  const std::string wholeEvents = Events(whole);

  XmlStreamParser split;
  bool splitOk = true;
  size_t at = 0;
  for (int i = 0; at < size && splitOk; i = (i + 1) % 8) {
    const size_t n = std::min<size_t>(size - at, 1 + cuts[i] % 64);
    splitOk = split.Feed(text + at, n);
    at += n;
  }
  // expat reports some bad tokens only once it sees what follows them, so a
  // split may stop earlier or later than the whole input; what either
  // delivered before stopping must agree.
  const std::string splitEvents = Events(split);
  if (splitOk && wholeOk && splitEvents != wholeEvents) abort();
  const std::string& shorter = splitEvents.size() < wholeEvents.size() ? splitEvents : wholeEvents;
  const std::string& longer = splitEvents.size() < wholeEvents.size() ? wholeEvents : splitEvents;
  if (longer.compare(0, shorter.size(), shorter) != 0) abort();
  return 0;
}
