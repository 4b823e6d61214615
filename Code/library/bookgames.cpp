// Games for the book builder, read with the program's PGN reader.
#include "bookgames.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "board.h"
#include "game_header.h"
#include "game_record.h"
#include "move_tree.h"
#include "pgn_read.h"

const std::string* BookGame::Tag(const char* name) const {
  for (const auto& t : tags)
    if (t.first == name) return &t.second;
  return nullptr;
}

LineSource FileLineSource(FILE* file) {
  return [file](std::string* line) {
    line->clear();
    if (file == nullptr) return false;
    int c;
    bool any = false;
    while ((c = std::fgetc(file)) != EOF) {
      any = true;
      if (c == '\n') break;
      if (c != '\r') line->push_back(static_cast<char>(c));
    }
    return any;
  };
}

LineSource StringLineSource(const std::string& text) {
  auto state = std::make_shared<std::pair<std::string, size_t>>(text, 0);
  return [state](std::string* line) {
    line->clear();
    const std::string& s = state->first;
    size_t& pos = state->second;
    if (pos >= s.size()) return false;
    size_t end = s.find('\n', pos);
    if (end == std::string::npos) end = s.size();
    for (size_t i = pos; i < end; ++i)
      if (s[i] != '\r') line->push_back(s[i]);
    pos = end + 1;
    return true;
  };
}

namespace {

using TagPair = std::pair<std::string, std::string>;

// [Name "value"] with the value's \" and \\ escapes undone; false for any
// other line.
bool ReadTagPair(const std::string& line, TagPair* tag) {
  size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos || line[i] != '[') return false;
  size_t nameEnd = line.find_first_of(" \t\"]", ++i);
  if (nameEnd == std::string::npos || nameEnd == i) return false;
  size_t quote = line.find_first_not_of(" \t", nameEnd);
  if (quote == std::string::npos || line[quote] != '"') return false;
  std::string value;
  for (size_t k = quote + 1; k < line.size(); ++k) {
    char c = line[k];
    if (c == '\\' && k + 1 < line.size()) {
      value.push_back(line[++k]);
    } else if (c == '"') {
      tag->first = line.substr(i, nameEnd - i);
      tag->second = value;
      return true;
    } else {
      value.push_back(c);
    }
  }
  return false;
}

}  // namespace

struct PgnGameSource::State {
  LineSource lines;
  int maxPlies = 0;
  PgnReader reader;
  std::string rest;  // of a line longer than the reader takes
  bool haveRest = false;
  bool ended = false;
  // The game header keeps only the tags it has fields for: every tag line
  // is read here too, so that tags such as "Opening" reach the builder.
  std::vector<TagPair> tagLines;
};

PgnGameSource::PgnGameSource(LineSource lines, int maxPlies) : state_(new State) {
  state_->lines = std::move(lines);
  state_->maxPlies = maxPlies;
}

PgnGameSource::~PgnGameSource() = default;

// Lines for the PGN reader: a longer line goes on in pieces of at most
// kPgnLineSize - 1 characters, as the reader's own file lines do.
bool PgnGameSource::ReaderLine(void* context, char* buffer) {
  State& s = *static_cast<State*>(context);
  if (!s.haveRest) {
    if (!s.lines || !s.lines(&s.rest)) return false;
    s.haveRest = true;
    TagPair tag;
    if (ReadTagPair(s.rest, &tag)) s.tagLines.push_back(std::move(tag));
  }
  size_t n = std::min(s.rest.size(), static_cast<size_t>(kPgnLineSize - 1));
  std::memcpy(buffer, s.rest.data(), n);
  buffer[n] = '\0';
  s.rest.erase(0, n);
  s.haveRest = !s.rest.empty();
  return true;
}

namespace {

struct GameDeleter {
  void operator()(GameRecord* game) const { DestroyGame(game); }
};

}  // namespace

BookGameRead PgnGameSource::NextGame(BookGame* game, BookGameError* error) {
  *game = BookGame();
  *error = BookGameError();
  State& s = *state_;
  if (s.ended) return GAME_READ_END;
  std::unique_ptr<GameRecord, GameDeleter> record(
      CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, WHITE, 1, 0));
  if (!record) {
    s.ended = true;
    return GAME_READ_END;
  }
  // A tag line the reader kept from the last call opens this game.
  std::vector<TagPair> carried;
  if (s.reader.HasPendingLine() && !s.tagLines.empty()) carried.push_back(s.tagLines.back());
  s.tagLines = std::move(carried);
  int code = s.reader.ParseGame(&ReaderLine, &s, record.get());
  if (code) {
    s.ended = true;
    error->number = code;
    s.reader.GetError(&error->line, &error->text, &error->column);
    return GAME_READ_ERROR;
  }
  if (!s.reader.SawContent()) {
    s.ended = true;
    return GAME_READ_END;
  }
  GameRecord* g = record.get();
  const GameHeader& h = g->header;
  const std::pair<const char*, const char*> tags[] = {
      {"Event", h.event},       {"Site", h.site},         {"Date", h.date}, {"Round", h.round},
      {"White", g->white.name}, {"Black", g->black.name}, {"ECO", h.eco},   {"Annotator", h.annotator},
      {"WhiteElo", h.whiteElo}, {"BlackElo", h.blackElo}};
  for (const auto& t : tags)
    if (t.second[0]) game->tags.emplace_back(t.first, t.second);
  // The others as they stand in the file; a tag line that ended this game
  // belongs to the next one.
  size_t own = s.tagLines.size();
  if (s.reader.HasPendingLine() && own > 0) --own;
  for (size_t i = 0; i < own; ++i)
    if (!game->Tag(s.tagLines[i].first.c_str()) && !s.tagLines[i].second.empty())
      game->tags.push_back(s.tagLines[i]);
  if (g->result == 11)
    game->result = GAME_RESULT_WHITE_WINS;
  else if (g->result == 10)
    game->result = GAME_RESULT_BLACK_WINS;
  game->fromSetUpPosition = !IsInitialBoard(&g->start) || g->startSide != WHITE;
  if (game->fromSetUpPosition) return GAME_READ_GAME;
  for (const MoveTreeNode* n = g->tree ? g->tree->root.firstChild : nullptr;
       n && static_cast<int>(game->moves.size()) < s.maxPlies; n = n->firstChild) {
    MoveRecord move = *n->move;
    // The texts stay with the game record.
    for (char*& t : move.texts) t = nullptr;
    game->moves.push_back(move);
  }
  return GAME_READ_GAME;
}
