// mknewbase: packs the files of an empty database into the template archive
// from which the database window makes new databases.
//   mknewbase OUT.dat FILE...
// Each file becomes a stored member named "new" with the file's extension
// (lower case), whatever the file itself is called.
#include <cctype>
#include <cstdio>
#include <string>

#include "template_archive.h"

namespace {

bool ReadFile(const std::string& path, std::string* text) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text->append(buffer, n);
  std::fclose(f);
  return true;
}

std::string MemberName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = file.find_last_of('.');
  std::string ext = dot == std::string::npos ? "" : file.substr(dot + 1);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  return "new." + ext;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: mknewbase OUT.dat FILE...\n");
    return 2;
  }
  std::string archive;
  for (int i = 2; i < argc; ++i) {
    std::string data;
    if (!ReadFile(argv[i], &data)) {
      std::fprintf(stderr, "mknewbase: cannot read %s\n", argv[i]);
      return 1;
    }
    archive += WriteTemplateMember(MemberName(argv[i]), data);
  }
  const std::string tmp = std::string(argv[1]) + ".tmp";
  std::FILE* out = std::fopen(tmp.c_str(), "wb");
  if (!out || std::fwrite(archive.data(), 1, archive.size(), out) != archive.size() || std::fclose(out) != 0) {
    std::fprintf(stderr, "mknewbase: cannot write %s\n", argv[1]);
    std::remove(tmp.c_str());
    return 1;
  }
  if (std::rename(tmp.c_str(), argv[1]) != 0) {
    std::fprintf(stderr, "mknewbase: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("%s: %d members, %zu bytes\n", argv[1], argc - 2, archive.size());
  return 0;
}
