// Annotator front ends: the automatic comment of a position, the two advice
// texts for an engine line, and why an attempted move cannot be played.
//
// Interface: AnnotateMove, ExplainLine, ExplainLineWithPosition,
// ExplainIllegalMove, StripMarkupCodes, PieceOnSquareText,
// InitCommentaryLabels, GetCommentaryLabels.
#pragma once

#include <string>

#include "board.h"
#include "book_query.h"
#include "moverecord.h"

// `gameMoves` lead from the initial position to `board`; an empty result
// means there is nothing to say.
std::string AnnotateMove(const Board* board, int side, const MoveRecord* gameMoves, int count,
                         OpeningBookQuery* book);
std::string ExplainLine(const Board* board, int side, const MoveRecord* line, int count);
std::string ExplainLineWithPosition(const Board* board, int side, const MoveRecord* line, int count,
                                    int style);
std::string ExplainIllegalMove(const Board* board, int side, int from, int to);
// Cuts out the stretch from the first "{" to the first "}" while the "}"
// follows the "{".
void StripMarkupCodes(std::string* text);
std::string PieceOnSquareText(const Board* board, int square);

struct CommentaryLabels {
  std::string transposed;
  std::string versus;
  std::string round;
  std::string importedGame;
};
void InitCommentaryLabels();
const CommentaryLabels& GetCommentaryLabels();
