// Material sentences: piece lists, what each side lost or gained over a line,
// the material balance of a position and mate counts.
//
// Interface: WritePieceList, WriteMaterialChange, WriteCountSentence,
// DescribeMaterialChange, DescribeMaterialBalance, DescribePromotionGain.
#pragma once

#include <cstdint>
#include <string>

#include "board.h"
#include "moverecord.h"

std::string WritePieceList(const uint8_t counts[6], int key, int flag);
// `lostSide`: what `side` lost, `lostOther`: what the other side lost;
// `keySide` and `keyOther` are the first keys of sentences 50 and 51.
std::string WriteMaterialChange(const uint8_t lostSide[6], const uint8_t lostOther[6], int closing, int side,
                                int keySide, int keyOther);
struct CountRecord {
  int count;
  int side;
};
std::string WriteCountSentence(const CountRecord& record, int side, int mode);
std::string DescribeMaterialChange(const Board* board, int side, const MoveRecord* line, int count);
std::string DescribeMaterialBalance(const Board* board);
std::string DescribePromotionGain(const Board* board, int side, const MoveRecord* line, int count,
                                  const MoveRecord* line2, int count2);
