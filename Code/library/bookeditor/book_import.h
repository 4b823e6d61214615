// The book editor's import: the builder's IMPORT command run on the worker
// thread "OBK_PGN_IMPORT" while a progress box offers Cancel, and the
// editor reloaded with the result when it ends.
//
// The builder runs in reader slot 3 on the worker thread alone (the reader's
// active slot is kept per thread), so the user-interface thread may switch
// its own slot meanwhile. The thread service runs its end callbacks on the
// worker thread; they only post the end to the user-interface thread, which
// waits for the thread to be gone before it touches windows or frees the job.
//
// Interface: BookImportHost, StartBookImport, kBookImportThreadName,
// kBookImportSlot.
#pragma once

#include <functional>
#include <string>

constexpr const char kBookImportThreadName[] = "OBK_PGN_IMPORT";
constexpr int kBookImportSlot = 3;

// What the import needs of the program. Every call is made on the
// user-interface thread except Post and Trace, which may come from the
// worker thread.
class BookImportHost {
 public:
  virtual ~BookImportHost() = default;
  // The main window's cursor: 0 while importing, 2 afterwards.
  virtual void SetCursor(int index) = 0;
  // Shows "Importing PGN files." with a Cancel button that calls `cancel`;
  // answers the box (null when it cannot be shown).
  virtual void* ShowProgress(std::function<void()> cancel) = 0;
  // Closes the box unless the user has closed it already.
  virtual void CloseProgress(void* box) = 0;
  virtual void LoadIntoEditor(const std::string& path) = 0;
  // The import ended with a builder error: string 1036 for a book too
  // large, 1038 for any other.
  virtual void ShowImportError(int stringId) = 0;
  virtual void Trace(const std::string& text) = 0;
  // Runs `work` on the user-interface thread later.
  virtual void Post(std::function<void()> work) = 0;
};

// Starts the import; 0, or -1 when the job or its thread cannot be made
// (nothing runs then and the cursor is put back).
int StartBookImport(BookImportHost* host, const std::string& inBook, const std::string& outBook,
                    const std::string& pgn, const std::string& criterion, const std::string& colour, int depth);
