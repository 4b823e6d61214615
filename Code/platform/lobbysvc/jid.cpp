// Jabber ids and XEP-0106 escaping.
#include "jid.h"

#include <cstring>

namespace lobbysvc {

namespace {

struct Escape {
  char c;
  const char* code;
};
// XEP-0106's table; the backslash itself comes last.
constexpr Escape kEscapes[] = {{' ', "20"},  {'"', "22"}, {'&', "26"}, {'\'', "27"},
                               {'/', "2f"},  {':', "3a"}, {'<', "3c"}, {'>', "3e"},
                               {'@', "40"},  {'\\', "5c"}};

// The character "\xx" at `at` stands for, or 0.
char EscapedAt(const std::string& s, size_t at) {
  if (at + 2 >= s.size() || s[at] != '\\') return 0;
  for (const Escape& e : kEscapes)
    if (s[at + 1] == e.code[0] && (s[at + 2] == e.code[1])) return e.c;
  return 0;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

}  // namespace

bool ParseJid(const std::string& text, Jid* jid) {
  const size_t slash = text.find('/');
  const std::string bare = text.substr(0, slash);
  Jid j;
  if (slash != std::string::npos) {
    j.resource = text.substr(slash + 1);
    if (j.resource.empty()) return false;
  }
  const size_t at = bare.find('@');
  if (at != std::string::npos) {
    j.local = bare.substr(0, at);
    j.domain = bare.substr(at + 1);
    if (j.local.empty() || j.domain.find('@') != std::string::npos) return false;
  } else {
    j.domain = bare;
  }
  if (j.domain.empty()) return false;
  *jid = j;
  return true;
}

std::string EscapeLocalpart(const std::string& name) {
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (c == '\\') {
      out += EscapedAt(name, i) ? "\\5c" : "\\";
      continue;
    }
    bool escaped = false;
    for (const Escape& e : kEscapes) {
      if (e.c == c) {
        out += '\\';
        out += e.code;
        escaped = true;
        break;
      }
    }
    if (!escaped) out += c;
  }
  return out;
}

std::string UnescapeLocalpart(const std::string& local) {
  std::string out;
  for (size_t i = 0; i < local.size(); ++i) {
    const char c = EscapedAt(local, i);
    if (c) {
      out += c;
      i += 2;
    } else {
      out += local[i];
    }
  }
  return out;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

}  // namespace lobbysvc
