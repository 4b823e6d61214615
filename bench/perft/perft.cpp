// perft: node counts of the legal move tree, for checking and timing the
// rules core.
//
//   perft "FEN" DEPTH          prints "nodes N", the time and Mnps
//   perft --suite FILE [MAX]   runs an EPD-style file whose lines carry
//                              "perft1 N; perft2 N; ..." (or "D1 N; ...")
//                              after the position, up to depth MAX, and
//                              reports every mismatch
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "board.h"
#include "position_setup.h"

namespace {

struct Timed {
  uint64_t nodes;
  double seconds;
};

Timed TimePerft(Board* board, int side, int depth) {
  auto start = std::chrono::steady_clock::now();
  uint64_t nodes = Perft(board, side, depth);
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return {nodes, elapsed.count()};
}

double Mnps(const Timed& t) { return t.seconds > 0 ? t.nodes / t.seconds / 1e6 : 0.0; }

int RunOne(const char* fen, int depth) {
  Board board;
  int side = 0;
  if (!SetupPositionFromFen(fen, &board, &side)) {
    std::fprintf(stderr, "perft: cannot read the position \"%s\"\n", fen);
    return 2;
  }
  Timed t = TimePerft(&board, side, depth);
  std::printf("nodes %llu\n", static_cast<unsigned long long>(t.nodes));
  std::printf("time %.3f s\n", t.seconds);
  std::printf("speed %.2f Mnps\n", Mnps(t));
  return 0;
}

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

// Splits a suite line into the position (the four FEN fields; move counters
// are skipped) and its operations "perftN value" / "DN value".
bool ParseSuiteLine(const std::string& line, std::string* fen,
                    std::vector<std::pair<int, uint64_t>>* expect) {
  size_t semi = line.find(';');
  std::istringstream head(line.substr(0, semi));
  std::vector<std::string> words;
  for (std::string w; head >> w;) words.push_back(w);
  if (words.size() < 4) return false;
  *fen = words[0] + " " + words[1] + " " + words[2] + " " + words[3];
  // Anything after the four fields and before the first ';' may be the first
  // operation ("perft1 20") or move counters.
  std::string ops;
  for (size_t i = 4; i < words.size(); ++i) {
    if (words[i].find_first_not_of("0123456789") == std::string::npos && ops.empty()) continue;
    ops += words[i] + " ";
  }
  if (semi != std::string::npos) ops += ";" + line.substr(semi + 1);
  std::istringstream rest(ops);
  for (std::string op; std::getline(rest, op, ';');) {
    std::istringstream one(Trim(op));
    std::string code;
    unsigned long long value = 0;
    if (!(one >> code >> value)) continue;
    int depth = 0;
    if (code.rfind("perft", 0) == 0)
      depth = std::atoi(code.c_str() + 5);
    else if (code.size() > 1 && code[0] == 'D')
      depth = std::atoi(code.c_str() + 1);
    if (depth > 0) expect->push_back({depth, value});
  }
  return true;
}

int RunSuite(const char* path, int maxDepth) {
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "perft: cannot open %s\n", path);
    return 2;
  }
  int lineNo = 0, mismatches = 0, checked = 0, unreadable = 0;
  uint64_t totalNodes = 0;
  double totalSeconds = 0;
  for (std::string line; std::getline(in, line);) {
    ++lineNo;
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    std::string fen;
    std::vector<std::pair<int, uint64_t>> expect;
    Board board;
    int side = 0;
    if (!ParseSuiteLine(line, &fen, &expect) || !SetupPositionFromFen(fen.c_str(), &board, &side)) {
      std::printf("line %d: cannot read the position\n", lineNo);
      ++unreadable;
      continue;
    }
    for (const auto& [depth, nodes] : expect) {
      if (depth > maxDepth) continue;
      Timed t = TimePerft(&board, side, depth);
      totalNodes += t.nodes;
      totalSeconds += t.seconds;
      ++checked;
      if (t.nodes != nodes) {
        ++mismatches;
        std::printf("line %d depth %d: expected %llu, counted %llu  (%s)\n", lineNo, depth,
                    static_cast<unsigned long long>(nodes), static_cast<unsigned long long>(t.nodes),
                    fen.c_str());
      }
    }
  }
  std::printf("%d counts checked, %d mismatches, %d unreadable lines\n", checked, mismatches, unreadable);
  std::printf("nodes %llu\n", static_cast<unsigned long long>(totalNodes));
  std::printf("time %.3f s\n", totalSeconds);
  std::printf("speed %.2f Mnps\n", totalSeconds > 0 ? totalNodes / totalSeconds / 1e6 : 0.0);
  return mismatches || unreadable ? 1 : 0;
}

void Usage() { std::fprintf(stderr, "usage: perft \"FEN\" DEPTH\n       perft --suite FILE [MAXDEPTH]\n"); }

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--suite") == 0) {
    int maxDepth = argc >= 4 ? std::atoi(argv[3]) : 99;
    return RunSuite(argv[2], maxDepth > 0 ? maxDepth : 99);
  }
  if (argc != 3) {
    Usage();
    return 2;
  }
  int depth = std::atoi(argv[2]);
  if (depth < 0 || depth > 12) {
    Usage();
    return 2;
  }
  return RunOne(argv[1], depth);
}
