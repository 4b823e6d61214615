// The import's Windows side: the progress box, the cursors, the messages,
// and a message-only window of the user-interface thread that the worker's
// end callbacks post to.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "book_editor.h"
#include "book_import.h"
#include "cursor_set.h"
#include "message_box.h"
#include "shell_services.h"

namespace {

constexpr UINT kRunPostedMessage = WM_APP + 0x109;
constexpr int kImportingString = 1035;
constexpr int kCancelResult = 2;

std::string Str(int id) {
  char text[512] = "";
  LoadStringA(GetModuleHandleA(nullptr), UINT(id), text, sizeof text);
  return text;
}

LRESULT CALLBACK PostedProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  if (message == kRunPostedMessage) {
    auto* work = reinterpret_cast<std::function<void()>*>(second);
    (*work)();
    delete work;
    return 0;
  }
  return DefWindowProcA(window, message, first, second);
}

class ProgramImportHost : public BookImportHost {
 public:
  // Made on the user-interface thread, before any import starts.
  ProgramImportHost() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PostedProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RWBookImportPost";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  }
  void SetCursor(int index) override {
    const BookEditorHost& host = BookEditorHostInUse();
    if (host.mainWindow) SetAppCursor(host.mainWindow(), index);
  }
  void* ShowProgress(std::function<void()> cancel) override {
    cancel_ = std::move(cancel);
    box_ = ShowProgressMessageBox(Str(kImportingString).c_str(), OnBox, 0);
    return box_;
  }
  void CloseProgress(void* box) override {
    if (box && box == box_ && IsWindow(static_cast<HWND>(box))) {
      box_ = nullptr;
      EndMessageBox(static_cast<HWND>(box), 0);
    }
    box_ = nullptr;
    cancel_ = nullptr;
  }
  void LoadIntoEditor(const std::string& path) override { LoadBookIntoEditor(path.c_str()); }
  void ShowImportError(int id) override { Services().appMessageBox(Str(id).c_str(), MB_OK); }
  void Trace(const std::string&) override {}  // the debug trace writes nothing
  void Post(std::function<void()> work) override {
    auto* posted = new std::function<void()>(std::move(work));
    if (!PostMessageA(window_, kRunPostedMessage, 0, LPARAM(posted))) delete posted;
  }

 private:
  static void OnBox(int result, uint32_t) {
    ProgramImportHost* self = Instance();
    if (result != kCancelResult || !self->box_) return;
    self->box_ = nullptr;  // the box is closing itself
    if (self->cancel_) {
      std::function<void()> cancel = std::move(self->cancel_);
      self->cancel_ = nullptr;
      cancel();
    }
  }

 public:
  static ProgramImportHost* Instance() {
    static ProgramImportHost host;
    return &host;
  }

 private:
  HWND window_ = nullptr;
  void* box_ = nullptr;
  std::function<void()> cancel_;
};

std::string BaseName(const std::string& path) {
  const size_t at = path.find_last_of('\\');
  return at == std::string::npos ? path : path.substr(at + 1);
}

}  // namespace

BookImportHost* ProgramBookImportHost() { return ProgramImportHost::Instance(); }

int ImportPgnIntoEditor(const char* pgnPath) {
  if (!pgnPath) return 0;
  std::string folder;
  BookEditorBoard* board = nullptr;
  const BookEditorHost& host = BookEditorHostInUse();
  if (host.userFolder) folder = host.userFolder();
  char name[MAX_PATH] = "";
  std::string target, inBook;
  if (GetBookEditorFileName(name, sizeof name)[0]) {
    // The open book is saved into the user's folder first, and the import
    // reads and writes that file.
    target = folder + "\\" + BaseName(name);
    if (!SaveBookEditor(target.c_str())) return 0;
    inBook = target;
  } else {
    if (host.board) board = host.board();
    if (OpenBookEditorWindow(board, nullptr, 0) != 0) return 1;
    target = folder + "\\" + Str(1029);
  }
  StartBookImport(ProgramImportHost::Instance(), inBook, target, pgnPath, "frequency", "both", 30);
  return 0;
}
