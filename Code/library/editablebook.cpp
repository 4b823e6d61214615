// The editable book, its move table and its text store.
#include "editablebook.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

const char kBookWriteProtectedMessage[] = "This file is write protected; you must save to a new file.";
const char kBookTableFullMessage[] =
    "The Opening Book has already reached its maximum size; you must delete moves to added more.";
const char kBookTableMaximumMessage[] = "The Opening Book has reached its maximum size.";

namespace {
BookMessageSink g_sink = nullptr;
void ShowMessage(const char* text) {
  if (g_sink) g_sink(text);
}
constexpr uint16_t kGapKey = 0xFFFF;
constexpr uint8_t kGapKind = 127;
}  // namespace

void SetBookMessageSink(BookMessageSink sink) { g_sink = sink; }

// ---- EditableBook

void EditableBook::Clear() {
  words_.clear();
  siblings_.clear();
  text_.clear();
  recordCount_ = groupCount_ = 0;
}

bool EditableBook::SetModified(bool modified) {
  bool previous = modified_;
  modified_ = modified;
  return previous;
}

int EditableBook::Open(const char* path) {
  Clear();
  if (path == nullptr || *path == '\0') return -1;
  FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return -1;
  std::vector<uint8_t> image;
  uint8_t chunk[30000];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof(chunk), f)) > 0) image.insert(image.end(), chunk, chunk + got);
  bool readError = std::ferror(f) != 0;
  std::fclose(f);
  if (readError) return -1;
  if (image.size() < 4 || std::memcmp(image.data(), "UGWS", 4) != 0) return -2;
  uint16_t n = 0;
  uint32_t t = 0;
  if (!ReadBookHeader(image.data(), image.size(), &n, &t)) return -2;
  try {
    words_.resize(n);
  } catch (const std::bad_alloc&) {
    Clear();
    return -3;
  }
  for (int i = 0; i < n; ++i) words_[i] = ReadLe16(image.data() + kBookHeaderSize + 2 * i);
  try {
    RebuildSiblingTable();
  } catch (const std::bad_alloc&) {
    Clear();
    return -4;
  }
  if (t > 0) {
    const uint8_t* area = image.data() + kBookHeaderSize + 2 * static_cast<size_t>(n);
    try {
      text_.assign(area, area + t);
    } catch (const std::bad_alloc&) {
      Clear();
      return -5;
    }
  }
  CountTexts();
  modified_ = false;
  return 0;
}

void EditableBook::CountTexts() {
  recordCount_ = groupCount_ = 0;
  BookTextRecord r;
  int lastNode = -1, lastKind = -1;
  for (uint32_t off = 0; ReadTextRecord(text_.data(), TextSize(), off, &r); off = r.next) {
    if (r.node == kGapKey - 1) break;  // node field 65,535
    ++recordCount_;
    if (r.node != lastNode || r.kind != lastKind) ++groupCount_;
    lastNode = r.node;
    lastKind = r.kind;
  }
}

int EditableBook::Create(int moveCount, uint32_t textSize, int recordCount) {
  Clear();
  if (moveCount < 0 || moveCount > kMaxBookNodes) return -1;
  try {
    words_.assign(static_cast<size_t>(moveCount), 0);
    siblings_.assign(static_cast<size_t>(moveCount), kNoNode);
    text_.assign(textSize, 0);
  } catch (const std::bad_alloc&) {
    Clear();
    return -3;
  }
  recordCount_ = recordCount;
  return 0;
}

int EditableBook::Save(const char* path) {
  if (path == nullptr || *path == '\0') return -1;
  std::vector<uint8_t> image(kBookHeaderSize + 2 * words_.size());
  std::memcpy(image.data(), "UGWS", 4);
  WriteLe16(&image[4], static_cast<uint16_t>(words_.size()));
  WriteLe16(&image[6], text_.size() < 65536 ? static_cast<uint16_t>(text_.size()) : 0);
  for (size_t i = 0; i < words_.size(); ++i) WriteLe16(&image[kBookHeaderSize + 2 * i], words_[i]);
  image.insert(image.end(), text_.begin(), text_.end());
  int error = 0;
  if (WriteBookFile(path, image.data(), image.size(), &error)) return 0;
  if (error == EACCES || error == EROFS) ShowMessage(kBookWriteProtectedMessage);
  return -1;
}

BookMoveWord EditableBook::MoveWord(int node) const {
  return node >= 0 && node < MoveCount() ? words_[static_cast<size_t>(node)] : 0;
}

void EditableBook::SetMoveWord(int node, BookMoveWord word) {
  if (node >= 0 && node < MoveCount()) words_[static_cast<size_t>(node)] = word;
}

uint16_t EditableBook::FirstChild(int node) const {
  if (node < 0 || node + 1 >= MoveCount() || BookWordIsLeaf(words_[static_cast<size_t>(node)]))
    return kNoNode;
  return static_cast<uint16_t>(node + 1);
}

uint16_t EditableBook::NextSibling(int node) const {
  if (node < 0 || node >= MoveCount() || BookWordIsLast(words_[static_cast<size_t>(node)])) return kNoNode;
  return siblings_[static_cast<size_t>(node)];
}

void EditableBook::RebuildSiblingTable() { BuildSiblingTable(words_.data(), MoveCount(), &siblings_); }

int EditableBook::CopyTextArea(std::vector<uint8_t>* out) const {
  *out = text_;
  return recordCount_;
}

uint8_t* EditableBook::TextAt(uint32_t offset) {
  return offset < text_.size() ? text_.data() + offset : nullptr;
}

// ---- BookMoveTable

BookMoveTable::BookMoveTable(int capacity) {
  int n = std::min(std::max(capacity, 0) + 1, kMaxEntries);
  entries_.resize(static_cast<size_t>(n));
  entries_[0].flags = BOOK_ENTRY_IN_USE | BOOK_ENTRY_ROOT;
  inUse_ = 1;
}

bool BookMoveTable::Valid(int e) const {
  return e >= 0 && e < Capacity() && (entries_[static_cast<size_t>(e)].flags & BOOK_ENTRY_IN_USE);
}

bool BookMoveTable::Grow(int by) {
  int capacity = Capacity();
  if (capacity >= kMaxEntries) return false;
  int target = capacity + by;
  if (target > kMaxEntries) {
    ShowMessage(kBookTableMaximumMessage);
    target = kMaxEntries;
  }
  entries_.resize(static_cast<size_t>(target));
  return true;
}

int BookMoveTable::FindFreeEntry() {
  for (int pass = 0; pass < 2; ++pass) {
    int n = Capacity();
    for (int k = 0; k < n; ++k) {
      int e = (inUse_ + k) % n;
      if (!(entries_[static_cast<size_t>(e)].flags & BOOK_ENTRY_IN_USE)) return e;
    }
    if (Capacity() >= kMaxEntries) {
      ShowMessage(kBookTableFullMessage);
      return -1;
    }
    if (!Grow(kGrowth)) return -1;
  }
  return -1;
}

int BookMoveTable::AddBookMove(int parent, BookMoveWord word, uint16_t textKey, bool whiteMove) {
  if (!Valid(parent)) return -1;
  int e = FindFreeEntry();
  if (e < 0) return -1;
  BookMoveEntry& entry = entries_[static_cast<size_t>(e)];
  entry = BookMoveEntry();
  entry.word = static_cast<BookMoveWord>(word | BOOK_LEAF | BOOK_LAST_SIBLING);
  entry.textKey = textKey;
  entry.parent = parent;
  entry.flags = BOOK_ENTRY_IN_USE | (whiteMove ? static_cast<uint32_t>(BOOK_ENTRY_WHITE) : 0u);
  ++inUse_;
  int child = entries_[static_cast<size_t>(parent)].firstChild;
  if (child < 0) {
    SetFirstChild(parent, e);
  } else {
    while (entries_[static_cast<size_t>(child)].nextSibling >= 0)
      child = entries_[static_cast<size_t>(child)].nextSibling;
    SetNextSibling(child, e);
  }
  return e;
}

void BookMoveTable::SetParent(int e, int parent) {
  if (Valid(e)) entries_[static_cast<size_t>(e)].parent = parent;
}
void BookMoveTable::SetNextSibling(int e, int sibling) {
  if (!Valid(e)) return;
  BookMoveEntry& entry = entries_[static_cast<size_t>(e)];
  entry.nextSibling = sibling;
  if (sibling < 0)
    entry.word |= BOOK_LAST_SIBLING;
  else
    entry.word &= static_cast<BookMoveWord>(~BOOK_LAST_SIBLING);
}
void BookMoveTable::SetFirstChild(int e, int child) {
  if (!Valid(e)) return;
  BookMoveEntry& entry = entries_[static_cast<size_t>(e)];
  entry.firstChild = child;
  if (child < 0)
    entry.word |= BOOK_LEAF;
  else
    entry.word &= static_cast<BookMoveWord>(~BOOK_LEAF);
}
void BookMoveTable::SetItem(int e, intptr_t item) {
  if (Valid(e)) entries_[static_cast<size_t>(e)].item = item;
}
void BookMoveTable::SetTextKey(int e, uint16_t key) {
  if (Valid(e)) entries_[static_cast<size_t>(e)].textKey = key;
}
void BookMoveTable::SetMoveWord(int e, BookMoveWord word) {
  if (!Valid(e)) return;
  BookMoveEntry& entry = entries_[static_cast<size_t>(e)];
  // Bits 6 and 7 follow the links.
  entry.word = static_cast<BookMoveWord>((word & ~(BOOK_LEAF | BOOK_LAST_SIBLING)) |
                                         (entry.word & (BOOK_LEAF | BOOK_LAST_SIBLING)));
}
void BookMoveTable::SetWeight(int e, int weight) {
  if (Valid(e)) {
    BookMoveEntry& entry = entries_[static_cast<size_t>(e)];
    entry.word = static_cast<BookMoveWord>((entry.word & 0x3FFF) | ((weight & 3) << 14));
  }
}
void BookMoveTable::SetFlags(int e, uint32_t flags) {
  if (Valid(e)) entries_[static_cast<size_t>(e)].flags = flags;
}

int BookMoveTable::Depth(int e) const {
  int depth = 0;
  while (Valid(e) && entries_[static_cast<size_t>(e)].parent >= 0 && depth < kMaxEntries) {
    e = entries_[static_cast<size_t>(e)].parent;
    ++depth;
  }
  return depth;
}

void BookMoveTable::Unlink(int e) {
  if (!Valid(e)) return;
  int parent = entries_[static_cast<size_t>(e)].parent;
  if (!Valid(parent)) return;
  int next = entries_[static_cast<size_t>(e)].nextSibling;
  int first = entries_[static_cast<size_t>(parent)].firstChild;
  if (first == e) {
    SetFirstChild(parent, next);
  } else {
    int c = first;
    while (c >= 0 && entries_[static_cast<size_t>(c)].nextSibling != e)
      c = entries_[static_cast<size_t>(c)].nextSibling;
    if (c >= 0) SetNextSibling(c, next);
  }
  SetNextSibling(e, -1);
}

void BookMoveTable::FreeEntry(int e) {
  if (!Valid(e) || e == 0) return;
  entries_[static_cast<size_t>(e)] = BookMoveEntry();
  --inUse_;
}

// ---- BookTextStore

BookTextStore::KeyRow* BookTextStore::Row(uint16_t key, bool grow) {
  if (key >= rows_.size()) {
    if (!grow) return nullptr;
    size_t target = std::max<size_t>(static_cast<size_t>(key) + 1, rows_.size() + 64);
    rows_.resize(std::min<size_t>(target, 65536));
  }
  return &rows_[key];
}

const BookTextStore::KeyRow* BookTextStore::Row(uint16_t key) const {
  return key < rows_.size() ? &rows_[key] : nullptr;
}

int32_t* BookTextStore::Slot(KeyRow* row, int kind) {
  switch (kind) {
    case BOOK_TEXT_ECO:
      return &row->eco;
    case BOOK_TEXT_NAME:
      return &row->name;
    case BOOK_TEXT_COMMENT:
      return &row->comment;
  }
  return nullptr;
}

void BookTextStore::Load(const EditableBook& book) {
  book.CopyTextArea(&block_);
  rows_.clear();
  deleted_ = 0;
  added_ = 0;
  BookTextRecord r;
  int32_t lastComment = -1;
  uint16_t lastKey = 0;
  uint32_t off = 0;
  for (; ReadTextRecord(block_.data(), TextBytes(), off, &r); off = r.next) {
    uint16_t key = static_cast<uint16_t>(r.node + 1);
    if (key == kGapKey || r.kind == kGapKind) {
      deleted_ += 4u + r.length;
      lastComment = -1;
      continue;
    }
    KeyRow* row = Row(key, true);
    int32_t* slot = Slot(row, r.kind);
    if (r.kind == BOOK_TEXT_COMMENT && lastComment >= 0 && lastKey == key) {
      ++row->furtherComments;
    } else if (slot && *slot < 0) {
      *slot = static_cast<int32_t>(r.offset);
      if (r.kind == BOOK_TEXT_COMMENT) {
        lastComment = *slot;
        lastKey = key;
        continue;
      }
    } else {
      // A second text of a kind, or an unknown kind: not kept.
      deleted_ += 4u + r.length;
      std::memset(&block_[r.offset], 0xFF, 2);
      block_[r.offset + 3] = kGapKind;
    }
    if (r.kind != BOOK_TEXT_COMMENT) lastComment = -1;
  }
  // Bytes after the last readable record belong to no record.
  block_.resize(off);
}

uint32_t BookTextStore::AddBookText(uint16_t key, const std::string& text, int kind) {
  uint32_t first = TextBytes();
  KeyRow* row = Row(key, true);
  int32_t* slot = Slot(row, kind);
  size_t pos = 0;
  int pieces = 0;
  do {
    size_t piece = std::min<size_t>(255, text.size() - pos);
    uint8_t header[4] = {static_cast<uint8_t>(key), static_cast<uint8_t>(key >> 8),
                         static_cast<uint8_t>(piece), static_cast<uint8_t>(kind)};
    block_.insert(block_.end(), header, header + 4);
    block_.insert(block_.end(), text.begin() + static_cast<long>(pos),
                  text.begin() + static_cast<long>(pos + piece));
    pos += piece;
    ++pieces;
  } while (kind == BOOK_TEXT_COMMENT && pos < text.size());
  if (slot) *slot = static_cast<int32_t>(first);
  if (kind == BOOK_TEXT_COMMENT) row->furtherComments = pieces - 1;
  ++added_;
  return first;
}

void BookTextStore::MakeGap(uint32_t offset) {
  if (offset + 4 > block_.size()) return;
  uint8_t length = block_[offset + 2];
  block_[offset] = block_[offset + 1] = 0xFF;
  block_[offset + 3] = kGapKind;
  if (length > 0) block_[offset + 4] = 0;
  deleted_ += 4u + length;
}

void BookTextStore::DeleteText(uint16_t key, int kind) {
  KeyRow* row = Row(key, false);
  if (row == nullptr) return;
  int32_t* slot = Slot(row, kind);
  if (slot == nullptr || *slot < 0) return;
  uint32_t offset = static_cast<uint32_t>(*slot);
  int pieces = kind == BOOK_TEXT_COMMENT ? row->furtherComments + 1 : 1;
  for (int i = 0; i < pieces && offset + 4 <= block_.size(); ++i) {
    uint32_t next = offset + 4 + block_[offset + 2];
    MakeGap(offset);
    offset = next;
  }
  *slot = -1;
  if (kind == BOOK_TEXT_COMMENT) row->furtherComments = 0;
}

void BookTextStore::DeleteAllTexts(uint16_t key) {
  DeleteText(key, BOOK_TEXT_ECO);
  DeleteText(key, BOOK_TEXT_NAME);
  DeleteText(key, BOOK_TEXT_COMMENT);
}

void BookTextStore::SetBookText(uint16_t key, int kind, const std::string& text) {
  DeleteText(key, kind);
  std::string t = text;
  if (kind == BOOK_TEXT_ECO)
    t.erase(std::remove_if(t.begin(), t.end(), [](char c) { return c == '\r' || c == '\n'; }), t.end());
  if (kind != BOOK_TEXT_COMMENT && t.size() > 255) t.resize(255);
  if (!t.empty()) AddBookText(key, t, kind);
}

int BookTextStore::PieceCount(uint16_t key, int kind) const {
  const KeyRow* row = Row(key);
  if (row == nullptr) return 0;
  int32_t offset = kind == BOOK_TEXT_ECO       ? row->eco
                   : kind == BOOK_TEXT_NAME    ? row->name
                   : kind == BOOK_TEXT_COMMENT ? row->comment
                                               : -1;
  if (offset < 0) return 0;
  return kind == BOOK_TEXT_COMMENT ? row->furtherComments + 1 : 1;
}

std::vector<uint8_t> BookTextStore::CopyRecord(uint16_t key, int kind, int piece) const {
  const KeyRow* row = Row(key);
  if (row == nullptr || piece < 0 || piece >= PieceCount(key, kind)) return {};
  uint32_t offset = static_cast<uint32_t>(kind == BOOK_TEXT_ECO    ? row->eco
                                          : kind == BOOK_TEXT_NAME ? row->name
                                                                   : row->comment);
  BookTextRecord r;
  for (int i = 0; i <= piece; ++i) {
    if (!ReadTextRecord(block_.data(), TextBytes(), offset, &r)) return {};
    if (i < piece) offset = r.next;
  }
  return std::vector<uint8_t>(block_.begin() + r.offset, block_.begin() + r.next);
}

std::string BookTextStore::GetText(uint16_t key, int kind) const {
  std::string text;
  int pieces = PieceCount(key, kind);
  for (int i = 0; i < pieces; ++i) {
    std::vector<uint8_t> record = CopyRecord(key, kind, i);
    if (record.size() >= 4) text.append(record.begin() + 4, record.end());
  }
  return text;
}

int BookTextStore::TextCount() const {
  int n = 0;
  for (size_t k = 0; k < rows_.size(); ++k) {
    uint16_t key = static_cast<uint16_t>(k);
    n +=
        PieceCount(key, BOOK_TEXT_ECO) + PieceCount(key, BOOK_TEXT_NAME) + PieceCount(key, BOOK_TEXT_COMMENT);
  }
  return n;
}

// ---- Loading and storing

int LoadBookMoves(const EditableBook& book, BookMoveTable* table) {
  if (book.MoveCount() == 0) return table->EntriesInUse();
  struct Item {
    uint16_t node;
    int parent;
    bool white;
  };
  std::vector<Item> stack{{0, 0, true}};
  while (!stack.empty()) {
    Item item = stack.back();
    stack.pop_back();
    BookMoveWord w = book.MoveWord(item.node);
    int e = table->AddBookMove(item.parent, static_cast<BookMoveWord>(w & 0xFF3F),
                               static_cast<uint16_t>(item.node + 1), item.white);
    if (e < 0) break;
    uint16_t sibling = book.NextSibling(item.node);
    if (sibling != kNoNode) stack.push_back({sibling, item.parent, item.white});
    uint16_t child = book.FirstChild(item.node);
    if (child != kNoNode) stack.push_back({child, e, !item.white});
  }
  return table->EntriesInUse();
}

int StoreBookMoves(const BookMoveTable& table, const BookTextStore& store, const char* path) {
  std::vector<int> order;
  std::vector<int> stack;
  if (table.FirstChild(0) >= 0) stack.push_back(table.FirstChild(0));
  while (!stack.empty() && order.size() <= static_cast<size_t>(kMaxBookNodes)) {
    int e = stack.back();
    stack.pop_back();
    order.push_back(e);
    if (table.NextSibling(e) >= 0) stack.push_back(table.NextSibling(e));
    if (table.FirstChild(e) >= 0) stack.push_back(table.FirstChild(e));
  }
  if (order.size() > static_cast<size_t>(kMaxBookNodes)) return -1;
  std::vector<uint8_t> text;
  int records = 0;
  for (size_t i = 0; i < order.size(); ++i) {
    uint16_t key = table.TextKey(order[i]);
    if (key == 0xFFFF) continue;
    for (int kind : {BOOK_TEXT_ECO, BOOK_TEXT_NAME, BOOK_TEXT_COMMENT}) {
      for (int p = 0; p < store.PieceCount(key, kind); ++p) {
        std::vector<uint8_t> record = store.CopyRecord(key, kind, p);
        if (record.size() < 4) continue;
        WriteLe16(record.data(), static_cast<uint16_t>(i + 1));
        text.insert(text.end(), record.begin(), record.end());
        ++records;
      }
    }
  }
  EditableBook book;
  if (book.Create(static_cast<int>(order.size()), static_cast<uint32_t>(text.size()), records) != 0)
    return -1;
  for (size_t i = 0; i < order.size(); ++i) book.SetMoveWord(static_cast<int>(i), table.MoveWord(order[i]));
  if (!text.empty()) std::memcpy(book.TextAt(0), text.data(), text.size());
  book.RebuildSiblingTable();
  return book.Save(path);
}
