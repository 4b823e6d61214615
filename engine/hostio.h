// Corvane program: input lines from the host and the four output channels
// (replies on standard output, the monitor on standard error, the log file
// and fatal errors).  The operating system sits behind Console; the rest is
// plain C++ so that the protocol can be driven by tests line by line.
//
// Interface: Console, HostIo (PollCommandLine, SplitCommandLine,
// ConsumeCommandLine, SendReply, HostPrint, MonitorPrint, OutFile,
// FatalError), g_io.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

namespace corvane {

// The operating-system edge of the program.
class Console {
 public:
  virtual ~Console() = default;
  // Next input character; 0 none waiting, -1 a console event that is no
  // character, -2 the input has ended (host gone).
  virtual int ReadKey() = 0;
  virtual bool IsConsole() = 0;
  virtual void WriteOut(const char* text, size_t n) = 0;  // standard output, flushed
  virtual void WriteErr(const char* text, size_t n) = 0;  // standard error, flushed
  virtual long long ClockCs() = 0;                        // process clock, centiseconds
  virtual void SleepMs(int ms) = 0;
};

constexpr int kMaxWords = 40;
constexpr int kLineChars = 254;

struct CommandWords {
  int count;
  char text[kLineChars + 2];  // copy of the line, words cut with NULs
  const char* word[kMaxWords];
};

class HostIo {
 public:
  void Attach(Console* console) { console_ = console; }
  Console* console() { return console_; }

  bool ansi = false, log = false, monitor = false;
  bool xboard = false;
  std::string logDir;  // folder of the log file ("" = current folder)
  // Redraws the status line; called after collecting input.
  std::function<void(bool force)> reshow;

  int ReadKey();
  bool PollCommandLine();
  bool LinePending() const;
  void SplitCommandLine(CommandWords* words);
  void ConsumeCommandLine();
  // Waits (polling, 10 ms sleeps) until a line is complete.
  void WaitCommandLine();
  const char* PendingText() const { return pending_; }
  int PendingLength() const { return len_; }
  bool InputEnded() const { return ended_; }

  void SendReply(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void HostPrint(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void MonitorPrint(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void OutFile(const char* format, ...) __attribute__((format(printf, 2, 3)));
  [[noreturn]] void Fatal(const char* text);
  // Process-clock wrappers.
  long long Now() { return console_->ClockCs(); }

  // Test aid: forget the pending input and the end-of-input state.
  void Reset();
  void ResetInputEnd() {
    ended_ = false;
    quitSent_ = false;
  }

 private:
  void VMonitor(const char* format, va_list ap);
  void VLog(const char* format, va_list ap);
  bool OpenLog();

  Console* console_ = nullptr;
  char pending_[kLineChars + 2] = {};
  int len_ = 0;
  bool repeat_ = false;
  bool ended_ = false;     // input end seen
  bool quitSent_ = false;  // the closing "quit" has been put in
  long long lastShow_ = 0;
  std::FILE* logFile_ = nullptr;
  bool logFailed_ = false;
};

extern HostIo g_io;

}  // namespace corvane
