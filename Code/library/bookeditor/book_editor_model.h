// The opening book editor's model: one book held as a move table and a text
// store, the selected entry with its pending text edits, the line to it
// replayed from the initial position, played moves added below it, subtrees
// deleted, weights and texts changed, and the book saved. The editor window
// shows what this model answers; the model needs no window.
//
// Interface: BookEditorModel, BookEditorPending, BookEntryView,
// kBookEditorTextLimit.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "board.h"
#include "bookformat.h"
#include "editablebook.h"
#include "moverecord.h"

// Texts shown for an entry are cut to this many bytes.
constexpr size_t kBookEditorTextLimit = 2048;

// What the edit controls hold when the selection moves or the book is saved;
// only the kinds marked dirty are stored.
struct BookEditorPending {
  std::string eco, name, comment;
};

// What the editor shows for an entry.
struct BookEntryView {
  std::string eco, name, comment;  // name and comment without markup groups
  std::string variation;           // the line's names joined with a backslash
  std::string line;                // "1.e4 e5 2.Nf3"
  int weight = 0;                  // the weight code, 0..3
  bool editable = false;           // not the root, and the book is not read-only
};

class BookEditorModel {
 public:
  // A file that cannot be opened gives an empty book under that name.
  BookEditorModel(const std::string& path, bool readOnly);

  const std::string& FileName() const { return fileName_; }
  bool ReadOnly() const { return readOnly_; }
  bool Modified() const { return modified_; }
  bool Frozen() const { return frozen_; }
  void SetFrozen(bool frozen) { frozen_ = frozen; }
  int Current() const { return current_; }
  int CurrentDepth() const { return depth_; }
  const BookMoveTable& Table() const { return *table_; }

  // The text of one kind (BOOK_TEXT_NAME, _ECO, _COMMENT) of the current
  // entry was edited.
  void MarkDirty(int kind);
  // Stores the pending edits of the current entry, then selects `entry`;
  // false for an entry not in use (nothing changes then).
  bool Select(int entry, const BookEditorPending& pending);

  // The moves from the initial position to the entry; false at the first
  // entry without a legal move (the moves before it are given).
  bool ReplayLine(int entry, std::vector<MoveRecord>* moves) const;
  BookEntryView View(int entry) const;
  // The entry's move in short algebraic notation, "move" when it has none.
  std::string MoveText(int entry) const;
  std::vector<int> Children(int entry) const;
  // The entry below `parent` that stands for the move, -1 for none.
  int FindChild(int parent, const MoveRecord& move) const;

  // A move played on the board below the current entry, which becomes
  // selected: the entry already there for it, else a new last child
  // (weight 100 % for a first child, 25 % for a further one). A read-only
  // book adds nothing; -1 when nothing was selected.
  int AddPlayedMove(const MoveRecord& move, const BookEditorPending& pending);
  // Deletes the entry with its whole subtree and texts; the entry to show
  // next (previous sibling, else next sibling, else parent), -1 when
  // nothing was deleted (the root, an unused entry, a read-only book).
  int DeleteEntry(int entry);
  // The current entry's weight code; false when it cannot change.
  bool SetWeight(int code);

  // Stores the pending edits and writes the book to `path` (a modified book
  // from its table and texts, an unmodified one as loaded when the path
  // differs). True when the file is written, or when nothing needed
  // writing; then the book is no longer modified and takes the path as its
  // name. False keeps everything as it was, modified included.
  bool Save(const std::string& path, const BookEditorPending& pending);

 private:
  void StorePending(const BookEditorPending& pending);
  uint16_t TextKeyFor(int entry);

  std::string fileName_;
  bool readOnly_;
  bool frozen_ = false;
  bool modified_ = false;
  EditableBook book_;
  std::unique_ptr<BookMoveTable> table_;
  BookTextStore texts_;
  int current_ = -1;
  int depth_ = 0;
  bool dirty_[3] = {false, false, false};  // name, comment, ECO code
  uint16_t nextKey_ = 1;
};
