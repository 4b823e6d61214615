// Advice print-out lines.
#include "advice_print.h"

std::vector<std::string> AdvicePrintLines(const std::string& text, const std::string& title) {
  std::vector<std::string> calls;
  if (text.empty()) return calls;
  const std::string rule(97, '-');
  calls = {"START", rule, "\n.n L\n", title, "\n.n L\n", rule, "\n.n L\n.n L\n"};
  std::string line;
  auto send = [&] {
    if (!line.empty()) calls.push_back(line);
    line.clear();
  };
  for (char c : text) {
    if (c == '\n' || (c == ' ' && line.size() > 66)) {
      send();
      continue;
    }
    if (c == '\r') continue;
    line += c;
    if (line.size() >= kAdviceLineBuffer - 1) send();
  }
  send();
  calls.insert(calls.end(), {"\n.n L\n", rule, "\n.n L\n", "DONE"});
  return calls;
}
