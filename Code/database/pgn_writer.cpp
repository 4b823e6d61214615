// PGN writer: the seven tags and the optional ones, then the move text in
// lines of at most 76 characters.
#include "pgn_writer.h"

#include <cstring>
#include <vector>

#include "texts.h"

namespace gdbase {
namespace {

constexpr int kLineWidth = 77;
const char kSymbols[] = "NBRQKO-x+ #   ep";

class Writer {
 public:
  Writer(PgnOutput* out, const PgnGameRecord& r) : out_(out), r_(r) {}
  int Write();

 private:
  void Raw(const char* s) {
    for (; *s; ++s) Char(*s);
  }
  void Char(char c) {
    out_->Put(c);
    column_ = c == '\n' ? 0 : column_ + 1;
  }
  // A word goes on the line only when column + 1 + length < 77.
  void Word(const std::string& w) {
    if (column_ > 0) {
      if (column_ + 1 + static_cast<int>(w.size()) < kLineWidth)
        Char(' ');
      else
        Char('\n');
    }
    Raw(w.c_str());
  }
  // Attached to the word before it, or on a new line when the line is full.
  void Attach(const std::string& w) {
    if (column_ > 0 && column_ + static_cast<int>(w.size()) >= kLineWidth) Char('\n');
    Raw(w.c_str());
  }
  void Tag(const char* name, const char* value) {
    Raw("[");
    Raw(name);
    Raw(" \"");
    Raw(value);
    Raw("\"]\n");
  }
  void Tags();
  void Annotations(int slot);
  bool Line(int index, sPosition pos, int ply, bool opening, bool firstOfAlternative);
  bool Alternatives(int marked, const sPosition& before, int ply);
  int EndOf(int marked);

  PgnOutput* out_;
  const PgnGameRecord& r_;
  int column_ = 0;
  bool needNumber_ = true;
  int entries_ = 0;
};

void Writer::Tags() {
  auto valueOr = [&](int tag) { return r_.Tag(tag)[0] ? r_.Tag(tag) : "?"; };
  Tag("Event", valueOr(kTagEvent));
  Tag("Site", valueOr(kTagSite));
  int day, month, year;
  ParseDateText(r_.Tag(kTagDate), &day, &month, &year);
  char date[16];
  FormatDateText(date, static_cast<unsigned>(year), static_cast<unsigned>(month), static_cast<unsigned>(day));
  Tag("Date", date);
  Tag("Round", valueOr(kTagRound));
  Tag("White", valueOr(kTagWhite));
  Tag("Black", valueOr(kTagBlack));
  Tag("Result", r_.Tag(kTagResult));
  auto optional = [&](int tag) {
    if (r_.Tag(tag)[0]) Tag(kPgnTagNames[tag - 1], r_.Tag(tag));
  };
  auto time = [&](int tag) {
    int h, m, s;
    ParseTimeText(r_.Tag(tag), &h, &m, &s);
    if (h + m + s <= 0) return;
    char text[16];
    FormatTimeText(text, static_cast<unsigned>(h), static_cast<unsigned>(m), static_cast<unsigned>(s));
    Tag(kPgnTagNames[tag - 1], text);
  };
  optional(kTagWhiteTitle);
  optional(kTagWhiteElo);
  optional(kTagWhiteCountry);
  time(kTagWhiteTime);
  optional(kTagBlackTitle);
  optional(kTagBlackElo);
  optional(kTagBlackCountry);
  time(kTagBlackTime);
  optional(kTagAnnotator);
  optional(kTagECO);
  optional(kTagRemark);
  if (!IsInitialPosition(*r_.start)) {
    Raw("[SetUp \"");
    Raw(std::strcmp(r_.Tag(kTagSetUp), "2") == 0 ? "2" : "1");
    Raw("\"]\n");
    Tag("FEN", FormatFen(*r_.start, r_.moveNumberOffset).c_str());
  }
  Raw("\n");
}

void Writer::Annotations(int slot) {
  uint16_t nags = r_.nags[slot];
  for (int k = 0; k < 2; ++k) {
    int nag = k == 0 ? nags & 0xFF : nags >> 8;
    if (nag) Word("$" + std::to_string(nag));
  }
  uint32_t offset = r_.comments[slot];
  if (offset == 0 || offset >= static_cast<uint32_t>(kPgnPoolSize)) return;
  const char* text = r_.pool + offset;
  size_t length = strnlen(text, kPgnPoolSize - offset);
  std::string comment(text, length);
  std::vector<std::string> words;
  for (size_t at = 0; at < comment.size();) {
    size_t end = comment.find(' ', at);
    if (end == std::string::npos) end = comment.size();
    if (end > at) words.push_back(comment.substr(at, end - at));
    at = end + 1;
  }
  if (words.empty()) return;
  Word("{" + words[0]);
  for (size_t i = 1; i < words.size(); ++i) Word(words[i]);
  Attach("}");
  needNumber_ = true;
}

int Writer::EndOf(int marked) {
  int count = 0;
  for (int j = marked; j < entries_; ++j) {
    if (r_.moves[j] & kEntryHasAlternative) ++count;
    if (r_.moves[j] & kEntryLineEnd) --count;
    if (count == 0) return j + 1;
  }
  return -1;
}

bool Writer::Alternatives(int marked, const sPosition& before, int ply) {
  int start = EndOf(marked);
  if (start < 0 || start >= entries_) {
    ShowModuleError("Move tree corrupt.");
    return false;
  }
  needNumber_ = true;
  if (!Line(start, before, ply, true, true)) return false;
  Attach(")");
  needNumber_ = true;
  if (r_.moves[start] & kEntryHasAlternative) return Alternatives(start, before, ply);
  return true;
}

bool Writer::Line(int index, sPosition pos, int ply, bool opening, bool firstOfAlternative) {
  for (int i = index; i < entries_; ++i) {
    uint16_t entry = r_.moves[i];
    uint16_t move = static_cast<uint16_t>(entry & ~(kEntryHasAlternative | kEntryLineEnd));
    unsigned number = static_cast<unsigned>(ply / 2 + 1);
    if (pos.whiteToMove || needNumber_) {
      std::string w = opening ? "(" : "";
      w += std::to_string(number) + (pos.whiteToMove ? "." : "...");
      Word(w);
    }
    opening = false;
    needNumber_ = false;
    char text[16];
    MoveFlagsToText(GetMoveNotationFlags(pos, move), move, text, 4, kSymbols);
    Word(text);
    Annotations(i + 1);
    sPosition before = pos;
    PlayMoveOnPosition(&pos, move);
    if ((entry & kEntryHasAlternative) && !(firstOfAlternative && i == index)) {
      if (!Alternatives(i, before, ply)) return false;
    }
    ++ply;
    if (entry & kEntryLineEnd) return true;
  }
  if (index < entries_) {
    ShowModuleError("Move tree corrupt.");
    return false;
  }
  return true;
}

int Writer::Write() {
  Tags();
  entries_ = r_.Entries();
  if (entries_ < 0 || entries_ > kPgnMaxMoves) entries_ = 0;
  int ply = 2 * r_.moveNumberOffset + (r_.start->whiteToMove ? 0 : 1);
  needNumber_ = true;
  Annotations(0);
  needNumber_ = true;
  bool ok = entries_ == 0 || Line(0, *r_.start, ply, false, false);
  Word(r_.Tag(kTagResult));
  Raw("\n\n");
  return ok ? 0 : 1;
}

}  // namespace

std::string FormatFen(const sPosition& p, int moveNumberOffset) {
  static const char kLetters[] = " pnbrqk  PNBRQK";
  std::string fen;
  for (int rank = 7; rank >= 0; --rank) {
    int empty = 0;
    for (int file = 0; file < 8; ++file) {
      uint8_t piece = p.squares[rank * 8 + file];
      if (piece == 0 || piece >= 15 || kLetters[piece] == ' ') {
        ++empty;
        continue;
      }
      if (empty) fen += static_cast<char>('0' + empty), empty = 0;
      fen += kLetters[piece];
    }
    if (empty) fen += static_cast<char>('0' + empty);
    if (rank) fen += '/';
  }
  fen += p.whiteToMove ? " w " : " b ";
  std::string rights;
  if (p.castle[kWhiteShort]) rights += 'K';
  if (p.castle[kWhiteLong]) rights += 'Q';
  if (p.castle[kBlackShort]) rights += 'k';
  if (p.castle[kBlackLong]) rights += 'q';
  fen += rights.empty() ? "-" : rights;
  fen += ' ';
  if (p.enPassant < 64) {
    fen += static_cast<char>('a' + (p.enPassant & 7));
    fen += static_cast<char>('1' + (p.enPassant >> 3));
  } else {
    fen += '-';
  }
  fen += " 0 " + std::to_string(moveNumberOffset + 1);
  return fen;
}

int WritePgnRecord(PgnOutput* out, const PgnGameRecord& record, int) {
  Writer writer(out, record);
  return writer.Write();
}

}  // namespace gdbase
