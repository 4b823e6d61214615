// Corvane program: the idle command loop, the commands read during a search,
// edit mode, the parameter table and the monitor displays.
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "program.h"
#include "search.h"
#include "trans.h"

namespace corvane {

Program g_prog;

namespace {

struct ParmEntry {
  const char* name;
  int index;
  long long lo, hi;  // values the engine accepts
};

// Lookup order of the "rw_parm" names.
const ParmEntry kParms[] = {
    {"myp", kPMyp, 0, 100000},  {"opp", kPOpp, 0, 100000},
    {"myn", kPMyn, 0, 100000},  {"opn", kPOpn, 0, 100000},
    {"myb", kPMyb, 0, 100000},  {"opb", kPOpb, 0, 100000},
    {"myr", kPMyr, 0, 100000},  {"opr", kPOpr, 0, 100000},
    {"myq", kPMyq, 0, 100000},  {"opq", kPOpq, 0, 100000},
    {"cc", kPCc, 0, 100000},    {"mob", kPMob, 0, 100000},
    {"ks", kPKs, 0, 100000},    {"pp", kPPp, 0, 100000},
    {"pw", kPPw, 0, 100000},    {"avd", kPAvd, -100000, 100000},
    {"sop", kPSop, 0, 100},     {"rnd", kPRnd, 0, 100000},
    {"sel", kPSel, 0, 46},      {"cfd", kPCfd, -4000, 4000},
    {"md", kPMd, 1, 999},       {"ana", kPAna, INT_MIN, INT_MAX},
    {"tts", kPTts, 0, 1 << 28}, {"ttu", kPTtu, INT_MIN, INT_MAX},
};

const char* const kModeLabel[] = {"[H-H]", "[C-H]", "[H-C]", "[ANA-wait]", "[ANA-go]", "[EDIT]"};
const char* const kKindLabel[] = {"[idle]", "[anal]", "[busy]", "[anti-0]", "[anti-1]"};

bool IsMoveWord(const char* w) {
  return w[0] >= 'a' && w[0] <= 'h' && w[1] >= '1' && w[1] <= '8' && w[2] >= 'a' && w[2] <= 'h' &&
         w[3] >= '1' && w[3] <= '8';
}

// Leading decimal digits (with an optional sign), saturated to 64 bits.
bool ReadLong(const char* w, long long* value) {
  const char* p = w;
  bool neg = false;
  if (*p == '-' || *p == '+') neg = *p++ == '-';
  if (*p < '0' || *p > '9') return false;
  long long v = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (v < 1000000000000LL) v = v * 10 + (*p - '0');
  }
  *value = neg ? -v : v;
  return true;
}

int ClampInt(long long v) { return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v); }

void Announce(Program& pr) {
  if (!pr.game.endText) return;
  const char* r = pr.game.result > 0 ? "1-0" : pr.game.result < 0 ? "0-1" : "1/2-1/2";
  pr.io->SendReply("%s {%s}", r, pr.game.endText);
}

void ShowTimeControl(Program& pr) {
  if (pr.tc.fixed)
    pr.io->MonitorPrint("%d s fixed limit", pr.tc.fixed);
  else
    pr.io->MonitorPrint("%d moves in %d s + %d s", pr.tc.moves, pr.tc.base, pr.tc.inc);
  pr.io->MonitorPrint("  depht limit %d\n", pr.tc.depthShow);
}

void CreateHashTable(Program& pr) {
  const char* text = TransInit(pr.params[kPTts]);
  if (text) pr.io->MonitorPrint("%s\n", text);
}

void CmdReshow(Program& pr) {
  HostIo& io = *pr.io;
  if (!io.monitor) return;
  if (pr.mode < 0 || pr.mode > 5) FatalError("CmdReshow: BUG 1");
  if (pr.kind < 0 || pr.kind > 4) FatalError("CmdReshow: BUG 2");
  char a[16], b[16], head[64], mid[64];
  std::snprintf(head, sizeof head, "[%s][%s]", FormatClock(io.Now() - pr.startStamp, a),
                FormatClock(UsedTime(pr), b));
  std::snprintf(mid, sizeof mid, "%s%s%s ", pr.colour ? "(W)" : "(B)", kKindLabel[pr.kind],
                kModeLabel[pr.mode]);
  std::string in;
  const char* t = io.PendingText();
  for (int i = 0; i < io.PendingLength(); ++i) {
    unsigned char c = static_cast<unsigned char>(t[i]);
    if (c == '\n')
      in += "\\n";
    else if (c < 32) {
      in += '^';
      in += char(c + 64);
    } else {
      in += char(c);
    }
  }
  if (in.size() > 20) in = "..." + in.substr(in.size() - 20);
  if (io.ansi)
    io.MonitorPrint("\r\x1b[36m%s\x1b[33m%s\x1b[0m%s\x1b[K", head, mid, in.c_str());
  else
    io.MonitorPrint("\r%s%s%s", head, mid, in.c_str());
}

void NewEngineGame(Program& pr) {
  ResetGame(&pr.game);
  pr.tc.depthShow = 99;
  if (pr.mode != kModeAnaWait && pr.mode != kModeAnaGo) pr.mode = kModeBlack;
  pr.colour = 0;
}

void PrepareSearch(Program& pr, const EngineGame& game) {
  OptsXlat(pr.params);
  SetSearchPosition(game);
}

void PlayOwnMove(Program& pr, EngineMove best, EngineMove reply) {
  XgamClkStop(pr);
  char mv[8];
  pr.io->SendReply("move %s", MoveText(best, mv));
  PlayGameMove(&pr.game, best, reply);
  ShowBoard(pr);
  Announce(pr);
}

void OwnMove(Program& pr, bool fromGo) {
  if (fromGo) {
    if (pr.game.endText) {
      pr.io->SendReply("Error (game is over): go");
      return;
    }
    bool white = pr.game.pos.wtm != 0;
    pr.mode = white ? kModeWhite : kModeBlack;
    pr.colour = white ? 1 : 0;
  }
  int target, maximum, depth;
  AllocateMoveTime(pr, pr.game.cur, &target, &maximum, &depth, true);
  XgamClkStart(pr);
  pr.kind = kKindBusy;
  PrepareSearch(pr, pr.game);
  EngineMove reply = 0;
  EngineMove best = Think(pr, target, maximum, depth, false, &reply, false, false);
  pr.kind = kKindIdle;
  if (!best) {
    XgamClkDiscard(pr);
    pr.mode = kModeForce;
    return;
  }
  PlayOwnMove(pr, best, reply);
}

void Ponder(Program& pr) {
  EngineGame* saved = new EngineGame(pr.game);
  EngineMove expected = pr.game.expected;
  PlayGameMove(&pr.game, expected, 0);
  if (pr.game.endText) {
    pr.game = *saved;
    pr.game.expected = 0;
    delete saved;
    return;
  }
  char mv[8];
  pr.io->SendReply("Hint: %s", MoveText(expected, mv));
  int target, maximum, depth;
  AllocateMoveTime(pr, pr.game.cur, &target, &maximum, &depth, true);
  pr.kind = kKindPonder;
  PrepareSearch(pr, pr.game);
  pr.game = *saved;
  delete saved;
  EngineMove reply = 0;
  EngineMove best = Think(pr, target, maximum, depth, false, &reply, true, false);
  pr.game.expected = 0;
  pr.kind = kKindIdle;
  if (!best) {
    XgamClkDiscard(pr);
    return;
  }
  PlayOwnMove(pr, best, reply);
}

void Analyse(Program& pr) {
  pr.kind = kKindAnal;
  PrepareSearch(pr, pr.game);
  EngineMove reply = 0;
  Think(pr, 0, 0, 99, false, &reply, false, true);
  pr.kind = kKindIdle;
}

void Solve(Program& pr) {
  EngineMove list[kGameMoveList];
  if (GenGameMoves(pr.game.pos, list) == 0) {
    // Nothing to search: the mate search ends at once.
    pr.io->SendReply("rw_solve");
    return;
  }
  pr.kind = kKindBusy;
  PrepareSearch(pr, pr.game);
  EngineMove reply = 0;
  EngineMove best = Think(pr, 0, 0, 99, true, &reply, false, false);
  pr.kind = kKindIdle;
  if (best) pr.io->SendReply("rw_solve");
}

void Hint(Program& pr) {
  if (pr.game.endText) return;
  pr.kind = kKindBusy;
  bool post = pr.post;
  pr.post = false;
  PrepareSearch(pr, pr.game);
  EngineMove reply = 0;
  EngineMove best = Think(pr, 50, 100, 0, false, &reply, false, false);
  pr.post = post;
  pr.kind = kKindIdle;
  char mv[8];
  if (best) pr.io->SendReply("Hint: %s", MoveText(best, mv));
}

bool ParseSquare(const char* s, int* sq) {
  if (s[0] < 'a' || s[0] > 'h' || s[1] < '1' || s[1] > '8') return false;
  *sq = SqNum(s[0] - 'a', s[1] - '1');
  return true;
}

void EditMode(Program& pr) {
  int before = pr.mode;
  pr.mode = kModeEdit;
  EnginePosition edit = pr.game.pos;
  bool white = true;
  u8* b = edit.cell + 20;
  CommandWords w;
  for (;;) {
    pr.io->WaitCommandLine();
    pr.io->SplitCommandLine(&w);
    pr.io->ConsumeCommandLine();
    const char* word = w.word[0];
    int sq;
    if (std::strcmp(word, ".") == 0) break;
    if (std::strcmp(word, "c") == 0) {
      white = !white;
    } else if (std::strcmp(word, "#") == 0) {
      for (int s = 1; s <= 78; ++s)
        if (b[s] != kRim) b[s] = kEmpty;
    } else if (std::strlen(word) == 3 && word[0] == 'x' && ParseSquare(word + 1, &sq)) {
      b[sq] = kEmpty;
    } else if (std::strlen(word) == 3 && std::strchr("PNBRQK", word[0]) && ParseSquare(word + 1, &sq)) {
      int type = int(std::strchr("PNBRQK", word[0]) - "PNBRQK");
      b[sq] = white ? WCode(type) : BCode(type);
    } else if (std::strcmp(word, "quit") == 0 && pr.io->InputEnded()) {
      // The host has gone: leave edit mode and end.
      pr.mode = before;
      pr.quit = true;
      return;
    } else {
      pr.io->SendReply("Error (command not legal now): %s", word);
    }
  }
  pr.mode = before;
  edit.ep = 0;
  edit.fifty = 0;
  edit.castle[0] = b[5] == kWK && b[1] == kWR;
  edit.castle[1] = b[5] == kWK && b[8] == kWR;
  edit.castle[2] = b[75] == kBK && b[71] == kBR;
  edit.castle[3] = b[75] == kBK && b[78] == kBR;
  if (const char* why = ValidatePosition(edit)) {
    pr.io->MonitorPrint("edit: %s\n", why);
    pr.io->SendReply("Error (illegal position): .");
    return;
  }
  std::memset(&pr.game, 0, sizeof pr.game);
  pr.game.start = edit;
  RebuildPosition(&pr.game);
  ShowBoard(pr);
}

void HostMove(Program& pr, const char* word) {
  EngineMove m = FindGameMove(pr.game.pos, word);
  if (!m) {
    pr.io->SendReply("Illegal move: %s", word);
    return;
  }
  if (pr.game.cur >= kGameMoves) {
    pr.io->SendReply("Error (move list full): %s", word);
    return;
  }
  PlayGameMove(&pr.game, m, 0);
  ShowBoard(pr);
  Announce(pr);
}

void NewCommand(Program& pr, const CommandWords& w) {
  if (w.count >= 3 && std::strcmp(w.word[1], "jgn") == 0) {
    EngineGame* game = new EngineGame;
    std::string error;
    if (!CccJgnRead(w.word[2], game, &error)) {
      pr.io->SendReply("Error (bad game file): %s", error.c_str());
      delete game;
      return;
    }
    NewEngineGame(pr);
    pr.game = *game;
    delete game;
    RebuildPosition(&pr.game);
    pr.mode = kModeForce;
  } else {
    NewEngineGame(pr);
  }
  ShowBoard(pr);
}

void LevelCommand(Program& pr, const CommandWords& w) {
  if (w.count < 4) return;
  long long moves, m, s = 0, inc;
  if (!ReadLong(w.word[1], &moves) || !ReadLong(w.word[2], &m) || !ReadLong(w.word[3], &inc)) return;
  const char* colon = std::strchr(w.word[2], ':');
  if (colon && !ReadLong(colon + 1, &s)) s = 0;
  long long base = m * 60 + s;
  if (moves <= 0 || moves > 999) moves = 999;
  if (base < 0) base = 0;
  if (base > 100000000) base = 100000000;
  if (inc <= 0) inc = 0;
  if (inc > 100000) inc = 100000;
  pr.tc.moves = int(moves);
  pr.tc.base = int(base);
  pr.tc.inc = int(inc);
  pr.tc.fixed = 0;
  ShowTimeControl(pr);
}

}  // namespace

bool ReadNumber(const char* word, int* value) {
  long long v;
  if (!ReadLong(word, &v)) return false;
  *value = ClampInt(v);
  return true;
}

void ShowBoard(Program& pr) {
  HostIo& io = *pr.io;
  if (!io.monitor) return;
  const u8* b = pr.game.pos.cell + 20;
  char mv[8];
  io.MonitorPrint("\n");
  for (int rank = 7; rank >= 0; --rank) {
    std::string row;
    for (int file = 0; file < 8; ++file) {
      int s = SqNum(file, rank);
      u8 c = b[s];
      char cell[4] = {' ', '-', ' ', 0};
      if (c != kEmpty) {
        cell[1] = (c & kWhiteBit) ? 'W' : 'Z';
        cell[2] = "PNBRQKXX"[TypeOf(c)];
      }
      if (io.ansi) {
        row += ((file + rank) % 2) ? "\x1b[47m" : "\x1b[43m";
        row += (c != kEmpty && (c & kWhiteBit)) ? "\x1b[1;37m" : "\x1b[30m";
        row += cell;
        row += "\x1b[0m";
      } else {
        row += cell;
      }
    }
    if (rank == 4)
      io.MonitorPrint("%s cur   = %4d\n", row.c_str(), pr.game.cur);
    else if (rank == 3)
      io.MonitorPrint("%s expec = %s\n", row.c_str(), pr.game.expected ? MoveText(pr.game.expected, mv) : "");
    else
      io.MonitorPrint("%s\n", row.c_str());
  }
}

void FormatThinkingLine(const EnginePosition& root, int depth, int score, int timeCs, double nodes,
                        const EngineMove* line, char* out, size_t size) {
  int n = std::snprintf(out, size, "%2d %+5d %6d %9.0f", depth, score, timeCs, nodes);
  EnginePosition pos = root;
  EngineMove legal[kGameMoveList];
  for (int i = 0; line[i] && n < 200 && size_t(n) + 16 < size; ++i) {
    EngineMove m = line[i];
    char text[16];
    if (m == kNullMove) {
      std::strcpy(text, "...");
    } else {
      int count = GenGameMoves(pos, legal);
      bool ok = false;
      for (int k = 0; k < count && !ok; ++k) ok = ((legal[k] ^ m) & kMoveIdMask) == 0;
      if (!ok) break;
      ShortMoveText(pos, m & kMoveIdMask, text);
    }
    n += std::snprintf(out + n, size - size_t(n), " %s", text);
    MakeGameMove(&pos, m == kNullMove ? kNullMove : m & kMoveIdMask);
  }
}

void ParmCommand(Program& pr, const CommandWords& w, int first) {
  std::string reply;
  char item[400];
  for (int i = first; i < w.count; ++i) {
    const char* word = w.word[i];
    if (std::strcmp(word, "default") == 0) {
      DefaultParams(pr.params);
      reply += " default";
      continue;
    }
    const char* eq = std::strchr(word, '=');
    std::string name = eq ? std::string(word, size_t(eq - word)) : std::string(word);
    const ParmEntry* e = nullptr;
    for (const ParmEntry& p : kParms)
      if (name == p.name) {
        e = &p;
        break;
      }
    if (!e) {
      std::snprintf(item, sizeof item, " %s=?", name.c_str());
      reply += item;
      continue;
    }
    if (eq) {
      long long v = 0;
      ReadLong(eq + 1, &v);
      if (v < e->lo || v > e->hi)
        pr.io->SendReply("Error (value out of range): %s", word);
      else
        pr.params[e->index] = i32(v);
    }
    std::snprintf(item, sizeof item, " %s=%d", e->name, int(pr.params[e->index]));
    reply += item;
  }
  for (int k = kPCc; k <= kPPw; k += 2) pr.params[k + 1] = pr.params[k];
  pr.io->SendReply("rw_parm%s", reply.c_str());
  CreateHashTable(pr);
}

int SearchCommand(Program& pr) {
  HostIo& io = *pr.io;
  if (!io.PollCommandLine()) return 0;
  CommandWords w;
  io.SplitCommandLine(&w);
  const char* c = w.word[0];
  auto consume = [&]() { io.ConsumeCommandLine(); };
  if (!std::strcmp(c, "nop")) {
    consume();
    return 0;
  }
  if (!std::strcmp(c, "?")) {
    consume();
    return 1;
  }
  if (!std::strcmp(c, ".")) {
    consume();
    return 2;
  }
  if (!std::strcmp(c, "hard") || !std::strcmp(c, "easy")) {
    pr.ponder = c[0] == 'h';
    consume();
    return 0;
  }
  if (!std::strcmp(c, "post") || !std::strcmp(c, "nopost")) {
    pr.post = c[0] == 'p';
    consume();
    return 0;
  }
  if (!std::strcmp(c, "time")) {
    int v;
    if (w.count >= 2 && ReadNumber(w.word[1], &v)) SyncEngineClock(pr, v);
    consume();
    return 0;
  }
  if (!std::strcmp(c, "otim")) {
    consume();
    return 0;
  }
  if (!std::strcmp(c, "hint")) {
    char mv[8];
    if (pr.kind == kKindPonder && pr.game.expected) io.SendReply("Hint: %s", MoveText(pr.game.expected, mv));
    consume();
    return 0;
  }
  if (pr.kind == kKindPonder && pr.game.expected) {
    char mv[8];
    if (!std::strcmp(c, MoveText(pr.game.expected, mv))) {
      consume();
      PlayGameMove(&pr.game, pr.game.expected, 0);
      XgamClkStart(pr);
      pr.kind = kKindPonderHit;
      return 3;
    }
  }
  io.MonitorPrint("aborting search ...\n");
  return 4;
}

void ProgramInit(Program& pr, HostIo* io) {
  pr.io = io;
  DefaultParams(pr.params);
  CreateHashTable(pr);
  ResetGame(&pr.game);
  pr.tc = TimeControl{};
  pr.mode = kModeForce;
  pr.kind = kKindIdle;
  pr.colour = 0;
  pr.ponder = false;
  pr.post = false;
  pr.quit = false;
  pr.startStamp = io->Now();
  io->reshow = [&pr](bool) { CmdReshow(pr); };
}

bool CommandLoopTurn(Program& pr) {
  HostIo& io = *pr.io;
  // Mode step.
  if (pr.mode == kModeAnaWait) {
    if (!pr.game.endText) pr.mode = kModeAnaGo;
  } else if (pr.mode == kModeAnaGo) {
    pr.mode = kModeAnaWait;
  } else if (pr.game.endText && (pr.mode == kModeWhite || pr.mode == kModeBlack)) {
    pr.mode = kModeForce;
  }
  bool atEnd = pr.game.cur == pr.game.last;
  bool whiteToMove = pr.game.pos.wtm != 0;
  bool engineToMove = (pr.mode == kModeWhite && whiteToMove) || (pr.mode == kModeBlack && !whiteToMove);
  bool playing = pr.mode == kModeWhite || pr.mode == kModeBlack;
  if (pr.mode == kModeAnaGo) {
    Analyse(pr);
    return !pr.quit;
  }
  if (atEnd && engineToMove) {
    OwnMove(pr, false);
    return !pr.quit;
  }
  if (atEnd && playing && pr.ponder && pr.game.expected) {
    Ponder(pr);
    return !pr.quit;
  }
  io.WaitCommandLine();
  CommandWords w;
  io.SplitCommandLine(&w);
  io.ConsumeCommandLine();
  const char* c = w.word[0];
  auto is = [&](const char* name) { return std::strcmp(c, name) == 0; };
  int v;
  if (is("nop")) {
  } else if (is("xboard")) {
    io.xboard = true;
  } else if (is("new")) {
    NewCommand(pr, w);
  } else if (is("quit")) {
    pr.quit = true;
  } else if (is("random")) {
  } else if (is("force")) {
    pr.mode = kModeForce;
  } else if (is("white")) {
    pr.colour = 0;
  } else if (is("black")) {
    pr.colour = 1;
  } else if (is("level")) {
    LevelCommand(pr, w);
  } else if (is("st")) {
    if (w.count >= 2 && ReadNumber(w.word[1], &v)) {
      if (v <= 0) v = 1;
      if (v > 1000000) v = 1000000;
      pr.tc.fixed = v;
      pr.tc.moves = pr.tc.base = pr.tc.inc = 0;
      ShowTimeControl(pr);
    }
  } else if (is("sd")) {
    if (w.count >= 2 && ReadNumber(w.word[1], &v)) {
      pr.tc.depthShow = v <= 0 ? 1 : v;
      ShowTimeControl(pr);
    }
  } else if (is("time")) {
    if (w.count >= 2 && ReadNumber(w.word[1], &v)) SyncEngineClock(pr, v);
  } else if (is("otim")) {
  } else if (is("rw_solve")) {
    Solve(pr);
  } else if (is("go~anal")) {
    if (!pr.game.endText) Analyse(pr);
  } else if (is("go")) {
    OwnMove(pr, true);
  } else if (is("go~auto")) {
    if (!pr.game.endText) OwnMove(pr, false);
  } else if (is("go~anti")) {
    if (pr.game.expected && !pr.game.endText) Ponder(pr);
  } else if (std::strlen(c) >= 4 && IsMoveWord(c)) {
    HostMove(pr, c);
  } else if (is("?") || is("draw") || is("result") || is(".")) {
  } else if (is("edit")) {
    EditMode(pr);
  } else if (is("hint")) {
    Hint(pr);
  } else if (is("bk")) {
    io.SendReply(" This engine does not have a book.\n \n Okay?\n");
  } else if (is("undo")) {
    TakeBack(&pr.game, 1);
  } else if (is("remove")) {
    TakeBack(&pr.game, 2);
  } else if (is("hard")) {
    pr.ponder = true;
  } else if (is("easy")) {
    pr.ponder = false;
  } else if (is("post")) {
    pr.post = true;
  } else if (is("nopost")) {
    pr.post = false;
  } else if (is("analyze")) {
    pr.mode = kModeAnaWait;
  } else if (is("exit")) {
    pr.mode = kModeForce;
  } else if (is("lt")) {
    int n, u;
    if (!pr.tc.fixed && w.count >= 3 && ReadNumber(w.word[1], &n) && ReadNumber(w.word[2], &u)) {
      if (n < 0) n = 0;
      if (n > 998) n = 998;
      TimeTest(pr, n, u);
    }
  } else if (is("rw_parm")) {
    ParmCommand(pr, w, 1);
  } else {
    io.SendReply("Error (unknown command): %s", c);
  }
  return !pr.quit;
}

void CommandLoop(Program& pr) {
  while (CommandLoopTurn(pr)) {
  }
}

}  // namespace corvane
