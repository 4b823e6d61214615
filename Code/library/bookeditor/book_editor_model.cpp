#include "book_editor_model.h"

#include <algorithm>

#include "notation.h"

namespace {

int DirtySlot(int kind) {
  switch (kind) {
    case BOOK_TEXT_NAME: return 0;
    case BOOK_TEXT_COMMENT: return 1;
    case BOOK_TEXT_ECO: return 2;
    default: return -1;
  }
}

std::string Bounded(std::string text) {
  if (text.size() > kBookEditorTextLimit) text.resize(kBookEditorTextLimit);
  return text;
}

}  // namespace

BookEditorModel::BookEditorModel(const std::string& path, bool readOnly) : fileName_(path), readOnly_(readOnly) {
  book_.Open(path.c_str());  // a failure leaves an empty book
  book_.SetModified(false);
  if (book_.MoveCount() > 0) {
    table_.reset(new BookMoveTable(book_.MoveCount() + 1));
    LoadBookMoves(book_, table_.get());
    texts_.Load(book_);
  } else {
    table_.reset(new BookMoveTable(BookMoveTable::kGrowth));
  }
  nextKey_ = static_cast<uint16_t>(std::min(book_.MoveCount() + 1, kMaxBookNodes + 1));
}

void BookEditorModel::MarkDirty(int kind) {
  const int slot = DirtySlot(kind);
  if (slot >= 0) dirty_[slot] = true;
}

uint16_t BookEditorModel::TextKeyFor(int entry) {
  uint16_t key = table_->TextKey(entry);
  if (key != 0xFFFF) return key;
  // A move added here has no key yet; its texts take the next free one.
  if (nextKey_ > kMaxBookNodes) return 0xFFFF;
  key = nextKey_++;
  table_->SetTextKey(entry, key);
  return key;
}

void BookEditorModel::StorePending(const BookEditorPending& pending) {
  const bool any = dirty_[0] || dirty_[1] || dirty_[2];
  const bool canStore = any && !readOnly_ && current_ > 0 && table_->Valid(current_);
  if (canStore) {
    const uint16_t key = TextKeyFor(current_);
    if (key != 0xFFFF) {
      if (dirty_[2]) texts_.SetBookText(key, BOOK_TEXT_ECO, pending.eco.substr(0, 7));
      if (dirty_[0]) texts_.SetBookText(key, BOOK_TEXT_NAME, pending.name.substr(0, 255));
      if (dirty_[1]) texts_.SetBookText(key, BOOK_TEXT_COMMENT, pending.comment);
      modified_ = true;
    }
  }
  dirty_[0] = dirty_[1] = dirty_[2] = false;
}

bool BookEditorModel::Select(int entry, const BookEditorPending& pending) {
  if (!table_->Valid(entry)) return false;
  StorePending(pending);
  current_ = entry;
  depth_ = table_->Depth(entry);
  return true;
}

bool BookEditorModel::ReplayLine(int entry, std::vector<MoveRecord>* moves) const {
  moves->clear();
  if (!table_->Valid(entry)) return false;
  std::vector<int> path;
  for (int e = entry; e > 0; e = table_->Parent(e)) path.push_back(e);
  std::reverse(path.begin(), path.end());
  Board board;
  SetInitialBoard(&board);
  int side = WHITE;
  for (int e : path) {
    const BookMoveWord word = table_->MoveWord(e);
    MoveRecord move{};
    if (BookWordFrom(word) == BookWordTo(word) || !BookMoveToMoveRecord(&board, side, word, &move)) return false;
    moves->push_back(move);
    MoveRecord made = move;
    MakeMove(&made, &board);
    side = OtherSide(side);
  }
  return true;
}

std::string BookEditorModel::MoveText(int entry) const {
  std::vector<MoveRecord> line;
  if (entry <= 0 || !ReplayLine(entry, &line) || line.empty()) return "move";
  Board board;
  SetInitialBoard(&board);
  int side = WHITE;
  for (size_t i = 0; i + 1 < line.size(); ++i) {
    MoveRecord made = line[i];
    MakeMove(&made, &board);
    side = OtherSide(side);
  }
  char text[kNotationTextSize] = "";
  MoveToNotation(&board, &line.back(), side, STYLE_ALGEBRAIC, text);
  return text[0] ? text : "move";
}

BookEntryView BookEditorModel::View(int entry) const {
  BookEntryView view;
  if (!table_->Valid(entry)) return view;
  const uint16_t key = table_->TextKey(entry);
  if (key != 0xFFFF) {
    view.eco = Bounded(texts_.GetText(key, BOOK_TEXT_ECO));
    view.name = Bounded(RemoveMarkupCodes(texts_.GetText(key, BOOK_TEXT_NAME)));
    view.comment = Bounded(texts_.GetText(key, BOOK_TEXT_COMMENT));
  }
  std::vector<std::string> names;  // deepest first
  for (int e = entry; e > 0; e = table_->Parent(e)) {
    const uint16_t k = table_->TextKey(e);
    names.push_back(k == 0xFFFF ? std::string() : texts_.GetText(k, BOOK_TEXT_NAME));
  }
  view.variation = Bounded(RemoveMarkupCodes(ComposeOpeningName(names, "\\")));

  std::vector<MoveRecord> line;
  ReplayLine(entry, &line);
  Board board;
  SetInitialBoard(&board);
  int side = WHITE;
  for (size_t i = 0; i < line.size(); ++i) {
    char text[kNotationTextSize] = "";
    MoveToNotation(&board, &line[i], side, STYLE_ALGEBRAIC, text);
    if (!view.line.empty()) view.line += ' ';
    if (side == WHITE) view.line += std::to_string(i / 2 + 1) + ".";
    view.line += text;
    MoveRecord made = line[i];
    MakeMove(&made, &board);
    side = OtherSide(side);
  }
  view.line = Bounded(view.line);
  view.weight = entry > 0 ? table_->Weight(entry) : 0;
  view.editable = entry > 0 && !readOnly_;
  return view;
}

std::vector<int> BookEditorModel::Children(int entry) const {
  std::vector<int> children;
  for (int c = table_->FirstChild(entry); c >= 0; c = table_->NextSibling(c)) children.push_back(c);
  return children;
}

int BookEditorModel::FindChild(int parent, const MoveRecord& move) const {
  for (int c : Children(parent))
    if (BookMoveMatches(table_->MoveWord(c), &move)) return c;
  return -1;
}

int BookEditorModel::AddPlayedMove(const MoveRecord& move, const BookEditorPending& pending) {
  if (!table_->Valid(current_)) return -1;
  int entry = FindChild(current_, move);
  if (entry < 0) {
    if (readOnly_) return -1;
    const int weight = table_->FirstChild(current_) >= 0 ? 1 : 3;
    const BookMoveWord word =
        MakeBookMoveWord(BoardSquareToBook(move.from), BoardSquareToBook(move.to), weight, true, true);
    entry = table_->AddBookMove(current_, word, 0xFFFF, depth_ % 2 == 0);
    if (entry < 0) return -1;  // the table is full; it has told the user
    modified_ = true;
  }
  Select(entry, pending);
  return entry;
}

int BookEditorModel::DeleteEntry(int entry) {
  if (readOnly_ || entry <= 0 || !table_->Valid(entry)) return -1;
  const int parent = table_->Parent(entry);
  int next = -1;
  for (int c = table_->FirstChild(parent); c >= 0 && c != entry; c = table_->NextSibling(c)) next = c;
  if (next < 0) next = table_->NextSibling(entry);
  if (next < 0) next = parent;

  std::vector<int> subtree{entry};
  for (size_t i = 0; i < subtree.size(); ++i)
    for (int c = table_->FirstChild(subtree[i]); c >= 0; c = table_->NextSibling(c)) subtree.push_back(c);
  table_->Unlink(entry);
  for (int e : subtree) {
    if (e == current_) {
      current_ = -1;  // its pending edits go with it
      dirty_[0] = dirty_[1] = dirty_[2] = false;
    }
    const uint16_t key = table_->TextKey(e);
    if (key != 0xFFFF) texts_.DeleteAllTexts(key);
    table_->FreeEntry(e);
  }
  modified_ = true;
  return next;
}

bool BookEditorModel::SetWeight(int code) {
  if (readOnly_ || current_ <= 0 || !table_->Valid(current_) || code < 0 || code > 3) return false;
  table_->SetWeight(current_, code);
  modified_ = true;
  return true;
}

bool BookEditorModel::Save(const std::string& path, const BookEditorPending& pending) {
  StorePending(pending);
  bool written = true;
  if (modified_) {
    written = StoreBookMoves(*table_, texts_, path.c_str()) == 0;
    // The loaded book now stands for what was written, for a later save
    // under another name.
    if (written) book_.Open(path.c_str());
  } else if (path != fileName_) {
    written = book_.Save(path.c_str()) == 0;
  }
  if (!written) return false;
  modified_ = false;
  book_.SetModified(false);
  fileName_ = path;
  return true;
}
