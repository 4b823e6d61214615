// Corvane program: console and pipe input on Windows without blocking
// (console input events, PeekNamedPipe).
#include <windows.h>

#include <cstdio>
#include <string>

#include "console.h"

namespace corvane {

namespace {

class Win32Console : public Console {
 public:
  explicit Win32Console(HostIo* io) : io_(io) {
    in_ = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode;
    console_ = GetConsoleMode(in_, &mode) != 0;
    disk_ = !console_ && GetFileType(in_) == FILE_TYPE_DISK;
    QueryPerformanceFrequency(&freq_);
  }

  int ReadKey() override {
    if (ended_) return -2;
    return console_ ? ReadConsoleKey() : ReadPipeByte();
  }
  bool IsConsole() override { return console_; }
  void WriteOut(const char* text, size_t n) override {
    std::fwrite(text, 1, n, stdout);
    std::fflush(stdout);
  }
  void WriteErr(const char* text, size_t n) override {
    std::fwrite(text, 1, n, stderr);
    std::fflush(stderr);
  }
  long long ClockCs() override {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (long long)(now.QuadPart / (freq_.QuadPart / 100 ? freq_.QuadPart / 100 : 1));
  }
  void SleepMs(int ms) override { Sleep(DWORD(ms)); }

 private:
  int ReadConsoleKey() {
    DWORD waiting = 0;
    if (!GetNumberOfConsoleInputEvents(in_, &waiting)) {
      ShowSystemError("ReadKey: con peek failed");
      return 0;
    }
    if (waiting == 0) return 0;
    INPUT_RECORD rec;
    DWORD got = 0;
    if (!ReadConsoleInputA(in_, &rec, 1, &got)) {
      ShowSystemError("ReadKey: con read failed");
      return 0;
    }
    if (got == 1 && rec.EventType == KEY_EVENT && rec.Event.KeyEvent.bKeyDown) {
      int c = static_cast<unsigned char>(rec.Event.KeyEvent.uChar.AsciiChar);
      if (c == 13) return 10;
      if (c) return c;
    }
    return -1;
  }

  // Input that cannot be peeked (a character device, or a host pipe that is
  // no named pipe, as under some emulation layers) is read by a helper thread
  // into a buffer, so that the search still never blocks on it.
  static DWORD WINAPI ReaderThread(void* arg) {
    Win32Console* self = static_cast<Win32Console*>(arg);
    char chunk[4096];
    for (;;) {
      DWORD got = 0;
      BOOL ok = ReadFile(self->in_, chunk, sizeof chunk, &got, nullptr);
      EnterCriticalSection(&self->lock_);
      if (!ok || got == 0)
        self->readerEnded_ = true;
      else
        self->queue_.append(chunk, got);
      LeaveCriticalSection(&self->lock_);
      if (!ok || got == 0) return 0;
    }
  }

  int ReadQueued() {
    EnterCriticalSection(&lock_);
    int c = 0;
    if (qpos_ < queue_.size()) {
      c = static_cast<unsigned char>(queue_[qpos_++]);
      if (qpos_ == queue_.size()) {
        queue_.clear();
        qpos_ = 0;
      }
    } else if (readerEnded_) {
      ended_ = true;
      c = -2;
    }
    LeaveCriticalSection(&lock_);
    return c;
  }

  int ReadPipeByte() {
    if (threaded_) return ReadQueued();
    if (pos_ < len_) return static_cast<unsigned char>(buf_[pos_++]);
    DWORD avail = sizeof buf_;
    if (!disk_) {
      if (!PeekNamedPipe(in_, nullptr, 0, nullptr, &avail, nullptr)) {
        DWORD err = GetLastError();
        if (err == ERROR_BROKEN_PIPE || err == ERROR_INVALID_HANDLE || err == ERROR_PIPE_NOT_CONNECTED) {
          ended_ = true;  // the host has closed its end
          return -2;
        }
        if (err == ERROR_NOT_SUPPORTED || err == ERROR_INVALID_FUNCTION || err == ERROR_INVALID_PARAMETER) {
          InitializeCriticalSection(&lock_);
          threaded_ = true;
          HANDLE t = CreateThread(nullptr, 0, ReaderThread, this, 0, nullptr);
          if (t) {
            CloseHandle(t);
            return 0;
          }
          threaded_ = false;
        }
        ShowSystemError("ReadKey: pipe peek failed");
        return 0;
      }
      if (avail == 0) return 0;
      if (avail > sizeof buf_) avail = sizeof buf_;
    }
    DWORD got = 0;
    if (!ReadFile(in_, buf_, avail, &got, nullptr)) {
      if (GetLastError() == ERROR_BROKEN_PIPE) {
        ended_ = true;
        return -2;
      }
      ShowSystemError("ReadKey: pipe read failed");
      return 0;
    }
    if (got == 0) {
      if (disk_) {
        ended_ = true;
        return -2;
      }
      return 0;
    }
    len_ = int(got);
    pos_ = 0;
    return static_cast<unsigned char>(buf_[pos_++]);
  }

  void ShowSystemError(const char* text) {
    char msg[256];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             GetLastError(), 0, msg, sizeof msg, nullptr);
    while (n > 0 && (msg[n - 1] == '\n' || msg[n - 1] == '\r')) msg[--n] = 0;
    io_->MonitorPrint("\n%s : %s\n", text, n ? msg : "unknown error");
  }

  HostIo* io_;
  HANDLE in_;
  bool console_ = false, disk_ = false, ended_ = false;
  bool threaded_ = false, readerEnded_ = false;
  CRITICAL_SECTION lock_;
  std::string queue_;
  size_t qpos_ = 0;
  LARGE_INTEGER freq_;
  char buf_[4096];
  int len_ = 0, pos_ = 0;
};

}  // namespace

Console* CreateSystemConsole(HostIo* io) { return new Win32Console(io); }

}  // namespace corvane
