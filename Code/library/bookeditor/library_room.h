// The library room's rules (room 4): what its board shows (nothing, a
// classic game, a book being edited, the reference book read-only), the
// menu states and notation items of each of those modes, its commands and
// shortcut tiles, the board callback's answers and the three right-click
// menus. Everything it acts on (menus, the editor window, games, dialogs,
// message boxes, the re-enable timer) goes through a LibraryRoomHost: the
// program fills it with the real calls, the tests with a recording fake.
//
// Interface: LibraryRoomMode, LibraryRoomData, LibraryRoomHost, LibraryRoom,
// LibraryRoomCommandId, LibraryTileCommand, LibraryBoardAnswer,
// LibraryMenuPlace, LibraryMenuItem, LibraryRoomMenuItems,
// kReferenceBookName.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum LibraryRoomMode : int32_t {
  LIBRARY_UNSET = -1,
  LIBRARY_NOTHING = 0,
  LIBRARY_CLASSIC_GAME = 1,
  LIBRARY_EDIT_BOOK = 2,
  LIBRARY_REFERENCE = 3,
};

struct LibraryRoomData {
  int32_t mode;
  char bookPath[260];
  char dialogFolder[260];  // the file dialog's folder and name area
};

enum LibraryRoomCommandId : int {
  LIB_CMD_HELP = 40,
  LIB_CMD_FLIP_BOARD = 11,
  LIB_CMD_COPY_PICTURE = 40009,
  LIB_CMD_LOAD = 40014,
  LIB_CMD_SHORTCUTS = 40032,
  LIB_CMD_ANNOTATION = 40036,
  LIB_CMD_CAPTURED = 40037,
  LIB_CMD_REFERENCE = 40080,
  LIB_CMD_LOAD_BOOK = 40081,
  LIB_CMD_CLASSIC_GAME = 40082,
  LIB_CMD_GAME_INFO = 40085,
  LIB_CMD_CHESS_SET = 40087,
  LIB_CMD_GAME_STATUS = 40088,
  LIB_CMD_LOAD_BOOK_2 = 40141,
  LIB_CMD_NEW_BOOK = 40142,
  LIB_CMD_CLASSIC_GAME_KEY = 40143,
  LIB_CMD_SAVE = 40144,
  LIB_CMD_BOOK_ITEM_1 = 40145,
  LIB_CMD_BOOK_ITEM_2 = 40146,
  LIB_CMD_CLOSE = 40147,
  LIB_CMD_IMPORT_PGN = 40148,
  LIB_CMD_PRINT_POSITION = 40163,
  LIB_CMD_LOAD_LAYOUT = 40165,
  LIB_CMD_SAVE_LAYOUT = 40166,
  LIB_CMD_GLOSSARY = 40167,
  LIB_CMD_WALLPAPER = 40178,
};

constexpr int kLibraryNotationFirst = 40153;
constexpr int kLibraryNotationCount = 6;
constexpr int kLibraryNotationStyle = 2;
constexpr const char kReferenceBookName[] = "Reference.obk";

class LibraryRoomHost {
 public:
  virtual ~LibraryRoomHost() = default;
  virtual void EnableItem(int command, bool enable) = 0;
  virtual int NotationStyle() = 0;
  virtual void SetNotationStyle(int style) = 0;
  virtual void LockAnnotation(int locked) = 0;
  // A fresh empty game of the room (kind flags 0x30002000) is shown.
  virtual void FreshGame() = 0;
  // A new game for a book (kind flag 0x80000) is shown; `bookMode` 2 while
  // a book is edited, 0 for the reference book.
  virtual void BookGame(int bookMode) = 0;
  // The classic-games dialog fills a new game (null when it was cancelled);
  // the game is then shown in the room, or freed.
  virtual void* RunClassicGames() = 0;
  virtual void ShowGame(void* game) = 0;
  virtual void DiscardGame(void* game) = 0;

  // The book editor window.
  virtual bool OpenEditor(const std::string& path, bool readOnly) = 0;  // empty path: a new book
  virtual void CloseEditor() = 0;
  virtual bool EditorModified() = 0;
  virtual std::string EditorFileName() = 0;
  virtual bool SaveEditor(const std::string& path) = 0;
  virtual bool ImportPgn(const std::string& pgnPath) = 0;  // true when it started

  // Files: the opening books folder, and the file dialog in it (its
  // previous folder restored afterwards); false when cancelled.
  virtual std::string OpeningBooksFolder() = 0;
  virtual bool ChooseBook(bool save, std::string* path) = 0;
  virtual bool ChoosePgn(std::string* path) = 0;

  // The program's message box: the string's text with `argument` put in
  // for "%s"; AskYesNoCancel answers 1 Yes, 0 No, -1 Cancel.
  virtual void ShowMessage(int stringId) = 0;
  virtual int AskYesNoCancel(int stringId, const std::string& argument) = 0;

  // The main window's menu, accelerators and windows off, and the one-shot
  // timer that puts them back.
  virtual void DisableMainWindow() = 0;
  virtual void StartReenableTimer() = 0;

  virtual void SaveGame() = 0;
  virtual void ShowGameInformation() = 0;
  virtual void OpenGlossary() = 0;
};

class LibraryRoom {
 public:
  LibraryRoom(LibraryRoomData* data, LibraryRoomHost* host) : data_(data), host_(host) {}

  int Mode() const { return data_->mode; }
  // False when the user kept the edited book (nothing changes then).
  bool ChangeMode(int mode);
  // 1 when the command is the room's.
  int Command(int command);
  // The room's notation items greyed (style 2, the old style remembered)
  // or enabled again (the remembered style back).
  void EnableNotationItems(bool enable);
  std::string ReferencePath() const;

 private:
  bool CloseEditedBook();
  bool SaveBook();
  void LoadBook();
  void NewBook();
  void OpenReference();
  void ImportPgn();

  LibraryRoomData* data_;
  LibraryRoomHost* host_;
  int savedStyle_ = 0;
};

// The command a shortcut tile runs, 0 for a button that is not the room's.
int LibraryTileCommand(int buttonId);

// The board callback's answer: 0 lets the board do its own work (game
// events, and everything while a book is edited), 2 keeps it from acting.
constexpr unsigned kLibraryGameEventMessage = 0x8103;
int LibraryBoardAnswer(int mode, unsigned message);

// Where a right-click landed.
enum class LibraryMenuPlace { Piece, Square, Room };
struct LibraryMenuItem {
  int command;   // 0 with `popup`: the submenu's caption
  int stringId;
  bool popup;    // starts the "Windows" submenu
  bool inPopup;  // belongs to the submenu just started
};
std::vector<LibraryMenuItem> LibraryRoomMenuItems(LibraryMenuPlace place);
