// RWLiveLogin's options.
#include "login_options.h"

#include "rwlive_api.h"
#include "rwlive_service.h"
#include "transport.h"

namespace lobbysvc {

bool ParseServer(const std::string& text, LoginOptions* options) {
  const size_t colon = text.rfind(':');
  // A bare IPv6 address has colons of its own: only "[addr]:port" carries a port.
  if (colon == std::string::npos || (text.find(':') != colon && text[0] != '[')) {
    if (text.empty()) return false;
    options->host = text;
    return true;
  }
  const std::string port = text.substr(colon + 1);
  if (port.empty() || port.size() > 5) return false;
  unsigned value = 0;
  for (char c : port) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + unsigned(c - '0');
  }
  if (value == 0 || value > 65535 || colon == 0) return false;
  options->host = text.substr(0, colon);
  options->port = static_cast<uint16_t>(value);
  return true;
}

bool ParseLoginCommandLine(const std::vector<std::string>& args, LoginOptions* options,
                           std::string* error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "/new") {
      options->newAccount = true;
    } else if ((a == "/server" || a == "/account" || a == "/password" || a == "/program" ||
                a == "/fingerprint") &&
               hasValue) {
      const std::string& v = args[++i];
      if (a == "/server" && !ParseServer(v, options)) {
        *error = "Bad server: " + v;
        return false;
      }
      if (a == "/account") options->account = v;
      if (a == "/password") options->password = v;
      if (a == "/program") options->program = v;
      if (a == "/fingerprint") {
        options->fingerprint = NormalizeFingerprint(v);
        if (options->fingerprint.empty()) {
          *error = "Bad certificate fingerprint (64 hex digits): " + v;
          return false;
        }
      }
    } else {
      *error = "Unknown option or missing value: " + a;
      return false;
    }
  }
  options->unattended = !options->account.empty() && !options->password.empty();
  return true;
}

std::string CheckLoginOptions(const LoginOptions& o) {
  if (o.account.empty()) return "Please enter an account name.";
  if (o.account.size() > rwlive::kLoginNameSize - 1)
    return "The account name may be at most 15 characters long.";
  for (unsigned char c : o.account)
    if (c < 0x20) return "The account name may not contain control characters.";
  if (o.password.empty()) return "Please enter a password.";
  return std::string();
}

}  // namespace lobbysvc
