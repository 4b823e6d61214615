// Book slots for play: whole file images, texts read in place.
#include "bookreader.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "board.h"
#include "movegen.h"

const char kTransposedMark[] = " {W:0 0 transposed_m}(transposed)";

namespace {

struct AnnotationEntry {
  uint16_t node;
  uint32_t recordOffset;  // in the text area
  uint16_t parentEntry;
  uint16_t sortedEntry;
};

struct BookSlot {
  std::vector<uint8_t> image;
  uint16_t moveCount = 0;
  uint32_t textSize = 0;
  std::vector<BookMoveWord> words;
  std::vector<uint16_t> siblings;
  std::vector<AnnotationEntry> entries;
  bool indexed = false;

  bool loaded() const { return !image.empty(); }
  const uint8_t* textArea() const {
    return image.data() + kBookHeaderSize + 2 * static_cast<size_t>(moveCount);
  }
};

BookSlot g_slots[kBookSlots];
// Each thread has its own active slot: the book import reads its in-book on
// a worker thread while the user interface switches slots for names and
// personalities.
thread_local int g_active = 0;
BookRandomSource g_random = nullptr;

BookSlot& Active() { return g_slots[g_active]; }

bool ValidNode(int node) { return node >= 0 && node < Active().moveCount && Active().loaded(); }

bool InstallImage(std::vector<uint8_t>&& image) {
  BookSlot& s = Active();
  uint16_t n = 0;
  uint32_t t = 0;
  if (image.size() < 4 || std::memcmp(image.data(), "UGWS", 4) != 0) return false;
  if (!ReadBookHeader(image.data(), image.size(), &n, &t)) return false;
  s.image = std::move(image);
  s.moveCount = n;
  s.textSize = t;
  s.words.resize(n);
  for (int i = 0; i < n; ++i) s.words[i] = ReadLe16(s.image.data() + kBookHeaderSize + 2 * i);
  BuildSiblingTable(s.words.data(), n, &s.siblings);
  return true;
}

// Plays the first `count` game moves on a board from the initial position.
void PlayGameMoves(const MoveRecord* moves, int count, Board* board) {
  SetInitialBoard(board);
  int side = WHITE;
  for (int i = 0; i < count; ++i) {
    MoveRecord m = moves[i];
    m.texts[0] = m.texts[1] = m.texts[2] = m.texts[3] = m.texts[4] = nullptr;
    MakeMove(&m, board);
    side = OtherSide(side);
  }
}

// Plays a path of nodes; false when a node's move is not legal.
bool PlayPath(const std::vector<uint16_t>& path, Board* board) {
  SetInitialBoard(board);
  int side = WHITE;
  for (uint16_t node : path) {
    MoveRecord m;
    if (!BookMoveToMoveRecord(board, side, Active().words[node], &m)) return false;
    MakeMove(&m, board);
    side = OtherSide(side);
  }
  return true;
}

struct PositionSearch {
  const MoveRecord* moves;
  int count;
  Board target;
  std::vector<uint16_t> path;
};

bool MatchesAnyGameMove(const PositionSearch& search, BookMoveWord word) {
  for (int i = 0; i < search.count; ++i)
    if (BookMoveMatches(word, &search.moves[i])) return true;
  return false;
}

bool SearchDepth(PositionSearch* search, uint16_t first, int depth) {
  for (uint16_t node = first; node != kNoNode && ValidNode(node); node = NextSiblingNode(node)) {
    BookMoveWord word = Active().words[node];
    if (!MatchesAnyGameMove(*search, word)) continue;
    search->path[depth] = node;
    if (depth + 1 == search->count) {
      Board board;
      int side = (search->count % 2 == 0) ? WHITE : BLACK;
      if (PlayPath(search->path, &board) && PositionsEqual(&board, &search->target, side)) return true;
      continue;
    }
    uint16_t child = FirstChildNode(word, node);
    if (child != kNoNode && SearchDepth(search, child, depth + 1)) return true;
  }
  return false;
}

std::string NodeName(int node) { return GetBookNodeText(node, BOOK_TEXT_NAME); }

std::string ComposePathName(const std::vector<uint16_t>& path) {
  std::vector<std::string> names;
  for (auto it = path.rbegin(); it != path.rend(); ++it) names.push_back(NodeName(*it));
  std::string name = ComposeOpeningName(names);
  if (!name.empty()) CapitalizeFirstLetter(&name[0]);
  return name;
}

int CompareNoCase(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = std::tolower(static_cast<unsigned char>(a[i]));
    int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca - cb;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::string EntryOwnName(const BookSlot& s, const AnnotationEntry& e) {
  BookTextRecord r;
  if (!ReadTextRecord(s.textArea(), s.textSize, e.recordOffset, &r)) return std::string();
  return std::string(reinterpret_cast<const char*>(r.text), r.length);
}

std::string ComposeEntryName(const BookSlot& s, int entry) {
  std::vector<std::string> names;
  for (int e = entry, guard = 0; e != kNoNode && e < static_cast<int>(s.entries.size()) && guard < 65536;
       e = s.entries[e].parentEntry, ++guard)
    names.push_back(EntryOwnName(s, s.entries[e]));
  std::string name = ComposeOpeningName(names);
  if (!name.empty()) CapitalizeFirstLetter(&name[0]);
  return name;
}

int FindEntryByNode(const BookSlot& s, int node) {
  int lo = 0, hi = static_cast<int>(s.entries.size()) - 1;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    if (s.entries[mid].node == node) return mid;
    if (s.entries[mid].node < node)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  return -1;
}

bool BuildAnnotationIndex(PollWork work) {
  BookSlot& s = Active();
  auto poll = [work]() { return work != nullptr && work() != 0; };
  auto cancel = [&s]() {
    s.entries.clear();
    s.indexed = false;
    return false;
  };
  s.entries.clear();
  BookTextRecord r;
  for (uint32_t off = 0; ReadTextRecord(s.textArea(), s.textSize, off, &r); off = r.next) {
    if (r.kind == BOOK_TEXT_NAME && r.node < s.moveCount && s.entries.size() < 65535)
      s.entries.push_back({r.node, r.offset, kNoNode, 0});
  }
  if (poll()) return cancel();
  // Exchange sort by node, as every reader of the index orders it.
  for (size_t i = 0; i < s.entries.size(); ++i)
    for (size_t j = i + 1; j < s.entries.size(); ++j)
      if (s.entries[i].node > s.entries[j].node) std::swap(s.entries[i], s.entries[j]);
  if (poll()) return cancel();
  s.indexed = true;
  // Parents: along each line the nearest named node above.
  struct Item {
    uint16_t node;
    uint16_t parentEntry;
  };
  std::vector<Item> stack;
  if (s.moveCount > 0) stack.push_back({0, kNoNode});
  while (!stack.empty()) {
    Item item = stack.back();
    stack.pop_back();
    uint16_t next = NextSiblingNode(item.node);
    if (next != kNoNode) stack.push_back({next, item.parentEntry});
    uint16_t below = item.parentEntry;
    int e = FindEntryByNode(s, item.node);
    if (e >= 0) {
      s.entries[e].parentEntry = item.parentEntry;
      below = static_cast<uint16_t>(e);
    }
    uint16_t child = FirstChildNode(s.words[item.node], item.node);
    if (child != kNoNode) stack.push_back({child, below});
  }
  std::vector<std::string> names(s.entries.size());
  for (size_t i = 0; i < s.entries.size(); ++i) {
    s.entries[i].sortedEntry = static_cast<uint16_t>(i);
    names[i] = ComposeEntryName(s, static_cast<int>(i));
  }
  for (size_t i = 0; i < s.entries.size(); ++i) {
    for (size_t j = i + 1; j < s.entries.size(); ++j) {
      if (CompareNoCase(names[s.entries[i].sortedEntry], names[s.entries[j].sortedEntry]) > 0)
        std::swap(s.entries[i].sortedEntry, s.entries[j].sortedEntry);
    }
    if (poll()) return cancel();
  }
  return true;
}

bool EnsureIndexed() { return Active().indexed || BuildAnnotationIndex(PollWorkCallback); }

}  // namespace

bool SelectBookSlot(int slot) {
  if (slot < 0 || slot >= kBookSlots) return false;
  g_active = slot;
  return true;
}

int GetBookSlot() { return g_active; }

bool LoadBookFile(const char* path) {
  FreeBookSlot();
  if (path == nullptr || *path == '\0') return false;
  FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  std::vector<uint8_t> image;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(f) : -1;
  ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    image.resize(static_cast<size_t>(size));
    size_t done = 0;
    // A read that yields nothing before the whole file is in ends the load.
    while (done < image.size()) {
      size_t piece = std::min<size_t>(30000, image.size() - done);
      size_t got = std::fread(image.data() + done, 1, piece, f);
      if (got == 0) break;
      done += got;
    }
    ok = done == image.size();
  }
  std::fclose(f);
  return ok && InstallImage(std::move(image));
}

bool LoadBookImage(const uint8_t* data, size_t size) {
  FreeBookSlot();
  if (data == nullptr) return false;
  return InstallImage(std::vector<uint8_t>(data, data + size));
}

void FreeBookSlot() {
  BookSlot& s = Active();
  s.image.clear();
  s.image.shrink_to_fit();
  s.moveCount = 0;
  s.textSize = 0;
  s.words.clear();
  s.siblings.clear();
  s.entries.clear();
  s.indexed = false;
}

void FreeAllBookSlots() {
  int saved = g_active;
  for (int i = 0; i < kBookSlots; ++i) {
    g_active = i;
    FreeBookSlot();
  }
  g_active = saved;
}

void ReadBookBytes(void* destination, size_t length, size_t offset) {
  if (destination == nullptr || length == 0) return;
  uint8_t* out = static_cast<uint8_t*>(destination);
  std::memset(out, 0, length);
  const BookSlot& s = Active();
  if (offset >= s.image.size()) return;
  std::memcpy(out, s.image.data() + offset, std::min(length, s.image.size() - offset));
}

BookMoveWord GetBookMoveWord(int node) { return ValidNode(node) ? Active().words[node] : 0; }
int GetBookMoveCount() { return Active().moveCount; }
uint32_t GetBookTextSize() { return Active().textSize; }

uint16_t FirstChildNode(BookMoveWord word, int node) {
  if (BookWordIsLeaf(word) || !ValidNode(node + 1)) return kNoNode;
  return static_cast<uint16_t>(node + 1);
}

uint16_t NextSiblingNode(int node) {
  if (!ValidNode(node) || BookWordIsLast(Active().words[node])) return kNoNode;
  return Active().siblings[node];
}

uint16_t ParentNode(int node) {
  const BookSlot& s = Active();
  for (;;) {
    if (node <= 0 || !ValidNode(node)) return kNoNode;
    if (!BookWordIsLeaf(s.words[node - 1])) return static_cast<uint16_t>(node - 1);
    // A later sibling: walk back over the elder sibling's subtree.
    int counter = 0;
    int i = node - 1;
    for (; i >= 0; --i) {
      if (BookWordIsLeaf(s.words[i])) ++counter;
      if (!BookWordIsLast(s.words[i])) {
        --counter;
        if (counter == 0) break;
      }
    }
    if (i < 0) return kNoNode;
    node = i;
  }
}

std::string GetBookNodeText(int node, int kind) {
  const BookSlot& s = Active();
  if (!s.loaded()) return std::string();
  return ReadNodeText(s.textArea(), s.textSize, node, kind);
}

bool FollowBookByMoves(const MoveRecord* moves, int count, std::vector<uint16_t>* path) {
  path->clear();
  if (!Active().loaded() || Active().moveCount == 0 || count <= 0) return false;
  uint16_t node = kNoNode;
  for (int p = 0; p < count; ++p) {
    uint16_t first = p == 0 ? 0 : FirstChildNode(Active().words[node], node);
    node = kNoNode;
    for (uint16_t n = first; n != kNoNode; n = NextSiblingNode(n)) {
      if (BookMoveMatches(Active().words[n], &moves[p])) {
        node = n;
        break;
      }
    }
    if (node == kNoNode) return false;
    path->push_back(node);
  }
  return true;
}

bool FindBookByPosition(const MoveRecord* moves, int count, std::vector<uint16_t>* path) {
  path->clear();
  if (!Active().loaded() || Active().moveCount == 0 || count < 1 || count > kMaxBookSearchPlies) return false;
  PositionSearch search;
  search.moves = moves;
  search.count = count;
  search.path.assign(static_cast<size_t>(count), kNoNode);
  PlayGameMoves(moves, count, &search.target);
  if (!SearchDepth(&search, 0, 0)) return false;
  *path = search.path;
  return true;
}

bool LookupBookPosition(const MoveRecord* moves, int count, std::string* comment, std::string* name,
                        std::string* eco) {
  if (comment) comment->clear();
  if (name) name->clear();
  if (eco) eco->clear();
  if (moves == nullptr || count <= 0) return false;
  std::vector<uint16_t> path;
  bool byOrder = FollowBookByMoves(moves, count, &path);
  if (!byOrder && !FindBookByPosition(moves, count, &path)) return false;
  uint16_t last = path.back();
  bool sameLastMove = BookMoveMatches(Active().words[last], &moves[count - 1]);
  if (comment && (byOrder || sameLastMove)) *comment = GetBookNodeText(last, BOOK_TEXT_COMMENT);
  if (eco) {
    for (auto it = path.rbegin(); it != path.rend() && eco->empty(); ++it)
      *eco = GetBookNodeText(*it, BOOK_TEXT_ECO);
  }
  if (name) {
    *name = ComposePathName(path);
    if (count > 1 && !sameLastMove) *name += kTransposedMark;
  }
  return true;
}

bool GetBookOpeningName(const MoveRecord* moves, int count, char* buffer, size_t bufferSize) {
  if (moves == nullptr || buffer == nullptr || bufferSize < kOpeningNameBufferSize) return false;
  int saved = GetBookSlot();
  SelectBookSlot(0);
  std::string name, eco;
  bool found = LookupBookPosition(moves, count, nullptr, &name, &eco);
  SelectBookSlot(saved);
  if (!found) return false;
  if (eco.size() > 6) eco.resize(6);  // ECO codes of at most 6 characters here
  if (name.empty())
    name = " ";
  else
    name = eco + " " + name;
  name = RemoveMarkupCodes(name);
  std::snprintf(buffer, bufferSize, "%s", name.c_str());
  return true;
}

void SetBookRandomSource(BookRandomSource source) { g_random = source; }

bool PickBookMove(const MoveRecord* moves, int count, bool allowZeroWeights, MoveRecord* out) {
  if (out == nullptr || !Active().loaded() || Active().moveCount == 0 || count < 0) return false;
  if (count > 0 && moves == nullptr) return false;
  uint16_t first = 0;
  if (count > 0) {
    std::vector<uint16_t> path;
    if (!FindBookByPosition(moves, count, &path)) return false;
    first = FirstChildNode(Active().words[path.back()], path.back());
    if (first == kNoNode) return false;
  }
  uint16_t candidates[kMaxPickCandidates];
  int weights[kMaxPickCandidates];
  int n = 0, sum = 0;
  for (uint16_t node = first; node != kNoNode && n < kMaxPickCandidates; node = NextSiblingNode(node)) {
    int w = BookWeightValue(BookWordWeight(Active().words[node]));
    if (w == 0 && allowZeroWeights) w = 1;
    candidates[n] = node;
    weights[n++] = w;
    sum += w;
  }
  if (sum == 0) return false;
  int r = g_random ? g_random(sum) : RandomBelow(sum);
  if (r < 0 || r >= sum) r = 0;
  int chosen = 0, running = 0;
  for (int i = 0; i < n; ++i) {
    running += weights[i];
    if (running > r) {
      chosen = i;
      break;
    }
  }
  Board board;
  PlayGameMoves(moves, count, &board);
  int side = (count % 2 == 0) ? WHITE : BLACK;
  return BookMoveToMoveRecord(&board, side, Active().words[candidates[chosen]], out);
}

bool IndexBookWithProgress(PollWork work) {
  if (Active().indexed) return true;
  SetPollWorkCallback(work);
  bool ok = BuildAnnotationIndex(work);
  SetPollWorkCallback(nullptr);
  return ok;
}

int GetBookEntryCount() {
  EnsureIndexed();
  return static_cast<int>(Active().entries.size());
}

std::string GetBookEntryText(int n) {
  if (!EnsureIndexed()) return std::string();
  const BookSlot& s = Active();
  if (n < 0 || n >= static_cast<int>(s.entries.size())) return std::string();
  return RemoveMarkupCodes(ComposeEntryName(s, s.entries[n].sortedEntry));
}

bool BuildBookLine(int node, std::vector<MoveRecord>* moves) {
  moves->clear();
  if (!ValidNode(node)) return false;
  std::vector<uint16_t> nodes;
  for (uint16_t n = static_cast<uint16_t>(node); n != kNoNode && nodes.size() < kMaxBookLine;
       n = ParentNode(n))
    nodes.push_back(n);
  std::reverse(nodes.begin(), nodes.end());
  Board board;
  SetInitialBoard(&board);
  int side = WHITE;
  for (uint16_t n : nodes) {
    MoveRecord m;
    if (!BookMoveToMoveRecord(&board, side, Active().words[n], &m)) return false;
    MakeMove(&m, &board);
    moves->push_back(m);
    side = OtherSide(side);
  }
  return true;
}

bool GetBookEntryLine(int n, std::vector<MoveRecord>* moves) {
  moves->clear();
  if (!EnsureIndexed()) return false;
  const BookSlot& s = Active();
  if (n < 0 || n >= static_cast<int>(s.entries.size())) return false;
  return BuildBookLine(s.entries[s.entries[n].sortedEntry].node, moves);
}

uint16_t BookChecksum() {
  const BookSlot& s = Active();
  return ComputeBookChecksum(s.words.data(), s.moveCount);
}
