// The module trace kept as lines while a TraceCapture lives, for tests that
// look for what the PGN reader reported.
#pragma once

#include <string>
#include <vector>

#include "texts.h"

class TraceCapture {
 public:
  explicit TraceCapture(std::vector<std::string>* lines) {
    Target() = lines;
    gdbase::SetTraceSink(&Collect);
  }
  ~TraceCapture() {
    gdbase::SetTraceSink(nullptr);
    Target() = nullptr;
  }
  TraceCapture(const TraceCapture&) = delete;
  TraceCapture& operator=(const TraceCapture&) = delete;

 private:
  static std::vector<std::string>*& Target() {
    static std::vector<std::string>* lines = nullptr;
    return lines;
  }
  static void Collect(const char* line) {
    if (Target()) Target()->push_back(line);
  }
};
