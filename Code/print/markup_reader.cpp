// The markup reader and its commands.

#include "markup_reader.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "print_layout.h"

namespace {

constexpr size_t kMaxWord = 127;

class Cursor {
 public:
  explicit Cursor(PrintJob& job) : text_(job.working), pos_(job.readPos) {}

  // The text ends at its size or at a zero character.
  bool AtEnd() const { return pos_ < 0 || static_cast<size_t>(pos_) >= text_.size() || text_[pos_] == '\0'; }
  char Peek() const { return text_[pos_]; }
  int32_t& Pos() { return pos_; }
  char& At(int32_t i) { return text_[i]; }

  void SkipBlanksAndLineEnds() {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\n')) ++pos_;
  }

  // The next word of the command line; false at the line's end (the read
  // position then stays on the line end) or at the end of the text.
  bool NextWord(std::string* word, bool* hitEnd) {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t')) ++pos_;
    if (AtEnd()) {
      *hitEnd = true;
      return false;
    }
    if (Peek() == '\n') return false;
    word->clear();
    while (!AtEnd() && Peek() != ' ' && Peek() != '\t' && Peek() != '\n') {
      if (word->size() < kMaxWord) word->push_back(Peek());
      ++pos_;
    }
    return true;
  }

  void SkipLine() {
    while (!AtEnd() && Peek() != '\n') ++pos_;
  }

 private:
  std::vector<char>& text_;
  int32_t& pos_;
};

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
bool StartsWithDigit(const std::string& w) { return !w.empty() && std::isdigit(static_cast<unsigned char>(w[0])); }

void CommandColumns(Cursor& in, PrintJob& job, PrintSurface& surface) {
  std::string word;
  bool hitEnd = false;
  while (in.NextWord(&word, &hitEnd)) {
    const int64_t n = ParseMarkupNumber(word);
    if (n >= 1) SetColumnCount(job, surface, static_cast<int32_t>(std::min<int64_t>(n, INT32_MAX)));
  }
  if (hitEnd) SetColumnCount(job, surface, 1);
}

void CommandKeepTogether(Cursor& in, PrintJob& job) {
  std::string word;
  bool hitEnd = false;
  while (in.NextWord(&word, &hitEnd)) {
    if (Upper(word[0]) == 'B') job.keepTogether = true;
    if (Upper(word[0]) == 'E') job.keepTogether = false;
  }
}

void CommandFont(Cursor& in, PrintJob& job, PrintSurface& surface) {
  std::string word;
  bool hitEnd = false;
  while (in.NextWord(&word, &hitEnd)) {
    if (StartsWithDigit(word)) {
      job.fontSize = static_cast<int32_t>(std::clamp<int64_t>(ParseMarkupNumber(word), 0, 10000));
    } else if (word.size() == 1) {
      switch (Upper(word[0])) {
        case 'B': job.bold = 1; break;
        case 'I': job.italic = 1; break;
        case 'N': job.bold = 0; break;
        case 'R': job.underline = job.italic = job.strikeOut = 0; break;
        case 'S': job.strikeOut = 1; break;
        case 'U': job.underline = 1; break;
        default: break;
      }
    } else {
      // The printer's own face when it has one, else the built-in face.
      job.faceName = surface.HasFace(word) ? word : job.builtinFace;
    }
  }
  if (SelectJobFont(job, surface) != FontResult::kSelected) {
    surface.ShowMessage("Cannot load font, Using Default");
  }
}

void CommandJustify(Cursor& in, PrintJob& job) {
  std::string word;
  bool hitEnd = false;
  while (in.NextWord(&word, &hitEnd)) {
    switch (Upper(word[0])) {
      case 'B':
      case 'C': job.justify = static_cast<int32_t>(TextAlign::kCentre); break;
      case 'L': job.justify = static_cast<int32_t>(TextAlign::kLeft); break;
      case 'R': job.justify = static_cast<int32_t>(TextAlign::kRight); break;
      default: break;
    }
  }
}

MarkupItemKind CommandNewLines(Cursor& in, PrintJob& job, PrintSurface& surface) {
  std::string word;
  bool hitEnd = false;
  int64_t count = 1;
  MarkupItemKind kind = MarkupItemKind::kNewLines;
  while (in.NextWord(&word, &hitEnd)) {
    if (StartsWithDigit(word)) {
      // More blank lines than a page holds change nothing more.
      count = std::min<int64_t>(ParseMarkupNumber(word), LinesPerPage(job, surface) + 1);
    } else if (word.size() == 1 && Upper(word[0]) == 'L') {
      kind = MarkupItemKind::kNewLines;
    } else if (word.size() == 1 && Upper(word[0]) == 'P') {
      kind = MarkupItemKind::kNewPage;
    }
  }
  in.SkipBlanksAndLineEnds();
  if (count > 1) job.lineGap = static_cast<int32_t>(count + 1);
  return kind;
}

void CommandTabStops(Cursor& in, PrintJob& job, PrintSurface& surface) {
  std::string word;
  bool hitEnd = false;
  std::vector<int64_t> numbers;
  while (in.NextWord(&word, &hitEnd)) {
    if (numbers.size() < static_cast<size_t>(kMaxTabStops)) numbers.push_back(ParseMarkupNumber(word));
  }
  SetTabStops(job, surface, numbers);
}

MarkupItem ReadTextBlock(Cursor& in, int32_t limit, PrintJob& job) {
  MarkupItem item;
  item.kind = MarkupItemKind::kText;
  item.start = in.Pos();
  int32_t count = 0;
  int32_t lastBreak = -1;
  int32_t lineEnd = -1;
  bool newLine = false;
  while (!in.AtEnd()) {
    const int32_t at = in.Pos();
    char& c = in.At(at);
    if (newLine && c != ' ') {
      if (c == '.') {
        // A command line follows: the block ends at the line end before it.
        in.At(lineEnd) = '\n';
        item.length = lineEnd - item.start;
        in.Pos() = lineEnd;
        job.tabbedBlock = item.tabbed;
        return item;
      }
      newLine = false;
    }
    bool isBreak = false;
    if (c == '\t') {
      item.tabbed = true;
      isBreak = true;
    } else if (c == ' ') {
      isBreak = true;
    } else if (c == '\n') {
      c = ' ';
      isBreak = true;
      newLine = true;
      lineEnd = at;
    }
    ++count;
    ++in.Pos();
    // A break point at the block's very start would give an empty block.
    if (isBreak && at > item.start) lastBreak = at;
    if (limit < 0 && count >= -limit && lastBreak >= 0) {
      item.length = lastBreak - item.start;
      in.Pos() = lastBreak;
      // The tab flag describes the part that is kept.
      item.tabbed = std::find(&in.At(item.start), &in.At(item.start) + item.length, '\t') != &in.At(item.start) + item.length;
      job.tabbedBlock = item.tabbed;
      return item;
    }
  }
  item.length = in.Pos() - item.start;
  job.tabbedBlock = item.tabbed;
  return item;
}

}  // namespace

int64_t ParseMarkupNumber(const std::string& word) {
  size_t i = 0;
  bool negative = false;
  if (i < word.size() && (word[i] == '-' || word[i] == '+')) negative = word[i++] == '-';
  int64_t value = 0;
  for (; i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])); ++i) {
    value = std::min<int64_t>(value * 10 + (word[i] - '0'), kMarkupNumberLimit);
  }
  return negative ? -value : value;
}

MarkupItem ReadMarkupItem(PrintJob& job, PrintSurface& surface, int32_t limit) {
  Cursor in(job);
  for (;;) {
    in.SkipBlanksAndLineEnds();
    if (in.AtEnd()) return MarkupItem{};
    if (in.Peek() != '.') return ReadTextBlock(in, limit, job);

    ++in.Pos();
    if (in.AtEnd()) return MarkupItem{};  // a "." that ends the text ends it
    const char letter = Upper(in.Peek());
    if (letter != '\n') ++in.Pos();  // a lone "." is a line of its own
    switch (letter) {
      case 'C': CommandColumns(in, job, surface); break;
      case 'D': CommandKeepTogether(in, job); break;
      case 'F': CommandFont(in, job, surface); break;
      case 'J': CommandJustify(in, job); break;
      case 'N': {
        MarkupItem item;
        item.kind = CommandNewLines(in, job, surface);
        return item;
      }
      case 'T': CommandTabStops(in, job, surface); break;
      default: break;
    }
    in.SkipLine();
  }
}
