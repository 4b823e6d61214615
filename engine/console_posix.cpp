// Corvane program: console and pipe input on POSIX systems (poll, read).
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "console.h"

namespace corvane {

namespace {

class PosixConsole : public Console {
 public:
  explicit PosixConsole(HostIo* io) : io_(io) { tty_ = isatty(0) != 0; }

  int ReadKey() override {
    if (pos_ < len_) return static_cast<unsigned char>(buf_[pos_++]);
    if (ended_) return -2;
    pollfd p{0, POLLIN, 0};
    int r = poll(&p, 1, 0);
    if (r < 0) {
      if (errno != EINTR) ShowSystemError(tty_ ? "ReadKey: con peek failed" : "ReadKey: pipe peek failed");
      return 0;
    }
    if (r == 0) return 0;
    ssize_t n = read(0, buf_, sizeof buf_);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) return 0;
      ShowSystemError(tty_ ? "ReadKey: con read failed" : "ReadKey: pipe read failed");
      ended_ = true;
      return -2;
    }
    if (n == 0) {
      ended_ = true;
      return -2;
    }
    len_ = int(n);
    pos_ = 0;
    // A terminal's carriage return ends a line like LF.
    if (tty_)
      for (int i = 0; i < len_; ++i)
        if (buf_[i] == '\r') buf_[i] = '\n';
    return static_cast<unsigned char>(buf_[pos_++]);
  }
  bool IsConsole() override { return tty_; }
  void WriteOut(const char* text, size_t n) override {
    std::fwrite(text, 1, n, stdout);
    std::fflush(stdout);
  }
  void WriteErr(const char* text, size_t n) override {
    std::fwrite(text, 1, n, stderr);
    std::fflush(stderr);
  }
  long long ClockCs() override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() / 10;
  }
  void SleepMs(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

 private:
  void ShowSystemError(const char* text) {
    const char* msg = errno ? std::strerror(errno) : "unknown error";
    io_->MonitorPrint("\n%s : %s\n", text, msg);
  }

  HostIo* io_;
  bool tty_ = false;
  bool ended_ = false;
  char buf_[4096];
  int len_ = 0, pos_ = 0;
};

}  // namespace

Console* CreateSystemConsole(HostIo* io) { return new PosixConsole(io); }

}  // namespace corvane
