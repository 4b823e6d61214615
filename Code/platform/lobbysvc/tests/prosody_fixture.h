// A prosody server of the test's own on loopback, in a temporary folder,
// started and stopped through the lobby service's server script. Tests that
// need it skip when Debian's prosody is not installed.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace lobbysvc_test {

class ProsodyServer {
 public:
  static bool Installed() { return access("/usr/bin/prosody", X_OK) == 0; }

  bool Start() {
    if (dir_.empty()) {
      char pattern[] = "/tmp/rwlive-prosody-XXXXXX";
      if (!mkdtemp(pattern)) return false;
      dir_ = pattern;
    }
    const std::string command = environment_ + " bash '" + PROSODY_SCRIPT + "' start '" + dir_ + "' " +
                                (port_ ? std::to_string(port_) : std::string()) + " >/dev/null";
    if (std::system(command.c_str()) != 0) return false;
    std::ifstream in(dir_ + "/port");
    in >> port_;
    return port_ != 0;
  }
  void Stop() {
    if (dir_.empty()) return;
    const std::string command = std::string("bash '") + PROSODY_SCRIPT + "' stop '" + dir_ + "'";
    std::system(command.c_str());
  }
  // SIGSTOP / SIGCONT: a server that hangs without closing its connections.
  void Signal(int sig) {
    std::ifstream in(dir_ + "/prosody.pid");
    int pid = 0;
    in >> pid;
    if (pid > 0) kill(pid, sig);
  }
  void Remove() {
    Stop();
    if (!dir_.empty()) std::system(("rm -rf '" + dir_ + "'").c_str());
    dir_.clear();
  }
  uint16_t Port() const { return port_; }
  // Variables for the script (e.g. "RWLIVE_TLS_CERT=... RWLIVE_TLS_KEY=...").
  void SetEnvironment(const std::string& assignments) { environment_ = assignments; }
  const std::string& Dir() const { return dir_; }

 private:
  std::string dir_;
  std::string environment_;
  uint16_t port_ = 0;
};

}  // namespace lobbysvc_test
