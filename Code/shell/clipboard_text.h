// What the Edit/Copy commands put on the clipboard, as text: the board as
// letters, the board in the chess font and the game's move list, with the
// sizes of the blocks that carry them. No window system here; the copy
// itself is clipboard_win32.cpp's.
//
// Interface: kClipboardTextLimit, kPositionBlockSize, kDiagramBlockSize,
// PositionClipboardText, DiagramClipboardText, GameTextCopy,
// GameClipboardText.
#pragma once

#include <cstddef>
#include <string>

struct Board;
struct GameRecord;

// A move list whose measure reaches this many bytes is not copied.
constexpr size_t kClipboardTextLimit = 65536;
// The fixed blocks of the two board texts (each holds its text and a NUL).
constexpr size_t kPositionBlockSize = 384;
constexpr size_t kDiagramBlockSize = 82;

// Eight lines of "WK  --  ..." with CR LF.
std::string PositionClipboardText(const Board& board);
// Eight lines of eight chess-font characters with CR LF.
std::string DiagramClipboardText(const Board& board);

enum class GameTextCopy { kReady, kTooLarge };
// The move list in columns (tabs between them when `tabs`), with the
// comments of annotation set `slot`. The measure only decides "too large";
// the text is made whole, so the caller sizes its block from it: the
// measure is no upper bound when the header's fields are full.
GameTextCopy GameClipboardText(GameRecord* game, bool tabs, int slot, int language, std::string* text);
