// msgtable: compiles a message-table source into "<out>.CEL" and "<out>.STR".
//   msgtable SOURCE OUTBASE
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "msgtable_compiler.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: msgtable SOURCE OUTBASE\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "msgtable: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::vector<uint8_t> cel, str;
  std::string error;
  if (!CompileMessageTable(text.str(), &cel, &str, &error)) {
    std::cerr << argv[1] << ": " << error << "\n";
    return 1;
  }
  std::string base = argv[2];
  if (!WriteFile(base + ".CEL", cel) || !WriteFile(base + ".STR", str)) {
    std::cerr << "msgtable: cannot write " << base << ".CEL/.STR\n";
    std::remove((base + ".CEL").c_str());
    std::remove((base + ".STR").c_str());
    return 1;
  }
  return 0;
}
