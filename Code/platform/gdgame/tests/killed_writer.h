// Test support for the durability tests of the game and key engines: a writer
// process is killed at a random moment while it saves games.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <random>

struct KilledWriterRun {
  bool started;   // the pipe and the child process could be made
  bool killed;    // the writer died of the kill, not on its own
  int32_t reported;  // the last game number the writer reported as written
};

// Forks a child that runs `writer(pipeOut)` (it never returns), kills it up
// to 30 ms after it reported its first game, and collects the game numbers it
// wrote into the pipe. Waiting for the first report keeps every round
// meaningful on a loaded machine, where a child may not even have opened the
// files within 30 ms of its start.
template <class Writer>
KilledWriterRun RunAndKillWriter(Writer writer, std::mt19937& random) {
  KilledWriterRun run{false, false, 0};
  int fds[2];
  if (pipe(fds) != 0) return run;
  pid_t child = fork();
  if (child < 0) {
    close(fds[0]);
    close(fds[1]);
    return run;
  }
  if (child == 0) {
    close(fds[0]);
    writer(fds[1]);
  }
  close(fds[1]);
  int32_t number;
  if (read(fds[0], &number, sizeof number) == sizeof number) run.reported = number;
  usleep(static_cast<useconds_t>(random() % 30000));
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  run.started = true;
  run.killed = WIFSIGNALED(status);
  while (read(fds[0], &number, sizeof number) == sizeof number) run.reported = number;
  close(fds[0]);
  return run;
}
