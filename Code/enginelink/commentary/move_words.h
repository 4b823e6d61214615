// Single moves in words (for display and for the voice), the markup that
// plays a move forward or back, and the number, count and degree phrases the
// sentences are built from.
//
// Interface: DescribeMove, MoveInWords, MoveInWordsForStyle,
// MarkupPlayMove, MarkupUndoMove, MoveNumberText, CountText, CountPhrase,
// EnPassantVictimSquare, SentenceToneCode, PieceNamePhrase, DegreePhrase,
// KingPressurePhrase, LegalMovesOf, PlayLine.
#pragma once

#include <string>
#include <vector>

#include "board.h"
#include "moverecord.h"

// Form keys: 1 written, 2 spoken.
std::string DescribeMove(const Board* board, const MoveRecord* list, int count, int index, int withColour,
                         int spoken, int withPieceName);
std::string MoveInWords(const Board* board, int side, const MoveRecord* move, int withCheckWords, int spoken);
std::string MoveInWordsForStyle(const Board* board, int side, const MoveRecord* move, int style,
                                int withCheckWords, int spoken);
std::string MarkupPlayMove(const MoveRecord* move, int side);
// `move` must carry the undo bytes MakeMove filled (captured piece and square).
std::string MarkupUndoMove(const MoveRecord* move, int side);
std::string MoveNumberText(int number);
std::string CountText(int number, int form);
// The joiner in front of item `a` of `b` items.
std::string CountPhrase(int a, int b, int flag, int form);
int EnPassantVictimSquare(const MoveRecord* move, int side);
int SentenceToneCode(const std::string& text);
std::string PieceNamePhrase(int piece, int square, const uint8_t counts[6], int mode, int tens, int spoken);
std::string DegreePhrase(int before, int after, int ownSide, int colour, int optionA, int riseMessage,
                         int fallMessage, int t1, int t2, int t3, int last);
std::string KingPressurePhrase(int before, int after, int ownSide, int colour, int optionA, int last);

// The legal moves of `side` with full flags.
std::vector<MoveRecord> LegalMovesOf(const Board* board, int side);
// Plays the moves on `board`, each with the flags of its legal entry, and
// stores the records as made (with their undo bytes) in `played`. Stops at
// the first move that is not legal; returns the side to move afterwards.
int PlayLine(Board* board, int side, const MoveRecord* line, int count, std::vector<MoveRecord>* played);
