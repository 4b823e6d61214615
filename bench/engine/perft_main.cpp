// engine-perft: perft over the engine's own move generator.
//   engine-perft "FEN" DEPTH        prints "nodes N", then the time and Mnps
//   engine-perft --suite FILE [MAX] runs an EPD-style file whose lines hold a
//                                   FEN and "perft1 N; perft2 N; ..." and
//                                   reports every mismatch (depths up to MAX)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "perft.h"
#include "trans.h"

using namespace corvane;

namespace {

double Seconds(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

int RunOne(const char* fen, int depth) {
  if (!SetupRootFromFen(fen)) {
    std::fprintf(stderr, "engine-perft: bad FEN: %s\n", fen);
    return 2;
  }
  auto t0 = std::chrono::steady_clock::now();
  u64 n = Perft(depth);
  double s = Seconds(t0);
  std::printf("nodes %llu\n", static_cast<unsigned long long>(n));
  std::printf("time %.3f s  %.1f Mnps\n", s, s > 0 ? double(n) / s / 1e6 : 0.0);
  return 0;
}

int RunSuite(const char* path, int maxDepth) {
  std::FILE* f = std::fopen(path, "r");
  if (!f) {
    std::fprintf(stderr, "engine-perft: cannot open %s\n", path);
    return 2;
  }
  char line[1024];
  int lineNo = 0, checked = 0, bad = 0;
  u64 total = 0;
  auto t0 = std::chrono::steady_clock::now();
  while (std::fgets(line, sizeof line, f)) {
    ++lineNo;
    std::string text(line);
    size_t cut = text.find("perft");
    size_t semi = text.find(';');
    if (semi != std::string::npos && (cut == std::string::npos || semi < cut)) cut = semi;
    if (cut == std::string::npos) continue;
    std::string fen = text.substr(0, cut);
    while (!fen.empty() && (fen.back() == ' ' || fen.back() == ';')) fen.pop_back();
    if (fen.empty() || fen[0] == '#') continue;
    for (size_t at = text.find("perft", cut); at != std::string::npos; at = text.find("perft", at + 5)) {
      int depth = std::atoi(text.c_str() + at + 5);
      const char* num = std::strchr(text.c_str() + at + 5, ' ');
      if (depth <= 0 || !num) continue;
      unsigned long long want = std::strtoull(num, nullptr, 10);
      if (depth > maxDepth) continue;
      if (!SetupRootFromFen(fen.c_str())) {
        std::printf("line %d: bad FEN: %s\n", lineNo, fen.c_str());
        ++bad;
        break;
      }
      u64 got = Perft(depth);
      total += got;
      ++checked;
      if (got != want) {
        std::printf("line %d: %s perft%d expected %llu got %llu\n", lineNo, fen.c_str(), depth, want,
                    static_cast<unsigned long long>(got));
        ++bad;
      }
    }
  }
  std::fclose(f);
  double s = Seconds(t0);
  std::printf("%d checked, %d mismatches, nodes %llu, time %.3f s  %.1f Mnps\n", checked, bad,
              static_cast<unsigned long long>(total), s, s > 0 ? double(total) / s / 1e6 : 0.0);
  return bad ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  TransInit(kTransMinBytes);
  if (argc >= 3 && std::strcmp(argv[1], "--suite") == 0)
    return RunSuite(argv[2], argc >= 4 ? std::atoi(argv[3]) : 99);
  if (argc != 3) {
    std::fprintf(stderr, "usage: engine-perft \"FEN\" DEPTH | engine-perft --suite FILE [MAXDEPTH]\n");
    return 2;
  }
  int depth = std::atoi(argv[2]);
  if (depth < 0 || depth > 20) {
    std::fprintf(stderr, "engine-perft: depth must be 0..20\n");
    return 2;
  }
  return RunOne(argv[1], depth);
}
