// A scripted stand-in for an engine program, for the channel tests: each
// command line read from standard input makes it write a known reply.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#ifdef _WIN32
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#define getcwd _getcwd
#else
#include <unistd.h>
#endif

static void Put(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

int main() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  char line[512];
  bool deaf = false;
  while (std::fgets(line, sizeof line, stdin)) {
    line[std::strcspn(line, "\r\n")] = '\0';
    std::string command = line;
    if (deaf) continue;  // ends only when its input closes
    if (command == "deaf") deaf = true;
    if (command == "split") {
      Put("mo");
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      Put("ve e2e4\n");
    } else if (command == "many") {
      Put("one\ntwo\nthree\ntail");
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      Put(" end\n");
    } else if (command == "long") {
      Put(std::string(5000, 'x') + "\n");
    } else if (command == "crlf") {
      Put("move e2e4\r\n");
    } else if (command == "cwd") {
      char folder[1024];
      Put(std::string("cwd ") + (getcwd(folder, sizeof folder) ? folder : "?") + "\n");
    } else if (command == "stderr") {
      std::fputs("to standard error\n", stderr);
      std::fflush(stderr);
    } else if (command == "die") {
      std::exit(3);
    } else if (command == "quit") {
      return 0;
    } else if (command.rfind("echo ", 0) == 0) {
      Put(command.substr(5) + "\n");
    }
  }
  return 0;
}
