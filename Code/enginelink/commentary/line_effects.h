// The effects of a line of moves (what it wins, threatens or achieves) as a
// short run of sentences.
//
// Interface: ExplainLineEffects, PlaceholderPosition.
#pragma once

#include <string>

#include "board.h"
#include "moverecord.h"

// 0 when "%s" starts the text, 2 when it ends it, 1 elsewhere, 3 absent.
int PlaceholderPosition(const std::string& format);
// `side` is the side whose line it is told for; the side to move is the
// colour of the piece that makes the line's first move.
std::string ExplainLineEffects(const Board* board, const MoveRecord* line, int count, int side, int optionA,
                               int optionB, int mostSentences, int firstCategory, int lastCategory,
                               int withGoals);
