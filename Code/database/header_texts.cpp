// Header texts of a game buffer, the user's date form and the folding
// tables of the header search.
#include "header_texts.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "charset.h"

namespace gdbase {
namespace {

std::string g_picture = "yyyy/MM/dd";
std::string g_months[12] = {"January", "February", "March",     "April",   "May",      "June",
                            "July",    "August",   "September", "October", "November", "December"};
std::string g_shortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string Get(int (*getter)(GdgGame*, char*, int32_t), GdgGame* game) {
  char text[256] = "";
  getter(game, text, sizeof text);
  return text;
}

std::string GetSide(int (*getter)(GdgGame*, int32_t, char*, int32_t), GdgGame* game, int side) {
  char text[256] = "";
  getter(game, side, text, sizeof text);
  return text;
}

// "Name (title, Elo, country)", absent parts left out.
std::string FullName(GdgGame* game, int side) {
  std::string name = GetSide(IGGameGetPlayer, game, side);
  std::vector<std::string> parts;
  std::string title = GetSide(IGGameGetTitle, game, side);
  if (!title.empty()) parts.push_back(title);
  int32_t elo = IGGameGetElo(game, side);
  if (elo > 0) parts.push_back(std::to_string(elo));
  std::string country = GetSide(IGGameGetCountry, game, side);
  if (!country.empty()) parts.push_back(country);
  if (parts.empty()) return name;
  name += " (";
  for (size_t i = 0; i < parts.size(); ++i) name += (i ? ", " : "") + parts[i];
  return name + ")";
}

bool TimeText(int32_t minutes, std::string* text) {
  if (minutes <= 0 || minutes >= 6000) return false;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d:%02d", minutes / 60, minutes % 60);
  *text = buffer;
  return true;
}

// The date picture in pieces: fields (runs of d, M or y) and the literal
// text between them.
struct PicturePiece {
  char field;  // 'd', 'M', 'y' or 0 for literal text
  int run;
  std::string text;
};

std::vector<PicturePiece> SplitPicture(const std::string& p) {
  std::vector<PicturePiece> pieces;
  for (size_t i = 0; i < p.size();) {
    char c = p[i];
    char field = c == 'd' ? 'd' : (c == 'M' || c == 'm') ? 'M' : c == 'y' ? 'y' : 0;
    if (field) {
      size_t j = i;
      while (j < p.size() && p[j] == c) ++j;
      pieces.push_back({field, static_cast<int>(j - i), ""});
      i = j;
      continue;
    }
    std::string literal;
    if (c == '\'') {
      size_t end = p.find('\'', i + 1);
      if (end == std::string::npos) end = p.size();
      literal = p.substr(i + 1, end - i - 1);
      i = end + 1;
    } else {
      literal = std::string(1, c);
      ++i;
    }
    if (!pieces.empty() && pieces.back().field == 0)
      pieces.back().text += literal;
    else
      pieces.push_back({0, 0, literal});
  }
  return pieces;
}

std::string Number(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

bool SameStart(const char* text, const std::string& name) {
  if (name.empty()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(name[i])))
      return false;  // also stops at the text's end
  return true;
}

}  // namespace

void SetDateLocale(const char* picture, const char* const* months, const char* const* shortMonths) {
  g_picture = picture && *picture ? picture : "yyyy/MM/dd";
  for (int i = 0; i < 12; ++i) {
    if (months && months[i]) g_months[i] = std::string(months[i]).substr(0, 31);
    if (shortMonths && shortMonths[i]) g_shortMonths[i] = std::string(shortMonths[i]).substr(0, 7);
  }
}

std::string FormatHeaderDate(int year, int month, int day) {
  if (year == 0 && month == 0 && day == 0) return "";
  std::vector<PicturePiece> pieces = SplitPicture(g_picture);
  // A part that is 0 goes with the separator before it, or after it when
  // it is the first field.
  for (size_t i = 0; i < pieces.size();) {
    const PicturePiece& p = pieces[i];
    bool drop =
        (p.field == 'd' && day == 0) || (p.field == 'M' && month == 0) || (p.field == 'y' && year == 0);
    if (!drop) {
      ++i;
      continue;
    }
    bool fieldBefore = false;
    for (size_t k = 0; k < i; ++k) fieldBefore |= pieces[k].field != 0;
    if (fieldBefore && i > 0 && pieces[i - 1].field == 0) {
      pieces.erase(pieces.begin() + static_cast<long>(i) - 1, pieces.begin() + static_cast<long>(i) + 1);
      --i;
    } else if (!fieldBefore && i + 1 < pieces.size() && pieces[i + 1].field == 0) {
      pieces.erase(pieces.begin() + static_cast<long>(i), pieces.begin() + static_cast<long>(i) + 2);
    } else {
      pieces.erase(pieces.begin() + static_cast<long>(i));
    }
  }
  int m = month >= 1 && month <= 12 ? month : 1;
  std::string out;
  for (const PicturePiece& p : pieces) {
    if (p.field == 'd') out += Number(day, p.run >= 2 ? 2 : 1);
    if (p.field == 'M')
      out += p.run >= 4   ? g_months[m - 1]
             : p.run == 3 ? g_shortMonths[m - 1]
                          : Number(month, p.run >= 2 ? 2 : 1);
    if (p.field == 'y') out += p.run <= 2 ? Number(year % 100, 2) : Number(year, 4);
    if (p.field == 0) out += p.text;
  }
  return out;
}

void ReadQueryDate(const char* text, int* year, int* month, int* day) {
  int y = 0, m = 0, d = 0;
  bool haveYear = false;
  auto place = [&](int value) {
    if (m == 0)
      m = value;
    else if (d == 0)
      d = value;
  };
  for (const char* s = text ? text : ""; *s;) {
    unsigned char c = static_cast<unsigned char>(*s);
    if (std::isdigit(c)) {
      long value = 0;
      while (std::isdigit(static_cast<unsigned char>(*s))) {
        if (value < 100000) value = value * 10 + (*s - '0');
        ++s;
      }
      int v = static_cast<int>(value);
      if (v >= 1000) {
        if (haveYear) place(y);
        y = v, haveYear = true;
      } else if (!haveYear) {
        y = v, haveYear = true;
      } else {
        place(v);
      }
    } else if (std::isalpha(c)) {
      const char* word = s;
      while (std::isalpha(static_cast<unsigned char>(*s))) ++s;
      int found = 0;
      for (int i = 0; i < 12 && !found; ++i)
        if (SameStart(word, g_months[i])) found = i + 1;
      for (int i = 0; i < 12 && !found; ++i)
        if (SameStart(word, g_shortMonths[i])) found = i + 1;
      if (found) {
        if (m != 0 && d == 0) d = m;
        m = found;
      }
    } else {
      ++s;
    }
  }
  // "25 Dec 1999": 25 was taken as the year until 1999 came.
  if (y >= 1 && y <= 99) y += 1900;
  *year = y, *month = m, *day = d;
}

uint8_t FoldQueryChar(uint8_t c) {
  uint8_t g = WindowsToGameChar(c);
  return g >= 'A' && g <= 'Z' ? static_cast<uint8_t>(g + 32) : g;
}

uint8_t FoldGameChar(uint8_t c) {
  if (c >= 'A' && c <= 'Z') return static_cast<uint8_t>(c + 32);
  if (c == 0) return 0;
  if (c < 32 || c == 127 || (c >= 0x80 && c <= 0x90) || (c >= 0x93 && c <= 0x9F)) return 0xB0;
  return c;
}

bool HeaderText(GdgGame* game, int field, std::string* text) {
  text->clear();
  if (!game) return false;
  std::string raw;
  switch (field) {
    case 1:
      raw = Get(IGGameGetPlace, game);
      break;
    case 2:
      raw = Get(IGGameGetSite, game);
      break;
    case 3:
      if (IGGameGetRound(game) <= 0) return false;
      raw = std::to_string(IGGameGetRound(game));
      break;
    case 4:
      raw = Get(IGGameGetAnnotator, game);
      break;
    case 5:
    case 6:
      raw = GetSide(IGGameGetPlayer, game, field - 5);
      break;
    case 7:
    case 8:
      raw = GetSide(IGGameGetCountry, game, field - 7);
      break;
    case 9:
    case 10:
      if (IGGameGetElo(game, field - 9) <= 0) return false;
      raw = std::to_string(IGGameGetElo(game, field - 9));
      break;
    case 11:
    case 12:
      raw = GetSide(IGGameGetTitle, game, field - 11);
      break;
    case 13:
    case 14:
      if (!TimeText(IGGameGetTime(game, field - 13), &raw)) return false;
      break;
    case 15:
      raw = Get(IGGameGetKeycode, game);
      break;
    case 16: {
      int32_t r = IGGameGetResult(game);
      raw = r == 1 ? "1-0" : r == 3 ? "0-1" : r == 2 ? "\xAB-\xAB" : "";
      break;
    }
    case 17: {
      GdgDate date = {0, 0, 0};
      IGGameGetDate(game, &date);
      *text = FormatHeaderDate(date.year, date.month, date.day);
      return true;
    }
    case 18:
      raw = Get(IGGameGetRemark, game);
      break;
    case 19:
      raw = std::to_string(IGGameGetSourceLoadnumber(game));
      break;
    case 20:
      raw = std::to_string((IGGameGetLength(game) + 1) / 2);
      break;
    case 21:
      if (IGGameGetStatusFlag(game, 2)) raw += 'A';
      if (IGGameGetStatusFlag(game, 0)) raw += 'D';
      if (IGGameGetStatusFlag(game, 1)) raw += 'P';
      if (IGGameGetStatusFlag(game, 6)) raw += 'V';
      break;
    case 22: {
      int32_t r = IGGameGetResult(game);
      raw = r == 1 ? "1-0" : r == 3 ? "0-1" : r == 2 ? "1/2" : "*";
      break;
    }
    case 100:
      raw = GetSide(IGGameGetPlayer, game, 0) + " - " + GetSide(IGGameGetPlayer, game, 1);
      break;
    case 101:
      raw = FullName(game, 0) + " - " + FullName(game, 1);
      break;
    case 102:
    case 103:
      raw = FullName(game, field - 102);
      break;
    default:
      return false;
  }
  *text = GameToWindows(raw.c_str());
  return true;
}

bool HeaderNumber(GdgGame* game, int field, int32_t* value) {
  if (!game || !value) return false;
  switch (field) {
    case 9:
    case 10:
      *value = IGGameGetElo(game, field - 9);
      return true;
    case 16: {
      int32_t r = IGGameGetResult(game);
      *value = r == 1 ? 1 : r == 3 ? 2 : r == 2 ? 3 : 0;
      return true;
    }
    case 17: {
      GdgDate date = {0, 0, 0};
      IGGameGetDate(game, &date);
      int32_t month = date.month > 12 || date.month < 0 ? 0 : date.month;
      *value = (date.year << 16) | (month << 8) | (date.day & 0xFF);
      return true;
    }
    case 19:
      *value = IGGameGetSourceLoadnumber(game);
      return true;
    case 21:
      *value = (IGGameGetStatusFlag(game, 0) ? 1 : 0) | (IGGameGetStatusFlag(game, 1) ? 2 : 0) |
               (IGGameGetStatusFlag(game, 2) ? 4 : 0) | (IGGameGetStatusFlag(game, 6) ? 8 : 0);
      return true;
    default:
      return false;
  }
}

bool PutHeaderText(GdgGame* game, int field, const char* text) {
  if (!game) return false;
  std::string t = WindowsToGame(text ? text : "");
  if (t.size() > 255) t.resize(255);
  const char* s = t.c_str();
  switch (field) {
    case 1:
      IGGamePutPlace(game, s);
      return true;
    case 2:
      IGGamePutSite(game, s);
      return true;
    case 4:
      IGGamePutAnnotator(game, s);
      return true;
    case 5:
    case 6:
      IGGamePutPlayer(game, field - 5, s);
      return true;
    case 7:
    case 8:
      IGGamePutCountry(game, field - 7, s);
      return true;
    case 11:
    case 12:
      IGGamePutTitle(game, field - 11, s);
      return true;
    case 15:
      IGGamePutKeycode(game, s);
      return true;
    case 18:
      IGGamePutRemark(game, s);
      return true;
    default:
      return false;
  }
}

}  // namespace gdbase
