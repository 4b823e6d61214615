// The import job over a fake program: the end reaches the user-interface
// thread only through Post, Cancel ends a long import at once without a box
// or a written book, errors name their message, and the slot this thread
// had active stays active throughout.
#include "book_import.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "book_fixture.h"
#include "bookreader.h"
#include "worker_thread.h"

namespace {

std::string Games(const char* moves, int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += "[Event \"g" + std::to_string(i) + "\"]\n[Result \"1-0\"]\n\n" + std::string(moves) + " 1-0\n\n";
  return text;
}

std::string WriteText(const char* name, const std::string& text) {
  const std::string path = TempPath(name);
  WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
  return path;
}

class FakeProgram : public BookImportHost {
 public:
  std::thread::id uiThread = std::this_thread::get_id();
  std::vector<std::string> calls;
  std::function<void()> cancel;
  bool boxOpen = false;
  std::mutex lock;
  std::deque<std::function<void()>> posted;
  bool offThread = false;

  void Note(const std::string& call) {
    if (std::this_thread::get_id() != uiThread) offThread = true;
    calls.push_back(call);
  }
  void SetCursor(int index) override { Note("cursor " + std::to_string(index)); }
  void* ShowProgress(std::function<void()> c) override {
    Note("box");
    cancel = std::move(c);
    boxOpen = true;
    return this;
  }
  void CloseProgress(void*) override {
    if (boxOpen) Note("close box");
    boxOpen = false;
  }
  void LoadIntoEditor(const std::string& path) override { Note("load " + path); }
  void ShowImportError(int id) override { Note("error " + std::to_string(id)); }
  void Trace(const std::string&) override {}
  void Post(std::function<void()> work) override {
    std::lock_guard<std::mutex> hold(lock);
    posted.push_back(std::move(work));
  }
  // The user-interface thread's loop until the import has ended.
  bool RunUntilEnded(int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
      std::function<void()> work;
      {
        std::lock_guard<std::mutex> hold(lock);
        if (!posted.empty()) {
          work = std::move(posted.front());
          posted.pop_front();
        }
      }
      if (work) {
        work();
        return true;
      }
      SelectBookSlot(0);  // the screens keep asking slot 0 for opening names
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }
};

class ImportJob : public ::testing::Test {
 protected:
  void SetUp() override {
    mainBook = TempPath("import_job_main.obk");
    WriteFile(mainBook, MakeBookImage({CoordWord("c2c4", 3, true, true)}, {}));
    ASSERT_TRUE(SelectBookSlot(0));
    ASSERT_TRUE(LoadBookFile(mainBook.c_str()));
    out = TempPath("import_job_out.obk");
    before = MakeBookImage({CoordWord("d2d4", 3, true, true)}, {});
    WriteFile(out, before);
  }
  void TearDown() override {
    EXPECT_EQ(GetBookSlot(), 0);
    EXPECT_FALSE(WorkerThreadExists(kBookImportThreadName));
    EXPECT_FALSE(program.offThread) << "window work ran on the worker thread";
    std::remove(out.c_str());
    std::remove(mainBook.c_str());
  }
  std::string mainBook, out;
  std::vector<uint8_t> before;
  FakeProgram program;
};

TEST_F(ImportJob, AFinishedImportReloadsTheEditorWithTheOutBook) {
  const std::string pgn = WriteText("import_job.pgn", Games("1. e4 e5 2. Nf3 Nc6", 200));
  ASSERT_EQ(StartBookImport(&program, out, out, pgn, "frequency", "both", 30), 0);
  ASSERT_TRUE(program.RunUntilEnded(20000));
  EXPECT_EQ(program.calls, (std::vector<std::string>{"cursor 0", "box", "close box", "load " + out, "cursor 2"}));
  EXPECT_NE(ReadFile(out), before);
  // The user interface's book is still what slot 0 shows.
  EXPECT_EQ(GetBookMoveWord(0) & 0x3FFF, CoordWord("c2c4", 3, true, true) & 0x3FFF);
  std::remove(pgn.c_str());
}

TEST_F(ImportJob, ErrorsNameTheirMessageAndLeaveTheBookAsSaved) {
  const std::string pgn = WriteText("import_job_bad.pgn", "[Event \"x\"]\n\n1. e4 Ke7?? 2. Qh5 zz9 1-0\n\n");
  ASSERT_EQ(StartBookImport(&program, out, out, pgn, "frequency", "both", 30), 0);
  ASSERT_TRUE(program.RunUntilEnded(20000));
  ASSERT_EQ(program.calls.size(), 6u);
  EXPECT_EQ(program.calls[3], "load " + out);
  EXPECT_EQ(program.calls[4], "error 1038");
  EXPECT_EQ(ReadFile(out), before);
  std::remove(pgn.c_str());
}

TEST_F(ImportJob, CancelEndsALongImportAtOnceWithoutABoxOrAWrittenBook) {
  const std::string pgn = WriteText("import_job_long.pgn", Games("1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6", 100000));
  ASSERT_EQ(StartBookImport(&program, out, out, pgn, "frequency", "both", 30), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ASSERT_TRUE(program.cancel);
  program.boxOpen = false;  // the box closes itself on Cancel
  const auto start = std::chrono::steady_clock::now();
  program.cancel();
  ASSERT_TRUE(program.RunUntilEnded(5000));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(program.calls, (std::vector<std::string>{"cursor 0", "box", "cursor 2"}));
  EXPECT_EQ(ReadFile(out), before);
  std::remove(pgn.c_str());
}

}  // namespace
