// The database window's file operations, the parts that need no window: the
// status-flag check's message, the pace of progress lines, the texts of
// delete and undelete, and the runs over the database module (marking games
// deleted or not, optimising, updating the index files). A run reports
// through `OperationProgress` and ends in the message the window shows.
//
// Interface: StatusFlagMessage, ProgressPace, GameMarkTexts, MarkTexts,
// kMarkBoxAbove, OperationProgress, OperationReport, MarkGames,
// ErrorCaption, kOptimizeClean, kOptimizeIndex, OptimizeDatabaseFiles, UpdateDatabaseIndex.
#pragma once

#include <cstdint>
#include <string>

// The message a database that may not be written gets (string 10068
// opened read-only, 10070 in use by another program, 10069 read-only file),
// or 0 when its status flags are 0 and it may be written.
uint32_t StatusFlagMessage(uint32_t flags);

// Progress lines at most every `interval` milliseconds: the first one at
// once when `firstAtOnce`, else one interval after the first call.
class ProgressPace {
 public:
  explicit ProgressPace(bool firstAtOnce, uint64_t interval = 500) : firstAtOnce_(firstAtOnce), interval_(interval) {}
  bool Due(uint64_t now);

 private:
  bool firstAtOnce_;
  uint64_t interval_;
  bool started_ = false;
  uint64_t last_ = 0;
};

// Delete (false) or undelete (true) selected games: the message ids and the
// progress box's texts.
struct GameMarkTexts {
  uint32_t none;     // nothing selected
  uint32_t caption;  // of every question and message
  uint32_t one;      // one game
  uint32_t many;     // "%1!u!" games
  const char* title;
  const char* wait;
  const char* done;  // "%ld of %ld"
};
const GameMarkTexts& MarkTexts(bool undelete);
// More selected games than this get a progress box.
constexpr int kMarkBoxAbove = 10;

// What a long run tells its window.
class OperationProgress {
 public:
  virtual ~OperationProgress() = default;
  virtual void Line(const std::string& text) = 0;  // the box's progress line
  // Lets the window answer its messages; false when the user cancelled or
  // the program is quitting (the run then stops).
  virtual bool GoOn() = 0;
  virtual uint64_t Milliseconds() = 0;
};

// The message that ends a run: text and caption string ids, or a caption of
// its own ("... - Error %d" with the module's number).
struct OperationReport {
  uint32_t text = 0;
  uint32_t caption = 0;
  std::string captionText;
  int error = 0;
  bool cancelled = false;
};

// "<what> - Error <error>", the caption of an operation's error message.
std::string ErrorCaption(const char* what, int error);

// Deletes or undeletes the games `numbers` of the open game file, with
// "Deleted n of m games." lines at the pace; stops when `progress` (may be
// null) says so. Gives the number of games done.
int MarkGames(int32_t file, const int32_t* numbers, int count, bool undelete, OperationProgress* progress);

// Optimise choices (dialog 210's result).
constexpr int kOptimizeClean = 1;
constexpr int kOptimizeIndex = 2;

// Opens the closed database at `path`, removes its index files, cleans its
// key information (when chosen and present) and creates its index files
// (when chosen) in `indexFolder`; after an error the index files are removed
// again so that no half-made index stays. The database is closed again.
OperationReport OptimizeDatabaseFiles(const std::string& path, const std::string& indexFolder, int choice,
                                      OperationProgress* progress);

// Adds the open file's new games to its index files.
OperationReport UpdateDatabaseIndex(int32_t file, const std::string& indexFolder, OperationProgress* progress);
