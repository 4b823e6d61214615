// Inside the game-file engine: the game buffer, its board rules and the
// binary record of a game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gdgame.h"

namespace gdg {

// Moves of one game, all lines together: a larger game is not written.
constexpr size_t kMaxGameMoves = 65535;

using Board = uint8_t[kGdgBoardSize];

enum TextField {
  kWhitePlayer,
  kBlackPlayer,
  kWhiteCountry,
  kBlackCountry,
  kWhiteTitle,
  kBlackTitle,
  kPlace,
  kSite,
  kKeycode,
  kAnnotator,
  kRemark,
  kTextFields
};

struct Header {
  std::string text[kTextFields];
  int32_t elo[2] = {0, 0};
  int32_t minutes[2] = {0, 0};
  int32_t round = 0;
  GdgDate date = {0, 0, 0};
  int32_t result = 0;
  uint8_t status = 0;  // status flags 0..7 as bits
  int32_t plies = 0;   // main line, kept by the engine
};

struct Node {
  uint8_t from = 0, to = 0;  // 8 * rank + file
  uint8_t promotion = 0;     // board code of the piece made, 0 none
  GdgMove next = 0, alt = 0;
  GdgMove parent = 0;    // the node this move is played after
  std::string lcomment;  // lines, each NUL-terminated
  int32_t lcount = 0;
  std::string scomment;
};

void NewBoard(uint8_t* board);
void InitialBoard(uint8_t* board);
inline int Cell(int file, int rank) { return 10 * (file + 1) + (rank + 1); }
bool MoveIsLegal(const uint8_t* board, int from, int to);
// Plays a move already known to be legal; promotion in board codes.
void ApplyMove(uint8_t* board, int from, int to, int promotion);
int32_t AllowedCastling(const uint8_t* board);

}  // namespace gdg

struct GdgGame {
  gdg::Header header;
  int32_t loadNumber = 0;
  bool setUp = false;
  gdg::Board start;
  std::vector<gdg::Node> nodes;              // nodes[0] unused, nodes[1] the first move pointer
  std::vector<GdgMove> path;                 // from the first move pointer to the current node
  std::vector<std::vector<uint8_t>> boards;  // board after each node of the path
  bool pattern = false;
  gdg::Board patternBoard;
};

namespace gdg {

void EraseGame(GdgGame* g);
void RewindGame(GdgGame* g);
void RecountLength(GdgGame* g);

// Binary record: the header part first (GetGameHeader reads only that).
void PackGame(const GdgGame& g, std::vector<uint8_t>* out, uint32_t* headerLength);
bool UnpackHeader(GdgGame* g, const uint8_t* data, uint32_t size);
bool UnpackBody(GdgGame* g, const uint8_t* data, uint32_t size, uint32_t headerLength);
// Header size of a record, 0 when the header is damaged.
uint32_t HeaderLength(const uint8_t* data, uint32_t size);

}  // namespace gdg
