// The ".obk" file layout shared by every book reader and writer.
#include "bookformat.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "file_errors.h"
#include "movegen.h"

bool ReadBookHeader(const uint8_t* image, size_t size, uint16_t* moveCount, uint32_t* textSize) {
  if (image == nullptr || size < kBookHeaderSize) return false;
  uint16_t n = ReadLe16(image + 4);
  size_t wordsEnd = kBookHeaderSize + 2 * static_cast<size_t>(n);
  if (wordsEnd > size) return false;
  size_t available = size - wordsEnd;
  size_t t = ReadLe16(image + 6);
  if (t == 0 || t > available) t = available;
  *moveCount = n;
  *textSize = static_cast<uint32_t>(t);
  return true;
}

void BuildSiblingTable(const BookMoveWord* words, int count, std::vector<uint16_t>* siblings) {
  siblings->assign(static_cast<size_t>(count), kNoNode);
  std::vector<uint16_t> open;
  for (int i = 0; i < count; ++i) {
    if (!BookWordIsLast(words[i])) open.push_back(static_cast<uint16_t>(i));
    if (BookWordIsLeaf(words[i]) && !open.empty()) {
      uint16_t j = open.back();
      open.pop_back();
      if (i + 1 < count) (*siblings)[j] = static_cast<uint16_t>(i + 1);
    }
  }
}

bool ReadTextRecord(const uint8_t* area, uint32_t size, uint32_t offset, BookTextRecord* record) {
  if (area == nullptr || offset >= size || size - offset < 4) return false;
  const uint8_t* p = area + offset;
  uint16_t key = ReadLe16(p);
  if (key == 0) return false;
  uint8_t length = p[2];
  if (size - offset - 4 < length) return false;
  record->offset = offset;
  record->node = static_cast<uint16_t>(key - 1);
  record->length = length;
  record->kind = p[3];
  record->text = p + 4;
  record->next = offset + 4 + length;
  return true;
}

std::string ReadNodeText(const uint8_t* area, uint32_t size, int node, int kind) {
  std::string text;
  BookTextRecord r;
  uint32_t offset = 0;
  while (ReadTextRecord(area, size, offset, &r)) {
    if (r.node == node && r.kind == kind) {
      text.append(reinterpret_cast<const char*>(r.text), r.length);
      uint32_t next = r.next;
      while (ReadTextRecord(area, size, next, &r) && r.node == node && r.kind == kind) {
        text.append(reinterpret_cast<const char*>(r.text), r.length);
        next = r.next;
      }
      break;
    }
    offset = r.next;
  }
  return text;
}

std::string ComposeOpeningName(const std::vector<std::string>& deepestFirst, const char* joint) {
  std::string gathered;
  for (const std::string& name : deepestFirst) {
    if (name.empty()) continue;
    if (name.back() == '.') {
      if (gathered.empty()) gathered = name.substr(0, name.size() - 1);
      continue;
    }
    gathered = gathered.empty() ? name : name + joint + gathered;
    if (gathered.size() > kMaxComposedName) gathered.resize(kMaxComposedName);
  }
  if (gathered.size() > kMaxComposedName) gathered.resize(kMaxComposedName);
  return gathered;
}

namespace {
struct Crc16Table {
  uint16_t t[256];
  Crc16Table() {
    for (int i = 0; i < 256; ++i) {
      uint16_t c = static_cast<uint16_t>(i);
      for (int k = 0; k < 8; ++k) c = (c & 1) ? static_cast<uint16_t>((c >> 1) ^ 0xA001) : (c >> 1);
      t[i] = c;
    }
  }
};
}  // namespace

uint16_t ComputeBookChecksum(const BookMoveWord* words, int count) {
  static const Crc16Table table;
  uint16_t c = 0;
  for (int i = 0; i < count; ++i) {
    BookMoveWord w = words[i];
    if (BookWordWeight(w) == 0) continue;
    c = static_cast<uint16_t>((w >> 8) ^ table.t[(w ^ c) & 255]);
  }
  return c;
}

bool BookMoveMatches(BookMoveWord word, const MoveRecord* move) {
  if (move == nullptr) return false;
  int promotion = move->flags & MOVE_PROMOTION_TYPE;
  return move->from == BookSquareToBoard(BookWordFrom(word)) &&
         move->to == BookSquareToBoard(BookWordTo(word)) && (promotion == 0 || promotion == 1);
}

bool BookMoveToMoveRecord(const Board* board, int side, BookMoveWord word, MoveRecord* out) {
  MoveList list;
  int count = GenerateLegalMoves(board, list.moves, nullptr, side);
  for (int i = 0; i < count; ++i) {
    if (BookMoveMatches(word, &list.moves[i])) {
      *out = list.moves[i];
      return true;
    }
  }
  std::memset(out, 0, sizeof(*out));
  out->flags = MOVE_LIST_END;
  return false;
}

std::string RemoveMarkupCodes(const std::string& text) {
  std::string out;
  int depth = 0;
  for (char c : text) {
    if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (depth > 0) --depth;
    } else if (depth == 0) {
      out += c;
    }
  }
  return out;
}

bool WriteBookFile(const char* path, const uint8_t* data, size_t size, int* error) {
  int ignored = 0;
  int& failure = error ? *error : ignored;
  failure = 0;
  if (path == nullptr || *path == '\0') return false;
  // A book that is there but may not be written stays write-protected.
  errno = 0;
  if (FILE* existing = std::fopen(path, "r+b")) {
    std::fclose(existing);
  } else if (errno == EACCES || errno == EROFS || errno == EPERM) {
    failure = errno == EPERM ? EACCES : errno;
    return false;
  }
  errno = 0;
  if (ReplaceFileAtomically(path, data, size) != 0) {
    failure = errno ? errno : EIO;
    return false;
  }
  return true;
}
