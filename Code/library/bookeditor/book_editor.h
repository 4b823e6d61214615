// The opening book editor window: dialog 125 beside a game board, showing
// one book (BookEditorModel) as a tree of moves with the selected move's
// name, ECO code, weight, variation and line; moves played on the board are
// added below the selection. At most one editor; its window is numbered
// window 20 and every entry point finds it there.
//
// Interface: BookEditorBoard, BookEditorHost, SetBookEditorHost,
// OpenBookEditorWindow, CloseBookEditor, SaveBookEditor, ShowBookEditor,
// SetBookEditorCaption, LoadBookIntoEditor, ImportPgnIntoEditor,
// IsBookEditorModified, GetBookEditorFileName, kBookEditorMessage,
// kBookEditorDialog, BookEditorControl.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "moverecord.h"

constexpr UINT kBookEditorMessage = 0x8109;
constexpr int kBookEditorDialog = 125;
constexpr int kBookEditorWindowNumber = 20;

enum BookEditorControl : int {
  OBK_TREE = 5230,
  OBK_LINE = 5231,
  OBK_VARIATION = 5232,
  OBK_ECO = 5233,
  OBK_NAME = 5234,
  OBK_WEIGHT = 5235,
  OBK_WEIGHT_LABEL = 5263,
  OBK_HEADER = 2008,
};

enum BookEditorCode : int {
  OBK_CLOSE = 0,
  OBK_INSERT_ITEM = 1,
  OBK_SHOW_ENTRY = 2,
  OBK_NOTHING = 6,
  OBK_SELECT_ENTRY = 7,
};

// The game board the editor shows its lines on.
class BookEditorBoard {
 public:
  virtual ~BookEditorBoard() = default;
  virtual HWND Window() = 0;
  // The game goes back to the initial position and plays the moves; the
  // board and the notation window follow.
  virtual void ShowLine(const std::vector<MoveRecord>& moves) = 0;
  // The game's moves up to its current move.
  virtual std::vector<MoveRecord> GameLine() = 0;
  virtual std::string CurrentComment() = 0;
  virtual void SetCurrentComment(const std::string& text) = 0;
};

// What the editor needs of the program around it.
struct BookEditorHost {
  std::function<HWND()> mainWindow;
  // A picture of the program's bitmap library; null when it has none.
  std::function<HBITMAP(const char* name)> loadPicture;
  // The user's folder, where imports are written.
  std::function<std::string()> userFolder;
  // The board used when an import opens the editor.
  std::function<BookEditorBoard*()> board;
};
void SetBookEditorHost(const BookEditorHost& host);
const BookEditorHost& BookEditorHostInUse();
// The import's host over the program's progress box and cursors.
class BookImportHost;
BookImportHost* ProgramBookImportHost();

// 0, or -1 without a board or when the editor or its window cannot be made.
int OpenBookEditorWindow(BookEditorBoard* board, const char* path, int readOnly);
// 0 (the window is closed by a posted message), 1 when there is none.
int CloseBookEditor();
// 1 when the book was written (or needed no writing), 0 when there is no
// editor or the save failed; a failure is told to the user and the edits
// stay in the editor.
int SaveBookEditor(const char* path);
int ShowBookEditor(int show);
void SetBookEditorCaption(const char* path);
int LoadBookIntoEditor(const char* path);
int ImportPgnIntoEditor(const char* pgnPath);
bool IsBookEditorModified();
char* GetBookEditorFileName(char* buffer, size_t size);
