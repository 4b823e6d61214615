#include "fileops.h"

#include <cstdio>

#include "gdbase.h"

namespace {

// The module's progress callbacks carry a 32-bit user value, too small for
// a pointer on 64-bit targets; runs happen one at a time on the window's
// thread, so the running one is module-wide.
OperationProgress* g_progress = nullptr;
bool g_stopped = false;

int ModuleProgress(int32_t, int32_t) {
  if (g_stopped) return 0;
  if (g_progress && !g_progress->GoOn()) g_stopped = true;
  return g_stopped ? 0 : 1;
}

// Installs a run's progress for the module's callbacks while it lives.
class RunningProgress {
 public:
  explicit RunningProgress(OperationProgress* progress) {
    g_progress = progress;
    g_stopped = false;
  }
  ~RunningProgress() {
    g_progress = nullptr;
    g_stopped = false;
  }
  bool stopped() const { return g_stopped; }
  // Asks the window between steps too: a Cancel may come while the module
  // is not calling back.
  bool Poll() const { return ModuleProgress(0, 0) == 0; }
  void Line(const char* text) const {
    if (g_progress) g_progress->Line(text);
  }
};

void SetError(OperationReport* report, uint32_t text, const char* what, int error) {
  report->text = text;
  report->caption = 0;
  report->captionText = ErrorCaption(what, error);
  report->error = error;
}

}  // namespace

std::string ErrorCaption(const char* what, int error) {
  char caption[96];
  std::snprintf(caption, sizeof caption, "%s - Error %d", what, error);
  return caption;
}

uint32_t StatusFlagMessage(uint32_t flags) {
  if (flags == 0) return 0;
  if (flags == 1) return 10068;
  if (flags == 4) return 10070;
  return 10069;
}

bool ProgressPace::Due(uint64_t now) {
  if (!started_) {
    started_ = true;
    last_ = now;
    return firstAtOnce_;
  }
  if (now - last_ < interval_) return false;
  last_ = now;
  return true;
}

const GameMarkTexts& MarkTexts(bool undelete) {
  static const GameMarkTexts kDelete{10052,          10050, 10051, 10049, "Delete Games", "Deleting games, please wait...",
                                     "Deleted %ld of %ld games."};
  static const GameMarkTexts kUndelete{10056,
                                       10054,
                                       10055,
                                       10053,
                                       "Undelete Games",
                                       "Undeleting games, please wait...",
                                       "Undeleted %ld of %ld games."};
  return undelete ? kUndelete : kDelete;
}

int MarkGames(int32_t file, const int32_t* numbers, int count, bool undelete, OperationProgress* progress) {
  const GameMarkTexts& texts = MarkTexts(undelete);
  ProgressPace pace(false);
  if (progress) pace.Due(progress->Milliseconds());
  int done = 0;
  for (int i = 0; i < count; ++i) {
    if (undelete)
      GdUndeleteGame(file, numbers[i]);
    else
      GdDeleteGame(file, numbers[i]);
    ++done;
    if (!progress) continue;
    if (pace.Due(progress->Milliseconds())) {
      char line[96];
      std::snprintf(line, sizeof line, texts.done, long(done), long(count));
      progress->Line(line);
    }
    if (!progress->GoOn()) break;
  }
  return done;
}

OperationReport OptimizeDatabaseFiles(const std::string& path, const std::string& indexFolder, int choice,
                                      OperationProgress* progress) {
  OperationReport report;
  RunningProgress run(progress);
  const int32_t file = GdOpenGamefile(path.c_str());
  if (!file) {
    SetError(&report, 10100, "Open Database", 1);
    return report;
  }
  const bool keys = GdOpenDatabase(path.c_str(), file) == 1;
  GdFileStatus(file, 0);
  run.Line("Removing index files.");
  int error = GdDeleteDatabaseFiles(path.c_str(), indexFolder.c_str(), 2);
  if (error) SetError(&report, 10084, "Remove Index Files", error);
  if (!error && !run.Poll() && keys && (choice & kOptimizeClean)) {
    run.Line("Cleaning database.");
    error = GdOptimizeDataBase(ModuleProgress, 0);
    if (error) SetError(&report, 10083, "Clean database", error);
  }
  if (!error && !run.Poll() && (choice & kOptimizeIndex)) {
    run.Line("Generating index files.");
    error = GdIndexCreateUpdate(file, indexFolder.c_str(), 65535, 2000000, 0, ModuleProgress, 0);
    if (error) SetError(&report, 10074, "Create Index Files", error);
  }
  if (error) {
    run.Line("Removing index files.");
    GdDeleteDatabaseFiles(path.c_str(), indexFolder.c_str(), 2);
  }
  if (keys) GdCloseDatabase(file);
  GdCloseGamefile(file);
  if (run.stopped()) {
    report = OperationReport();
    report.text = 10087;
    report.caption = 10086;
    report.cancelled = true;
  } else if (!error) {
    report.text = 10085;
    report.caption = 10086;
  }
  return report;
}

OperationReport UpdateDatabaseIndex(int32_t file, const std::string& indexFolder, OperationProgress* progress) {
  OperationReport report;
  RunningProgress run(progress);
  run.Line("Adding new games to index.");
  const int error = GdIndexCreateUpdate(file, indexFolder.c_str(), 65535, 2000000, 1, ModuleProgress, 0);
  if (error) {
    SetError(&report, 10093, "Update Index Files", error);
    report.cancelled = run.stopped();
  } else {
    report.text = 10095;
    report.caption = 10096;
  }
  return report;
}
