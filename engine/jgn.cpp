// Corvane program: reader of the engine's own text game files (JGN).
// A file that cannot be used gives an error text; the caller's game is then
// left as it was.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "program.h"

namespace corvane {

namespace {

struct JgnError {
  std::string text;
};

[[noreturn]] void Fail(const char* format, const char* arg) {
  char text[300];
  std::snprintf(text, sizeof text, format, arg);
  throw JgnError{text};
}

// -1 end of file, 0 comment, 1 bracket item, 2 word.
int JgnItemRead(std::FILE* f, char* text) {
  int c;
  do {
    c = std::fgetc(f);
    if (c == EOF) return -1;
  } while (c <= 32);
  if (c == '(') {
    int depth = 1;
    while (depth > 0) {
      c = std::fgetc(f);
      if (c == EOF) Fail("JgnItemRead: (...) open", "");
      if (c == '(') ++depth;
      if (c == ')') --depth;
    }
    return 0;
  }
  int n = 0;
  if (c == '[') {
    for (;;) {
      c = std::fgetc(f);
      if (c == EOF) Fail("JgnItemRead: [...] open", "");
      if (c == ']') break;
      if (n >= 79) Fail("JgnItemRead: [...] too long", "");
      text[n++] = char(c);
    }
    text[n] = 0;
    return 1;
  }
  text[n++] = char(c);
  for (;;) {
    c = std::fgetc(f);
    if (c == EOF || c <= 32) break;
    if (n >= 79) Fail("JgnItemRead: word too long", "");
    text[n++] = char(c);
  }
  text[n] = 0;
  return 2;
}

int JgnChar(std::FILE* f, const char* set) {
  for (;;) {
    int c = std::fgetc(f);
    if (c == EOF) Fail("JgnChar: unexpected EOF", "");
    if (c && std::strchr(set, c)) return c;
  }
}

// Splits a bracket item into words at bytes of 32 or less.
int SplitItem(char* text, char** words, int max) {
  int n = 0;
  char* p = text;
  while (*p && n < max) {
    while (*p && static_cast<unsigned char>(*p) <= 32) ++p;
    if (!*p) break;
    words[n++] = p;
    while (*p && static_cast<unsigned char>(*p) > 32) ++p;
    if (*p) *p++ = 0;
  }
  return n;
}

bool IsFile(char c) { return c >= 'a' && c <= 'h'; }
bool IsRank(char c) { return c >= '1' && c <= '8'; }

EngineMove JgnLegalMove(const char* word, const EnginePosition& pos) {
  char text[16] = {};
  if (word[0] == '$') {
    size_t n = std::strlen(word + 1);
    std::memcpy(text, word + 1, n < 8 ? n : 8);
  } else if (std::strncmp(word, "0-0-0", 5) == 0) {
    std::strcpy(text, pos.wtm ? "e1c1" : "e8c8");
  } else if (std::strncmp(word, "0-0", 3) == 0) {
    std::strcpy(text, pos.wtm ? "e1g1" : "e8g8");
  } else {
    const char* p = word;
    if (*p && std::strchr("PNBRQKX", *p)) ++p;
    if (!IsFile(p[0]) || !IsRank(p[1]) || !p[2] || !std::strchr("-x%", p[2]) || !IsFile(p[3]) ||
        !IsRank(p[4]))
      return 0;
    text[0] = p[0];
    text[1] = p[1];
    text[2] = p[3];
    text[3] = p[4];
    if (p[5] && std::strchr("QRBN", p[5])) {
      text[4] = '=';
      text[5] = char(p[5] - 'A' + 'a');
    }
  }
  EngineMove list[kGameMoveList];
  int n = GenGameMoves(pos, list);
  for (int pass = 0; pass < 3; ++pass) {
    for (int i = 0; i < n; ++i) {
      char t[16];
      EngineMove m = list[i];
      std::snprintf(t, sizeof t, "%s%s", SquareName(MoveFrom(m)), SquareName(MoveTo(m)));
      int promo = MovePromo(m);
      if (pass == 0 && promo) {
        size_t k = std::strlen(t);
        t[k] = '=';
        t[k + 1] = " nbrq  "[promo];
        t[k + 2] = 0;
      } else if (pass == 1) {
        if (!promo) continue;
        size_t k = std::strlen(t);
        t[k] = " nbrq  "[promo];
        t[k + 1] = 0;
      } else if (pass == 2 && promo != kQueen) {
        continue;
      }
      if (std::strcmp(t, text) == 0) return m;
    }
  }
  Fail("JgnLegalMove: bad string [%s]", word);
}

void ReadGame(std::FILE* f, const char* opened, const char* selector, EngineGame* game) {
  char item[96];
  char* words[40];
  int number = 0;
  long sel = std::strtol(selector, nullptr, 10);
  for (;;) {
    int kind = JgnItemRead(f, item);
    if (kind < 0) Fail("CccJgnRead: %s not found", selector);
    if (kind != 1) continue;
    char copy[96];
    std::strcpy(copy, item);
    int n = SplitItem(copy, words, 40);
    if (n == 0 || std::strcmp(words[0], "game") != 0) continue;
    ++number;
    bool match = number == sel || (n >= 2 && std::strcmp(words[1], selector) == 0);
    if (!match) continue;
    std::memset(game, 0, sizeof *game);
    char label[40];
    std::snprintf(label, sizeof label, "%d (%.20s)", number, n >= 2 ? words[1] : "NONAME");
    std::snprintf(game->name, sizeof game->name, "%.60s / %.36s", opened, label);
    break;
  }
  InitialPosition(&game->start);
  EnginePosition work = game->start;
  bool positionGiven = false;
  for (;;) {
    int kind = JgnItemRead(f, item);
    if (kind < 0) break;
    if (kind == 0) continue;
    if (kind == 1) {
      char copy[96];
      std::strcpy(copy, item);
      int n = SplitItem(copy, words, 40);
      if (n == 0) continue;
      if (std::strcmp(words[0], "game") == 0) break;
      if (std::strcmp(words[0], "annotator") == 0 || std::strcmp(words[0], "remark") == 0) {
        std::string joined;
        for (int i = 1; i < n; ++i) {
          if (i > 1) joined += ' ';
          joined += words[i];
        }
        char* dest = words[0][0] == 'a' ? game->annotator : game->remark;
        std::snprintf(dest, 100, "%s", joined.c_str());
      } else if (std::strcmp(words[0], "posj") == 0) {
        char text[80];
        for (int i = 0; i < 64; ++i) text[i] = char(JgnChar(f, "PpNnBbRrQqKkEe%.-"));
        for (int i = 0; i < 5; ++i) text[64 + i] = char(JgnChar(f, "WwBbLSls.-"));
        text[69] = 0;
        // Only the first flag character names the side to move.
        char flags[8];
        std::memcpy(flags, text + 64, 5);
        if (flags[0] != 'W' && flags[0] != 'w') text[64] = '.';
        for (int i = 1; i < 5; ++i)
          if (flags[i] == 'W' || flags[i] == 'w') text[64 + i] = '.';
        SetPositionFromString(text, &game->start);
        if (const char* why = ValidatePosition(game->start)) Fail("CccJgnRead: bad position: %s", why);
        work = game->start;
        positionGiven = true;
      }
      continue;
    }
    EngineMove m = JgnLegalMove(item, work);
    if (!m) continue;
    if (game->last >= kGameMoves) Fail("CccJgnRead: more than %s moves", "800");
    game->moves[game->last++] = m;
    game->cur = game->last;
    MakeGameMove(&work, m);
  }
  if (positionGiven) game->cur = 0;
}

}  // namespace

bool CccJgnRead(const char* argument, EngineGame* game, std::string* error) {
  std::string arg(argument);
  std::string name = arg, selector = "1";
  size_t slash = arg.find('/');
  if (slash != std::string::npos) {
    name = arg.substr(0, slash);
    selector = arg.substr(slash + 1);
  }
  const std::string candidates[4] = {name, name + ".JGN", "\\CORVANE\\00POS\\" + name,
                                     "\\CORVANE\\00POS\\" + name + ".JGN"};
  std::FILE* f = nullptr;
  std::string opened;
  for (const std::string& c : candidates) {
    f = std::fopen(c.c_str(), "rb");
    if (f) {
      opened = c;
      break;
    }
  }
  if (!f) {
    char text[300];
    std::snprintf(text, sizeof text, "CccJgnRead: '%.200s' open failed", name.c_str());
    *error = text;
    return false;
  }
  try {
    ReadGame(f, opened.c_str(), selector.c_str(), game);
  } catch (const JgnError& e) {
    std::fclose(f);
    *error = e.text;
    return false;
  }
  std::fclose(f);
  RebuildPosition(game);
  return true;
}

}  // namespace corvane
