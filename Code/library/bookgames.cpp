// The small movetext reader that feeds the book builder.
#include "bookgames.h"

#include <cctype>
#include <cstring>
#include <memory>

#include "board.h"
#include "notation.h"

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

MovetextGameSource::MovetextGameSource(LineSource lines, int maxPlies)
    : lines_(std::move(lines)), maxPlies_(maxPlies) {}

bool MovetextGameSource::ReadLine() {
  if (ended_ || !lines_ || !lines_(&line_)) {
    ended_ = true;
    haveLine_ = false;
    return false;
  }
  ++lineNumber_;
  haveLine_ = true;
  return true;
}

namespace {
bool IsResultToken(const std::string& t) { return t == "1-0" || t == "0-1" || t == "1/2-1/2" || t == "*"; }
int ResultCode(const std::string& t) {
  if (t == "1-0") return GAME_RESULT_WHITE_WINS;
  if (t == "0-1") return GAME_RESULT_BLACK_WINS;
  return GAME_RESULT_OTHER;
}
}  // namespace

BookGameRead MovetextGameSource::NextGame(BookGame* game, BookGameError* error) {
  *game = BookGame();
  *error = BookGameError();
  auto fail = [&](int number, size_t column) {
    error->number = number;
    error->line = lineNumber_;
    error->column = static_cast<int>(column) + 1;
    error->text = line_;
    ended_ = true;
    return GAME_READ_ERROR;
  };
  Board board;
  SetInitialBoard(&board);
  int side = WHITE;
  bool inMoves = false, inComment = false, done = false;
  int variation = 0;
  while (!done) {
    if (!haveLine_ && !ReadLine()) break;
    haveLine_ = false;
    const std::string& l = line_;
    size_t i = 0;
    if (!inComment && variation == 0 && !l.empty() && l[0] == '%') continue;
    while (i < l.size()) {
      char c = l[i];
      if (inComment) {
        if (c == '}') inComment = false;
        ++i;
        continue;
      }
      // Control characters (a NUL too) separate tokens like blanks.
      if (std::isspace(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) < 32) {
        ++i;
        continue;
      }
      if (c == '[' && variation == 0) {
        if (inMoves) {  // the next game's tags
          haveLine_ = true;
          done = true;
          break;
        }
        size_t q1 = l.find('"', i);
        size_t close = q1 == std::string::npos ? std::string::npos : l.find('"', q1 + 1);
        size_t end = close == std::string::npos ? std::string::npos : l.find(']', close);
        if (end == std::string::npos) return fail(MOVETEXT_BAD_TAG, i);
        std::string name;
        for (size_t k = i + 1; k < q1 && !std::isspace(static_cast<unsigned char>(l[k])); ++k) name += l[k];
        game->tags.emplace_back(name, l.substr(q1 + 1, close - q1 - 1));
        if (name == "FEN" || (name == "SetUp" && l.substr(q1 + 1, close - q1 - 1) == "1"))
          game->fromSetUpPosition = true;
        i = end + 1;
        continue;
      }
      inMoves = true;
      if (c == '{') {
        inComment = true;
        ++i;
        continue;
      }
      if (c == ';') break;
      if (c == '(') {
        ++variation;
        ++i;
        continue;
      }
      if (c == '}') return fail(MOVETEXT_UNBALANCED, i);
      if (c == ')') {
        if (variation == 0) return fail(MOVETEXT_UNBALANCED, i);
        --variation;
        ++i;
        continue;
      }
      size_t start = i;
      while (i < l.size() && static_cast<unsigned char>(l[i]) > 32 && std::strchr("{}();", l[i]) == nullptr)
        ++i;
      std::string token = l.substr(start, i - start);
      if (variation > 0) continue;
      if (IsResultToken(token)) {
        game->result = ResultCode(token);
        done = true;
        // The rest of the line belongs to no game.
        break;
      }
      if (token[0] == '$') continue;
      // Move numbers "12." and "12..." may stand before a move without a blank.
      size_t k = 0;
      while (k < token.size() && std::isdigit(static_cast<unsigned char>(token[k]))) ++k;
      if (k > 0 && k < token.size() && token[k] == '.') {
        while (k < token.size() && token[k] == '.') ++k;
        token = token.substr(k);
        start += k;
      } else if (k == token.size()) {
        continue;
      }
      if (token.empty()) continue;
      while (!token.empty() && (token.back() == '!' || token.back() == '?')) token.pop_back();
      if (game->fromSetUpPosition) continue;  // moves of a set-up position are not read
      MoveRecord move;
      std::memset(&move, 0, sizeof(move));
      if (!ParseAlgebraicMove(&move, token.c_str(), &board, side)) return fail(MOVETEXT_ILLEGAL_MOVE, start);
      if (static_cast<int>(game->moves.size()) < maxPlies_) {
        MoveRecord played = move;
        MakeMove(&played, &board);
        game->moves.push_back(move);
        side = OtherSide(side);
      } else {
        MakeMove(&move, &board);
        side = OtherSide(side);
      }
    }
  }
  if (inComment || variation != 0) return fail(MOVETEXT_UNBALANCED, line_.size());
  if (!inMoves && game->tags.empty()) return GAME_READ_END;
  return GAME_READ_GAME;
}
