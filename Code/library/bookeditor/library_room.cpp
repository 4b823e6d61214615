// The library room's rules (see library_room.h).
#include "library_room.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr int kStrReferenceError = 1031;
constexpr int kStrReferenceOnly = 1032;
constexpr int kStrLoadError = 1033;
constexpr int kStrSaveAsk = 1037;

// Paths as Windows compares them: without case, either slash.
std::string Folded(const std::string& path) {
  std::string out;
  for (char c : path) out += c == '/' ? '\\' : char(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

void CopyPath(char (&to)[260], const std::string& from) { std::snprintf(to, sizeof to, "%s", from.c_str()); }

}  // namespace

std::string LibraryRoom::ReferencePath() const {
  return host_->OpeningBooksFolder() + "\\" + kReferenceBookName;
}

void LibraryRoom::EnableNotationItems(bool enable) {
  if (enable) {
    host_->SetNotationStyle(savedStyle_);
  } else {
    savedStyle_ = host_->NotationStyle();
    host_->SetNotationStyle(kLibraryNotationStyle);
  }
  for (int i = 0; i < kLibraryNotationCount; ++i) host_->EnableItem(kLibraryNotationFirst + i, enable);
}

bool LibraryRoom::ChangeMode(int mode) {
  if (mode == data_->mode) return true;
  switch (data_->mode) {
    case LIBRARY_NOTHING:
      host_->EnableItem(LIB_CMD_SAVE, false);
      host_->EnableItem(LIB_CMD_CLOSE, false);
      break;
    case LIBRARY_CLASSIC_GAME:
      host_->FreshGame();
      host_->EnableItem(LIB_CMD_CLOSE, false);
      host_->EnableItem(LIB_CMD_GAME_INFO, false);
      break;
    case LIBRARY_EDIT_BOOK:
      if (!CloseEditedBook()) return false;
      host_->EnableItem(LIB_CMD_CLOSE, false);
      host_->EnableItem(LIB_CMD_BOOK_ITEM_2, false);
      // Save too: it is a book's save only in mode 2 and a game's in mode 1.
      host_->EnableItem(LIB_CMD_SAVE, false);
      EnableNotationItems(true);
      host_->LockAnnotation(1);
      break;
    case LIBRARY_REFERENCE:
      host_->CloseEditor();
      host_->FreshGame();
      host_->EnableItem(LIB_CMD_CLOSE, false);
      host_->EnableItem(LIB_CMD_SAVE, false);
      EnableNotationItems(true);
      break;
    default:
      break;
  }
  data_->mode = mode;
  // Close (40147) goes back to mode 0, so it is offered in every other mode.
  switch (mode) {
    case LIBRARY_NOTHING:
      host_->EnableItem(LIB_CMD_SAVE, false);
      host_->EnableItem(LIB_CMD_CLOSE, false);
      break;
    case LIBRARY_CLASSIC_GAME:
      host_->EnableItem(LIB_CMD_GAME_INFO, true);
      host_->EnableItem(LIB_CMD_SAVE, true);
      host_->EnableItem(LIB_CMD_CLOSE, true);
      break;
    case LIBRARY_EDIT_BOOK:
      host_->EnableItem(LIB_CMD_BOOK_ITEM_1, true);
      host_->EnableItem(LIB_CMD_BOOK_ITEM_2, true);
      host_->EnableItem(LIB_CMD_SAVE, true);
      host_->EnableItem(LIB_CMD_CLOSE, true);
      EnableNotationItems(false);
      host_->LockAnnotation(0);
      break;
    case LIBRARY_REFERENCE:
      host_->EnableItem(LIB_CMD_CLOSE, true);
      EnableNotationItems(false);
      break;
    default:
      break;
  }
  return true;
}

bool LibraryRoom::CloseEditedBook() {
  if (host_->EditorModified()) {
    const int answer = host_->AskYesNoCancel(kStrSaveAsk, host_->EditorFileName());
    if (answer < 0) return false;
    if (answer > 0 && !SaveBook()) return false;
  }
  host_->CloseEditor();
  host_->FreshGame();
  return true;
}

bool LibraryRoom::SaveBook() {
  std::string path;
  if (!host_->ChooseBook(true, &path)) return false;
  if (Folded(path) == Folded(ReferencePath())) {
    host_->ShowMessage(kStrReferenceOnly);
    return false;
  }
  if (!host_->SaveEditor(path)) return false;
  CopyPath(data_->bookPath, path);
  return true;
}

void LibraryRoom::OpenReference() {
  if (data_->mode == LIBRARY_REFERENCE) return;
  if (!ChangeMode(LIBRARY_REFERENCE)) return;
  host_->BookGame(0);
  CopyPath(data_->bookPath, ReferencePath());
  host_->DisableMainWindow();
  if (!host_->OpenEditor(data_->bookPath, true)) {
    ChangeMode(LIBRARY_NOTHING);
    host_->ShowMessage(kStrReferenceError);
  }
  // The main window comes back whether or not the book opened.
  host_->StartReenableTimer();
}

void LibraryRoom::LoadBook() {
  if (data_->mode == LIBRARY_EDIT_BOOK && !ChangeMode(LIBRARY_NOTHING)) return;
  std::string path;
  if (!host_->ChooseBook(false, &path)) return;
  // Refused before the mode changes, so no mode 2 is left without a book.
  if (Folded(path) == Folded(ReferencePath())) {
    host_->ShowMessage(kStrReferenceOnly);
    return;
  }
  if (!ChangeMode(LIBRARY_EDIT_BOOK)) return;
  host_->CloseEditor();
  host_->BookGame(2);
  CopyPath(data_->bookPath, path);
  host_->DisableMainWindow();
  if (!host_->OpenEditor(path, false)) {
    ChangeMode(LIBRARY_NOTHING);
    host_->ShowMessage(kStrLoadError);
  }
  host_->StartReenableTimer();
}

void LibraryRoom::NewBook() {
  if (data_->mode == LIBRARY_EDIT_BOOK && !ChangeMode(LIBRARY_NOTHING)) return;
  if (!ChangeMode(LIBRARY_EDIT_BOOK)) return;
  host_->BookGame(2);
  data_->bookPath[0] = 0;
  if (!host_->OpenEditor(std::string(), false)) ChangeMode(LIBRARY_NOTHING);
}

void LibraryRoom::ImportPgn() {
  if (data_->mode == LIBRARY_REFERENCE) {
    host_->ShowMessage(kStrReferenceOnly);
    return;
  }
  std::string path;
  if (!host_->ChoosePgn(&path)) return;
  if (host_->ImportPgn(path)) ChangeMode(LIBRARY_EDIT_BOOK);
}

int LibraryRoom::Command(int command) {
  switch (command) {
    case LIB_CMD_CLASSIC_GAME:
    case LIB_CMD_LOAD:
    case LIB_CMD_CLASSIC_GAME_KEY: {
      void* game = host_->RunClassicGames();
      if (!game) return 1;
      // The mode first: leaving a book puts an empty game in the room.
      if (!ChangeMode(LIBRARY_CLASSIC_GAME)) {
        host_->DiscardGame(game);
        return 1;
      }
      host_->ShowGame(game);
      return 1;
    }
    case LIB_CMD_REFERENCE:
      OpenReference();
      return 1;
    case LIB_CMD_LOAD_BOOK:
    case LIB_CMD_LOAD_BOOK_2:
      LoadBook();
      return 1;
    case LIB_CMD_NEW_BOOK:
      NewBook();
      return 1;
    case LIB_CMD_SAVE:
      if (data_->mode == LIBRARY_EDIT_BOOK) SaveBook();
      else if (data_->mode == LIBRARY_CLASSIC_GAME) host_->SaveGame();
      return 1;
    case LIB_CMD_GAME_INFO:
      if (data_->mode == LIBRARY_CLASSIC_GAME) host_->ShowGameInformation();
      return 1;
    case LIB_CMD_CLOSE:
      ChangeMode(LIBRARY_NOTHING);
      return 1;
    case LIB_CMD_IMPORT_PGN:
      ImportPgn();
      return 1;
    case LIB_CMD_GLOSSARY:
      host_->OpenGlossary();
      return 1;
  }
  return 0;
}

int LibraryTileCommand(int buttonId) {
  switch (buttonId) {
    case 21670:
      return LIB_CMD_CLASSIC_GAME;
    case 21675:
      return LIB_CMD_LOAD_BOOK;
    case 21720:
      return LIB_CMD_REFERENCE;
    case 21855:
      return LIB_CMD_GLOSSARY;
  }
  return 0;
}

int LibraryBoardAnswer(int mode, unsigned message) {
  if (message == kLibraryGameEventMessage || mode == LIBRARY_EDIT_BOOK) return 0;
  return 2;
}

std::vector<LibraryMenuItem> LibraryRoomMenuItems(LibraryMenuPlace place) {
  switch (place) {
    case LibraryMenuPlace::Piece:
      return {{LIB_CMD_CHESS_SET, 2121, false, false}, {LIB_CMD_HELP, 2100, false, false}};
    case LibraryMenuPlace::Square:
      return {{LIB_CMD_CHESS_SET, 2121, false, false},
              {LIB_CMD_FLIP_BOARD, 2135, false, false},
              {LIB_CMD_PRINT_POSITION, 2160, false, false},
              {LIB_CMD_COPY_PICTURE, 2161, false, false},
              {LIB_CMD_HELP, 2100, false, false}};
    case LibraryMenuPlace::Room:
      break;
  }
  return {{LIB_CMD_CLASSIC_GAME, 2165, false, false},
          {LIB_CMD_LOAD_BOOK_2, 2166, false, false},
          {LIB_CMD_SAVE, 2167, false, false},
          {LIB_CMD_LOAD_LAYOUT, 2139, false, false},
          {LIB_CMD_SAVE_LAYOUT, 2140, false, false},
          {LIB_CMD_WALLPAPER, 2173, false, false},
          {0, 2153, true, false},
          {LIB_CMD_SHORTCUTS, 2164, false, true},
          {LIB_CMD_GAME_STATUS, 2141, false, true},
          {LIB_CMD_CAPTURED, 2146, false, true},
          {LIB_CMD_ANNOTATION, 2148, false, true},
          {LIB_CMD_HELP, 2100, false, false}};
}
