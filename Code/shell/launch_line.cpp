// Launch lines for the web and program launchers.
#include "launch_line.h"

std::string BuildLaunchLine(const std::string& command, const std::string& target) {
  if (target.empty()) return std::string();
  for (char ch : target)
    if (ch == '"' || static_cast<unsigned char>(ch) < 32 || ch == 127) return std::string();
  size_t cut = command.find("\"%1\"");
  if (cut == std::string::npos) cut = command.find("%1");
  std::string line = cut == std::string::npos ? command : command.substr(0, cut);
  // The cut leaves the blank that stood before the placeholder; one blank
  // separates the program from its argument.
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line + " \"" + target + "\"";
}

std::string FileTypeOf(const std::string& file) {
  const size_t dot = file.find('.');
  return dot == std::string::npos ? std::string() : file.substr(dot);
}
