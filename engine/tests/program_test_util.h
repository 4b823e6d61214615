// Test aid: drives the engine program in-process with scripted input lines.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "program.h"

namespace corvane {

class ScriptConsole : public Console {
 public:
  std::string input;
  size_t pos = 0;
  std::string out, err;
  bool console = false;
  // Called when the script is used up; may append more input.
  std::function<bool(ScriptConsole&)> onEmpty;
  int ReadKey() override {
    if (pos >= input.size() && onEmpty && onEmpty(*this)) return 0;
    if (pos < input.size()) return static_cast<unsigned char>(input[pos++]);
    return -2;
  }
  bool IsConsole() override { return console; }
  void WriteOut(const char* t, size_t n) override { out.append(t, n); }
  void WriteErr(const char* t, size_t n) override { err.append(t, n); }
  long long ClockCs() override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() / 10;
  }
  void SleepMs(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

// One engine run: the input is read to its end, which ends the program.
struct EngineRun {
  ScriptConsole console;
  HostIo io;
  Program* pr;
  EngineRun();
  ~EngineRun();
  // Runs the command loop over the script; returns standard output.
  std::string Run(const std::string& script);
};

std::string Lines(std::initializer_list<const char*> lines);

}  // namespace corvane
