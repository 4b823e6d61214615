// Corvane program: command-line collection and the output channels.
#include "hostio.h"

#include <cstdlib>
#include <cstring>

namespace corvane {

HostIo g_io;

int HostIo::ReadKey() { return console_ ? console_->ReadKey() : 0; }

bool HostIo::LinePending() const { return std::memchr(pending_, '\n', size_t(len_)) != nullptr; }

bool HostIo::PollCommandLine() {
  bool got = false, end = false;
  for (;;) {
    if (len_ >= kLineChars && LinePending()) break;
    int c = ReadKey();
    if (c == 0) break;
    if (c == -1) continue;
    if (c == -2) {
      // The host has gone: finish a partial line, then end with "quit".
      ended_ = end = true;
      break;
    }
    got = true;
    if (c == 8) {
      if (len_ > 0 && pending_[len_ - 1] != '\n') --len_;
    } else if (c == '\n') {
      pending_[len_++] = '\n';
    } else if (c >= 32 && c <= 125) {
      if (len_ <= kLineChars - 1) pending_[len_++] = char(c);
    } else {
      MonitorPrint("\rkey = 0x%04X \n", unsigned(c) & 0xFFFF);
    }
  }
  if (end && !quitSent_ && !LinePending()) {
    quitSent_ = true;
    if (len_ > 0) pending_[len_++] = '\n';
    const char* q = "quit\n";
    for (const char* p = q; *p && len_ < kLineChars + 1; ++p) pending_[len_++] = *p;
    got = true;
  }
  pending_[len_] = 0;
  if (reshow) {
    long long now = console_ ? console_->ClockCs() : 0;
    if (got || now >= lastShow_ + 100) {
      lastShow_ = now - now % 100;
      reshow(got);
    }
  }
  return LinePending();
}

void HostIo::SplitCommandLine(CommandWords* words) {
  const char* lf = static_cast<const char*>(std::memchr(pending_, '\n', size_t(len_)));
  size_t n = lf ? size_t(lf - pending_) : size_t(len_);
  std::memcpy(words->text, pending_, n);
  words->text[n] = 0;
  OutFile(repeat_ ? "(command %s)(again)\n" : "(command %s)\n", words->text);
  repeat_ = true;
  words->count = 0;
  char* p = words->text;
  while (*p && words->count < kMaxWords) {
    while (*p == ' ') ++p;
    if (!*p) break;
    words->word[words->count++] = p;
    while (*p && *p != ' ') ++p;
    if (*p) *p++ = 0;
  }
  if (words->count == 0) {
    words->word[0] = "nop";
    words->count = 1;
  }
}

void HostIo::ConsumeCommandLine() {
  const char* lf = static_cast<const char*>(std::memchr(pending_, '\n', size_t(len_)));
  int n = lf ? int(lf - pending_) + 1 : len_;
  std::memmove(pending_, pending_ + n, size_t(len_ - n));
  len_ -= n;
  pending_[len_] = 0;
  repeat_ = false;
}

void HostIo::WaitCommandLine() {
  while (!PollCommandLine()) console_->SleepMs(10);
}

void HostIo::Reset() {
  len_ = 0;
  pending_[0] = 0;
  repeat_ = false;
  ended_ = false;
  quitSent_ = false;
}

void HostIo::SendReply(const char* format, ...) {
  char text[516];
  va_list ap;
  va_start(ap, format);
  std::vsnprintf(text, sizeof text, format, ap);
  va_end(ap);
  OutFile("%s\n", text);
  MonitorPrint("\r%.79s\n", text);
  if (xboard && console_) {
    std::string line(text);
    line += '\n';
    console_->WriteOut(line.data(), line.size());
  }
}

void HostIo::HostPrint(const char* format, ...) {
  char text[1024];
  va_list ap;
  va_start(ap, format);
  int n = std::vsnprintf(text, sizeof text, format, ap);
  va_end(ap);
  if (n < 0) return;
  if (console_) console_->WriteOut(text, size_t(n) < sizeof text ? size_t(n) : sizeof text - 1);
}

void HostIo::VMonitor(const char* format, va_list ap) {
  if (!monitor || !console_) return;
  char text[1024];
  int n = std::vsnprintf(text, sizeof text, format, ap);
  if (n < 0) return;
  console_->WriteErr(text, size_t(n) < sizeof text ? size_t(n) : sizeof text - 1);
}

void HostIo::MonitorPrint(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  VMonitor(format, ap);
  va_end(ap);
}

bool HostIo::OpenLog() {
  if (logFile_) return true;
  if (logFailed_) return false;
  char name[64];
  std::string path;
  for (int i = 0; i <= 999; ++i) {
    std::snprintf(name, sizeof name, "TOLV%03d.LOG", i);
    path = logDir.empty() ? std::string(name) : logDir + "/" + name;
    if (i == 999) break;
    std::FILE* probe = std::fopen(path.c_str(), "rb");
    if (!probe) break;
    std::fclose(probe);
  }
  logFile_ = std::fopen(path.c_str(), "wb");
  if (!logFile_) {
    logFailed_ = true;
    char text[300];
    std::snprintf(text, sizeof text, "OutFile: '%s' create failed", path.c_str());
    Fatal(text);
  }
  return true;
}

void HostIo::VLog(const char* format, va_list ap) {
  if (!log || !OpenLog()) return;
  std::vfprintf(logFile_, format, ap);
  std::fflush(logFile_);
}

void HostIo::OutFile(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  VLog(format, ap);
  va_end(ap);
}

void HostIo::Fatal(const char* text) {
  char msg[260];
  std::snprintf(msg, sizeof msg, "%s", text);
  if (log && logFile_) {
    std::fprintf(logFile_, "\nERROR: %s\n", msg);
    std::fflush(logFile_);
  } else if (log && !logFailed_) {
    OutFile("\nERROR: %s\n", msg);
  }
  MonitorPrint("\nERROR: %s\n", msg);
  std::exit(1);
}

}  // namespace corvane
