// Match runner: plays games between two CECP engines over pipes at a given
// time control with alternating colours, checks every move with the rules
// core, writes the games as PGN and prints the score with the Elo difference.
//
// corvane_match -1 "<engine command>" -2 "<engine command>" [-n games]
//               [-tc base+inc] [-pgn file] [-maxmoves n]
//               [-p1 personality.RWP] [-p2 personality.RWP]
//
// With -p1 or -p2 that engine (Corvane) plays as the personality: after
// "new" it gets the same "rw_parm" lines the engine link sends, and the
// personality's name stands in the PGN. The ladder of the program's own
// personalities is played this way.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "board.h"
#include "engine_player.h"
#include "movegen.h"
#include "notation.h"
#include "personality.h"
#include "personality_hooks.h"

namespace {

using Clock = std::chrono::steady_clock;

long long NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

// MATCH_TRACE=1 in the environment writes every line to and from the engines
// to standard error (for finding out what an engine needs on the wire).
bool Trace() {
  static const bool on = std::getenv("MATCH_TRACE") != nullptr;
  return on;
}

class Engine {
 public:
  Engine(const std::string& command, const std::string& name) : name_(name) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      int devnull = open("/dev/null", O_WRONLY);
      dup2(devnull, 2);
      for (int fd = 3; fd < 64; ++fd) close(fd);
      execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    to_ = in[1];
    from_ = out[0];
    fcntl(from_, F_SETFL, O_NONBLOCK);
  }
  ~Engine() { Stop(); }

  void Send(const std::string& line) {
    if (to_ < 0) return;
    if (Trace()) std::fprintf(stderr, "%lld %s < %s\n", NowMs() % 100000, name_.c_str(), line.c_str());
    std::string l = line + "\n";
    if (write(to_, l.data(), l.size()) < 0) dead_ = true;
  }
  // Next line within ms; false on timeout or end of output.
  bool ReadLine(std::string* line, long long ms) {
    long long end = NowMs() + ms;
    for (;;) {
      size_t lf = buffer_.find('\n');
      if (lf != std::string::npos) {
        *line = buffer_.substr(0, lf);
        if (!line->empty() && line->back() == '\r') line->pop_back();
        if (Trace()) std::fprintf(stderr, "%lld %s > %s\n", NowMs() % 100000, name_.c_str(), line->c_str());
        buffer_.erase(0, lf + 1);
        return true;
      }
      if (dead_) return false;
      long long left = end - NowMs();
      if (left <= 0) return false;
      pollfd p{from_, POLLIN, 0};
      int r = poll(&p, 1, int(left > 1000 ? 1000 : left));
      if (r > 0) {
        char buf[4096];
        ssize_t n = read(from_, buf, sizeof buf);
        if (n > 0)
          buffer_.append(buf, size_t(n));
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
          dead_ = true;
      }
    }
  }
  void Stop() {
    if (pid_ <= 0) return;
    Send("quit");
    for (int i = 0; i < 50; ++i) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;
        break;
      }
      usleep(20000);
    }
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
    if (to_ >= 0) close(to_);
    if (from_ >= 0) close(from_);
    to_ = from_ = -1;
  }
  bool dead() const { return dead_; }
  const std::string& name() const { return name_; }
  // Some engines (GNU Chess 6) act on one line per read of their input and
  // leave a second line that came with it unanswered until more input
  // arrives: a "go" written right after "time" and "otim" is never answered.
  // For those, Synced waits after each line until the engine has taken it
  // ("ping"/"pong"), so that the line that sets it thinking has a read of
  // its own; a ping that was swallowed is sent again.
  void SetSync(bool on) { sync_ = on; }
  void Synced(const std::string& line) {
    Send(line);
    if (!sync_) return;
    for (int tries = 0; tries < 20 && !dead_; ++tries) {
      std::string want = "pong " + std::to_string(++ping_), got;
      Send("ping " + std::to_string(ping_));
      long long end = NowMs() + 300;
      while (ReadLine(&got, end - NowMs()))
        if (got.rfind("pong ", 0) == 0 && std::atoi(got.c_str() + 5) >= ping_ - tries) {
          // GNU Chess answers a ping from two threads; a line written before
          // the second answer is again lost.  Let it settle.
          usleep(60000);
          return;
        }
    }
  }
  // CECP "feature usermove=1": moves go out as "usermove e2e4".
  void SetUserMove(bool on) { userMove_ = on; }
  void SendMove(const std::string& move) { Send(userMove_ ? "usermove " + move : move); }
  void SyncedMove(const std::string& move) { Synced(userMove_ ? "usermove " + move : move); }

 private:
  std::string name_;
  pid_t pid_ = -1;
  int to_ = -1, from_ = -1;
  bool dead_ = false;
  bool sync_ = false;
  int ping_ = 0;
  bool userMove_ = false;
  std::string buffer_;
};

struct Options {
  std::string cmd[2], name[2];
  std::vector<std::string> parameters[2];  // rw_parm lines of a personality
  bool sync[2] = {false, false};           // engine needs each line taken before the next
  int concurrency = 1;                     // games at once
  int games = 20;
  double base = 10.0, inc = 0.1;
  std::string pgn = "match.pgn";
  int maxMoves = 300;  // full moves before a draw is adjudicated
};

std::string CoordText(const MoveRecord& m) {
  char a[4], b[4];
  std::string s = std::string(SquareToText(m.from, a)) + SquareToText(m.to, b);
  if (m.flags & MOVE_PROMOTION) s += " qrbn"[m.flags & MOVE_PROMOTION_TYPE];
  return s;
}

// Key of a position for repetitions: squares, side, castling and en passant.
std::string PositionKey(const Board& b, int side) {
  std::string k;
  for (int s = 0; s < 128; ++s)
    if (OnBoard(s)) k += char(b[s]);
  k += char(side);
  k += char(b[CASTLING_RIGHTS]);
  k += char(b[EN_PASSANT_SQUARE]);
  return k;
}

bool InsufficientMaterial(const Board& b) {
  int minors = 0;
  for (int s = 0; s < 128; ++s) {
    if (!OnBoard(s) || !b[s]) continue;
    int t = b[s] & TYPE_MASK;
    if (t == KING) continue;
    if (t == BISHOP || t == KNIGHT)
      ++minors;
    else
      return false;
  }
  return minors <= 1;
}

struct GameResult {
  std::string result;       // "1-0", "0-1", "1/2-1/2"
  std::string termination;  // why
  std::string moves;        // PGN movetext
  bool illegal = false, timeLoss = false, crash = false;
};

// Parses "move e2e4" (or a bare coordinate move) from an engine line.
bool MoveFromLine(const std::string& line, std::string* move) {
  const char* p = line.c_str();
  if (std::strncmp(p, "move ", 5) == 0) {
    *move = line.substr(5);
  } else if (std::strncmp(p, "My move is: ", 12) == 0) {
    *move = line.substr(12);
  } else if (std::strncmp(p, "My move is : ", 13) == 0) {  // GNU Chess
    *move = line.substr(13);
  } else {
    return false;
  }
  while (!move->empty() && (move->back() == ' ' || move->back() == '\r')) move->pop_back();
  return true;
}

GameResult PlayGame(const Options& o, int white, int round) {
  GameResult g;
  Engine* e[2] = {new Engine(o.cmd[white], o.name[white]), new Engine(o.cmd[1 - white], o.name[1 - white])};
  const std::vector<std::string>* parameters[2] = {&o.parameters[white], &o.parameters[1 - white]};
  long long clock[2] = {(long long)(o.base * 1000), (long long)(o.base * 1000)};
  long long incMs = (long long)(o.inc * 1000 + 0.5);
  char level[64];
  int baseS = int(o.base);
  std::snprintf(level, sizeof level, "level 0 %d:%02d %g", baseS / 60, baseS % 60, o.inc);
  e[0]->SetSync(o.sync[white]);
  e[1]->SetSync(o.sync[1 - white]);
  for (Engine* x : e) {
    x->Send("xboard");
    x->Send("protover 2");
  }
  // Wait for the feature list of engines that send one.
  for (int i = 0; i < 2; ++i) {
    Engine* x = e[i];
    std::string line;
    long long end = NowMs() + 2000;
    while (NowMs() < end && x->ReadLine(&line, end - NowMs())) {
      if (line.find("usermove=1") != std::string::npos) {
        x->SetUserMove(true);
        x->Send("accepted usermove");
      }
      if (line.find("done=1") != std::string::npos || line.find("protover") != std::string::npos) break;
    }
    x->Synced("new");
    x->Synced("random");
    x->Synced(level);
    for (const std::string& p : *parameters[i]) x->Synced(p);
    x->Synced("easy");
    x->Synced("force");
  }
  Board board;
  SetInitialBoard(&board);
  int side = WHITE;
  int mover = 0;  // index into e: 0 plays white
  std::vector<std::string> seen{PositionKey(board, side)};
  int halfmoves = 0;
  bool started[2] = {false, false};
  std::string lastMove;
  int ply = 0;
  for (;;) {
    Engine* x = e[mover];
    char t1[32], t2[32];
    std::snprintf(t1, sizeof t1, "time %lld", clock[mover] / 10);
    std::snprintf(t2, sizeof t2, "otim %lld", clock[1 - mover] / 10);
    x->Synced(t1);
    x->Synced(t2);
    if (!started[mover]) {
      if (!lastMove.empty()) x->SyncedMove(lastMove);  // in force mode: taken before "go"
      x->Send("go");
      started[mover] = true;
    } else {
      x->SendMove(lastMove);
    }
    long long t0 = NowMs();
    std::string line, text;
    bool got = false, claimed = false;
    while (!got) {
      long long left = clock[mover] + 2000 - (NowMs() - t0);
      if (!x->ReadLine(&line, left)) break;
      if (MoveFromLine(line, &text)) {
        got = true;
      } else if (line == "resign" || line.rfind("tellics resign", 0) == 0) {
        g.result = mover == 0 ? "0-1" : "1-0";
        g.termination = x->name() + " resigns";
        claimed = true;
        break;
      } else if (line.rfind("1-0", 0) == 0 || line.rfind("0-1", 0) == 0 || line.rfind("1/2-1/2", 0) == 0) {
        size_t sp = line.find(' ');
        g.result = line.substr(0, sp);
        g.termination = x->name() + " claims " + line;
        claimed = true;
        break;
      }
    }
    if (claimed) break;
    long long used = NowMs() - t0;
    if (!got) {
      g.result = mover == 0 ? "0-1" : "1-0";
      if (x->dead()) {
        g.crash = true;
        g.termination = x->name() + " stopped";
      } else {
        g.timeLoss = true;
        g.termination = x->name() + " loses on time (no move)";
      }
      break;
    }
    clock[mover] -= used;
    if (clock[mover] < 0) {
      g.result = mover == 0 ? "0-1" : "1-0";
      g.timeLoss = true;
      g.termination = x->name() + " loses on time";
      break;
    }
    clock[mover] += incMs;
    // Legality with the rules core.
    MoveRecord list[kMoveListRoom];
    int n = GenerateLegalMoves(&board, list, nullptr, side);
    // Coordinates as CECP asks, or short algebraic as some engines send.
    std::string lower = text;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    int found = -1;
    for (int i = 0; i < n && found < 0; ++i)
      if (CoordText(list[i]) == lower) found = i;
    if (found < 0) {
      std::string san = text;
      if (lower == "o-o" || lower == "0-0") san = "O-O";
      if (lower == "o-o-o" || lower == "0-0-0") san = "O-O-O";
      MoveRecord parsed{};
      if (ParseAlgebraicMove(&parsed, san.c_str(), &board, side))
        for (int i = 0; i < n && found < 0; ++i)
          if (list[i].from == parsed.from && list[i].to == parsed.to &&
              (list[i].flags & MOVE_PROMOTION_TYPE) == (parsed.flags & MOVE_PROMOTION_TYPE))
            found = i;
    }
    if (found < 0) {
      g.result = mover == 0 ? "0-1" : "1-0";
      g.illegal = true;
      g.termination = x->name() + " plays the illegal move " + text;
      break;
    }
    char san[32];
    MoveToNotation(&board, &list[found], side, STYLE_ALGEBRAIC, san);
    if (ply % 2 == 0) g.moves += std::to_string(ply / 2 + 1) + ". ";
    g.moves += std::string(san) + " ";
    bool reset = (list[found].flags & MOVE_CAPTURE) || (board[list[found].from] & TYPE_MASK) == PAWN;
    MoveRecord made = list[found];
    MakeMove(&made, &board);
    side = OtherSide(side);
    ++ply;
    halfmoves = reset ? 0 : halfmoves + 1;
    lastMove = CoordText(list[found]);
    // Game end by the rules.
    int legal = CountLegalMoves(&board, side);
    int state = GetMateState(&board, legal, side);
    if (state == 2) {
      g.result = side == WHITE ? "0-1" : "1-0";
      g.termination = "checkmate";
      break;
    }
    if (state == 3) {
      g.result = "1/2-1/2";
      g.termination = "stalemate";
      break;
    }
    std::string key = PositionKey(board, side);
    int reps = 0;
    for (const std::string& k : seen) reps += k == key;
    seen.push_back(key);
    if (reps >= 2) {
      g.result = "1/2-1/2";
      g.termination = "threefold repetition";
      break;
    }
    if (halfmoves >= 100) {
      g.result = "1/2-1/2";
      g.termination = "fifty-move rule";
      break;
    }
    if (InsufficientMaterial(board)) {
      g.result = "1/2-1/2";
      g.termination = "insufficient material";
      break;
    }
    if (ply >= 2 * o.maxMoves) {
      g.result = "1/2-1/2";
      g.termination = "move limit";
      break;
    }
    mover = 1 - mover;
  }
  for (Engine* x : e) {
    x->Send("result " + g.result + " {" + g.termination + "}");
    delete x;
  }
  (void)round;
  return g;
}

void WritePgn(std::FILE* f, const Options& o, int white, int round, const GameResult& g) {
  char date[16];
  std::time_t now = std::time(nullptr);
  std::strftime(date, sizeof date, "%Y.%m.%d", std::localtime(&now));
  std::fprintf(f, "[Event \"Engine match\"]\n[Site \"?\"]\n[Date \"%s\"]\n[Round \"%d\"]\n", date, round);
  std::fprintf(f, "[White \"%s\"]\n[Black \"%s\"]\n[Result \"%s\"]\n", o.name[white].c_str(),
               o.name[1 - white].c_str(), g.result.c_str());
  std::fprintf(f, "[TimeControl \"%g+%g\"]\n[Termination \"%s\"]\n\n", o.base, o.inc, g.termination.c_str());
  std::string text = g.moves + g.result;
  size_t col = 0, p = 0;
  while (p < text.size()) {
    size_t sp = text.find(' ', p);
    if (sp == std::string::npos) sp = text.size();
    std::string word = text.substr(p, sp - p);
    if (col + word.size() + 1 > 79) {
      std::fputc('\n', f);
      col = 0;
    } else if (col) {
      std::fputc(' ', f);
      ++col;
    }
    std::fputs(word.c_str(), f);
    col += word.size();
    p = sp + 1;
  }
  std::fputs("\n\n", f);
  std::fflush(f);
}

std::string BaseName(const std::string& cmd) {
  std::string first = cmd.substr(0, cmd.find(' '));
  size_t slash = first.rfind('/');
  return slash == std::string::npos ? first : first.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  signal(SIGPIPE, SIG_IGN);
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string k = argv[i], v = argv[i + 1];
    if (k == "-1")
      o.cmd[0] = v;
    else if (k == "-2")
      o.cmd[1] = v;
    else if (k == "-n")
      o.games = std::atoi(v.c_str());
    else if (k == "-pgn")
      o.pgn = v;
    else if (k == "-p1" || k == "-p2") {
      int i = k == "-p1" ? 0 : 1;
      // A path with a folder is read as it stands (no speed adjustment needed:
      // the ladder measures the stored settings).
      std::FILE* f = std::fopen(v.c_str(), "rb");
      uint8_t image[kPersonalityFileSize];
      size_t got = f ? std::fread(image, 1, sizeof image, f) : 0;
      if (f) std::fclose(f);
      PersonalityRecord* record = AllocatePersonality();
      if (!ReadPersonalityBytes(image, got, record)) {
        std::fprintf(stderr, "cannot read the personality %s\n", v.c_str());
        FreePersonality(record);
        return 2;
      }
      std::string name = v.substr(v.rfind('/') + 1);
      if (name.size() > 4 && name.compare(name.size() - 4, 4, kPersonalityExtension) == 0)
        name.resize(name.size() - 4);
      EnginePersonality e;
      FillEnginePersonality(*record, name.c_str(), &e);
      o.parameters[i] = PersonalityParameterLines(e);
      o.name[i] = name;
      FreePersonality(record);
    } else if (k == "-c")
      o.concurrency = std::atoi(v.c_str());
    else if (k == "-sync1" || k == "-sync2")
      o.sync[k == "-sync1" ? 0 : 1] = std::atoi(v.c_str()) != 0;
    else if (k == "-maxmoves")
      o.maxMoves = std::atoi(v.c_str());
    else if (k == "-tc") {
      o.base = std::atof(v.c_str());
      size_t plus = v.find('+');
      o.inc = plus == std::string::npos ? 0.0 : std::atof(v.c_str() + plus + 1);
    }
  }
  if (o.cmd[0].empty() || o.cmd[1].empty()) {
    std::fprintf(stderr,
                 "usage: %s -1 engine1 -2 engine2 [-n games] [-tc base+inc] [-pgn file] [-c games-at-once] "
                 "[-sync1|-sync2 1]\n",
                 argv[0]);
    return 2;
  }
  for (int i = 0; i < 2; ++i)
    if (o.name[i].empty()) o.name[i] = BaseName(o.cmd[i]);
  // Never more engines than cores: two engines a game.
  long cores = sysconf(_SC_NPROCESSORS_ONLN);
  int most = cores >= 4 ? int(cores / 2) : 1;
  if (o.concurrency > most) o.concurrency = most;
  if (o.concurrency < 1) o.concurrency = 1;
  if (o.name[0] == o.name[1]) o.name[1] += "-2";
  std::FILE* pgn = std::fopen(o.pgn.c_str(), "w");
  if (!pgn) {
    std::fprintf(stderr, "cannot write %s\n", o.pgn.c_str());
    return 2;
  }
  int wins = 0, draws = 0, losses = 0, illegal = 0, timeLosses = 0, crashes = 0;
  // Games run in child processes, o.concurrency at a time; results are
  // written and counted in game order as the games before them are done.
  std::vector<GameResult> results(size_t(o.games));
  std::vector<bool> done(size_t(o.games), false);
  struct Running {
    pid_t pid;
    int fd, game;
  };
  std::vector<Running> running;
  int next = 0, reported = 0;
  auto report = [&]() {
    while (reported < o.games && done[size_t(reported)]) {
      int game = reported++;
      int white = game % 2;  // engine 1 has white in even games
      const GameResult& g = results[size_t(game)];
      WritePgn(pgn, o, white, game + 1, g);
      double s1 = g.result == "1/2-1/2" ? 0.5 : ((g.result == "1-0") == (white == 0) ? 1.0 : 0.0);
      if (s1 == 1.0)
        ++wins;
      else if (s1 == 0.5)
        ++draws;
      else
        ++losses;
      illegal += g.illegal;
      timeLosses += g.timeLoss;
      crashes += g.crash;
      std::printf("game %2d: %s - %s  %s  (%s)\n", game + 1, o.name[white].c_str(), o.name[1 - white].c_str(),
                  g.result.c_str(), g.termination.c_str());
      std::fflush(stdout);
    }
  };
  while (reported < o.games) {
    while (next < o.games && int(running.size()) < o.concurrency) {
      int game = next++;
      int fds[2];
      if (pipe(fds) != 0) {
        std::fprintf(stderr, "cannot make a pipe\n");
        return 2;
      }
      std::fflush(nullptr);
      pid_t pid = fork();
      if (pid == 0) {
        close(fds[0]);
        GameResult g = PlayGame(o, game % 2, game + 1);
        std::string out = g.result + "\n" + g.termination + "\n" + g.moves + "\n" + char('0' + g.illegal) +
                          char('0' + g.timeLoss) + char('0' + g.crash) + "\n";
        for (size_t at = 0; at < out.size();) {
          ssize_t w = write(fds[1], out.data() + at, out.size() - at);
          if (w <= 0) break;
          at += size_t(w);
        }
        _exit(0);
      }
      close(fds[1]);
      running.push_back({pid, fds[0], game});
    }
    // Read the first running game to its end (the child writes once, at the
    // end of its game), then collect the child.
    Running r = running.front();
    running.erase(running.begin());
    std::string text;
    char buf[4096];
    for (;;) {
      ssize_t got = read(r.fd, buf, sizeof buf);
      if (got > 0)
        text.append(buf, size_t(got));
      else if (got == 0 || errno != EINTR)
        break;
    }
    close(r.fd);
    waitpid(r.pid, nullptr, 0);
    GameResult& g = results[size_t(r.game)];
    size_t a = text.find('\n'), b = a == std::string::npos ? a : text.find('\n', a + 1),
           c = b == std::string::npos ? b : text.find('\n', b + 1);
    if (c == std::string::npos || text.size() < c + 4) {
      g.result = r.game % 2 == 0 ? "0-1" : "1-0";  // the game process died: engine 1 is not credited
      g.termination = "game process failed";
      g.crash = true;
    } else {
      g.result = text.substr(0, a);
      g.termination = text.substr(a + 1, b - a - 1);
      g.moves = text.substr(b + 1, c - b - 1);
      g.illegal = text[c + 1] == '1';
      g.timeLoss = text[c + 2] == '1';
      g.crash = text[c + 3] == '1';
    }
    done[size_t(r.game)] = true;
    report();
  }
  std::fclose(pgn);
  int n = wins + draws + losses;
  double s = n ? (wins + 0.5 * draws) / n : 0.5;
  std::printf("\nScore of %s vs %s: %d - %d - %d (wins - losses - draws)  %.1f%%  in %d games\n",
              o.name[0].c_str(), o.name[1].c_str(), wins, losses, draws, 100.0 * s, n);
  std::printf("illegal moves %d, time losses %d, crashes %d\n", illegal, timeLosses, crashes);
  if (s <= 0.0 || s >= 1.0 || n < 2) {
    std::printf("Elo difference: %s (no finite estimate from this score)\n", s >= 1.0   ? "+inf"
                                                                             : s <= 0.0 ? "-inf"
                                                                                        : "?");
  } else {
    double elo = -400.0 * std::log10(1.0 / s - 1.0);
    double var = (wins * (1 - s) * (1 - s) + draws * (0.5 - s) * (0.5 - s) + losses * s * s) / n;
    double se = std::sqrt(var / n);
    double margin = 1.96 * se * 400.0 / (std::log(10.0) * s * (1 - s));
    std::printf("Elo difference: %+.0f +/- %.0f (95%%)\n", elo, margin);
  }
  return illegal || crashes ? 1 : 0;
}
