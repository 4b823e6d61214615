#include "text_export.h"

#include <cstdio>
#include <cstring>

#include "game_host.h"
#include "game_record.h"
#include "header_access.h"
#include "notation.h"
#include "pgn_write.h"

namespace {

// [light, dark] characters of white and black pieces by type, and empty.
const uint8_t kWhiteChars[6][2] = {{176, 178}, {170, 172}, {164, 166}, {155, 157}, {149, 150}, {253, 255}};
const uint8_t kBlackChars[6][2] = {{179, 180}, {173, 175}, {167, 168}, {158, 185}, {151, 152}, {159, 131}};
const uint8_t kEmptyChars[2] = {143, 144};
const uint8_t kOldWhitePawn[2] = {145, 146};
const uint8_t kOldBlackPawn[2] = {147, 148};

bool IsDark(int square) { return ((SquareRow(square) + SquareFile(square)) & 1) != 0; }

void TagLine(std::string* out, const char* label, const char* value) {
  *out += '[';
  *out += label;
  *out += " \"";
  *out += value ? value : "";
  *out += "\"]\r\n";
}

const char* CommentOf(const char* const texts[kMoveTextSlots], int slot) {
  if (slot < 0 || slot > 2) return nullptr;
  const char* text = texts[slot];
  return text && *text ? text : nullptr;
}

// Copies a comment word by word, wrapping before a word that would reach
// `wrapColumn` once the line holds `minimum` characters, and breaking runs
// of `longest` characters with "-".
void CopyWords(std::string* out, const char* text, size_t column, size_t wrapColumn, size_t minimum,
               size_t longest, const std::string& lineBreak, const std::string& afterCr) {
  size_t run = 0;
  const char* p = text;
  while (*p) {
    if (*p == '\r' || *p == '\n') {
      if (*p == '\r' && p[1] == '\n') ++p;
      *out += "\r\n";
      *out += afterCr;
      column = afterCr.size();
      run = 0;
      ++p;
      continue;
    }
    const char* end = p;
    while (*end && *end != ' ' && *end != '\r' && *end != '\n') ++end;
    size_t length = static_cast<size_t>(end - p);
    if (column >= minimum && column + length >= wrapColumn) {
      *out += lineBreak;
      column = lineBreak.size() - lineBreak.rfind('\n') - 1;
      run = 0;
    }
    for (const char* c = p; c < end; ++c) {
      if (run >= longest) {
        *out += '-';
        *out += lineBreak;
        column = lineBreak.size() - lineBreak.rfind('\n') - 1;
        run = 0;
      }
      *out += *c;
      ++column;
      ++run;
    }
    p = end;
    if (*p == ' ') {
      *out += ' ';
      ++column;
      run = 0;
      ++p;
    }
  }
}

}  // namespace

void FormatGameTextTags(const GameRecord* game, std::string* out) {
  const GameHeader& h = game->header;
  TagLine(out, "Event", h.event);
  TagLine(out, "Site", h.site);
  TagLine(out, "Date", h.date);
  TagLine(out, "Round", h.round);
  TagLine(out, "White", game->white.name);
  TagLine(out, "Black", game->black.name);
  TagLine(out, "Result", PgnResultText(game->result));
  const struct {
    const char* label;
    const char* value;
  } optional[] = {{"Annotator", h.annotator},       {"ECO", h.eco},
                  {"WhiteELO", h.whiteElo},         {"BlackELO", h.blackElo},
                  {"WhiteTitle", h.whiteTitle},     {"BlackTitle", h.blackTitle},
                  {"WhiteCountry", h.whiteCountry}, {"BlackCountry", h.blackCountry}};
  for (const auto& tag : optional)
    if (*tag.value) TagLine(out, tag.label, tag.value);
}

void FormatGameTextTitleTags(GameRecord* game, std::string* out) {
  if (!game->header.title[0]) {
    std::string title = std::string(game->white.name) + " vs " + game->black.name;
    if (game->header.site[0]) title += std::string(", ") + game->header.site;
    title += std::string(" ") + game->header.date;
    SetGameTitle(game, title.c_str());
  }
  const GameHeader& h = game->header;
  TagLine(out, "Title", h.title);
  TagLine(out, "Event", h.event);
  TagLine(out, "Site", h.site);
  TagLine(out, "Date", h.date);
  TagLine(out, "Round", h.round);
  TagLine(out, "White", game->white.name);
  TagLine(out, "Black", game->black.name);
  TagLine(out, "Result", PgnResultText(game->result));
}

void FormatGameComment(const GameRecord* game, std::string* out, bool braces, int slot) {
  const char* text = CommentOf(game->header.texts, slot);
  if (!text) return;
  *out += braces ? "{" : ";";
  CopyWords(out, text, 1, 76, 41, 79, braces ? "\r\n" : "\r\n;", braces ? "" : ";");
  if (braces) *out += "}";
  *out += "\r\n";
}

void FormatMoveComment(const MoveRecord* move, std::string* out, int ply, bool tabs, bool braces, bool last,
                       int slot) {
  bool white = ply % 2 == 1;
  const char* text = CommentOf(move->texts, slot);
  if (!text) {
    if (!white) *out += "\r\n";
    return;
  }
  if (white)
    *out += braces ? "{" : (tabs ? "...\t;" : "...           ;");
  else
    *out += braces ? "{" : ";";
  std::string lineBreak = braces ? "\r\n" : (tabs ? "\r\n\t\t\t;" : "\r\n" + std::string(35, ' ') + ";");
  std::string afterCr = braces ? "" : (tabs ? "\t\t\t;" : std::string(35, ' ') + ";");
  // Columns so far: after a white move in columns the comment starts at 35.
  CopyWords(out, text, braces ? 0 : 35, braces ? 41 : 35 + 41, braces ? 26 : 35 + 26, 43, lineBreak, afterCr);
  if (braces) *out += "}";
  *out += "\r\n";
  if (white && !last) {
    if (braces) {
      char lead[24];
      std::snprintf(lead, sizeof lead, "%d... ", (ply - 1) / 2 + 1);
      *out += lead;
    } else {
      *out += tabs ? "\t...\t" : "     ...            ";
    }
  }
}

size_t MeasureGameText(const GameRecord* game, int slot) {
  auto block = [](const char* text) {
    return text ? std::strlen(text) + std::strlen(text) / 20 * 40 + 8 : 0;
  };
  size_t total = 472 + block(CommentOf(game->header.texts, slot)) + 4;
  for (const MoveTreeNode* n = game->tree->root.firstChild; n && total < 65536; n = n->firstChild)
    total += 40 + block(CommentOf(n->move->texts, slot)) + 4;
  return total;
}

std::string GameToText(GameRecord* game, bool tabs, bool running, int slot, int language) {
  std::string out;
  if (!game) return out;
  if (running) {
    FormatGameTextTitleTags(game, &out);
    out += "\r\n";
  } else {
    FormatGameTextTags(game, &out);
  }
  FormatGameComment(game, &out, running, slot);
  if (!running) out += "\r\n";
  if (running && language != LANG_ENGLISH) SetNotationLanguage(LANG_ENGLISH);

  int style = GetGameHost()->GetNotationStyle();
  Board board = game->start;
  int side = game->startSide;
  int k = 1;
  for (const MoveTreeNode* n = game->tree->root.firstChild; n; n = n->firstChild, ++k) {
    MoveRecord move = *n->move;
    char text[kNotationTextSize];
    MoveToNotation(&board, &move, side, style, text);
    char piece[kNotationTextSize + 32];
    if (k % 2 == 1) {
      if (running)
        std::snprintf(piece, sizeof piece, "%d. %s ", (k - 1) / 2 + 1, text);
      else if (tabs)
        std::snprintf(piece, sizeof piece, "%d.\t%s\t", (k - 1) / 2 + 1, text);
      else
        std::snprintf(piece, sizeof piece, "%3d. %-15s", (k - 1) / 2 + 1, text);
    } else {
      if (running)
        std::snprintf(piece, sizeof piece, "%s ", text);
      else if (tabs)
        std::snprintf(piece, sizeof piece, "%s\t", text);
      else
        std::snprintf(piece, sizeof piece, "%-14s", text);
    }
    out += piece;
    FormatMoveComment(n->move, &out, k, tabs, running, n->firstChild == nullptr, slot);
    MakeMove(&move, &board);
    side = OtherSide(side);
  }
  out += " ";
  out += PgnResultText(game->result);
  out += "\r\n\r\n";
  if (running) {
    if (language != LANG_ENGLISH) SetNotationLanguage(language);
    std::string tidy;
    for (size_t i = 0; i < out.size(); ++i) {
      if (out[i] == '\r' && i + 1 < out.size() && out[i + 1] == '\n') {
        while (!tidy.empty() && tidy.back() == ' ') tidy.pop_back();
        tidy += "\r\n";
        ++i;
        while (i + 1 < out.size() && out[i + 1] == ' ') ++i;
      } else {
        tidy += out[i] == '\t' ? ' ' : out[i];
      }
    }
    out.swap(tidy);
  }
  return out;
}

uint8_t DiagramChar(int square, uint8_t piece) {
  int dark = IsDark(square) ? 1 : 0;
  if (!piece) return kEmptyChars[dark];
  int type = piece & TYPE_MASK;
  if (type > PAWN || !(piece & COLOUR_MASK) || (piece & ~(COLOUR_MASK | TYPE_MASK))) return 0;
  if ((piece & COLOUR_MASK) == WHITE) return kWhiteChars[type][dark];
  if ((piece & COLOUR_MASK) == BLACK) return kBlackChars[type][dark];
  return 0;
}

uint8_t OldDiagramChar(int square, uint8_t piece) {
  int dark = IsDark(square) ? 1 : 0;
  if (piece == WHITE + PAWN) return kOldWhitePawn[dark];
  if (piece == BLACK + PAWN) return kOldBlackPawn[dark];
  return DiagramChar(square, piece);
}

uint8_t DecodeOldDiagramChar(uint8_t c, bool* dark) {
  for (int d = 0; d < 2; ++d) {
    *dark = d != 0;
    for (int type = 0; type < 6; ++type) {
      uint8_t white = type == PAWN ? kOldWhitePawn[d] : kWhiteChars[type][d];
      uint8_t black = type == PAWN ? kOldBlackPawn[d] : kBlackChars[type][d];
      if (c == white) return static_cast<uint8_t>(WHITE + type);
      if (c == black) return static_cast<uint8_t>(BLACK + type);
    }
    if (c == kEmptyChars[d]) return 0;
  }
  return 255;
}

std::string ConvertOldDiagram(const std::string& text) {
  int count = 0;
  bool dark;
  for (char c : text)
    if (DecodeOldDiagramChar(static_cast<uint8_t>(c), &dark) != 255) ++count;
  if (count != 64) return text;
  std::string out = text;
  for (char& c : out) {
    uint8_t piece = DecodeOldDiagramChar(static_cast<uint8_t>(c), &dark);
    if (piece == 255) continue;
    // A square of the wanted colour: a8 is light, b8 dark.
    c = static_cast<char>(DiagramChar(dark ? 1 : 0, piece));
  }
  return out;
}

std::string BoardToDiagramText(const Board* board) {
  std::string out;
  for (int row = 0; row < 8; ++row) {
    for (int file = 0; file < 8; ++file) {
      int sq = MakeSquare(row, file);
      out += static_cast<char>(DiagramChar(sq, (*board)[sq]));
    }
    out += "\r\n";
  }
  return out;
}
