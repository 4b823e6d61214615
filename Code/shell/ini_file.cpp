// The project's private-profile implementation over real files. It keeps the
// system's reading rules exactly, because the same ini files are read by the
// system's calls in the program and by this code in the tests:
//  - a line is a section header when, trimmed, it starts with "[" and holds
//    a "]"; the name runs to the last "]", trimmed;
//  - other lines are keys: the name before the first "=", the value after
//    it, both trimmed; a line without "=" is a key without a value, which
//    reads as missing;
//  - lines before the first header belong to a section with an empty name;
//  - a lookup trims the names it is given, compares them without case and
//    searches only the first section of that name;
//  - a value (or fallback) that starts and ends with the same quote loses
//    both quotes.
// Writing keeps every other line of the file as it stands (comments, blank
// lines, line ends); new keys go after the last line of their section, new
// sections at the end of the file.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "profile.h"

namespace {

// The blanks of the system's reader: C white space and the old end-of-file
// mark.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1a; }

std::string Trim(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

struct Line {
  std::string text;  // without its line end
  std::string end;   // "\r\n", "\n" or "" for a last line without one
  enum Kind { BLANK, SECTION, KEY } kind = BLANK;
  std::string name;  // section or key name
  bool hasValue = false;
  std::string value;
};

struct IniText {
  std::vector<Line> lines;
  bool read = false;  // the file existed and was read
};

void Classify(Line& line) {
  std::string t = Trim(line.text);
  line.kind = Line::BLANK;
  line.hasValue = false;
  if (t.empty()) return;
  if (t[0] == '[') {
    size_t close = t.rfind(']');
    if (close != std::string::npos && close > 0) {
      line.kind = Line::SECTION;
      line.name = Trim(t.substr(1, close - 1));
      return;
    }
  }
  line.kind = Line::KEY;
  size_t eq = t.find('=');
  if (eq == std::string::npos) {
    line.name = t;
    return;
  }
  line.name = Trim(t.substr(0, eq));
  line.hasValue = true;
  line.value = Trim(t.substr(eq + 1));
}

IniText Load(const char* path) {
  IniText ini;
  FILE* f = path ? std::fopen(path, "rb") : nullptr;
  if (!f) return ini;
  std::string data;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.append(chunk, n);
  std::fclose(f);
  ini.read = true;
  size_t pos = 0;
  while (pos < data.size()) {
    size_t nl = data.find('\n', pos);
    Line line;
    if (nl == std::string::npos) {
      line.text = data.substr(pos);
      pos = data.size();
    } else {
      size_t textEnd = nl;
      if (textEnd > pos && data[textEnd - 1] == '\r') --textEnd;
      line.text = data.substr(pos, textEnd - pos);
      line.end = data.substr(textEnd, nl + 1 - textEnd);
      pos = nl + 1;
    }
    Classify(line);
    ini.lines.push_back(line);
  }
  return ini;
}

bool Save(const IniText& ini, const char* path) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  bool ok = true;
  for (const Line& line : ini.lines) {
    ok = ok && std::fwrite(line.text.data(), 1, line.text.size(), f) == line.text.size();
    ok = ok && std::fwrite(line.end.data(), 1, line.end.size(), f) == line.end.size();
  }
  return std::fclose(f) == 0 && ok;
}

// Index of the section header that starts section `index`'s lines, or -1 for
// the unnamed section at the top; `end` is one past its last line.
struct SectionRange {
  int header;
  size_t begin, end;
  std::string name;
};

std::vector<SectionRange> Sections(const IniText& ini) {
  std::vector<SectionRange> sections;
  sections.push_back({-1, 0, ini.lines.size(), ""});
  for (size_t i = 0; i < ini.lines.size(); ++i) {
    if (ini.lines[i].kind != Line::SECTION) continue;
    sections.back().end = i;
    sections.push_back({static_cast<int>(i), i + 1, ini.lines.size(), ini.lines[i].name});
  }
  return sections;
}

// The system's lookup: the first section whose name matches, and in it the
// first key; null when either is missing.
const Line* FindKey(const IniText& ini, const char* section, const char* key, int* lineIndex = nullptr) {
  std::string s = Trim(section), k = Trim(key);
  for (const SectionRange& range : Sections(ini)) {
    if (!SameName(range.name, s)) continue;
    for (size_t i = range.begin; i < range.end; ++i) {
      const Line& line = ini.lines[i];
      if (line.kind == Line::KEY && SameName(line.name, k)) {
        if (lineIndex) *lineIndex = static_cast<int>(i);
        return &line;
      }
    }
    return nullptr;
  }
  return nullptr;
}

// Copies a value as the system does: a value in matching quotes loses the
// opening quote, and the closing one when the whole rest fitted.
uint32_t CopyValue(const std::string& value, char* buffer, uint32_t size) {
  const char* v = value.c_str();
  char quote = 0;
  if ((v[0] == '\'' || v[0] == '"') && v[1] && v[std::strlen(v) - 1] == v[0]) quote = *v++;
  size_t length = std::strlen(v);
  size_t copied = length < size - 1 ? length : size - 1;
  std::memcpy(buffer, v, copied);
  buffer[copied] = '\0';
  if (quote && size >= length && copied > 0) buffer[--copied] = '\0';
  return static_cast<uint32_t>(copied);
}

std::string StripFallback(const char* fallback) {
  if (!fallback) return "";
  std::string f = fallback;
  // Trailing blanks go, but a fallback of blanks alone keeps its first.
  size_t last = f.size();
  while (last > 1 && f[last - 1] == ' ') --last;
  return f.substr(0, last);
}

class IniFile final : public Profile {
 public:
  uint32_t ReadString(const char* section, const char* key, const char* fallback, char* buffer,
                      uint32_t size, const char* path) override {
    if (!buffer || size == 0) return 0;
    std::string def = StripFallback(fallback);
    if (!section || !key) {
      buffer[0] = '\0';
      return 0;
    }
    IniText ini = Load(path);
    const Line* line = FindKey(ini, section, key);
    return CopyValue(line && line->hasValue ? line->value : def, buffer, size);
  }

  uint32_t ReadInt(const char* section, const char* key, int32_t fallback, const char* path) override {
    char text[30];
    if (ReadString(section, key, "", text, sizeof text, path) == 0) return static_cast<uint32_t>(fallback);
    return ParseProfileInt(text, fallback);
  }

  bool Write(const char* section, const char* key, const char* value, const char* path) override {
    if (!section || !path) return false;
    IniText ini = Load(path);
    bool changed = false;
    if (!key) {
      changed = DeleteSection(ini, section);
    } else if (!value) {
      changed = DeleteKey(ini, section, key);
    } else {
      const char* v = value;
      while (IsBlank(*v)) ++v;
      changed = SetValue(ini, section, key, v);
    }
    return !changed || Save(ini, path);
  }

 private:
  // The first section of that name goes, with its lines.
  static bool DeleteSection(IniText& ini, const char* section) {
    std::vector<SectionRange> sections = Sections(ini);
    for (size_t i = 1; i < sections.size(); ++i) {
      if (!SameName(sections[i].name, section)) continue;
      ini.lines.erase(ini.lines.begin() + sections[i].header, ini.lines.begin() + sections[i].end);
      return true;
    }
    return false;
  }

  // The first key of that name in any section of that name.
  static bool DeleteKey(IniText& ini, const char* section, const char* key) {
    for (const SectionRange& range : Sections(ini)) {
      if (!SameName(range.name, section)) continue;
      for (size_t i = range.begin; i < range.end; ++i) {
        if (ini.lines[i].kind == Line::KEY && SameName(ini.lines[i].name, key)) {
          ini.lines.erase(ini.lines.begin() + i);
          return true;
        }
      }
    }
    return false;
  }

  static bool SetValue(IniText& ini, const char* section, const char* key, const char* value) {
    std::string s = Trim(section), k = Trim(key);
    int at = -1;
    const Line* line = FindKey(ini, section, key, &at);
    if (line) {
      if (line->hasValue && line->value == value) return false;
      Line& edit = ini.lines[at];
      edit.text = edit.name + "=" + value;
      Classify(edit);
      return true;
    }
    Line add;
    add.text = k + "=" + value;
    add.end = "\r\n";
    Classify(add);
    for (const SectionRange& range : Sections(ini)) {
      if (!SameName(range.name, s)) continue;
      size_t after = range.end;
      while (after > range.begin && ini.lines[after - 1].kind == Line::BLANK) --after;
      if (after > 0 && ini.lines[after - 1].end.empty()) ini.lines[after - 1].end = "\r\n";
      ini.lines.insert(ini.lines.begin() + after, add);
      return true;
    }
    if (!ini.lines.empty() && ini.lines.back().end.empty()) ini.lines.back().end = "\r\n";
    Line header;
    header.text = "[" + s + "]";
    header.end = "\r\n";
    Classify(header);
    ini.lines.push_back(header);
    ini.lines.push_back(add);
    return true;
  }
};

}  // namespace

// The system's integer reading: leading blanks and control characters, a
// sign, "0x", "0o" or "0b" for another base, then digits of that base; the
// value wraps around in 32 bits, a minus negates it.
uint32_t ParseProfileInt(const char* text, int32_t fallback) {
  if (!text || !*text) return static_cast<uint32_t>(fallback);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (*p && *p <= ' ') ++p;
  bool minus = false;
  if (*p == '+') {
    ++p;
  } else if (*p == '-') {
    minus = true;
    ++p;
  }
  uint32_t base = 10;
  if (p[0] == '0' && p[1] == 'x') {
    base = 16, p += 2;
  } else if (p[0] == '0' && p[1] == 'o') {
    base = 8, p += 2;
  } else if (p[0] == '0' && p[1] == 'b') {
    base = 2, p += 2;
  }
  uint32_t total = 0;
  for (;; ++p) {
    uint32_t digit;
    if (*p >= '0' && *p <= '9') {
      digit = *p - '0';
    } else if (*p >= 'a' && *p <= 'z') {
      digit = *p - 'a' + 10;
    } else if (*p >= 'A' && *p <= 'Z') {
      digit = *p - 'A' + 10;
    } else {
      break;
    }
    if (digit >= base) break;
    total = total * base + digit;
  }
  return minus ? 0u - total : total;
}

Profile& IniFileProfile() {
  static IniFile file;
  return file;
}
