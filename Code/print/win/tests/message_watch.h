// Reads and dismisses the message boxes a test provokes: a thread finds
// top-level windows with the library's caption, keeps their text and presses
// OK.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class MessageWatch {
 public:
  explicit MessageWatch(const char* caption = "Rookwell Onyx Printing");
  ~MessageWatch();
  std::vector<std::string> Texts();
  void Clear();

 private:
  void Run();
  std::string caption_;
  std::atomic<bool> stop_{false};
  std::mutex lock_;
  std::vector<std::string> texts_;
  std::thread thread_;
};
