#include "game_file.h"

#include <cstring>
#include <vector>

#include "file_errors.h"
#include "game_host.h"
#include "game_record.h"
#include "header_access.h"
#include "heapkit.h"
#include "movegen.h"
#include "position_text.h"
#include "text_export.h"

namespace {

// ---------------------------------------------------------------- writing

void PutU32(std::string* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>(v >> (8 * i)));
}

void PutText(std::string* out, const char* text, bool lengthWithNul) {
  uint32_t length = text && *text ? static_cast<uint32_t>(std::strlen(text)) : 0;
  if (!length) {
    PutU32(out, 0);
    return;
  }
  PutU32(out, lengthWithNul ? length + 1 : length);
  out->append(text, length + 1);
}

void PutPlayer(std::string* out, const PlayerRecord& p) {
  std::string image(kPlayerImageSize, '\0');
  std::memcpy(&image[0], p.name, kPlayerNameSize);
  image[kPlayerNameSize - 1] = '\0';
  std::string words;
  for (uint32_t w : {p.kind, p.slot, p.value, p.timeControl, p.baseMs, p.periodOrIncrement, p.blindfold})
    PutU32(&words, w);
  std::memcpy(&image[260], words.data(), 28);
  // 288: the personality pointer, never meaningful in a file.
  std::memcpy(&image[292], p.thinking, kThinkingBlockSize);
  std::memcpy(&image[292 + kThinkingBlockSize], p.statistics, kStatisticsBlockSize);
  std::memcpy(&image[292 + kThinkingBlockSize + kStatisticsBlockSize], p.reserved, sizeof p.reserved);
  // 4496: the engine session, likewise.
  out->append(image);
}

void PutMove(std::string* out, const MoveRecord* move) {
  uint8_t image[kMoveRecordFileSize];
  PackMoveRecord(move, image);
  out->append(reinterpret_cast<const char*>(image), sizeof image);
  for (int slot = 0; slot < kMoveTextSlots; ++slot)
    PutText(out, slot == SLOT_POSITION ? nullptr : move->texts[slot], true);
}

// ---------------------------------------------------------------- reading

class Cursor {
 public:
  Cursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Has(size_t n) const { return n <= size_ - pos_; }
  size_t Left() const { return size_ - pos_; }
  size_t Pos() const { return pos_; }
  bool Skip(size_t n) {
    if (!Has(n)) return fail();
    pos_ += n;
    return true;
  }
  bool Bytes(void* out, size_t n) {
    if (!Has(n)) return fail();
    std::memcpy(out, data_ + pos_, n);
    pos_ += n;
    return true;
  }
  bool U8(uint8_t* v) { return Bytes(v, 1); }
  bool U16(uint16_t* v) {
    uint8_t b[2];
    if (!Bytes(b, 2)) return false;
    *v = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
  }
  bool U32(uint32_t* v) {
    uint8_t b[4];
    if (!Bytes(b, 4)) return false;
    *v = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
    return true;
  }
  // A text of `length` bytes whose last is its NUL; false when it runs past
  // the end or the NUL is missing.
  bool Text(uint32_t length, std::string* out) {
    if (length == 0 || !Has(length) || data_[pos_ + length - 1] != 0) return fail();
    out->assign(reinterpret_cast<const char*>(data_ + pos_));  // up to the first NUL
    pos_ += length;
    return true;
  }
  // A NUL-terminated text.
  bool CText(std::string* out) {
    const void* nul = std::memchr(data_ + pos_, 0, size_ - pos_);
    if (!nul) return fail();
    size_t n = static_cast<const uint8_t*>(nul) - (data_ + pos_);
    out->assign(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n + 1;
    return true;
  }
  const uint8_t* At() const { return data_ + pos_; }
  bool Failed() const { return failed_; }

 private:
  bool fail() {
    failed_ = true;
    return false;
  }
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool failed_ = false;
};

char* Duplicate(const std::string& text) {
  auto* copy = static_cast<char*>(memAlloc_rel(text.size() + 1, HEAPKIT_TAG_RW));
  if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

// Texts of the header's fixed part kept NUL-terminated within their widths.
void TerminateHeaderFields(GameHeader* h) {
  h->banner[sizeof h->banner - 1] = 0;
  h->eco[sizeof h->eco - 1] = 0;
  h->title[sizeof h->title - 1] = 0;
  h->site[sizeof h->site - 1] = 0;
  h->event[sizeof h->event - 1] = 0;
  h->round[sizeof h->round - 1] = 0;
  h->date[sizeof h->date - 1] = 0;
  h->spare[sizeof h->spare - 1] = 0;
  h->annotator[sizeof h->annotator - 1] = 0;
  h->whiteElo[sizeof h->whiteElo - 1] = 0;
  h->blackElo[sizeof h->blackElo - 1] = 0;
  h->whiteTitle[sizeof h->whiteTitle - 1] = 0;
  h->blackTitle[sizeof h->blackTitle - 1] = 0;
  h->whiteCountry[sizeof h->whiteCountry - 1] = 0;
  h->blackCountry[sizeof h->blackCountry - 1] = 0;
  h->zero = 0;
}

bool ReadHeaderBlock(Cursor* in, GameRecord* game, size_t blockSize, int slots) {
  uint8_t block[kHeaderImageSize];
  if (!in->Bytes(block, blockSize)) return false;
  FreeGameHeaderTexts(&game->header);
  std::memcpy(&game->header, block, kGameHeaderFixedSize);
  TerminateHeaderFields(&game->header);
  for (int slot = 0; slot < slots; ++slot) {
    uint32_t length;
    if (!in->U32(&length)) return false;
    if (!length) continue;
    if (length >= 0x7FFFFFFF) return false;
    std::string text;
    if (!in->Text(length + 1, &text)) return false;
    if (!text.empty() && !(game->header.texts[slot] = Duplicate(text))) return false;
  }
  return true;
}

uint32_t Word(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void ReadPlayerImage(const uint8_t* image, PlayerRecord* p) {
  EngineSession* session = p->session;
  PersonalityRecord* personality = p->personality;
  std::memcpy(p->name, image, kPlayerNameSize);
  p->name[kPlayerNameSize - 1] = 0;
  p->kind = Word(image + 260);
  p->slot = Word(image + 264);
  p->value = Word(image + 268);
  p->timeControl = Word(image + 272);
  p->baseMs = Word(image + 276);
  p->periodOrIncrement = Word(image + 280);
  p->blindfold = Word(image + 284);
  std::memcpy(p->thinking, image + 292, kThinkingBlockSize);
  std::memcpy(p->statistics, image + 292 + kThinkingBlockSize, kStatisticsBlockSize);
  std::memcpy(p->reserved, image + 292 + kThinkingBlockSize + kStatisticsBlockSize, sizeof p->reserved);
  // The engine settings and link of the game's own players stay theirs: the
  // file's values mean nothing.
  p->session = session;
  p->personality = personality;
}

// A stored start position: every square a piece byte, one king a side; the
// state bytes are checked against the pieces.
bool AcceptStartBoard(Board* board) {
  int pieces = 0;
  for (int sq = 0; sq < 128; ++sq) {
    if (!OnBoard(sq)) continue;
    if (!IsPieceByte((*board)[sq])) return false;
    if ((*board)[sq]) ++pieces;
  }
  if (!pieces || (ValidateBoard(board) & (FAULT_WHITE_KINGS | FAULT_BLACK_KINGS))) return false;
  Board found = *board;
  FinishBoardSetup(&found);
  (*board)[WHITE_KING_SQUARE] = found[WHITE_KING_SQUARE];
  (*board)[BLACK_KING_SQUARE] = found[BLACK_KING_SQUARE];
  (*board)[CASTLING_RIGHTS] &= found[CASTLING_RIGHTS];
  int ep = (*board)[EN_PASSANT_SQUARE];
  if (ep != NO_SQUARE && (!OnBoard(ep) || ((*board)[ep] & TYPE_MASK) != PAWN || !(*board)[ep]))
    (*board)[EN_PASSANT_SQUARE] = NO_SQUARE;
  for (int sq = 12; sq < 16; ++sq) (*board)[sq] = 0;
  return true;
}

void SetStart(GameRecord* game, const Board& board, int side) {
  game->start = board;
  game->position = board;
  game->startSide = game->sideToMove = static_cast<uint8_t>(side);
}

// The legal move of the side to move (on `board`) with the squares and
// promotion of `move`; false when there is none.
bool FindLegal(const Board* board, int side, const MoveRecord& move, MoveRecord* out) {
  MoveList list;
  uint16_t count = 0;
  GenerateLegalMoves(board, list.moves, &count, side);
  bool found = false;
  for (int i = 0; i < count && !found; ++i) {
    const MoveRecord& m = list.moves[i];
    if (m.from != move.from || m.to != move.to) continue;
    if ((m.flags & MOVE_PROMOTION) && (m.flags & MOVE_PROMOTION_TYPE) != (move.flags & MOVE_PROMOTION_TYPE))
      continue;
    *out = m;
    found = true;
  }
  return found;
}

bool SelectSibling(GameRecord* game, const MoveRecord* target) {
  for (int k = 0; MoveRecord* s = GetSiblingMove(game, k); ++k)
    if (s == target) return GameSelectVariation(game, k) != nullptr;
  return false;
}

// Adds `move` (legal in the position before the current move) as the last
// alternative of the current move and makes it current.
bool EnterAlternative(GameRecord* game, const MoveRecord& move) {
  MoveRecord* added = AddVariationToGame(game, &move);
  for (int k = 0; MoveRecord* s = GetSiblingMove(game, k); ++k) {
    if (added ? s == added : SameMove(s, &move)) return GameSelectVariation(game, k) != nullptr;
  }
  return false;
}

void SetTexts(MoveRecord* move, std::string texts[kMoveTextSlots]) {
  for (int slot = 0; slot < kMoveTextSlots; ++slot)
    if (!texts[slot].empty()) SetMoveString(move, texts[slot].c_str(), slot);
}

// The move stream: each record, then the subtree of its next alternative,
// then the subtree of its continuation. Read without recursion.
bool ReadMoveStream(GameRecord* game, Cursor* in, bool oldForm) {
  struct Frame {
    bool alternative;
    int stage;
    uint32_t links;
    MoveRecord* back;  // the move an alternative stands beside
  };
  std::vector<Frame> stack;
  stack.push_back({false, 0, 0, nullptr});
  while (!stack.empty()) {
    Frame& f = stack.back();
    if (f.stage == 0) {
      MoveRecord move{};
      if (oldForm) {
        uint8_t image[60];
        if (!in->Bytes(image, sizeof image)) return false;
        move.from = image[0];
        move.to = image[1];
        move.timeMs = Word(image + 40);
        move.flags = static_cast<uint16_t>(image[48] | (image[49] << 8));
      } else {
        uint8_t image[kMoveRecordFileSize];
        if (!in->Bytes(image, sizeof image)) return false;
        UnpackMoveRecord(image, &move);
      }
      std::string texts[kMoveTextSlots];
      for (int slot = 0; slot < (oldForm ? 4 : kMoveTextSlots); ++slot) {
        uint32_t length;
        if (!in->U32(&length)) return false;
        if (length && !in->Text(length, &texts[slot])) return false;
      }
      texts[SLOT_POSITION].clear();
      if (!in->U32(&f.links) || (f.links & ~3u)) return false;
      if (!OnBoard(move.from) || !OnBoard(move.to)) return false;

      // Checked against the legal moves where it is played.
      MoveRecord legal;
      if (f.alternative) {
        MoveRecord* current = GetCurrentMove(game);
        if (!current) return false;
        Board before = game->position;
        MoveRecord undo = *current;
        UnmakeMove(&undo, &before);
        if (!FindLegal(&before, OtherSide(game->sideToMove), move, &legal)) return false;
        legal.timeMs = move.timeMs;
        f.back = current;
        if (!EnterAlternative(game, legal)) return false;
      } else {
        if (!FindLegal(&game->position, game->sideToMove, move, &legal)) return false;
        legal.timeMs = move.timeMs;
        if (!AddMoveToGame(game, &legal)) return false;
      }
      SetTexts(GetCurrentMove(game), texts);
      f.stage = 1;
      if (f.links & 1) {
        stack.push_back({true, 0, 0, nullptr});
        continue;
      }
    }
    if (f.stage == 1) {
      f.stage = 2;
      if (f.links & 2) {
        stack.push_back({false, 0, 0, nullptr});
        continue;
      }
    }
    // Leave the node: a continuation is taken back; an alternative gives
    // way to the move it stands beside.
    if (f.alternative) {
      if (!SelectSibling(game, f.back)) return false;
    } else if (!GameStepBack(game)) {
      return false;
    }
    stack.pop_back();
  }
  return true;
}

// After the saved ply the rest is the move stream and the end marker; a
// stream is present when more than the marker remains.
bool ReadStreamIfAny(GameRecord* game, Cursor* in, bool oldForm) {
  if (in->Left() <= 4) return true;
  SeekToPly(game, 0);
  return ReadMoveStream(game, in, oldForm);
}

}  // namespace

bool IsPieceByte(uint8_t byte) {
  return byte == 0 || (byte >= 16 && byte <= 21) || (byte >= 32 && byte <= 37);
}

bool BuildGameFileImage(const GameRecord* game, std::string* image) {
  if (!game) return false;
  std::string& out = *image;
  out.clear();
  try {
    out.append(reinterpret_cast<const char*>(&game->header), kGameHeaderFixedSize);
    out[33] = 8;
    out.append(kHeaderImageSize - kGameHeaderFixedSize, '\0');
    for (int slot = 0; slot < kMoveTextSlots; ++slot) PutText(&out, game->header.texts[slot], false);
    out.push_back(8);
    PutU32(&out, game->kind);
    PutPlayer(&out, game->white);
    PutPlayer(&out, game->black);
    PutU32(&out, game->result);
    out.push_back(static_cast<char>(game->startSide));
    out.append(reinterpret_cast<const char*>(game->start.sq), sizeof game->start.sq);
    int32_t ply = GetCurrentPly(game);
    PutU32(&out, static_cast<uint32_t>(ply > 0 ? ply : 0));
    std::lock_guard<std::recursive_mutex> hold(game->tree->lock);
    std::vector<const MoveTreeNode*> stack;
    if (game->tree->root.firstChild) stack.push_back(game->tree->root.firstChild);
    while (!stack.empty()) {
      const MoveTreeNode* node = stack.back();
      stack.pop_back();
      PutMove(&out, node->move);
      PutU32(&out, (node->next ? 1u : 0u) | (node->firstChild ? 2u : 0u));
      if (node->firstChild) stack.push_back(node->firstChild);
      if (node->next) stack.push_back(node->next);
    }
    PutU32(&out, kGameFileEndMarker);
  } catch (...) {
    return false;
  }
  return true;
}

int WriteGameFile(const char* path, const GameRecord* game) {
  std::string image;
  if (!BuildGameFileImage(game, &image)) return FILE_CANNOT_WRITE;
  return ReplaceFileAtomically(path, image.data(), image.size());
}

int WriteGameFileTo(std::FILE* file, const GameRecord* game) {
  std::string image;
  if (!file || !BuildGameFileImage(game, &image)) return FILE_CANNOT_WRITE;
  return std::fwrite(image.data(), 1, image.size(), file) == image.size() ? 0 : FILE_CANNOT_WRITE;
}

int ReadGameFileV8(GameRecord* game, const uint8_t* image, size_t size) {
  Cursor in(image, size);
  if (!ReadHeaderBlock(&in, game, kHeaderImageSize, kMoveTextSlots)) return -1;
  uint8_t version, side;
  uint32_t kind, result, ply;
  uint8_t player[kPlayerImageSize];
  if (!in.U8(&version) || !in.U32(&kind)) return -1;
  game->kind = kind;
  if (!in.Bytes(player, sizeof player)) return -1;
  ReadPlayerImage(player, &game->white);
  if (!in.Bytes(player, sizeof player)) return -1;
  ReadPlayerImage(player, &game->black);
  Board board;
  if (!in.U32(&result) || !in.U8(&side) || !in.Bytes(board.sq, sizeof board.sq) || !in.U32(&ply)) return -1;
  if ((side != WHITE && side != BLACK) || !AcceptStartBoard(&board) || ply > 0x7FFFFFFF) return -1;
  game->result = result;
  SetStart(game, board, side);
  if (!ReadStreamIfAny(game, &in, false)) return -1;
  return static_cast<int>(ply);
}

int ReadGameFileV7(GameRecord* game, const uint8_t* image, size_t size) {
  Cursor in(image, size);
  if (!ReadHeaderBlock(&in, game, 784, 4)) return -1;
  uint8_t version, side;
  uint32_t kind, result, ply;
  if (!in.U8(&version) || !in.U32(&kind)) return -1;
  game->kind = kind;
  for (PlayerRecord* p : {&game->white, &game->black}) {
    uint8_t block[276];
    if (!in.Bytes(block, sizeof block)) return -1;
    p->kind = Word(block);
    p->slot = Word(block + 4);
    p->value = Word(block + 8);
    // The name field is 264 bytes; the record's holds 259 characters.
    std::memset(p->name, 0, sizeof p->name);
    size_t n = strnlen(reinterpret_cast<const char*>(block + 12), 264);
    if (n > kPlayerNameSize - 1) n = kPlayerNameSize - 1;
    std::memcpy(p->name, block + 12, n);
  }
  if (!in.Skip(5168)) return -1;
  for (PlayerRecord* p : {&game->white, &game->black}) {
    uint8_t block[44];
    if (!in.Bytes(block, sizeof block)) return -1;
    p->timeControl = Word(block);
    p->baseMs = Word(block + 28);
    p->periodOrIncrement = Word(block + 32);
  }
  Board board;
  ClearBoard(&board);
  if (!in.Skip(8) || !in.U32(&result) || !in.U8(&side) || !in.Bytes(board.sq, sizeof board.sq) ||
      !in.U32(&ply))
    return -1;
  if ((side != WHITE && side != BLACK) || !AcceptStartBoard(&board) || ply > 0x7FFFFFFF) return -1;
  game->result = result;
  SetStart(game, board, side);
  if (!ReadStreamIfAny(game, &in, true)) return -1;
  return static_cast<int>(ply);
}

// ---------------------------------------------------------------- versions 4 to 6

namespace {

struct OldLayout {
  int title, whiteName, whiteKind, blackName, blackKind, site, event, date, spare, round, result, whiteTime,
      blackTime;
  size_t end;
};
const OldLayout kOldLayouts[3] = {
    {34, 114, 146, 147, 179, 180, 230, 280, 300, -1, 380, -1, -1, 382},
    {-1, 34, 66, 67, 99, 100, 150, 200, 220, -1, 300, -1, -1, 302},
    {-1, 34, 66, 67, 99, 100, 150, 200, 220, 300, 312, 316, 352, 388},
};

void CopyOldText(char* field, size_t fieldSize, const uint8_t* from, size_t width) {
  char text[128] = {};
  std::memcpy(text, from, width < sizeof text ? width : sizeof text - 1);
  text[width < sizeof text ? width : sizeof text - 1] = 0;
  CopyHeaderField(field, fieldSize, text);
}

void ReadOldTimeBlock(const uint8_t* block, PlayerRecord* p) {
  uint32_t w[9];
  for (int i = 0; i < 9; ++i) w[i] = Word(block + 4 * i);
  p->timeControl = w[0];
  switch (w[0]) {
    case 0:
    case 1:
      p->baseMs = w[2], p->periodOrIncrement = w[1];
      break;
    case 2:
      p->baseMs = w[3];
      break;
    case 3:
    case 4:
      p->baseMs = w[2];
      break;
    case 5:
      p->baseMs = w[5], p->periodOrIncrement = w[8];
      break;
    case 6:
      p->baseMs = w[6];
      break;
    case 9:
      p->baseMs = w[7];
      break;
    default:
      break;
  }
}

// Groups in braces (one inner level allowed) are markup: slot 3 gets them,
// slot 1 the text around them; a text without groups is a user comment.
void SplitOldComment(const std::string& text, std::string texts[kMoveTextSlots]) {
  std::string plain, markup;
  int depth = 0;
  bool groups = false;
  for (char c : text) {
    if (c == '{' && depth < 2) {
      ++depth;
      groups = true;
    }
    (depth ? markup : plain) += c;
    if (c == '}' && depth > 0) --depth;
  }
  if (!groups) {
    texts[SLOT_COMMENT] = text;
  } else {
    texts[SLOT_ANNOTATION] = plain;
    texts[SLOT_HIDDEN] = markup;
  }
}

bool ReadCommentTags(Cursor* in, std::string texts[kMoveTextSlots]) {
  static const char* const kTags[4] = {"USER", "ANAL", "AUTO", "HIDE"};
  static const int kSlots[4] = {SLOT_COMMENT, SLOT_ANALYSIS, SLOT_ANNOTATION, SLOT_HIDDEN};
  for (int i = 0; i < 4; ++i) {
    char tag[4];
    uint32_t present;
    if (!in->Bytes(tag, 4) || std::memcmp(tag, kTags[i], 4) != 0 || !in->U32(&present)) return false;
    if (present && !in->CText(&texts[kSlots[i]])) return false;
  }
  return true;
}

struct OldReader {
  GameRecord* game;
  Cursor* in;
  int version;
  uint32_t lastTime[2] = {0, 0};  // previous move's time field of each side
  int plies = 0;

  bool Move() {
    uint16_t word, time;
    if (!in->U16(&word) || !in->U16(&time)) return false;
    MoveRecord move{};
    move.to = static_cast<uint8_t>(MakeSquare((word >> 3) & 7, word & 7));
    move.from = static_cast<uint8_t>(MakeSquare((word >> 9) & 7, (word >> 6) & 7));
    int promotion = (word >> 12) & 7;
    move.flags = static_cast<uint16_t>(promotion == 7 ? 0 : promotion);
    std::string texts[kMoveTextSlots];
    if (word & 0x8000) {
      if (version == 6) {
        if (!ReadCommentTags(in, texts)) return false;
        texts[SLOT_COMMENT] = ConvertOldDiagram(texts[SLOT_COMMENT]);
        texts[SLOT_ANNOTATION] = ConvertOldDiagram(texts[SLOT_ANNOTATION]);
      } else {
        std::string text;
        if (!in->CText(&text)) return false;
        SplitOldComment(ConvertOldDiagram(text), texts);
      }
    }
    MoveRecord legal;
    if (!FindLegal(&game->position, game->sideToMove, move, &legal)) return false;
    int side = game->sideToMove == WHITE ? 0 : 1;
    legal.timeMs = plies < 2 ? time : time + lastTime[side];
    lastTime[side] = legal.timeMs;
    if (!AddMoveToGame(game, &legal)) return false;
    SetTexts(GetCurrentMove(game), texts);
    ++plies;
    return true;
  }
};

}  // namespace

int ReadOldGameFile(GameRecord* game, const uint8_t* image, size_t size, const char* fileName) {
  if (size < 34) return -1;
  int version = image[33];
  if (version < 4 || version > 6) return -1;
  const OldLayout& l = kOldLayouts[version - 4];
  if (size < l.end) return -1;

  int year, month, day;
  GetGameHost()->Today(&year, &month, &day);
  InitGameHeader(game, GetGameHost()->DefaultHeaderBanner(), year, month, day);
  CopyOldText(game->white.name, sizeof game->white.name, image + l.whiteName, 32);
  CopyOldText(game->black.name, sizeof game->black.name, image + l.blackName, 32);
  game->white.kind = image[l.whiteKind] == 1 ? 1 : 0;
  game->black.kind = image[l.blackKind] == 1 ? 1 : 0;
  game->white.slot = 1;
  game->black.slot = 0;
  CopyOldText(game->header.site, sizeof game->header.site, image + l.site, 50);
  CopyOldText(game->header.event, sizeof game->header.event, image + l.event, 50);
  CopyOldText(game->header.date, sizeof game->header.date, image + l.date, 20);
  CopyOldText(game->header.spare, sizeof game->header.spare, image + l.spare, 79);
  if (l.round >= 0) CopyOldText(game->header.round, sizeof game->header.round, image + l.round, 12);
  char resultChar = static_cast<char>(image[l.result]);
  game->result = resultChar == '0' ? 9 : resultChar == '1' ? 11 : resultChar == '2' ? 10 : 0;
  if (l.whiteTime >= 0) {
    ReadOldTimeBlock(image + l.whiteTime, &game->white);
    ReadOldTimeBlock(image + l.blackTime, &game->black);
  }
  game->kind = version == 6 ? 0x100 : 0x20000100;
  // The title comes from the file name: folder and ".RWG" removed.
  std::string title = fileName ? fileName : "";
  size_t slash = title.find_last_of("/\\");
  if (slash != std::string::npos) title.erase(0, slash + 1);
  size_t ext = title.find(".RWG");
  if (ext != std::string::npos) title.erase(ext);
  SetGameTitle(game, title.c_str());

  Cursor in(image, size);
  in.Skip(l.end);
  uint8_t commentFlag, side;
  if (!in.U8(&commentFlag) || !in.U8(&side)) return -1;
  Board board;
  SetInitialBoard(&board);
  game->startMoveNumber = 1;
  if (side == WHITE || side == BLACK) {
    uint8_t squares[64];
    if (!in.Bytes(squares, sizeof squares)) return -1;
    ClearBoard(&board);
    for (int i = 0; i < 64; ++i) board[MakeSquare(i / 8, i % 8)] = squares[i];
    int pieces = 0;
    for (int i = 0; i < 64; ++i) {
      if (!IsPieceByte(squares[i])) return -1;
      pieces += squares[i] != 0;
    }
    // The stored squares carry no state: kings, castling rights from the
    // pieces, no en-passant square.
    FinishBoardSetup(&board);
    if (!pieces || (ValidateBoard(&board) & (FAULT_WHITE_KINGS | FAULT_BLACK_KINGS))) return -1;
  } else if (side == 255) {
    side = WHITE;
  } else {
    return -1;
  }
  SeekToPly(game, 0);
  SetStart(game, board, side);

  uint16_t countWord, plyWord;
  if (!in.U16(&countWord) || !in.U16(&plyWord)) return -1;
  int16_t count = static_cast<int16_t>(countWord);
  int16_t savedPly = static_cast<int16_t>(plyWord);
  if (commentFlag == 1) {
    std::string texts[kMoveTextSlots];
    if (version == 6) {
      if (!ReadCommentTags(&in, texts)) return -1;
    } else if (!in.CText(&texts[SLOT_COMMENT])) {
      return -1;
    }
    for (int slot = 0; slot < kMoveTextSlots; ++slot) {
      if (texts[slot].empty()) continue;
      if (game->header.texts[slot]) memFree_rel(game->header.texts[slot]);
      game->header.texts[slot] = Duplicate(texts[slot]);
    }
  }
  OldReader reader{game, &in, version};
  if (count >= 0) {
    for (int i = 0; i < count; ++i)
      if (!reader.Move()) return -1;
  } else {
    for (;;) {
      uint8_t tag;
      if (!in.U8(&tag)) return -1;
      if (tag == 'X') break;
      if (tag == 'M') {
        if (!reader.Move()) return -1;
      } else if (tag == 'T') {
        if (!in.Skip(2) || !GameStepBack(game)) return -1;
      } else {
        return -1;
      }
    }
  }
  return savedPly < 0 ? 0 : savedPly;
}

int ReadGameFileImage(GameRecord* game, const uint8_t* image, size_t size, const char* fileName) {
  if (size < 34) return FILE_BAD_FORMAT;
  int version = image[33];
  static const size_t kMinimum[9] = {0, 0, 0, 0, 382, 302, 388, 788, 788};
  if (version < 4 || version > 8 || size < kMinimum[version]) return FILE_DAMAGED;
  int ply;
  if (version == 8)
    ply = ReadGameFileV8(game, image, size);
  else if (version == 7)
    ply = ReadGameFileV7(game, image, size);
  else
    ply = ReadOldGameFile(game, image, size, fileName);
  game->header.version = 8;
  if (ply < 0) return FILE_DAMAGED;
  // Stand at the saved ply of the main line.
  SeekToPly(game, 0);
  game->position = game->start;
  game->sideToMove = game->startSide;
  for (int i = 0; i < ply && GameStepForward(game); ++i) {
  }
  return 0;
}

int LoadGameFile(const char* path, GameRecord* game) {
  if (!game) return 0;
  std::FILE* f = path ? std::fopen(path, "rb") : nullptr;
  if (!f) return 0;
  std::fclose(f);
  std::string image;
  int code = ReadWholeFile(path, 0, static_cast<size_t>(1) << 30, &image);
  if (code == FILE_CANNOT_READ) code = FILE_DAMAGED;
  if (!code)
    code = ReadGameFileImage(game, reinterpret_cast<const uint8_t*>(image.data()), image.size(), path);
  if (!code) return 1;
  std::string message = FileErrorText(code);
  if (code == FILE_DAMAGED && image.size() >= 34)
    message += std::string(" \"") + path + "\".";
  else
    message += std::string(" ") + path + ".";
  GetGameHost()->ShowMessage(message.c_str());
  return 0;
}
