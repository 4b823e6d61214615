// RWLiveLogin's choices, from its dialog or its command line, and the checks
// made before any connection. OS-free.
//
//   RWLiveLogin.exe [/server HOST[:PORT]] [/account NAME] [/password PW] [/new]
//                   [/fingerprint SHA256] [/program PATH]
//
// With an account and a password on the command line no dialog is shown:
// the login is tried, the settings stored and the program started; the exit
// code says how it went (0 started, 1 login failed, 2 bad options).
// Interface: LoginOptions, ParseLoginCommandLine, CheckLoginOptions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lobbysvc {

struct LoginOptions {
  std::string host = "127.0.0.1";
  uint16_t port = 5222;
  std::string account;  // the login name, in the 8-bit code page
  std::string password;
  bool newAccount = false;
  std::string fingerprint;  // SHA-256 of the server's certificate, optional
  std::string program;  // empty: Rookwell.exe beside the helper
  bool unattended = false;
};

// False with `error` set for an unknown option or a missing value.
bool ParseLoginCommandLine(const std::vector<std::string>& args, LoginOptions* options,
                           std::string* error);
// "host" or "host:port" into the options; false for a bad port.
bool ParseServer(const std::string& text, LoginOptions* options);
// The reason the options cannot be used, or empty.
std::string CheckLoginOptions(const LoginOptions& options);

}  // namespace lobbysvc
