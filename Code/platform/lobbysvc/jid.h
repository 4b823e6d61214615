// Jabber ids: splitting "local@domain/resource" and the escaping of local
// parts (XEP-0106), by which an account can carry any login name.
// Interface: Jid, ParseJid, EscapeLocalpart, UnescapeLocalpart, EqualIgnoringCase.
#pragma once

#include <string>

namespace lobbysvc {

struct Jid {
  std::string local, domain, resource;
  // "local@domain" (or "domain").
  std::string Bare() const { return local.empty() ? domain : local + "@" + domain; }
};

// False for an empty domain, an empty part after '@' or '/', or a second '@'
// before the resource.
bool ParseJid(const std::string& text, Jid* jid);

// The ten characters a local part cannot hold become "\20" ... "\5c"; a
// backslash is escaped only where it would read as an escape.
std::string EscapeLocalpart(const std::string& name);
std::string UnescapeLocalpart(const std::string& local);

// ASCII letters compared without case; all other bytes exactly.
bool EqualIgnoringCase(const std::string& a, const std::string& b);

}  // namespace lobbysvc
