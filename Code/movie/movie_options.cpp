// The player's command-line reader. See movie_options.h for the format.
#include "movie_options.h"

#include <cctype>
#include <string>
#include <vector>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::vector<std::string> SplitTokens(const std::string& line) {
  std::vector<std::string> tokens;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

// A decimal number with an optional minus sign; reading stops at the first
// other character. Unsigned arithmetic, so an overlong number wraps instead
// of overflowing (a window handle is a 32-bit value anyway).
uint32_t ReadNumber(const std::string& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10u + uint32_t(text[i] - '0');
  return negative ? 0u - value : value;
}

// Reads the /f: value starting in tokens[*at] (after "/f:"). A quoted path
// takes the following tokens until one holds the closing quote; *at is left
// on the last token used. The result is empty and *tooLong set when the path
// would exceed the bound: the rest of the quoted run is still consumed, so a
// refused path never leaks its pieces into later options.
std::string ReadFilePath(const std::vector<std::string>& tokens, size_t* at, const std::string& first,
                         bool* tooLong) {
  *tooLong = false;
  if (first.empty() || first[0] != '"') {
    if (first.size() > kMovieMaxPath) {
      *tooLong = true;
      return std::string();
    }
    return first;
  }
  std::string path;
  std::string piece = first.substr(1);
  for (;;) {
    size_t quote = piece.find('"');
    std::string part = quote == std::string::npos ? piece : piece.substr(0, quote);
    if (!*tooLong) {
      if (path.size() + part.size() > kMovieMaxPath) {
        *tooLong = true;
        path.clear();
      } else {
        path += part;
      }
    }
    if (quote != std::string::npos || *at + 1 >= tokens.size()) break;
    piece = tokens[++*at];
    if (!*tooLong) {
      if (path.size() + 1 > kMovieMaxPath) {
        *tooLong = true;
        path.clear();
      } else {
        path += ' ';
      }
    }
  }
  return path;
}

}  // namespace

MovieOptions ParseMovieOptions(const char* line) {
  MovieOptions options;
  if (line == nullptr) return options;
  std::string lower(line);
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));

  std::vector<std::string> tokens = SplitTokens(lower);
  for (size_t at = 0; at < tokens.size(); ++at) {
    const std::string& token = tokens[at];
    if (token.size() < 2 || token[0] != '/') continue;
    char letter = token[1];
    bool hasValue = token.size() >= 3 && token[2] == ':';
    std::string value = hasValue ? token.substr(3) : std::string();
    switch (letter) {
      case 'f':
        if (hasValue) {
          bool tooLong = false;
          options.file = ReadFilePath(tokens, &at, value, &tooLong);
          options.pathRefused = tooLong;
        }
        break;
      case 's':
        if (hasValue) options.level = int32_t(ReadNumber(value));
        break;
      case 'p':
        if (hasValue) options.position = int32_t(ReadNumber(value));
        break;
      case 'w':
        if (hasValue) options.parent = ReadNumber(value);
        break;
      case 'k': options.reel = true; break;
      case 'q': options.deck = true; break;
      case 'c': options.centre = true; break;
      case 'b': options.black = true; break;
      case 'a': options.autoSize = true; break;
      case 'r':
      case 'u': options.ignored = true; break;
      default: break;
    }
  }
  return options;
}

uint32_t MovieOpenFlags(int32_t level) {
  uint32_t flags = 0x80000;
  if (level == 1) flags += 0x60000000u;
  if (level == 3) flags += 0x40000000u;
  return flags;
}

MovieBackEnd ChooseMovieBackEnd(const MovieOptions& options) {
  if (options.deck) return MovieBackEnd::Deck;
  if (options.reel) return MovieBackEnd::Reel;
  return MovieBackEnd::VideoWindow;
}
