#include "game_text_read.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "header_access.h"
#include "movegen.h"
#include "notation.h"

namespace {

enum Field { F_WHITE, F_BLACK, F_SITE, F_EVENT, F_DATE, F_SCORING, F_RESULT, F_ROUND, F_TITLE };

struct Keyword {
  const char* text;
  Field field;
  bool startsGame;
  bool pgnLike;
};

const Keyword kKeywords[] = {
    {"white:", F_WHITE, true, false},     {"black:", F_BLACK, false, false},
    {"location:", F_SITE, false, false},  {"where:", F_SITE, false, false},
    {"place:", F_SITE, false, false},     {"venue:", F_SITE, false, false},
    {"site:", F_SITE, false, false},      {"event:", F_EVENT, false, false},
    {"what:", F_EVENT, false, false},     {"occasion:", F_EVENT, false, false},
    {"date:", F_DATE, false, false},      {"year:", F_DATE, false, false},
    {"time:", F_DATE, false, false},      {"when:", F_DATE, false, false},
    {"title:", F_TITLE, true, false},     {"scoring:", F_SCORING, true, false},
    {"result:", F_RESULT, false, false},  {"round:", F_ROUND, false, false},
    {"schwarz:", F_BLACK, false, false},  {"ort:", F_SITE, false, false},
    {"jahr:", F_DATE, false, false},      {"punktwertung:", F_SCORING, true, false},
    {"partie:", F_TITLE, true, false},    {"blancs:", F_WHITE, true, false},
    {"blancs :", F_WHITE, true, false},   {"noirs:", F_BLACK, false, false},
    {"noirs :", F_BLACK, false, false},   {"lieu:", F_SITE, false, false},
    {"lieu :", F_SITE, false, false},     {"score:", F_SCORING, true, false},
    {"score :", F_SCORING, true, false},  {"titre:", F_TITLE, true, false},
    {"titre :", F_TITLE, true, false},    {"wei\xdf:", F_WHITE, true, false},
    {"event \"", F_EVENT, true, true},    {"site \"", F_SITE, true, true},
    {"date \"", F_DATE, true, true},      {"white \"", F_WHITE, true, true},
    {"title \"", F_TITLE, true, true},    {"black \"", F_BLACK, false, true},
    {"result \"", F_RESULT, false, true}, {"round \"", F_ROUND, false, true},
};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchesAt(const char* text, const char* keyword) {
  for (; *keyword; ++text, ++keyword)
    if (Lower(*text) != *keyword) return false;
  return true;
}

bool IsAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

void Trim(std::string* s) {
  size_t a = s->find_first_not_of(" \t\r\n");
  if (a == std::string::npos) {
    s->clear();
    return;
  }
  size_t b = s->find_last_not_of(" \t\r\n");
  *s = s->substr(a, b - a + 1);
}

char Closer(char c) {
  switch (c) {
    case '(':
      return ')';
    case '[':
      return ']';
    case '{':
      return '}';
    case '"':
      return '"';
    default:
      return 0;
  }
}

bool IsLineComment(char c) { return c && std::strchr(";~@^&|\\", c); }
bool IsFigurine(unsigned char c) {
  return c == 139 || c == 137 || c == 136 || c == 134 || c == 135 || c == 133;
}
bool IsMoveTokenChar(char c) {
  return IsAlnum(c) || c == '+' || c == '.' || c == '-' || c == '=' || c == '/' ||
         IsFigurine(static_cast<unsigned char>(c));
}

}  // namespace

int ParseGameTextResult(const char* text, int ply) {
  std::string t = text ? text : "";
  if (t.find("1-0") != std::string::npos) return 16;
  if (t.find("0-1") != std::string::npos) return 32;
  if (t.find("1/2-1/2") != std::string::npos || t.find("0.5-0.5") != std::string::npos) return 0;
  std::string lower;
  for (char c : t) lower += Lower(c);
  if (lower == "resigns" || lower == "resign" || lower == "resigned") return ply % 2 == 1 ? 32 : 16;
  if (lower == "draw" || lower == "drawn") return 0;
  return -1;
}

namespace {

// Any header keyword within the first three characters.
bool IsHeaderLine(const char* line) {
  size_t length = std::strlen(line);
  for (size_t at = 0; at < 3 && at < length; ++at)
    for (const Keyword& k : kKeywords)
      if (MatchesAt(line + at, k.text)) return true;
  return false;
}

}  // namespace

bool IsGameStartLine(const char* line, bool commentMode, bool pgnLike) {
  size_t length = std::strlen(line);
  for (size_t at = 0; at < 3 && at < length; ++at) {
    for (const Keyword& k : kKeywords)
      if (k.startsGame && k.pgnLike == pgnLike && MatchesAt(line + at, k.text)) return true;
  }
  if (commentMode) return false;
  const char* p = line;
  while (*p == ' ' || *p == '\t') ++p;
  return p[0] == '1' && (p[1] == '.' || p[1] == ' ');
}

void ExtractGameTextHeader(std::string* text, GameTextInfo* info, int ply) {
  struct Match {
    size_t start, valueStart;
    const Keyword* keyword;
  };
  std::vector<Match> matches;
  const std::string& t = *text;
  for (size_t at = 0; at < t.size(); ++at) {
    if (at > 0 && IsAlnum(t[at - 1])) continue;
    const Keyword* best = nullptr;
    for (const Keyword& k : kKeywords)
      if (MatchesAt(t.c_str() + at, k.text) && (!best || std::strlen(k.text) > std::strlen(best->text)))
        best = &k;
    if (best) {
      matches.push_back({at, at + std::strlen(best->text), best});
      at += std::strlen(best->text) - 1;
    }
  }
  if (matches.empty()) return;
  std::string rest;
  size_t kept = 0;
  for (size_t i = 0; i < matches.size(); ++i) {
    const Match& m = matches[i];
    size_t end = i + 1 < matches.size() ? matches[i + 1].start : t.size();
    size_t eol = t.find_first_of("\r\n", m.valueStart);
    if (eol != std::string::npos && eol < end) end = eol;
    size_t valueEnd = end;
    if (m.keyword->pgnLike) {
      size_t quote = t.find('"', m.valueStart);
      if (quote != std::string::npos && quote < end) valueEnd = quote, end = quote + 1;
      if (end < t.size() && t[end] == ']') ++end;
    }
    std::string value = t.substr(m.valueStart, valueEnd - m.valueStart);
    Trim(&value);
    switch (m.keyword->field) {
      case F_WHITE:
        CopyHeaderField(info->white, sizeof info->white, value.c_str());
        break;
      case F_BLACK:
        CopyHeaderField(info->black, sizeof info->black, value.c_str());
        break;
      case F_SITE:
        CopyHeaderField(info->site, sizeof info->site, value.c_str());
        break;
      case F_EVENT:
        CopyHeaderField(info->event, sizeof info->event, value.c_str());
        break;
      case F_DATE:
        CopyHeaderField(info->date, sizeof info->date, value.c_str());
        break;
      case F_SCORING:
        CopyHeaderField(info->scoring, sizeof info->scoring, value.c_str());
        break;
      case F_ROUND:
        CopyHeaderField(info->round, sizeof info->round, value.c_str());
        break;
      case F_TITLE:
        CopyHeaderField(info->title, sizeof info->title, value.c_str());
        break;
      case F_RESULT:
        info->result = static_cast<int16_t>(ParseGameTextResult(value.c_str(), ply));
        break;
    }
    size_t start = m.start;
    // A PGN-like tag loses its opening bracket too.
    if (m.keyword->pgnLike && start > 0 && t[start - 1] == '[' && start - 1 >= kept) --start;
    rest += t.substr(kept, start - kept);
    kept = end;
  }
  rest += t.substr(kept);
  Trim(&rest);
  *text = rest;
}

void BuildGameTextTitle(GameTextInfo* info) {
  if (info->title[0]) return;
  std::string title;
  auto given = [](const char* s) { return *s && std::strcmp(s, "?") != 0; };
  auto add = [&title](const std::string& part) {
    if (title.size() + part.size() < 79) title += part;
  };
  if (given(info->date)) add(std::string(info->date) + " - ");
  if (given(info->white)) add(info->white);
  if (given(info->black)) add(std::string(" vs ") + info->black);
  if (given(info->event)) add(std::string(", ") + info->event);
  if (given(info->round) && std::strcmp(info->round, "-") != 0) add(std::string(", Round ") + info->round);
  if (given(info->site)) add(std::string(", ") + info->site);
  if (title.empty()) title = "Imported Game";
  for (char& c : title) {
    if (c == '/' || c == ':' || c == '?' || c == '\\') c = '-';
    if (c == '[') c = '(';
    if (c == ']') c = ')';
  }
  CopyHeaderField(info->title, sizeof info->title, title.c_str());
}

bool GameTextReader::NextLine(GameTextLineSource source, void* context) {
  line_[0] = 0;
  if (!source(context, line_)) return false;
  line_[kGameTextLineSize - 1] = 0;
  ++lineNumber_;
  std::string s = line_;
  Trim(&s);
  if (!s.empty() && s[0] == '%') s.clear();
  std::snprintf(line_, sizeof line_, "%s", s.c_str());
  return true;
}

void GameTextReader::AddComment(const char* text, size_t length) {
  while (length && (*text == ' ' || *text == '\t')) ++text, --length;
  while (length && (text[length - 1] == ' ' || text[length - 1] == '\t')) --length;
  if (!length) return;
  bool join = !comment_.empty() && comment_.back() != ' ' && comment_.back() != '\n';
  if (comment_.size() + (join ? 1 : 0) + length > kGameTextCommentSize - 1) return;
  if (join) comment_ += ' ';
  comment_.append(text, length);
}

void GameTextReader::HandOver(GameTextCommentCallback onComment, void* context) {
  if (info_) ExtractGameTextHeader(&comment_, info_, static_cast<int>(moves_.size()));
  if (comment_.empty()) return;
  if (onComment) onComment(context, comment_.c_str(), static_cast<int>(moves_.size()));
  comment_.clear();
}

int GameTextReader::PlayToken(int style, const GameTextOptions& options, bool matchMoves, std::string token,
                              GameTextMoveCallback onMove, void* context) {
  // Words that are results.
  int result = ParseGameTextResult(token.c_str(), static_cast<int>(moves_.size()));
  if (result >= 0 && !std::isdigit(static_cast<unsigned char>(token[0]))) {
    result_ = static_cast<int16_t>(result);
    return 0;
  }
  if (options.placeholders) {
    if (token[0] != '-') return GAME_TEXT_ILLEGAL_MOVE;
    MoveRecord unknown{};
    moves_.push_back(unknown);
    side_ = OtherSide(side_);
    return 0;
  }
  if (!matchMoves) {
    moves_.push_back(MoveRecord{});
    return 0;
  }
  // Glyphs and signs that the printed forms do not carry.
  while (!token.empty() && std::strchr("+#!?", token.back())) token.pop_back();
  for (char& c : token)
    if (c == '0') c = 'O';
  if (token.empty() || token.size() >= kNotationTextSize) return GAME_TEXT_ILLEGAL_MOVE;
  char text[kNotationTextSize];
  std::snprintf(text, sizeof text, "%s", token.c_str());
  NormalizeMoveInput(text, style);
  MoveList& list = list_;
  uint16_t count = 0;
  GenerateLegalMoves(&board_, list.moves, &count, side_);
  int matches = 0, first = count;
  MatchMoveTextEx(text, &board_, list.moves, count, style, nullptr, &matches, false, &first, !options.loose,
                  nullptr);
  if (matches != 1 || first >= count) return GAME_TEXT_ILLEGAL_MOVE;
  MoveRecord move = list.moves[first];
  MakeMove(&move, &board_);
  side_ = OtherSide(side_);
  moves_.push_back(move);
  onMove(context, &moves_.back(), static_cast<int>(moves_.size()) - 1);
  return 0;
}

int GameTextReader::ScanLine(int style, const GameTextOptions& options, bool matchMoves,
                             GameTextMoveCallback onMove, void* context, int* column) {
  const char* s = line_;
  size_t n = std::strlen(s);
  size_t i = 0;
  auto keep = [&](size_t from, size_t to) { AddComment(s + from, to - from); };
  while (i < n) {
    char c = s[i];
    *column = static_cast<int>(i) + 1;
    if (depth_ > 0) {
      if (c == closer_) {
        if (--depth_ == 0) {
          AddComment(bracketText_.c_str(), bracketText_.size());
          bracketText_.clear();
          ++i;
          continue;
        }
      } else if (c == opener_ && opener_ != closer_) {
        ++depth_;
      }
      bracketText_ += c;
      ++i;
      continue;
    }
    if (Closer(c)) {
      opener_ = c;
      closer_ = Closer(c);
      depth_ = 1;
      ++i;
      continue;
    }
    if (IsLineComment(c)) {
      keep(i + 1, n);
      return 0;
    }
    if (c == ' ' || c == '\t' || c == '.' || c == '*') {
      ++i;
      continue;
    }
    if (c == '$') {
      ++i;
      while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
      continue;
    }
    if (c >= '0' && c <= '9') {
      size_t start = i;
      while (i < n &&
             (std::isdigit(static_cast<unsigned char>(s[i])) || s[i] == '.' || s[i] == '-' || s[i] == '/'))
        ++i;
      std::string token(s + start, i - start);
      if (token.find_first_of("-/") != std::string::npos) {
        if (token.compare(0, 3, "0-0") == 0 && token.find_first_not_of("0-") == std::string::npos) {
          HandOver(onComment_, callbackContext_);
          int code = PlayToken(style, options, matchMoves, token, onMove, context);
          if (code && !options.lenient) return code;
          if (code) keep(start, i);
        } else {
          int result = ParseGameTextResult(token.c_str(), static_cast<int>(moves_.size()));
          if (result >= 0) {
            result_ = static_cast<int16_t>(result);
          } else if (!options.lenient) {
            *column = static_cast<int>(start) + 1;
            return GAME_TEXT_PUNCTUATION;
          } else {
            keep(start, i);
          }
        }
        continue;
      }
      long value = std::strtol(token.c_str(), nullptr, 10);
      if (value != static_cast<long>(moves_.size() / 2 + 1)) {
        if (!options.lenient) {
          *column = static_cast<int>(start) + 1;
          return GAME_TEXT_MOVE_NUMBER;
        }
        keep(start, i);
      } else {
        HandOver(onComment_, callbackContext_);
      }
      continue;
    }
    if (std::isalpha(static_cast<unsigned char>(c)) || IsFigurine(static_cast<unsigned char>(c)) ||
        (c == '-' && options.placeholders)) {
      size_t start = i;
      while (i < n && IsMoveTokenChar(s[i])) ++i;
      std::string token(s + start, i - start);
      size_t glyphs = i;
      while (i < n && std::strchr("!?#", s[i])) ++i;
      HandOver(onComment_, callbackContext_);
      int code =
          PlayToken(style, options, matchMoves, token + std::string(s + glyphs, i - glyphs), onMove, context);
      if (code) {
        if (!options.lenient) {
          *column = static_cast<int>(start) + 1;
          return code;
        }
        keep(start, i);
      }
      continue;
    }
    if (std::strchr("+-=/", c)) {
      if (!options.lenient) return GAME_TEXT_PUNCTUATION;
      keep(i, i + 1);
      ++i;
      continue;
    }
    if (!options.lenient) return GAME_TEXT_BAD_CHARACTER;
    keep(i, i + 1);
    ++i;
  }
  if (depth_ > 0) bracketText_ += ' ';
  return 0;
}

int GameTextReader::ReadGame(int style, GameTextInfo* info, const GameTextOptions& given, bool readFirst,
                             GameTextLineSource source, void* context, GameTextCommentCallback onComment,
                             GameTextMoveCallback onMove, void* callbackContext, Error* error) {
  GameTextOptions options = given;
  if (options.columns) {
    options.lenient = false;
    options.commentFirst = true;
  }
  std::memset(info, 0, sizeof *info);
  info->result = -1;
  info_ = info;
  onComment_ = onComment;
  callbackContext_ = callbackContext;
  comment_.clear();
  moves_.clear();
  SetInitialBoard(&board_);
  side_ = WHITE;
  result_ = -1;
  depth_ = 0;
  bracketText_.clear();
  if (error) *error = Error{};
  bool commentMode = options.commentFirst;
  bool atEnd = false;
  if (readFirst || !haveLine_) {
    if (!NextLine(source, context)) {
      info_ = nullptr;
      return 1;
    }
  }
  haveLine_ = false;
  for (;;) {
    if (!moves_.empty() && depth_ == 0 &&
        (IsGameStartLine(line_, commentMode, false) || IsGameStartLine(line_, commentMode, true))) {
      haveLine_ = true;
      break;
    }
    size_t length = std::strlen(line_);
    if (options.columns && length > 35 && line_[34] == ' ') line_[34] = ';';
    if (!length && depth_ == 0 && options.commentFirst) {
      if (commentMode)
        commentMode = false;
      else if (!options.columns)
        commentMode = true;
    } else if (commentMode || (moves_.empty() && depth_ == 0 && IsHeaderLine(line_))) {
      // Comment lines, and header lines before the moves, go whole.
      AddComment(line_, length);
      if (!comment_.empty() && comment_.size() < kGameTextCommentSize - 1) comment_ += '\n';
    } else {
      int column = 0;
      int code = ScanLine(style, options, onMove != nullptr, onMove, callbackContext, &column);
      if (code) {
        if (error) {
          error->code = code;
          error->lineNumber = lineNumber_;
          error->column = column;
          error->line = line_;
        }
        break;
      }
    }
    if (!NextLine(source, context)) {
      atEnd = true;
      break;
    }
  }
  if (depth_ > 0) AddComment(bracketText_.c_str(), bracketText_.size());
  depth_ = 0;
  HandOver(onComment, callbackContext);
  if (info->result < 0) info->result = result_;
  BuildGameTextTitle(info);
  info_ = nullptr;
  return atEnd ? 1 : 0;
}

int GameTextReader::ReadHeader(GameTextInfo* info, bool readFirst, GameTextLineSource source, void* context,
                               int* lines) {
  std::memset(info, 0, sizeof *info);
  info->result = -1;
  comment_.clear();
  moves_.clear();
  int count = 0;
  bool end = false;
  if (readFirst || !haveLine_) end = !NextLine(source, context);
  haveLine_ = false;
  while (!end && line_[0] != '[') end = !NextLine(source, context), ++count;
  while (!end && line_[0] == '[') {
    comment_ += line_;
    comment_ += '\n';
    ++count;
    end = !NextLine(source, context);
  }
  while (!end) {
    if (IsGameStartLine(line_, false, true)) {
      haveLine_ = true;
      break;
    }
    ++count;
    end = !NextLine(source, context);
  }
  if (comment_.size() > kGameTextCommentSize) comment_.resize(kGameTextCommentSize);
  ExtractGameTextHeader(&comment_, info, 0);
  BuildGameTextTitle(info);
  if (lines) *lines = count;
  return end ? 1 : 0;
}
