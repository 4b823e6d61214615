#include "program_test_util.h"

namespace corvane {

EngineRun::EngineRun() {
  io.Attach(&console);
  pr = new Program;
  // A search started by the script runs to its own end before the script's
  // end reads as the host going away.
  console.onEmpty = [this](ScriptConsole&) { return pr->kind == kKindBusy; };
  ProgramInit(*pr, &io);
}

EngineRun::~EngineRun() { delete pr; }

std::string EngineRun::Run(const std::string& script) {
  console.input += script;
  pr->quit = false;
  io.ResetInputEnd();
  CommandLoop(*pr);
  return console.out;
}

std::string Lines(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) {
    s += l;
    s += '\n';
  }
  return s;
}

}  // namespace corvane
