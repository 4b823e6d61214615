// The Load and Save commands' rules that need no window: what a load reads
// for the open dialog's two answers, the result a last comment gives, the
// proposed file name, the questions asked before a file is overwritten, the
// save itself by kind, and the texts of its failures and of PGN errors.
//
// Interface: LoadRead, ChooseLoadRead, ResultFromCommentText,
// SetResultFromComment, ProposedSaveName, SaveOverwriteQuestion, SaveGameAs,
// SaveFailureMessage, PgnErrorText, PgnErrorMessage, GameInfoResultButton,
// GameInfoResultCode, GameInfoNameEditable, GameInfoPlayerKindText,
// StoreGameInfoResult.
#pragma once

#include <string>

#include "game_record.h"

enum class LoadRead { kNothing, kGameFile, kPgnList, kPosition };

// What Load reads, from the dialog's file type `k`, its open-as value `o`
// and the chosen file's own kind (`GetFileKind`: 12 for PGN). A path from
// the command line counts as k = 2. `pgnFlags` tells whether the game gets
// the PGN kind flag and time-control type 7 (k 2 or 4 and a PGN file).
LoadRead ChooseLoadRead(int k, int o, int fileKind, bool* pgnFlags);

// The result code a comment names (upper-cased before the search), or 0:
// "STALEMATE" 3, "DRAW" 9, "WHITE IS CHECKMATED" 1, "WHITE RESIGNED" or
// "WHITE LOST" 10, "BLACK IS CHECKMATED" 2, "BLACK RESIGNED" or "BLACK LOST"
// 11.
uint32_t ResultFromCommentText(const char* comment);
// Sets the game's result from the last main-line move's comment when it
// names one; the game is not moved. True when the result was set.
bool SetResultFromComment(GameRecord* game);

// "White vs Black, Site Date": the Site part only when there is a Site, the
// Date after one blank.
std::string ProposedSaveName(const GameRecord* game, const char* vs);

// The question for an existing file: for PGN (kind 4) whether to append
// (Yes/No/Cancel), else whether to replace (Yes/No).
std::string SaveOverwriteQuestion(int kind, const char* path);

// Writes the game as `kind` (2 game file, 4 PGN with `append` and comment
// `slot`, 9/10 position text of the current position). 0, 303 or 305; a PGN
// file that cannot be opened is reported as 303 like the others.
int SaveGameAs(const char* path, int kind, GameRecord* game, bool append, int slot);
// "<text> <path>." for a save's failure code.
std::string SaveFailureMessage(int code, const char* path);

// The text of PGN error `code` (string 616 + code; the unknown-result error
// 99 reads "Illegal result").
const char* PgnErrorText(int code);
// "<text>\nLine #:<line> Char #: <column>\n<line text>".
std::string PgnErrorMessage(int code, int line, int column, const char* lineText);

// Game Information's result buttons: 0 "White Won", 1 "Black Won", 2 "Draw",
// 3 "Game Not Over". The button a result code checks, and the code a
// checked button stores (11, 10, 9, 0).
int GameInfoResultButton(uint32_t code);
uint32_t GameInfoResultCode(int button);
// Only a person's name may be changed there, or the name of a side whose
// opponent plays over the internet.
bool GameInfoNameEditable(uint32_t kind, uint32_t opponentKind);
// "Human", "Computer", "Internet", "Remote"; "" for any other kind.
const char* GameInfoPlayerKindText(uint32_t kind);
// Stores a chosen result; when it is not 0 and the main line's final
// position decides the game, that result is kept instead. The game's
// current ply is left as it was.
void StoreGameInfoResult(GameRecord* game, uint32_t code);
