#include "movetext.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr uint16_t kHasAlternative = 0x40;
constexpr uint16_t kLineEnd = 0x80;
constexpr int kMaxWords = 10000;
constexpr int kSlots = 10001;
constexpr int kTextSize = 50000;
// Variations nest this deep at most; deeper ones are left out rather than
// letting the recursion run the stack down.
constexpr int kMaxNesting = 200;

const char kLetterTable[17] = "NBRQK0-x+ # $ ep";
const char kFigurineTable[17] = "\x87\x86\x88\x89\x8B"
                                "0-x+ # $ ep";

std::string Number(const char* format, int counter, const char* dots) {
  char text[32];
  std::snprintf(text, sizeof text, format, unsigned(counter / 2 + 1), dots);
  return text;
}

void WriteAnnotations(MoveRunSink* sink, const MoveLineSource& s, int index, bool* numberAgain) {
  if (index < 0 || index >= kSlots) return;
  const uint16_t nag = s.nags ? s.nags[index] : 0;
  char text[16];
  if (nag & 0xFF) {
    std::snprintf(text, sizeof text, "$%u ", unsigned(nag & 0xFF));
    sink->AddRun(text, kRunAnnotationColour, kRunPlain, kRunAnnotation);
  }
  if (nag >> 8) {
    std::snprintf(text, sizeof text, "$%u ", unsigned(nag >> 8));
    sink->AddRun(text, kRunAnnotationColour, kRunPlain, kRunAnnotation);
  }
  const uint32_t offset = s.comments ? s.comments[index] : 0;
  if (offset != 0 && offset < s.textSize) {
    const char* at = s.text + offset;
    const size_t length = strnlen(at, s.textSize - offset);
    sink->AddRun(std::string(at, length) + " ", kRunCommentColour, kRunPlain, kRunComment);
    if (numberAgain) *numberAgain = true;
  }
}

// The index after the continuation of the move at `at` (which has an
// alternative), or -1 when the words end first.
int SkipContinuation(const uint16_t* words, int at, int end) {
  int count = 0;
  for (int i = at; i < end; ++i) {
    if (words[i] & kHasAlternative) ++count;
    if (words[i] & kLineEnd) --count;
    if (count <= 0) return i + 1;
  }
  return -1;
}

void WriteLine(MoveRunSink* sink, const sPosition& position, int counter, const MoveLineSource& s, int start,
               int end, int flags, int depth) {
  sPosition p = position;
  const bool annotations = !(flags & kLineHideAnnotations);
  if (end > kMaxWords) end = kMaxWords;
  if (annotations && (start == 0 || (start == 1 && !p.whiteToMove))) WriteAnnotations(sink, s, start, nullptr);
  bool numberAgain = false;
  for (int i = start; i < end; ++i) {
    if (i == start) {
      if (flags & kLineOpenBracket) {
        sink->AddRun("(", kRunMoveColour, kRunClickable, kRunBracket);
        flags &= ~kLineOpenBracket;
      }
      sink->AddRun(Number("%u.%s", counter, counter % 2 ? ".." : ""), kRunNumberColour, kRunPlain, kRunNumber);
    } else if (numberAgain) {
      sink->AddRun(Number("%u.%s", counter, counter % 2 ? ".." : ""), kRunNumberColour, kRunPlain, kRunNumber);
    } else if (counter % 2 == 0) {
      sink->AddRun(Number("%u.%s", counter, ""), kRunNumberColour, kRunPlain, kRunNumber);
    }
    numberAgain = false;
    const uint16_t word = s.words[i];
    const uint16_t move = uint16_t(word & ~(kHasAlternative | kLineEnd));
    char text[32] = {};
    GdMoveToText(move, GdGetMoveInfo(&p, move), text, s.style, s.letters);
    text[sizeof text - 1] = 0;
    sink->AddRun(std::string(text) + " ", kRunMoveColour, kRunClickable, uint32_t(i + 1));
    if (annotations) WriteAnnotations(sink, s, i + 1, &numberAgain);
    if ((i > start || i == 0) && !(flags & kLineHideVariations) && depth < kMaxNesting) {
      int scan = i;
      while (scan >= 0 && scan < end && (s.words[scan] & kHasAlternative)) {
        const int alternative = SkipContinuation(s.words, scan, end);
        if (alternative < 0 || alternative >= end) break;
        WriteLine(sink, p, counter, s, alternative, end, flags | kLineOpenBracket | kLineCloseBracket, depth + 1);
        numberAgain = true;
        scan = alternative;
      }
    }
    if ((word & kLineEnd) || i + 1 >= end) break;
    GdPlayMove(&p, move);
    ++counter;
  }
  if (flags & kLineCloseBracket) sink->AddRun(") ", kRunMoveColour, kRunClickable, kRunBracket);
}

}  // namespace

const char* MoveTextLetters(int notation) { return notation ? kLetterTable : kFigurineTable; }

int MoveTextStyle(int notation) { return notation == 2 ? 1 : notation == 3 ? 3 : 0; }

void WriteMoveLine(MoveRunSink* sink, const sPosition& position, int counter, const MoveLineSource& source,
                   int start, int end, int flags) {
  WriteLine(sink, position, counter, source, start, end, flags, 0);
}

GameTextAreas::GameTextAreas()
    : start(), words(kMaxWords), comments(kSlots), text(kTextSize), nags(kSlots) {}

bool ConvertShownGame(GdGameBuffer game, GameTextAreas* a) {
  GdPgnConversion c{};
  c.start = &a->start;
  c.moves = a->words.data();
  c.comments = a->comments.data();
  c.text = a->text.data();
  c.nags = a->nags.data();
  if (!game || GdConvertGameToPgn(game, &c) != 0) {
    a->mainLength = a->total = a->moveNumber = a->result = 0;
    return false;
  }
  a->moveNumber = c.moveNumber;
  a->mainLength = c.mainLength < 0 ? 0 : c.mainLength > kMaxWords ? kMaxWords : c.mainLength;
  a->total = c.entryCount < 0 ? 0 : c.entryCount > kMaxWords ? kMaxWords : c.entryCount;
  a->result = c.result;
  a->text.back() = 0;
  return true;
}

void FillMoveText(MoveRunSink* sink, const GameTextAreas& a, const MoveTextSettings& settings) {
  int flags = 0;
  if (!settings.showComments) flags |= kLineHideAnnotations;
  if (!settings.showVariations) flags |= kLineHideVariations;
  MoveLineSource s;
  s.words = a.words.data();
  s.comments = a.comments.data();
  s.text = a.text.data();
  s.textSize = a.text.size();
  s.nags = a.nags.data();
  s.letters = MoveTextLetters(settings.notation);
  s.style = MoveTextStyle(settings.notation);
  const int counter = 2 * a.moveNumber + (a.start.whiteToMove ? 0 : 1);
  const int end = a.total ? a.total : a.mainLength;
  WriteMoveLine(sink, a.start, counter, s, 0, end, flags);
  static const char kDraw[] = {char(0xBD), '-', char(0xBD), 0};
  const char* result = a.result == 1 ? "1-0" : a.result == 2 ? "0-1" : a.result == 3 ? kDraw : "";
  sink->AddRun(result, kRunResultColour, kRunPlain, kRunResult);
}
