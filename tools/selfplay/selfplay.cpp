// selfplay: the default database's games. Every opening line of an ECO file
// is played onward by the engine's fixed-depth driver, four depth levels
// paired in turn, so the same games come out on every machine.
//   selfplay ECO.pgn OUT.pgn [PART COUNT]
// With PART and COUNT only the PART-th of COUNT even runs of lines is
// played (the build runs the parts side by side and joins them in order:
// each game starts from an empty hash table, so a part's games do not
// depend on the others).
//
// A game ends by the rules (mate, stalemate, fifty moves, threefold
// repetition, bare kings); one still going at the length cap is adjudicated
// by material, and its closing comment says so. The move that leaves the
// named line carries the line's name as a comment and the engine's main
// line as a variation.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "board.h"
#include "eval.h"
#include "game.h"
#include "search.h"
#include "trans.h"

using namespace corvane;

namespace {

struct OpeningLine {
  std::string eco, opening, variation;
  std::vector<std::string> moves;  // SAN as written
};

std::string TagValue(const std::string& line) {
  const size_t a = line.find('"'), b = line.rfind('"');
  return a == std::string::npos || b <= a ? std::string() : line.substr(a + 1, b - a - 1);
}

bool IsMoveNumber(const std::string& w) {
  size_t i = 0;
  while (i < w.size() && w[i] >= '0' && w[i] <= '9') ++i;
  return i > 0 && (i == w.size() || w[i] == '.');
}

std::vector<OpeningLine> ReadLines(const char* path) {
  std::vector<OpeningLine> lines;
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return lines;
  std::string text;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
  std::fclose(f);
  OpeningLine cur;
  bool inTags = false;
  int braces = 0;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (braces == 0 && !line.empty() && line[0] == '[') {
      if (!inTags) cur = OpeningLine();
      inTags = true;
      if (line.compare(0, 5, "[ECO ") == 0) cur.eco = TagValue(line);
      if (line.compare(0, 9, "[Opening ") == 0) cur.opening = TagValue(line);
      if (line.compare(0, 11, "[Variation ") == 0) cur.variation = TagValue(line);
      continue;
    }
    std::string word;
    auto take = [&] {
      if (word.empty()) return;
      if (word == "*" || word == "1-0" || word == "0-1" || word == "1/2-1/2") {
        if (inTags) lines.push_back(cur);
        inTags = false;
      } else if (inTags && !IsMoveNumber(word)) {
        cur.moves.push_back(word);
      }
      word.clear();
    };
    for (char c : line) {
      if (c == '{') ++braces;
      if (braces > 0) {
        if (c == '}') --braces;
        continue;
      }
      if (c == ' ' || c == '\t') take();
      else word += c;
    }
    take();
  }
  return lines;
}

std::string Plain(std::string san) {
  while (!san.empty() && (san.back() == '+' || san.back() == '#' || san.back() == '!' || san.back() == '?'))
    san.pop_back();
  for (char& c : san)
    if (c == 'O') c = '0';
  std::string out;
  for (char c : san)
    if (c != 'x' && c != '=') out += c;
  return out;
}

EngineMove FindSan(const EnginePosition& pos, const std::string& san) {
  EngineMove list[kGameMoveList];
  const int n = GenGameMoves(pos, list);
  const std::string want = Plain(san);
  for (int i = 0; i < n; ++i) {
    char text[16];
    ShortMoveText(pos, list[i], text);
    if (Plain(text) == want) return list[i];
  }
  return 0;
}

// Material in pawns from White's side.
int Material(const EnginePosition& pos) {
  static const int kValue[6] = {1, 3, 3, 5, 9, 0};
  int sum = 0;
  const u8* b = pos.cell + 20;
  for (int s = 0; s < 80; ++s) {
    const u8 c = b[s];
    if (c == kEmpty || c == kRim || s % 10 < 1 || s % 10 > 8) continue;
    const int v = kValue[TypeOf(c)];
    sum += (c & kWhiteBit) ? v : -v;
  }
  return sum;
}

struct Level {
  const char* name;
  int depth;
  int rating;
};
const Level kLevels[4] = {
    {"Corvane Level 1", 1, 1250}, {"Corvane Level 2", 2, 1500}, {"Corvane Level 3", 3, 1750}, {"Corvane Level 4", 4, 2000}};
const char* const kEvents[] = {"Rookwell Onyx Open", "Veltmoor Club Championship", "Harbour Rapid",
                               "Autumn Invitational", "Spring Rating Tournament", "County League"};
const char* const kSites[] = {"Veltmoor", "Carrow Bay", "Ashby Fen", "Lindqvist", "Tarnholm", "Wexmoor"};

constexpr int kPlyCap = 160;
constexpr int kAdjudicationMargin = 3;  // pawns ahead at the cap to win

std::string MoveNumberText(int ply, bool force) {
  char t[16];
  if (ply % 2 == 0) std::snprintf(t, sizeof t, "%d. ", ply / 2 + 1);
  else if (force) std::snprintf(t, sizeof t, "%d... ", ply / 2 + 1);
  else t[0] = 0;
  return t;
}

// Writes one game; returns its result text.
std::string PlayGame(const OpeningLine& line, int index, std::string* pgn) {
  const int pairing = index % 12;  // every ordered pair of distinct levels in turn
  const int white = pairing / 3, black = (white + 1 + pairing % 3) % 4;
  EngineGame* game = new EngineGame;
  ResetGame(game);
  std::string moves;  // movetext
  bool ok = true;
  for (const std::string& san : line.moves) {
    const EngineMove m = FindSan(game->pos, san);
    if (!m) {
      ok = false;
      break;
    }
    char text[16];
    ShortMoveText(game->pos, m, text);
    moves += MoveNumberText(game->cur, false) + text + " ";
    PlayGameMove(game, m, 0);
  }
  std::string result = "*", closing;
  TransClear(0);
  bool leftLine = false, forceNumber = false;
  while (ok) {
    if (game->endText) {
      if (game->result > 0) result = "1-0";
      else if (game->result < 0) result = "0-1";
      else result = "1/2-1/2";
      closing = game->endText;
      break;
    }
    if (game->cur >= kPlyCap) {
      const int m = Material(game->pos);
      result = m >= kAdjudicationMargin ? "1-0" : m <= -kAdjudicationMargin ? "0-1" : "1/2-1/2";
      closing = "Adjudicated at move " + std::to_string(kPlyCap / 2) + ": " +
                (result == "1/2-1/2" ? "material level" : "material ahead");
      break;
    }
    const Level& level = kLevels[game->cur % 2 == 0 ? white : black];
    SetupRoot(game->start, game->moves, game->cur);
    Planner();
    const SearchResult r = SearchFixedDepth(level.depth);
    if (!r.best) break;
    char text[16];
    ShortMoveText(game->pos, r.best, text);
    moves += MoveNumberText(game->cur, forceNumber) + text + " ";
    forceNumber = false;
    if (!leftLine) {
      leftLine = true;
      std::string name = line.opening;
      if (!line.variation.empty()) name += ", " + line.variation;
      moves += "{" + line.eco + " " + name + "} ";
      // The engine's main line from this move, as a variation.
      EnginePosition pos = game->pos;
      std::string variation;
      for (int i = 0; i < kMaxPly && r.pv[i]; ++i) {
        char t[16];
        ShortMoveText(pos, r.pv[i], t);
        variation += MoveNumberText(game->cur + i, i == 0) + t + " ";
        EngineMove list[kGameMoveList];
        const int n = GenGameMoves(pos, list);
        bool legal = false;
        for (int k = 0; k < n; ++k) legal = legal || list[k] == r.pv[i];
        if (!legal) break;
        MakeGameMove(&pos, r.pv[i]);
      }
      if (!variation.empty()) {
        variation.pop_back();
        moves += "(" + variation + ") ";
      }
      // After a comment and a variation a black move repeats its number.
      forceNumber = true;
    }
    PlayGameMove(game, r.best, 0);
  }
  delete game;
  if (!ok) return "";
  // The engine's move texts mark every check with "+"; a mate is "#".
  if (closing == "Checkmate") {
    const size_t plus = moves.rfind('+');
    if (plus != std::string::npos) moves[plus] = '#';
  }
  const unsigned seed = unsigned(index) * 2654435761u;
  char head[1024];
  const int year = 2019 + int(seed % 6), month = 1 + int((seed >> 8) % 12), day = 1 + int((seed >> 16) % 28);
  std::snprintf(head, sizeof head,
                "[Event \"%s\"]\n[Site \"%s\"]\n[Date \"%04d.%02d.%02d\"]\n[Round \"%d\"]\n[White \"%s\"]\n"
                "[Black \"%s\"]\n[Result \"%s\"]\n[ECO \"%s\"]\n[WhiteElo \"%d\"]\n[BlackElo \"%d\"]\n\n",
                kEvents[(seed >> 4) % 6], kSites[(seed >> 12) % 6], year, month, day, 1 + int((seed >> 20) % 9),
                kLevels[white].name, kLevels[black].name, result.c_str(), line.eco.c_str(), kLevels[white].rating,
                kLevels[black].rating);
  *pgn += head;
  // Wrap the movetext near 79 columns.
  std::string body = moves + "{" + closing + "} " + result;
  size_t column = 0;
  std::string word;
  auto flush = [&] {
    if (word.empty()) return;
    if (column && column + 1 + word.size() > 79) {
      *pgn += "\n";
      column = 0;
    } else if (column) {
      *pgn += " ";
      ++column;
    }
    *pgn += word;
    column += word.size();
    word.clear();
  };
  for (char c : body) {
    if (c == ' ') flush();
    else word += c;
  }
  flush();
  *pgn += "\n\n";
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: selfplay ECO.pgn OUT.pgn [PART COUNT]\n");
    return 2;
  }
  const int part = argc == 5 ? std::atoi(argv[3]) : 0;
  const int count = argc == 5 ? std::atoi(argv[4]) : 1;
  if (count < 1 || part < 0 || part >= count) {
    std::fprintf(stderr, "selfplay: bad part %d of %d\n", part, count);
    return 2;
  }
  const std::vector<OpeningLine> lines = ReadLines(argv[1]);
  if (lines.empty()) {
    std::fprintf(stderr, "selfplay: no opening lines in %s\n", argv[1]);
    return 1;
  }
  i32 params[kParamCount];
  DefaultParams(params);
  OptsXlat(params);
  TransInit(1 << 20);
  std::FILE* out = std::fopen(argv[2], "wb");
  if (!out) {
    std::fprintf(stderr, "selfplay: cannot write %s\n", argv[2]);
    return 1;
  }
  int played = 0, skipped = 0;
  const size_t first = lines.size() * size_t(part) / size_t(count);
  const size_t last = lines.size() * size_t(part + 1) / size_t(count);
  for (size_t i = first; i < last; ++i) {
    std::string pgn;
    if (PlayGame(lines[i], int(i), &pgn).empty()) {
      ++skipped;
      continue;
    }
    std::fputs(pgn.c_str(), out);
    ++played;
  }
  std::fclose(out);
  std::printf("selfplay: %d games, %d lines skipped\n", played, skipped);
  return skipped ? 1 : 0;
}
