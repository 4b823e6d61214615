// The book reader for play: five book slots in memory, one of them active,
// and the questions play and the screens ask of the active book (is this
// position in the book, its name, comment and ECO code, a book move to play,
// the named lines of the book).
//
// Interface: SelectBookSlot, GetBookSlot, LoadBookFile, LoadBookImage,
// FreeBookSlot, FreeAllBookSlots, ReadBookBytes, GetBookMoveWord,
// GetBookMoveCount, GetBookTextSize, FirstChildNode, NextSiblingNode,
// ParentNode, FollowBookByMoves, FindBookByPosition, LookupBookPosition,
// GetBookOpeningName, PickBookMove, IndexBookWithProgress,
// GetBookEntryCount, GetBookEntryText, GetBookEntryLine, BookChecksum,
// GetBookNodeText, BuildBookLine, SetBookRandomSource.
//
// Moves are the game's move records from the initial position, White first;
// nodes are u16 with kNoNode for none. Every function works on the active
// slot of the calling thread (each thread has its own, slot 0 at first); a
// slot is used by one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bookformat.h"
#include "moverecord.h"
#include "utils.h"

constexpr int kBookSlots = 5;
constexpr int kMaxPickCandidates = 30;
constexpr int kMaxBookLine = 380;
constexpr size_t kOpeningNameBufferSize = 507;
// Appended to a name found by position rather than by move order.
extern const char kTransposedMark[];

bool SelectBookSlot(int slot);
int GetBookSlot();

// Frees the active slot and loads the file into it. False (slot empty) for an
// empty path, a file that cannot be opened or read whole, or a file that is
// not a book (no "UGWS", or too short for its move words).
bool LoadBookFile(const char* path);
// The same from bytes in memory.
bool LoadBookImage(const uint8_t* data, size_t size);
void FreeBookSlot();
void FreeAllBookSlots();

// Copies bytes of the active image; zeros for bytes it does not have.
void ReadBookBytes(void* destination, size_t length, size_t offset);
BookMoveWord GetBookMoveWord(int node);
int GetBookMoveCount();
uint32_t GetBookTextSize();
uint16_t FirstChildNode(BookMoveWord word, int node);
uint16_t NextSiblingNode(int node);
uint16_t ParentNode(int node);
// The text of a kind on a node, read in place (comment pieces joined).
std::string GetBookNodeText(int node, int kind);

// One node per ply; false when the moves leave the book.
bool FollowBookByMoves(const MoveRecord* moves, int count, std::vector<uint16_t>* path);
// A path of `count` nodes whose position equals the game's (1..60 plies).
bool FindBookByPosition(const MoveRecord* moves, int count, std::vector<uint16_t>* path);

// True when the position after `count` plies is in the book; fills the
// texts that are asked for (each may be null).
bool LookupBookPosition(const MoveRecord* moves, int count, std::string* comment, std::string* name,
                        std::string* eco);
// ECO code, blank and name of the position from slot 0, markup removed, into
// `buffer` (at least kOpeningNameBufferSize bytes). The active slot is kept.
bool GetBookOpeningName(const MoveRecord* moves, int count, char* buffer, size_t bufferSize);

// A book move for the position, drawn by weight, as the legal move record.
bool PickBookMove(const MoveRecord* moves, int count, bool allowZeroWeights, MoveRecord* out);
// The draw: 0 .. n - 1. RandomBelow unless replaced (tests seed their own).
using BookRandomSource = int (*)(int n);
void SetBookRandomSource(BookRandomSource source);

// Builds the active slot's index of opening names unless built; `work` is
// polled while it runs and stops it (false, nothing kept) when non-zero.
bool IndexBookWithProgress(PollWork work);
int GetBookEntryCount();
// The composed name of the n-th entry in alphabetical order, markup removed;
// empty when there is no such entry.
std::string GetBookEntryText(int n);
// The line from the initial position to the n-th entry's node.
bool GetBookEntryLine(int n, std::vector<MoveRecord>* moves);
// The moves to `node`, played from the initial position; false when a move
// of the line is not legal there.
bool BuildBookLine(int node, std::vector<MoveRecord>* moves);

uint16_t BookChecksum();
