#include "chat_filter.h"

#include <cstdio>
#include <string>
#include <vector>

#include "chat_words.inc"

namespace {

struct FilterState {
  std::vector<std::string> builtIn;
  std::string fileBlock;         // the file, line ends turned to NUL
  std::vector<size_t> fileWords;  // offsets of the entries in fileBlock
};
FilterState g_filter;

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

void LoadBuiltInWords() {
  std::string word;
  for (unsigned char stored : kChatWordBytes) {
    const char c = char(stored ^ kChatWordKey);
    if (c) {
      word += c;
    } else {
      g_filter.builtIn.push_back(word);
      word.clear();
    }
  }
}

}  // namespace

unsigned char LowerCase1252(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;  // À..Þ, not ×
  switch (c) {
    case 0x8A:  // Š
    case 0x8C:  // Œ
    case 0x8E:  // Ž
      return c + 16;
    case 0x9F:  // Ÿ
      return 0xFF;
    default:
      return c;
  }
}

void LowerCase1252(std::string* text) {
  for (char& c : *text) c = char(LowerCase1252(static_cast<unsigned char>(c)));
}

void FreeChatFilter() { g_filter = FilterState(); }

int LoadChatFilterText(const char* bytes, size_t size) {
  FreeChatFilter();
  LoadBuiltInWords();
  if (!bytes || size == 0) return 0;
  std::string block(bytes, size);
  // Every line end becomes NUL; a line end right after another byte closes
  // an entry (the LF of a CR LF closes none), so a last line without its
  // line end is never counted.
  size_t count = 0;
  for (size_t i = 0; i < block.size(); ++i) {
    if (!IsLineEnd(block[i])) continue;
    if (i > 0 && !IsLineEnd(bytes[i - 1])) ++count;
    block[i] = 0;
  }
  std::vector<size_t> words;
  words.reserve(count);
  for (size_t i = 0; i < block.size() && words.size() < count;) {
    if (block[i] == 0) {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < block.size() && block[i] != 0) ++i;
    if (i == block.size()) break;  // no NUL ends it
    words.push_back(start);
    for (size_t k = start; k < i; ++k) block[k] = char(LowerCase1252(static_cast<unsigned char>(block[k])));
  }
  g_filter.fileBlock = std::move(block);
  g_filter.fileWords = std::move(words);
  return 1;
}

int LoadChatFilter() {
  std::FILE* file = std::fopen("filter.txt", "rb");
  if (!file) return LoadChatFilterText(nullptr, 0);
  std::string bytes;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
  const bool failed = std::ferror(file) != 0;
  if (std::fclose(file) != 0 || failed) return LoadChatFilterText(nullptr, 0);
  return LoadChatFilterText(bytes.data(), bytes.size());
}

int IsChatTextFiltered(const char* text, size_t length) {
  if (g_filter.builtIn.empty() || !text || length == 0) return 0;
  std::string line;
  line.reserve(length + 2);
  line += ' ';
  line.append(text, length);
  line += ' ';
  for (char& c : line) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u == 0 || u == ' ' || (u >= '\t' && u <= '\r')) c = ' ';
  }
  LowerCase1252(&line);
  for (const std::string& word : g_filter.builtIn)
    if (line.find(word) != std::string::npos) return 1;
  for (size_t offset : g_filter.fileWords)
    if (line.find(g_filter.fileBlock.c_str() + offset) != std::string::npos) return 1;
  return 0;
}

void ChatFilterWordCounts(int* builtIn, int* fromFile) {
  if (builtIn) *builtIn = int(g_filter.builtIn.size());
  if (fromFile) *fromFile = int(g_filter.fileWords.size());
}
