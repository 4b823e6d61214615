#include "msgtable_compiler.h"

#include <cstdlib>
#include <map>
#include <sstream>

namespace {

constexpr uint32_t kNone16 = 65535;

struct Wording {
  bool hasText;
  std::string text;
};

// Records of one number: per selector-1 group (in order of appearance), the
// selector-2 keys (in order of appearance) with their wordings.
struct Key {
  int selector2;
  std::vector<Wording> wordings;
};
struct Group {
  int selector1;
  std::vector<Key> keys;
};
using Message = std::vector<Group>;

void PutU16(std::vector<uint8_t>* out, size_t at, uint32_t value) {
  (*out)[at] = static_cast<uint8_t>(value);
  (*out)[at + 1] = static_cast<uint8_t>(value >> 8);
}
void PutU32(std::vector<uint8_t>* out, size_t at, uint32_t value) {
  for (int k = 0; k < 4; ++k) (*out)[at + k] = static_cast<uint8_t>(value >> (8 * k));
}

bool ParseInt(const std::string& word, long low, long high, int* out) {
  if (word.empty()) return false;
  char* end = nullptr;
  long value = std::strtol(word.c_str(), &end, 10);
  if (*end || value < low || value > high) return false;
  *out = static_cast<int>(value);
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text starting at `at` (the opening quote).
bool ParseQuoted(const std::string& line, size_t at, std::string* text, std::string* why) {
  size_t i = at + 1;
  for (; i < line.size() && line[i] != '"'; ++i) {
    char c = line[i];
    if (c != '\\') {
      text->push_back(c);
      continue;
    }
    if (++i >= line.size()) break;
    switch (line[i]) {
      case '"':
        text->push_back('"');
        break;
      case '\\':
        text->push_back('\\');
        break;
      case 'n':
        text->push_back('\n');
        break;
      case 'r':
        text->push_back('\r');
        break;
      case 't':
        text->push_back('\t');
        break;
      case 'x': {
        int hi = i + 1 < line.size() ? HexDigit(line[i + 1]) : -1;
        int lo = i + 2 < line.size() ? HexDigit(line[i + 2]) : -1;
        if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) {
          *why = "bad \\x escape";
          return false;
        }
        text->push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        break;
      }
      default:
        *why = "unknown escape";
        return false;
    }
  }
  if (i >= line.size()) {
    *why = "text without closing quote";
    return false;
  }
  for (size_t k = i + 1; k < line.size(); ++k) {
    if (line[k] != ' ' && line[k] != '\t' && line[k] != '\r') {
      *why = "characters after the text";
      return false;
    }
  }
  return true;
}

}  // namespace

bool CompileMessageTable(const std::string& source, std::vector<uint8_t>* cel, std::vector<uint8_t>* str,
                         std::string* error) {
  std::map<int, Message> messages;
  std::istringstream lines(source);
  std::string line;
  int lineNumber = 0;
  size_t recordCount = 0;
  auto fail = [&](const std::string& why) {
    if (error) *error = "line " + std::to_string(lineNumber) + ": " + why;
    return false;
  };

  while (std::getline(lines, line)) {
    ++lineNumber;
    size_t quote = line.find('"');
    std::istringstream head(line.substr(0, quote));
    std::vector<std::string> words;
    for (std::string w; head >> w;) words.push_back(w);
    if (words.empty() && quote == std::string::npos) continue;
    if (!words.empty() && words[0][0] == '#') continue;
    int number, selector1, selector2;
    if (words.size() != 3) return fail("expected a number, two selectors and an optional quoted text");
    if (!ParseInt(words[0], 0, 65534, &number)) return fail("message number out of range 0..65534");
    if (!ParseInt(words[1], 0, 255, &selector1) || !ParseInt(words[2], 0, 255, &selector2))
      return fail("selector out of range 0..255");
    Wording wording{quote != std::string::npos, {}};
    std::string why;
    if (wording.hasText && !ParseQuoted(line, quote, &wording.text, &why)) return fail(why);

    Message& message = messages[number];
    Group* group = nullptr;
    for (Group& g : message)
      if (g.selector1 == selector1) group = &g;
    if (!group) {
      message.push_back(Group{selector1, {}});
      group = &message.back();
    }
    Key* key = nullptr;
    for (Key& k : group->keys)
      if (k.selector2 == selector2) key = &k;
    if (!key) {
      group->keys.push_back(Key{selector2, {}});
      key = &group->keys.back();
    }
    if (key->wordings.size() == 255) return fail("more than 255 wordings");
    key->wordings.push_back(wording);
    if (++recordCount >= kNone16) return fail("more than 65534 records");
  }

  size_t numbers = messages.empty() ? 0 : static_cast<size_t>(messages.rbegin()->first) + 1;
  size_t recordsStart = 2 + 2 * numbers;
  cel->assign(recordsStart + recordCount * 13, 0);
  str->clear();
  PutU16(cel, 0, static_cast<uint32_t>(numbers));
  for (size_t n = 0; n < numbers; ++n) PutU16(cel, 2 + 2 * n, kNone16);

  std::map<std::string, uint32_t> placed;  // identical texts are stored once
  auto placeText = [&](const Wording& w) -> uint32_t {
    if (!w.hasText) return kNone16;
    auto found = placed.find(w.text);
    if (found != placed.end()) return found->second;
    if (str->size() == kNone16) str->push_back(0);  // 65535 reads as "no text"
    uint32_t offset = static_cast<uint32_t>(str->size());
    str->insert(str->end(), w.text.begin(), w.text.end());
    str->push_back(0);
    placed[w.text] = offset;
    return offset;
  };

  uint32_t next = 0;  // index of the next record to lay out
  for (const auto& [number, message] : messages) {
    PutU16(cel, 2 + 2 * static_cast<size_t>(number), next);
    // First record index of every group and key, known before linking.
    std::vector<std::vector<uint32_t>> keyHeads;
    uint32_t at = next;
    for (const Group& g : message) {
      keyHeads.emplace_back();
      for (const Key& k : g.keys) {
        keyHeads.back().push_back(at);
        at += static_cast<uint32_t>(k.wordings.size());
      }
    }
    for (size_t gi = 0; gi < message.size(); ++gi) {
      const Group& g = message[gi];
      uint32_t nextGroup = gi + 1 < message.size() ? keyHeads[gi + 1][0] : kNone16;
      for (size_t ki = 0; ki < g.keys.size(); ++ki) {
        const Key& k = g.keys[ki];
        uint32_t nextKey = ki + 1 < g.keys.size() ? keyHeads[gi][ki + 1] : kNone16;
        for (size_t wi = 0; wi < k.wordings.size(); ++wi) {
          size_t r = recordsStart + static_cast<size_t>(next) * 13;
          (*cel)[r] = static_cast<uint8_t>(g.selector1);
          (*cel)[r + 1] = static_cast<uint8_t>(k.selector2);
          (*cel)[r + 2] = wi == 0 ? static_cast<uint8_t>(k.wordings.size()) : 0;
          PutU32(cel, r + 3, placeText(k.wordings[wi]));
          PutU16(cel, r + 7, wi + 1 < k.wordings.size() ? next + 1 : kNone16);
          PutU16(cel, r + 9, nextGroup);
          PutU16(cel, r + 11, nextKey);
          ++next;
        }
      }
    }
  }
  return true;
}
