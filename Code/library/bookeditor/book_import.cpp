#include "book_import.h"

#include <atomic>
#include <new>
#include <vector>

#include "bookbuilder.h"
#include "worker_thread.h"

namespace {

constexpr int kImportCursor = 0;
constexpr int kIdleCursor = 2;
constexpr int kTooManyMovesString = 1036;
constexpr int kImportErrorString = 1038;
// Cancel waits this long for the builder to see its poll.
constexpr uint32_t kCancelWaitMs = 1000;
// The end work on the user-interface thread waits at most this long for the
// worker, which only has its own record left to free by then.
constexpr uint32_t kEndWaitMs = 5000;

struct BookImportJob {
  BookImportHost* host = nullptr;
  std::vector<std::string> arguments;
  std::atomic<int> result{0};
  std::atomic<bool> cancel{false};
  WorkerThread* thread = nullptr;
  void* box = nullptr;
};

// "outbook=C:\x.obk" -> "C:\x.obk"; the whole argument when it has no "=".
std::string ArgumentValue(const std::string& argument) {
  const size_t at = argument.find('=');
  return at == std::string::npos ? argument : argument.substr(at + 1);
}

uint32_t Work(void* argument) {
  auto* job = static_cast<BookImportJob*>(argument);
  std::vector<const char*> argv;
  for (const std::string& a : job->arguments) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  BookBuilderIo io;
  io.report = [job](const std::string& text) { job->host->Trace(text); };
  io.cancelled = [job] { return job->cancel.load(); };
  io.bookSlot = kBookImportSlot;
  const int result = BookBuilderMain(static_cast<int>(job->arguments.size()), argv.data(), io);
  job->result = result;
  if ((result >= 2 && result <= 20) || result == 99) job->host->Trace("Import Error " + std::to_string(result));
  return 0;  // one call does the whole import
}

// On the user-interface thread, once the worker has no more use for the job.
void Finish(BookImportJob* job, bool stopped) {
  StopWorkerThread(job->thread, kEndWaitMs);  // waits for the thread's end; it has finished its work
  BookImportHost* host = job->host;
  const int result = job->result.load();
  if (stopped || result == BUILDER_CANCELLED || job->cancel.load()) {
    // Cancelled: the out-book was not written and the editor keeps its book.
    host->CloseProgress(job->box);
  } else {
    host->CloseProgress(job->box);
    host->LoadIntoEditor(ArgumentValue(job->arguments[2]));
    if (result != 0)
      host->ShowImportError(result == BUILDER_BOOK_TOO_LARGE ? kTooManyMovesString : kImportErrorString);
  }
  host->SetCursor(kIdleCursor);
  delete job;
}

uint32_t Done(void* argument) {
  auto* job = static_cast<BookImportJob*>(argument);
  job->host->Post([job] { Finish(job, false); });
  return 0;
}

uint32_t Stopped(void* argument) {
  auto* job = static_cast<BookImportJob*>(argument);
  job->host->Post([job] { Finish(job, true); });
  return 0;
}

}  // namespace

int StartBookImport(BookImportHost* host, const std::string& inBook, const std::string& outBook,
                    const std::string& pgn, const std::string& criterion, const std::string& colour, int depth) {
  if (host == nullptr) return -1;
  auto* job = new (std::nothrow) BookImportJob;
  if (job == nullptr) return -1;
  job->host = host;
  job->arguments = BookImportArguments(inBook, outBook, pgn, criterion, colour, depth);
  host->SetCursor(kImportCursor);
  job->thread = StartWorkerThread(kBookImportThreadName, job, Work, Done, Stopped);
  if (job->thread == nullptr) {
    host->SetCursor(kIdleCursor);
    delete job;
    return -1;
  }
  // The job lives until Finish runs on this thread, which is after this
  // call returns, so the box and the thread are both known to it.
  job->box = host->ShowProgress([job] {
    job->cancel = true;
    if (WorkerThreadExists(kBookImportThreadName)) StopWorkerThread(job->thread, kCancelWaitMs);
  });
  return 0;
}
