// Load and Save command rules.
#include "load_save_rules.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "file_errors.h"
#include "game_end.h"
#include "game_file.h"
#include "move_tree.h"
#include "pgn_write.h"
#include "position_text.h"

LoadRead ChooseLoadRead(int k, int o, int fileKind, bool* pgnFlags) {
  const bool pgnFile = fileKind == 12;
  *pgnFlags = false;
  const bool anyType = k == 0 || k == 3 || k == 9 || k == 10;
  if ((anyType && (o == 2 || o == 4)) || k == 2 || k == 4) {
    *pgnFlags = (k == 2 || k == 4) && pgnFile;
    return pgnFile ? LoadRead::kPgnList : LoadRead::kGameFile;
  }
  if (anyType && (o == 9 || o == 10)) return LoadRead::kPosition;
  return LoadRead::kNothing;
}

uint32_t ResultFromCommentText(const char* comment) {
  if (!comment || !*comment) return RESULT_NONE;
  std::string upper(comment);
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  struct Word {
    const char* text;
    uint32_t code;
  };
  // Draws first, then White's words, then Black's; the mate words before the
  // plain ones of the same side.
  static const Word kWords[] = {
      {"STALEMATE", RESULT_STALEMATE},
      {"DRAW", RESULT_AGREED},
      {"WHITE IS CHECKMATED", RESULT_WHITE_MATED},
      {"WHITE RESIGNED", RESULT_WHITE_RESIGNED},
      {"WHITE LOST", RESULT_WHITE_RESIGNED},
      {"BLACK IS CHECKMATED", RESULT_BLACK_MATED},
      {"BLACK RESIGNED", RESULT_BLACK_RESIGNED},
      {"BLACK LOST", RESULT_BLACK_RESIGNED},
  };
  for (const Word& w : kWords)
    if (upper.find(w.text) != std::string::npos) return w.code;
  return RESULT_NONE;
}

bool SetResultFromComment(GameRecord* game) {
  if (!game || !game->tree) return false;
  const MoveTreeNode* last = nullptr;
  for (const MoveTreeNode* walk = game->tree->root.firstChild; walk; walk = walk->firstChild) last = walk;
  if (!last || !last->move) return false;
  const uint32_t code = ResultFromCommentText(last->move->texts[SLOT_COMMENT]);
  if (code == RESULT_NONE) return false;
  game->result = code;
  return true;
}

std::string ProposedSaveName(const GameRecord* game, const char* vs) {
  std::string name = std::string(game->white.name) + " " + vs + " " + game->black.name;
  if (game->header.site[0]) name += std::string(", ") + game->header.site;
  if (game->header.date[0]) name += std::string(" ") + game->header.date;
  return name;
}

std::string SaveOverwriteQuestion(int kind, const char* path) {
  char text[600];
  if (kind == 4)
    std::snprintf(
        text, sizeof text,
        "Do you want to append the current game to \"%s\"? Pressing \"No\" will overwrite the file.", path);
  else
    std::snprintf(text, sizeof text, "Replace \"%s\"?", path);
  return text;
}

int SaveGameAs(const char* path, int kind, GameRecord* game, bool append, int slot) {
  switch (kind) {
    case 2:
      return WriteGameFile(path, game);
    case 4: {
      const int code = WritePgnFile(path, game, append, slot);
      return code == 7 ? FILE_CANNOT_CREATE : code;
    }
    case 9:
    case 10:
      return WritePositionFile(path, game, &game->position, kind);
    default:
      return FILE_CANNOT_CREATE;
  }
}

std::string SaveFailureMessage(int code, const char* path) {
  return FileErrorMessage(code == FILE_CANNOT_WRITE ? FILE_CANNOT_WRITE : FILE_CANNOT_CREATE, path);
}

const char* PgnErrorText(int code) {
  static const char* const kTexts[] = {
      "Import PGN Error",
      "Export PGN Error",
      "Illegal punctuation",
      "Illegal character",
      "Illegal move or unrecognized move",
      "Illegal move number",
      "Input line is too long",
      "Cannot open file",
      "Illegal game index",
      "Illegal syntax",
      "Internal error",
      "Forsythe out of range",
      "Illegal character in Forsythe",
      "Illegal color to move in Forsythe",
      "Illegal castle status in Forsythe",
      "Illegal character in Forsythe castle status",
      "Illegal en passant in Forsythe",
      "Illegal setup value",
      "Can't create index file",
      "Can't open index file",
      "Index out of range",
      "Illegal result",
  };
  if (code == 99) return "Illegal result";
  if (code < 0 || code >= static_cast<int>(sizeof kTexts / sizeof kTexts[0])) return kTexts[10];
  return kTexts[code];
}

std::string PgnErrorMessage(int code, int line, int column, const char* lineText) {
  char head[160];
  std::snprintf(head, sizeof head, "%s\nLine #:%d Char #: %d\n", PgnErrorText(code), line, column);
  return std::string(head) + (lineText ? lineText : "");
}

int GameInfoResultButton(uint32_t code) {
  switch (code) {
    case 2:
    case 11:
    case 13:
      return 0;
    case 1:
    case 10:
    case 12:
      return 1;
    case 3:
    case 4:
    case 6:
    case 8:
    case 9:
    case 14:
      return 2;
    default:
      return 3;
  }
}

uint32_t GameInfoResultCode(int button) {
  static const uint32_t kCodes[] = {11, 10, 9, 0};
  return button >= 0 && button < 4 ? kCodes[button] : 0;
}

bool GameInfoNameEditable(uint32_t kind, uint32_t opponentKind) {
  return kind == PLAYER_HUMAN || opponentKind == PLAYER_REMOTE;
}

const char* GameInfoPlayerKindText(uint32_t kind) {
  static const char* const kTexts[] = {"Human", "Computer", "Internet", "Remote"};
  return kind < 4 ? kTexts[kind] : "";
}

void StoreGameInfoResult(GameRecord* game, uint32_t code) {
  if (!game) return;
  game->result = code;
  if (code == 0 || !game->tree) return;
  int32_t length = 0;
  for (const MoveTreeNode* walk = game->tree->root.firstChild; walk; walk = walk->firstChild) ++length;
  const int32_t ply = GetCurrentPly(game);
  GoToPly(game, length, false);
  const uint32_t decided = ComputeGameResult(game);
  GoToPly(game, ply, false);
  if (decided != 0) game->result = code = decided;
}
