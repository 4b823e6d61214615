// The native engine process fed with 100,000 random and mutated protocol
// lines (binary bytes, very long lines, every command with wrong
// arguments): it must neither crash nor stop answering.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace {

class EngineProcess {
 public:
  EngineProcess() {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      int devnull = open("/dev/null", O_WRONLY);
      dup2(devnull, 2);
      close(in[1]);
      close(out[0]);
      execl(CORVANE_PATH, CORVANE_PATH, "-l-", "-a-", "-m-", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    to_ = in[1];
    from_ = out[0];
    fcntl(from_, F_SETFL, O_NONBLOCK);
    fcntl(to_, F_SETFL, O_NONBLOCK);
  }
  ~EngineProcess() {
    if (to_ >= 0) close(to_);
    if (from_ >= 0) close(from_);
    if (pid_ > 0 && !reaped_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool ok() const { return pid_ > 0; }

  // Writes everything while draining the engine's output.
  bool Send(const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
      pollfd p[2] = {{to_, POLLOUT, 0}, {from_, POLLIN, 0}};
      if (poll(p, 2, 5000) <= 0) return false;
      if (p[1].revents & (POLLIN | POLLHUP)) Drain();
      if (p[0].revents & (POLLERR | POLLHUP)) return false;
      if (p[0].revents & POLLOUT) {
        ssize_t n = write(to_, text.data() + done, text.size() - done);
        if (n < 0 && errno != EAGAIN) return false;
        if (n > 0) done += size_t(n);
      }
    }
    return true;
  }
  // Waits until the output holds `what` after `from`.
  bool WaitFor(const std::string& what, size_t from, int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (output.find(what, from) == std::string::npos) {
      if (std::chrono::steady_clock::now() > end) return false;
      pollfd p{from_, POLLIN, 0};
      poll(&p, 1, 50);
      if (!Drain() && (p.revents & POLLHUP)) return output.find(what, from) != std::string::npos;
    }
    return true;
  }
  int Finish() {
    close(to_);
    to_ = -1;
    int status = 0;
    for (int i = 0; i < 500; ++i) {
      Drain();
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      usleep(20000);
    }
    return -1;
  }
  std::string output;

 private:
  bool Drain() {
    char buf[65536];
    bool any = false;
    for (;;) {
      ssize_t n = read(from_, buf, sizeof buf);
      if (n <= 0) break;
      any = true;
      output.append(buf, size_t(n));
      if (output.size() > (1u << 22)) output.erase(0, output.size() - (1u << 20));
    }
    return any;
  }
  pid_t pid_ = -1;
  int to_ = -1, from_ = -1;
  bool reaped_ = false;
};

const char* const kCommands[] = {
    "nop",     "xboard", "new",      "random",  "force",   "white",    "black",   "level",    "st",   "sd",
    "time",    "otim",   "rw_solve", "go",      "?",       "draw",     "result",  "edit",     "hint", "bk",
    "undo",    "remove", "hard",     "easy",    "post",    "nopost",   "analyze", "exit",     ".",    "lt",
    "rw_parm", "e2e4",   "e7e5",     "g1f3",    "e7e8q",   "a7a8n",    "e1g1",    "Pe4",      "xe4",  "c",
    "#",       "Ka1",    "kh8",      "new jgn", "go~anal", "protover", "ping",    "usermove",
};
const char* const kArgs[] = {
    "",           "0",           "1",           "-1",       "5",        "40",   "99",   "999",
    "2147483647", "-2147483648", "99999999999", "0:30",     "5:",       ":",    "x",    "=",
    "sel=4",      "foo",         "mob",         "default",  "tts=4096", "md=2", "md=0", "sel=99",
    "cfd=-5000",  "jgn",         "nofile",      "nofile/2", "/",        "e2e4", "0.1",  "1-0",
    "{x}",        "md=",         "ttu=0",       "ana=1",    "rnd=50",
};

std::string RandomLine(std::mt19937& rng) {
  auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  // Commands that start a search come up less often, so that the run stays short.
  auto command = [&]() {
    for (;;) {
      std::string c = kCommands[pick(sizeof kCommands / sizeof *kCommands)];
      bool searches = c == "go" || c == "rw_solve" || c == "hint" || c == "analyze" || c == "go~anal";
      if (!searches || pick(10) == 0) return c;
    }
  };
  int kind = pick(100);
  std::string line;
  if (kind < 60) {
    line = command();
    int args = pick(4);
    for (int i = 0; i < args; ++i)
      line += std::string(pick(3) ? " " : "  ") + kArgs[pick(sizeof kArgs / sizeof *kArgs)];
  } else if (kind < 75) {
    // Mutated command: flipped, inserted or dropped bytes.
    line = command();
    line += " ";
    line += kArgs[pick(sizeof kArgs / sizeof *kArgs)];
    int edits = 1 + pick(3);
    for (int i = 0; i < edits && !line.empty(); ++i) {
      size_t at = size_t(pick(int(line.size())));
      switch (pick(3)) {
        case 0:
          line[at] = char(rng());
          break;
        case 1:
          line.insert(at, 1, char(rng()));
          break;
        default:
          line.erase(at, 1);
          break;
      }
    }
  } else if (kind < 90) {
    int n = pick(40);
    for (int i = 0; i < n; ++i) line += char(rng());  // binary bytes, LFs included
  } else if (kind < 92) {
    line.assign(size_t(10000), 'a');
    for (int i = 0; i < 200; ++i) line[size_t(pick(10000))] = pick(2) ? ' ' : char(rng());
  } else {
    const char* moves[] = {"a2a3", "b1c3", "d7d5", "h7h6", "e2e4", "g8f6", "b8c6", "d2d4"};
    line = moves[pick(8)];
  }
  // Quitting is a correct answer to "quit"; keep the engine running instead.
  if (line.rfind("quit", 0) == 0) line = "nop";
  size_t q = line.find("\nquit");
  while (q != std::string::npos) {
    line[q + 1] = 'Q';
    q = line.find("\nquit", q + 1);
  }
  return line;
}

TEST(Robustness, RandomAndMutatedLinesNeverStopTheEngine) {
  EngineProcess engine;
  ASSERT_TRUE(engine.ok());
  std::mt19937 rng(20261210);
  const int kLines = 100000, kBatch = 5000;
  for (int done = 0; done < kLines; done += kBatch) {
    // Searches stay short: one iteration and a small hash table, restored
    // after every parameter line (searches are tested elsewhere).
    const std::string shallow = "rw_parm md=1 tts=4096\n";
    std::string batch = shallow;
    for (int i = 0; i < kBatch; ++i) {
      std::string line = RandomLine(rng);
      batch += line + "\n";
      if (line.find("rw_parm") != std::string::npos) batch += shallow;
    }
    ASSERT_TRUE(engine.Send(batch)) << "engine stopped reading after " << done << " lines";
    // The engine must still answer: leave edit mode and analysis, then probe.
    size_t mark = engine.output.size();
    std::string probe = "probe" + std::to_string(done);
    ASSERT_TRUE(engine.Send(".\nexit\nxboard\nnop\nnew\nforce\n" + probe + "\n"));
    ASSERT_TRUE(engine.WaitFor("Error (unknown command): " + probe + "\n", mark, 20000))
        << "no answer after " << done + kBatch << " lines";
  }
  ASSERT_TRUE(engine.Send("quit\n"));
  EXPECT_EQ(engine.Finish(), 0);
}

}  // namespace
