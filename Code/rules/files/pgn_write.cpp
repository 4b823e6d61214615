#include "pgn_write.h"

#include <cstdio>
#include <cstring>

#include "file_errors.h"
#include "game_end.h"
#include "game_record.h"
#include "notation.h"
#include "position_text.h"

const char* PgnResultText(uint32_t code) {
  switch (code) {
    case 0:
    case 14:
    case 15:
    case 16:
    case 17:
      return "*";
    case 1:
    case 10:
    case 12:
      return "0-1";
    case 2:
    case 11:
    case 13:
      return "1-0";
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
      return "1/2-1/2";
    default:
      return "?";
  }
}

void PgnLineFiller::HandOut() {
  // A line that starts with "%" is an escape line for PGN readers, which
  // would drop it: a blank in front keeps it text.
  if (!line_.empty() && line_[0] == '%') line_.insert(0, 1, ' ');
  line_ += '\n';
  if (!failed_ && !output_(context_, line_.c_str())) failed_ = true;
  line_.clear();
}

void PgnLineFiller::Fill(const char* text, bool flush) {
  const char* p = text;
  while (*p) {
    // A chunk runs from a blank (or the start) to the next blank.
    const char* end = p + 1;
    while (*end && *end != ' ') ++end;
    size_t length = static_cast<size_t>(end - p);
    const char* chunk = p;
    // An empty line would end the game for PGN readers: a long chunk goes
    // on an empty line of its own rather than after a line break.
    if (!line_.empty() && line_.size() + length > kPgnLineWidth) {
      HandOut();
      if (*chunk == ' ') ++chunk, --length;
    }
    line_.append(chunk, length);
    p = end;
  }
  if (flush) HandOut();
}

namespace {

struct Writer {
  PgnLineFiller filler;
  int slot;
  bool variations;
  int baseIndex;  // ply index of the game's first move

  void Comment(const char* text) {
    // A comment is one brace group: line ends inside become blanks and a
    // closing brace, which would end it early, becomes a parenthesis.
    std::string clean = "{";
    for (const char* p = text; *p; ++p) clean += (*p == '\r' || *p == '\n') ? ' ' : (*p == '}' ? ')' : *p);
    clean += "} ";
    filler.Fill(clean.c_str(), false);
  }

  // Writes the line that starts with `node`, played from `board`.
  void Line(const MoveTreeNode* node, Board board, int side, int index, bool forced) {
    for (; node && !filler.Failed(); node = node->firstChild) {
      MoveRecord move = *node->move;
      char text[kNotationTextSize];
      MoveToNotation(&board, &move, side, STYLE_ALGEBRAIC, text);
      char numbered[kNotationTextSize + 24];
      if (index % 2 == 0)
        std::snprintf(numbered, sizeof numbered, "%d. %s ", index / 2 + 1, text);
      else if (forced)
        std::snprintf(numbered, sizeof numbered, "%d... %s ", index / 2 + 1, text);
      else
        std::snprintf(numbered, sizeof numbered, "%s ", text);
      filler.Fill(numbered, false);
      forced = false;
      if (slot >= 0 && slot < kMoveTextSlots && move.texts[slot] && *move.texts[slot]) {
        Comment(move.texts[slot]);
        forced = true;
      }
      if (variations && node->parent && node->parent->firstChild == node && node->next) {
        for (const MoveTreeNode* alt = node->next; alt; alt = alt->next) {
          filler.Fill("( ", false);
          Line(alt, board, side, index, true);
          filler.Fill(") ", false);
        }
        forced = true;
      }
      MakeMove(&move, &board);
      side = OtherSide(side);
      ++index;
    }
  }
};

}  // namespace

bool WritePgnTag(PgnOutput output, void* context, const char* name, const char* value, bool always) {
  if (!value) value = "";
  if (!always && !*value) return true;
  std::string text = "[";
  text += name;
  text += " \"";
  for (const char* p = value; *p; ++p) {
    if (*p == '"' || *p == '\\') text += '\\';
    // A line end inside the value would cut the tag line in two.
    text += (*p == '\r' || *p == '\n' || *p == '\t') ? ' ' : *p;
  }
  text += "\"]\n";
  return output(context, text.c_str());
}

int WritePgnGame(PgnOutput output, void* context, const GameRecord* game, int slot, bool variations) {
  if (!game) return PGN_WRITE_NO_GAME;
  const GameHeader& h = game->header;
  const char* result = PgnResultText(game->result);
  bool ok = true;
  auto tag = [&](const char* name, const char* value, bool always) {
    ok = ok && WritePgnTag(output, context, name, value, always);
  };
  tag("Event", h.event, true);
  tag("Site", h.site, true);
  tag("Date", h.date, true);
  tag("Round", h.round, true);
  tag("White", game->white.name, true);
  tag("Black", game->black.name, true);
  tag("Result", result, true);
  tag("Annotator", h.annotator, false);
  tag("ECO", h.eco, false);
  tag("WhiteELO", h.whiteElo, false);
  tag("BlackELO", h.blackElo, false);
  tag("WhiteTitle", h.whiteTitle, false);
  tag("BlackTitle", h.blackTitle, false);
  tag("WhiteCountry", h.whiteCountry, false);
  tag("BlackCountry", h.blackCountry, false);
  if (!IsStandardStart(game)) {
    char fen[kFenTextSize];
    tag("Setup", "1", true);
    tag("FEN", BoardToFen(&game->start, game->startSide, static_cast<int>(game->startMoveNumber), fen), true);
  }
  ok = ok && output(context, "\n");
  if (!ok) return PGN_WRITE_FAILED;

  Writer writer{PgnLineFiller(output, context), slot, variations,
                2 * static_cast<int>(game->startMoveNumber) - 2 + (game->startSide == BLACK ? 1 : 0)};
  if (slot >= 0 && slot < kMoveTextSlots && h.texts[slot] && *h.texts[slot]) writer.Comment(h.texts[slot]);
  {
    std::lock_guard<std::recursive_mutex> hold(game->tree->lock);
    writer.Line(game->tree->root.firstChild, game->start, game->startSide, writer.baseIndex, true);
  }
  writer.filler.Fill(result, true);
  writer.filler.Fill("", true);
  return writer.filler.Failed() ? PGN_WRITE_FAILED : 0;
}

namespace {

bool AppendToString(void* context, const char* piece) {
  static_cast<std::string*>(context)->append(piece);
  return true;
}

bool AddLength(void* context, const char* piece) {
  *static_cast<size_t*>(context) += std::strlen(piece);
  return true;
}

bool WriteToFile(void* context, const char* piece) {
  return std::fputs(piece, static_cast<std::FILE*>(context)) >= 0;
}

}  // namespace

std::string WritePgnToString(const GameRecord* game, int slot, bool variations) {
  std::string text;
  WritePgnGame(&AppendToString, &text, game, slot, variations);
  return text;
}

size_t MeasurePgnText(const GameRecord* game, int slot) {
  size_t length = 0;
  WritePgnGame(&AddLength, &length, game, slot, false);
  return length;
}

int WritePgnToBuffer(char* buffer, size_t size, const GameRecord* game, int slot) {
  if (!buffer || !size) return PGN_WRITE_FAILED;
  buffer[0] = '\0';
  std::string text;
  int code = WritePgnGame(&AppendToString, &text, game, slot, false);
  if (code) return code;
  if (text.size() + 1 > size) return PGN_WRITE_FAILED;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return 0;
}

int WritePgnFile(const char* path, const GameRecord* game, bool append, int slot) {
  if (!game) return PGN_WRITE_NO_GAME;
  if (!path) return PGN_WRITE_CANNOT_OPEN;
  if (append) {
    std::FILE* f = std::fopen(path, "a+t");
    if (!f) return PGN_WRITE_CANNOT_OPEN;
    int code = WritePgnGame(&WriteToFile, f, game, slot, true);
    if (std::fclose(f) != 0 && !code) code = PGN_WRITE_FAILED;
    return code;
  }
  std::string text;
  int code = WritePgnGame(&AppendToString, &text, game, slot, true);
  if (code) return code;
  code = ReplaceFileAtomically(path, text.data(), text.size(), true);
  if (code == FILE_CANNOT_CREATE) return PGN_WRITE_CANNOT_OPEN;
  return code ? PGN_WRITE_FAILED : 0;
}
