// Compiling the header query and matching game headers against it.
#include "query.h"

#include <cstdlib>
#include <cstring>

#include "header_texts.h"

namespace gdbase {
namespace {

enum Kind { kText, kNumber, kDate, kResult };

Kind KindOf(int field) {
  switch (field) {
    case 3:
    case 7:
    case 10:
    case 12:
    case 19:
    case 20:
      return kNumber;
    case 11:
      return kDate;
    case 6:
      return kResult;
    default:
      return kText;
  }
}

int32_t ReadDecimal(const char* text) {
  long v = std::strtol(text, nullptr, 10);
  if (v > 0x7FFFFFFFL) v = 0x7FFFFFFFL;
  if (v < -0x7FFFFFFFL) v = -0x7FFFFFFFL;
  return static_cast<int32_t>(v);
}

int32_t PackDate(int year, int month, int day) {
  return static_cast<int32_t>((static_cast<uint32_t>(year & 0xFFFF) << 16) | ((month & 0xFF) << 8) |
                              (day & 0xFF));
}

// Text of a text field for one side (0 White, 1 Black; side-free fields
// ignore it), folded.
std::string GameText(GdgGame* game, int field, int side) {
  char text[256] = "";
  switch (field) {
    case 1:
      IGGameGetPlayer(game, side, text, sizeof text);
      break;
    case 2:
      IGGameGetCountry(game, side, text, sizeof text);
      break;
    case 4:
      IGGameGetTitle(game, side, text, sizeof text);
      break;
    case 5:
      IGGameGetKeycode(game, text, sizeof text);
      break;
    case 8:
      IGGameGetPlace(game, text, sizeof text);
      break;
    case 9:
      IGGameGetSite(game, text, sizeof text);
      break;
    case 13:
      IGGameGetAnnotator(game, text, sizeof text);
      break;
    case 14:
      IGGameGetRemark(game, text, sizeof text);
      break;
    case 15:
    case 16:
      IGGameGetPlayer(game, field - 15, text, sizeof text);
      break;
    case 17:
    case 18:
      IGGameGetCountry(game, field - 17, text, sizeof text);
      break;
    case 21:
    case 22:
      IGGameGetTitle(game, field - 21, text, sizeof text);
      break;
    default:
      break;
  }
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(FoldGameChar(static_cast<uint8_t>(c)));
  return folded;
}

bool TextTest(int op, const std::string& value, const std::string& text) {
  switch ((op + 1) / 2) {
    case 1:
      return text == value;
    case 2:
      return text.compare(0, value.size(), value) == 0;
    default:
      return !text.empty() && text.find(value) != std::string::npos;
  }
}

bool NumberTest(int op, int32_t game, int32_t query) {
  switch (op) {
    case 1:
      return game == query;
    case 2:
      return game != query;
    case 3:
      return game < query;
    case 4:
      return game >= query;
    case 5:
      return game <= query;
    default:
      return game > query;
  }
}

bool Holds(const CompiledCondition& c, GdgGame* game) {
  bool sense = c.op % 2 == 1;
  switch (KindOf(c.field)) {
    case kText: {
      bool either = c.field == 1 || c.field == 2 || c.field == 4;
      bool found = TextTest(c.op, c.text, GameText(game, c.field, 0)) ||
                   (either && TextTest(c.op, c.text, GameText(game, c.field, 1)));
      return found == sense;
    }
    case kNumber:
      switch (c.field) {
        case 3:
          return NumberTest(c.op, IGGameGetElo(game, 0), c.number) ||
                 NumberTest(c.op, IGGameGetElo(game, 1), c.number);
        case 19:
        case 20:
          return NumberTest(c.op, IGGameGetElo(game, c.field - 19), c.number);
        case 7:
          return NumberTest(c.op, (IGGameGetLength(game) + 1) / 2, c.number);
        case 10:
          return NumberTest(c.op, IGGameGetRound(game), c.number);
        default:
          return NumberTest(c.op, IGGameGetSourceLoadnumber(game), c.number);
      }
    case kDate: {
      GdgDate d = {0, 0, 0};
      IGGameGetDate(game, &d);
      int month = (c.number >> 8 & 0xFF) == 0 ? 0 : d.month;
      int day = (c.number & 0xFF) == 0 ? 0 : d.day;
      return NumberTest(c.op, PackDate(d.year, month, day), c.number);
    }
    case kResult: {
      int32_t r = IGGameGetResult(game);
      bool is = r == c.number || (c.number == 0 && (r < 1 || r > 3));
      return is == sense;
    }
  }
  return true;
}

}  // namespace

CompiledQuery CompileQuery(const SearchQuery& query) {
  CompiledQuery q;
  q.includeFlagged = query.includeFlagged != 0;
  for (int col = 0; col < 3; ++col) {
    std::vector<CompiledCondition> column;
    for (int row = 0; row < 5; ++row) {
      const QueryCondition& in = query.conditions[row][col];
      char value[65];
      std::memcpy(value, in.value, 64);
      value[64] = 0;
      CompiledCondition c{in.field, in.op, "", 0};
      if (c.op < 1 || c.op > 6 || c.field < 1 || c.field > 22) continue;
      bool keep = true;
      switch (KindOf(c.field)) {
        case kNumber:
          c.number = ReadDecimal(value);
          keep = !(c.number == 0 && c.op == 3);
          break;
        case kDate: {
          int y, m, d;
          ReadQueryDate(value, &y, &m, &d);
          c.number = PackDate(y, m, d);
          keep = !(c.number == 0 && c.op == 3);
          break;
        }
        case kResult:
          c.number = value[0] == '0' ? 3 : value[0] == '1' ? (value[1] == '/' ? 2 : 1) : 0;
          break;
        case kText:
          for (const char* s = value; *s; ++s)
            c.text += static_cast<char>(FoldQueryChar(static_cast<uint8_t>(*s)));
          // An empty value still asks something with equals, differs and
          // does not contain (the last holds only for empty texts).
          keep = !c.text.empty() || c.op == 1 || c.op == 2 || c.op == 6;
          break;
      }
      if (keep) column.push_back(c);
    }
    if (!column.empty()) {
      if (column.size() > q.rows) q.rows = column.size();
      q.columns.push_back(column);
    }
  }
  return q;
}

bool MatchQuery(const CompiledQuery& query, GdgGame* game) {
  if (!query.includeFlagged && IGGameGetStatusFlag(game, 0)) return false;
  if (query.columns.empty()) return true;
  for (const auto& column : query.columns) {
    bool all = true;
    for (const CompiledCondition& c : column)
      if (!Holds(c, game)) {
        all = false;
        break;
      }
    if (all) return true;
  }
  return false;
}

bool PositionHasPieces(const sPosition& p) {
  for (uint8_t s : p.squares)
    if (s) return true;
  return false;
}

int QueryIsEmpty(const SearchQuery& query) {
  switch (query.kind) {
    case 2:
    case 16:
      return 0;
    case 4:
      return !PositionHasPieces(query.position) && query.includeFlagged ? 1 : 0;
    case 1: {
      if (!query.includeFlagged) return 0;
      for (const auto& row : query.conditions)
        for (const QueryCondition& c : row) {
          if (c.field == 0) continue;
          bool hasValue = std::memchr(c.value, 0, 64) != c.value;
          if (hasValue || c.op == 1 || c.op == 2 || c.op == 6) return 0;
        }
      return 1;
    }
    default:
      return 1;
  }
}

}  // namespace gdbase
