// MessageWatch.

#include "message_watch.h"

namespace {

struct Search {
  const char* caption;
  std::vector<HWND> found;
};

BOOL CALLBACK TopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  if (IsWindowVisible(window) && lstrcmpA(text, search->caption) == 0) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM data) {
  auto* best = reinterpret_cast<std::string*>(data);
  char cls[32] = {};
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Static") == 0) {
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    if (lstrlenA(text) > static_cast<int>(best->size())) *best = text;
  }
  return TRUE;
}

}  // namespace

MessageWatch::MessageWatch(const char* caption) : caption_(caption), thread_([this] { Run(); }) {}

MessageWatch::~MessageWatch() {
  stop_ = true;
  thread_.join();
}

std::vector<std::string> MessageWatch::Texts() {
  std::lock_guard<std::mutex> hold(lock_);
  return texts_;
}

void MessageWatch::Clear() {
  std::lock_guard<std::mutex> hold(lock_);
  texts_.clear();
}

void MessageWatch::Run() {
  std::vector<HWND> answered;
  while (!stop_) {
    Search search{caption_.c_str(), {}};
    EnumWindows(TopLevel, reinterpret_cast<LPARAM>(&search));
    for (HWND box : search.found) {
      bool seen = false;
      for (HWND a : answered) seen = seen || a == box;
      if (seen) continue;
      std::string text;
      EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&text));
      {
        std::lock_guard<std::mutex> hold(lock_);
        texts_.push_back(text);
      }
      answered.push_back(box);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    // A closed box's handle may be reused later.
    std::vector<HWND> open;
    for (HWND a : answered) {
      if (IsWindow(a)) open.push_back(a);
    }
    answered.swap(open);
    Sleep(20);
  }
}
