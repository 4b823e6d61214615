// The editable book: a book file held as separate blocks (EditableBook),
// the editable move tree with explicit links (BookMoveTable) and the
// editable texts keyed by move (BookTextStore), with loading a book into the
// table and store and saving them back.
//
// Interface: EditableBook, BookMoveTable, BookTextStore, LoadBookMoves,
// StoreBookMoves, SetBookMessageSink.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bookformat.h"

// Where the editable book shows messages to the user (the program's message
// box); none by default.
using BookMessageSink = void (*)(const char* text);
void SetBookMessageSink(BookMessageSink sink);

extern const char kBookWriteProtectedMessage[];
extern const char kBookTableFullMessage[];
extern const char kBookTableMaximumMessage[];

class EditableBook {
 public:
  EditableBook() = default;
  ~EditableBook() = default;

  // 0, or -1 no path / cannot be read, -2 not a book, -3 / -4 / -5 no memory
  // for the move words / sibling table / text area. An error leaves an
  // empty book.
  int Open(const char* path);
  // 0, -1 for a negative count, -3 without memory. A count of 0 is the
  // 8-byte empty book.
  int Create(int moveCount, uint32_t textSize, int recordCount);
  int Save(const char* path);
  // Sets the modified flag, returns its previous value.
  bool SetModified(bool modified);
  bool modified() const { return modified_; }

  int MoveCount() const { return static_cast<int>(words_.size()); }
  BookMoveWord MoveWord(int node) const;
  void SetMoveWord(int node, BookMoveWord word);
  uint16_t FirstChild(int node) const;
  uint16_t NextSibling(int node) const;
  void RebuildSiblingTable();

  uint32_t TextSize() const { return static_cast<uint32_t>(text_.size()); }
  int TextRecordCount() const { return recordCount_; }
  int TextGroupCount() const { return groupCount_; }
  // A copy of the text area; returns the record count.
  int CopyTextArea(std::vector<uint8_t>* out) const;
  // The text area from `offset` on, null beyond its size.
  uint8_t* TextAt(uint32_t offset);

 private:
  void Clear();
  void CountTexts();
  std::vector<BookMoveWord> words_;
  std::vector<uint16_t> siblings_;
  std::vector<uint8_t> text_;
  int recordCount_ = 0;
  int groupCount_ = 0;
  bool modified_ = true;
};

enum BookEntryFlag : uint32_t {
  BOOK_ENTRY_IN_USE = 1,
  BOOK_ENTRY_ROOT = 2,
  BOOK_ENTRY_WHITE = 0x20,
  BOOK_ENTRY_EDITED = 0x40,
};

struct BookMoveEntry {
  uint16_t textKey = 0xFFFF;
  BookMoveWord word = 0;
  intptr_t item = 0;
  int32_t parent = -1;
  int32_t nextSibling = -1;
  int32_t firstChild = -1;
  uint32_t flags = 0;
};

class BookMoveTable {
 public:
  static constexpr int kMaxEntries = 65535;  // the root and 65,534 moves
  static constexpr int kGrowth = 64;

  explicit BookMoveTable(int capacity);
  ~BookMoveTable() = default;

  // A new last child of `parent`; -1 when the table is full (message shown).
  int AddBookMove(int parent, BookMoveWord word, uint16_t textKey, bool whiteMove);
  int EntriesInUse() const { return inUse_; }
  int Capacity() const { return static_cast<int>(entries_.size()); }
  bool Valid(int entry) const;

  int Parent(int e) const { return Valid(e) ? entries_[e].parent : -1; }
  int NextSibling(int e) const { return Valid(e) ? entries_[e].nextSibling : -1; }
  int FirstChild(int e) const { return Valid(e) ? entries_[e].firstChild : -1; }
  intptr_t Item(int e) const { return Valid(e) ? entries_[e].item : 0; }
  uint16_t TextKey(int e) const { return Valid(e) ? entries_[e].textKey : 0xFFFF; }
  BookMoveWord MoveWord(int e) const { return Valid(e) ? entries_[e].word : 0; }
  int Weight(int e) const { return BookWordWeight(MoveWord(e)); }
  uint32_t Flags(int e) const { return Valid(e) ? entries_[e].flags : 0; }
  void SetParent(int e, int parent);
  void SetNextSibling(int e, int sibling);  // -1 sets bit 6, else clears it
  void SetFirstChild(int e, int child);     // -1 sets bit 7, else clears it
  void SetItem(int e, intptr_t item);
  void SetTextKey(int e, uint16_t key);
  void SetMoveWord(int e, BookMoveWord word);
  void SetWeight(int e, int weight);
  void SetFlags(int e, uint32_t flags);
  int Depth(int e) const;
  // Takes the entry out of its parent's chain, fixing the neighbours' bits.
  void Unlink(int e);
  void FreeEntry(int e);

 private:
  int FindFreeEntry();
  bool Grow(int by);
  std::vector<BookMoveEntry> entries_;
  int inUse_ = 0;
};

class BookTextStore {
 public:
  struct KeyRow {
    int32_t eco = -1;
    int32_t name = -1;
    int32_t comment = -1;
    int32_t furtherComments = 0;
  };

  BookTextStore() = default;
  ~BookTextStore() = default;

  void Load(const EditableBook& book);
  // Appends a record (several for a long comment); the offset of the first.
  uint32_t AddBookText(uint16_t key, const std::string& text, int kind);
  void SetBookText(uint16_t key, int kind, const std::string& text);
  void DeleteText(uint16_t key, int kind);
  void DeleteAllTexts(uint16_t key);
  std::string GetText(uint16_t key, int kind) const;
  // Header and text of one record; empty when absent.
  std::vector<uint8_t> CopyRecord(uint16_t key, int kind, int piece) const;
  // Records of a kind on a key (a comment's pieces), 0 when none.
  int PieceCount(uint16_t key, int kind) const;

  uint32_t TextBytes() const { return static_cast<uint32_t>(block_.size()); }
  uint32_t DeletedBytes() const { return deleted_; }
  int TextsAdded() const { return added_; }
  int TextCount() const;

 private:
  KeyRow* Row(uint16_t key, bool grow);
  const KeyRow* Row(uint16_t key) const;
  int32_t* Slot(KeyRow* row, int kind);
  void MakeGap(uint32_t offset);
  std::vector<uint8_t> block_;
  std::vector<KeyRow> rows_;
  uint32_t deleted_ = 0;
  int added_ = 0;
};

// Fills the table from the book (entry 0 the root); the number of entries.
int LoadBookMoves(const EditableBook& book, BookMoveTable* table);
// Builds a new book from the table and store in pre-order and saves it;
// 0 or -1.
int StoreBookMoves(const BookMoveTable& table, const BookTextStore& store, const char* path);
