// Lesson codes: fields, exercise records and answer checks.
#include "lesson_codes.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

std::string Cut(std::string s, size_t max) {
  if (s.size() > max) s.resize(max);
  return s;
}

// The index of the first (or last) `sep` outside groups, or npos.
size_t FindOutside(const std::string& s, char sep, bool last) {
  size_t found = std::string::npos;
  int depth = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '{')
      ++depth;
    else if (s[i] == '}' && depth > 0)
      --depth;
    else if (s[i] == sep && depth == 0) {
      if (!last) return i;
      found = i;
    }
  }
  return found;
}

int ReadPoints(const std::string& s) {
  long v = std::strtol(s.c_str(), nullptr, 10);
  if (v > 100000) v = 100000;
  if (v < -100000) v = -100000;
  return static_cast<int>(v);
}

// A comment that ends with ":points" in a test.
Scored ReadScored(const std::string& field, bool test, size_t max) {
  Scored s;
  size_t colon = test ? FindOutside(field, ':', true) : std::string::npos;
  if (colon == std::string::npos) {
    s.text = Cut(field, max);
  } else {
    s.text = Cut(field.substr(0, colon), max);
    s.points = ReadPoints(field.substr(colon + 1));
  }
  return s;
}

bool LooksLikeMove(const std::string& m) {
  return m.size() >= 4 && m.size() <= 6 && std::tolower(m[0]) >= 'a' && std::tolower(m[0]) <= 'h' &&
         m[1] >= '1' && m[1] <= '8' && std::tolower(m[2]) >= 'a' && std::tolower(m[2]) <= 'h' &&
         m[3] >= '1' && m[3] <= '8';
}

bool SameNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

int SquareOf(char file, char rank) {
  int f = std::tolower(static_cast<unsigned char>(file)) - 'a';
  int r = rank - '1';
  return f >= 0 && f < 8 && r >= 0 && r < 8 ? f + 8 * r : -1;
}

std::string SquareName(int sq) { return {static_cast<char>('a' + sq % 8), static_cast<char>('1' + sq / 8)}; }

std::string Field(const std::vector<std::string>& f, size_t i) { return i < f.size() ? f[i] : std::string(); }

bool ReadPairs(const LessonCode& code, bool test, bool numbered, ChoiceExercise* out) {
  *out = ChoiceExercise();
  auto f = LessonFields(code.arg);
  out->question = Cut(Field(f, 0), kCommentMax);
  size_t i = 1;
  while (i < f.size() && static_cast<int>(out->choices.size()) < kMaxChoices) {
    if (numbered && f[i].size() == 1) break;  // the correct number ends the list
    out->choices.push_back({Cut(f[i], kCommentMax), ReadScored(Field(f, i + 1), test, kCommentMax)});
    i += 2;
  }
  if (numbered && i < f.size()) {
    int n = std::atoi(f[i].c_str());
    out->correct = n >= 1 && n <= kMaxChoices ? n : 0;
  }
  return true;
}

}  // namespace

std::vector<std::string> SplitOutsideGroups(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::string rest = text;
  size_t at;
  while ((at = FindOutside(rest, sep, false)) != std::string::npos) {
    parts.push_back(rest.substr(0, at));
    rest.erase(0, at + 1);
  }
  parts.push_back(rest);
  return parts;
}

std::vector<std::string> LessonFields(const std::string& arg) {
  auto fields = SplitOutsideGroups(arg, ';');
  for (std::string& f : fields) {
    size_t i = 0;
    while (i < f.size() && (f[i] == ' ' || f[i] == '\t' || f[i] == '\r' || f[i] == '\n')) ++i;
    f.erase(0, i);
  }
  return fields;
}

bool ParseLessonCode(const std::string& event, LessonCode* out) {
  *out = LessonCode();
  if (event.empty()) return false;
  char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(event[0])));
  size_t i = 1;
  char second = 0;
  if (i < event.size() && event[i] != ':') {
    char c = event[i];
    if (letter == 'V' && c == 'B')
      second = 'B';
    else if (letter == 'Q' && (c == 'B' || c == 'b'))
      second = 'B';
    else if (letter == 'Q' && (c == 'M' || c == 'm'))
      second = 'M';
    else if (letter == 'J' && (c == 'D' || c == 'd'))
      second = 'D';
    else
      return false;
    ++i;
  }
  switch (letter) {
    case 'V':
    case 'E':
    case 'Q':
    case 'I':
    case 'F':
    case 'L':
    case 'T':
    case 'J':
      break;
    default:
      return false;
  }
  out->letter = letter;
  out->second = second;
  if (i >= event.size()) return letter == 'J' || letter == 'F';  // J: just Next; F: turn the board
  if (event[i] != ':') return false;
  out->hasArg = true;
  out->arg = event.substr(i + 1);
  return true;
}

bool ParseMoveExercise(const LessonCode& code, bool test, MoveExercise* out) {
  *out = MoveExercise();
  if (code.letter != 'V' || !code.hasArg) return false;
  bool scored = test && code.second == 'B';
  auto f = LessonFields(code.arg);
  out->question = Cut(Field(f, 0), kCommentMax);
  out->expected = Cut(Field(f, 1), kExpectedMax);
  out->right = ReadScored(Field(f, 2), scored, kCommentMax);
  size_t i = 3;
  // The wrong comment is optional: a field that reads as "move:comment" is
  // already the first alternative.
  if (i < f.size()) {
    size_t colon = FindOutside(f[i], ':', false);
    if (colon == std::string::npos || !LooksLikeMove(f[i].substr(0, colon)))
      out->wrong = Cut(f[i++], kCommentMax);
  }
  while (i < f.size() && static_cast<int>(out->alternatives.size()) < kMaxAlternatives) {
    size_t colon = FindOutside(f[i], ':', false);
    if (colon == std::string::npos) break;
    MoveExercise::Alternative alt;
    alt.move = Cut(f[i].substr(0, colon), kAltMoveMax);
    alt.comment = ReadScored(f[i].substr(colon + 1), scored, kAltCommentMax);
    out->alternatives.push_back(std::move(alt));
    ++i;
  }
  if (code.second != 'B' && i < f.size()) {
    if (f[i].empty()) ++i;
    out->hint = Cut(Field(f, i), kHintMax);
  }
  return true;
}

bool ParseTypedExercise(const LessonCode& code, TypedExercise* out) {
  *out = TypedExercise();
  if (code.letter != 'E' || !code.hasArg) return false;
  auto f = LessonFields(code.arg);
  out->question = Cut(Field(f, 0), kCommentMax);
  out->expected = Cut(Field(f, 1), kExpectedMax);
  out->right = Cut(Field(f, 2), kCommentMax);
  out->wrong = Cut(Field(f, 3), kCommentMax);
  return true;
}

bool ParseChoiceExercise(const LessonCode& code, bool test, ChoiceExercise* out) {
  if (code.letter != 'Q' || code.second != 0 || !code.hasArg) return false;
  return ReadPairs(code, test, true, out);
}

bool ParseButtonExercise(const LessonCode& code, bool test, ChoiceExercise* out) {
  if (code.letter != 'Q' || code.second != 'B' || !code.hasArg) return false;
  return ReadPairs(code, test, false, out);
}

bool ParseListExercise(const LessonCode& code, bool test, ListExercise* out) {
  *out = ListExercise();
  if (code.letter != 'Q' || code.second != 'M' || !code.hasArg) return false;
  auto f = LessonFields(code.arg);
  out->question = Cut(Field(f, 0), kCommentMax);
  for (size_t i = 1; i < f.size() && static_cast<int>(out->entries.size()) < kMaxListEntries; ++i) {
    if (f[i].empty()) continue;
    size_t colon = FindOutside(f[i], ':', false);
    std::string text = f[i].substr(0, colon);
    std::string comment = colon == std::string::npos ? std::string() : f[i].substr(colon + 1);
    out->entries.push_back({Cut(text, kCommentMax), ReadScored(comment, test, kCommentMax)});
  }
  return true;
}

bool ParseSquaresExercise(const LessonCode& code, SquaresExercise* out) {
  *out = SquaresExercise();
  if (code.letter != 'I' || !code.hasArg) return false;
  auto f = LessonFields(code.arg);
  out->text = Cut(Field(f, 0), kCommentMax);
  std::string squares = Cut(Field(f, 1), kExpectedMax);
  for (size_t i = 0; i + 1 < squares.size(); i += 2) {
    int sq = SquareOf(squares[i], squares[i + 1]);
    if (sq >= 0) out->expected.push_back(sq);
  }
  out->right = Cut(Field(f, 2), kCommentMax);
  out->wrong = Cut(Field(f, 3), kCommentMax);
  return true;
}

bool ParseSquareCaptions(const LessonCode& code, bool* cleared,
                         std::vector<std::pair<int, std::string>>* out) {
  out->clear();
  *cleared = false;
  if (code.letter != 'T' || !code.hasArg) return false;
  if (code.arg == "0") {
    *cleared = true;
    return true;
  }
  for (const std::string& f : LessonFields(code.arg)) {
    if (f.size() < 2) continue;
    int sq = SquareOf(f[0], f[1]);
    if (sq >= 0) out->push_back({sq, Cut(f.substr(2), kCommentMax)});
  }
  return true;
}

std::string AnswerFormFromAnimation(const std::string& animation) {
  if (animation.size() < 5) return animation.size() > 1 ? animation.substr(1) : std::string();
  std::string rest = animation.substr(1);
  if (rest.size() <= 5) return rest;
  if (rest[4] == 'D') {
    if (rest[5] == '-') return rest.substr(0, 4) + "ep";
    return rest.size() > 6 ? rest.substr(0, 4) + rest[6] : rest.substr(0, 4);
  }
  // Castling slides the king, then the rook: the king's squares answer.
  if (rest[4] == 'S') return rest.substr(0, 4);
  // A knight's two legs: from and the last square.
  return rest.substr(0, 2) + rest.substr(rest.size() - 2);
}

MoveVerdict CheckMoveAnswer(const MoveExercise& ex, const std::string& answer, bool test) {
  if (SameNoCase(answer, ex.expected)) return {MoveVerdict::Right, ex.right.text, test ? ex.right.points : 0};
  for (const auto& alt : ex.alternatives)
    if (SameNoCase(answer, alt.move)) {
      if (test) return {MoveVerdict::Alternative, alt.comment.text, alt.comment.points};
      return {MoveVerdict::Alternative, alt.comment.text + " Try again?", 0};
    }
  if (ex.wrong.empty()) return {MoveVerdict::Wrong, "?", 0};
  return {MoveVerdict::Wrong, test ? ex.wrong : ex.wrong + " Try again?", 0};
}

bool SquaresAnswerRight(const SquaresExercise& ex, const std::vector<int>& marked) {
  bool want[64] = {}, have[64] = {};
  for (int sq : ex.expected) want[sq] = true;
  for (int sq : marked)
    if (sq >= 0 && sq < 64) have[sq] = true;
  for (int i = 0; i < 64; ++i)
    if (want[i] != have[i]) return false;
  return true;
}

std::string ExpectedSquaresText(const SquaresExercise& ex) {
  std::string out;
  for (int sq : ex.expected) {
    if (!out.empty()) out += ",";
    out += SquareName(sq);
  }
  return out;
}

bool TypedAnswerRight(const std::string& expected, const std::string& typed) {
  return SameNoCase(expected, typed.substr(0, kTypedAnswerMax));
}

std::string BuildAnswerMarkup(const std::string& m, bool whiteToMove) {
  if (m.size() < 4 || !LooksLikeMove(m)) return std::string();
  std::string slide = "{S:" + m.substr(0, 4) + "}";
  if (m.size() == 5)
    return slide + "{P:" + (whiteToMove ? "W" : "B") +
           static_cast<char>(std::toupper(static_cast<unsigned char>(m[4]))) + m.substr(2, 2) + "}";
  if (m.size() == 6)  // en passant: the captured pawn stands beside the from square
    return slide + "{X:" + m.substr(2, 1) + m.substr(1, 1) + "}";
  return slide;
}

std::string CorrectAnswerText(const std::string& answer) { return "The correct answer is " + answer + "."; }

int ResolveLessonJump(const std::string& arg, const std::vector<std::string>& labels, int pageCount) {
  if (!arg.empty() && arg[0] == '@') {
    for (size_t i = 0; i < labels.size() && static_cast<int>(i) < pageCount; ++i)
      if (labels[i] == arg) return static_cast<int>(i);
    return pageCount;
  }
  char* end = nullptr;
  long n = std::strtol(arg.c_str(), &end, 10);
  if (end == arg.c_str() || n < 1 || n > pageCount) return pageCount;
  return static_cast<int>(n - 1);
}
